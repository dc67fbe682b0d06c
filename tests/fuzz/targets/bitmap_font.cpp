// Bitmap fonts (".nbf") as the menus, the HUD and the credits load them, then written with.
#include "FuzzKit.h"
#include "gl2d/GL2D_BmpText.h"

namespace {

void Load(const char *file, const uint8_t *, size_t) {
	GL2D_BmpText font;
	const bool loaded = font.Load(file);
	FuzzCheck(loaded || font.GetGlyphSheet().GetRegionCount() == 0, "a refused font has no glyphs");
	const GL2D_Rect clip = {3, 2, 40, 30};
	font.Write(0, 0, "ABC xyz\xE8\xE9\xFF`~", &clip, 2, 1);
	font.Write(-3, 7, "0123456789:");
	font.GetTextWidth("Hello, world!");
	font.GetCursorPos(4);
	font.GetCursorPos(1000);
	font.GetFontWidth();
	font.GetFontHeight();
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"fuzz.nbf", true, nullptr, Load};
