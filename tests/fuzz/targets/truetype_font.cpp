// TrueType font descriptions (".ntf") as the menus load them: the font found beside the file or
// in the system's font folders, its glyphs rendered into a sheet, then written with.
#include "FuzzKit.h"
#include "gl2d/GL2D_TrueTypeText.h"

namespace {

void Load(const char *file, const uint8_t *, size_t) {
	GL2D_TrueTypeText font;
	const bool loaded = font.Load(file);
	FuzzCheck(loaded || (!font.IsOpen() && font.GetGlyphSheet().GetRegionCount() == 0),
		"a refused font is closed and has no glyphs");
	const GL2D_Rect clip = {3, 2, 40, 30};
	font.Write(0, 0, "Abc \xE0\xF9`~", &clip, 0, 0);
	font.Write(5, 5, "PLAYER 1");
	font.GetTextWidth("Hello, world!");
	font.GetFontWidth();
	font.GetFontHeight();
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"fuzz.ntf", true, nullptr, Load};
