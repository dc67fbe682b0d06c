// Nine-part pictures (".nbr"), the frames of buttons, boxes and windows, loaded and tiled to
// sizes from nothing to a dialog's, partly off the screen.
#include "FuzzKit.h"
#include "gl2d/GL2D_BmpRect.h"

namespace {

void Load(const char *file, const uint8_t *, size_t) {
	GL2D_BmpRect frame;
	const bool loaded = frame.Load(file);
	FuzzCheck(frame.GetRegionCount() == (loaded ? 9 : 0), "nine regions, or none when refused");
	const GL2D_Rect clip = {3, 2, 40, 30};
	frame.Draw(0, 0, 70, 45, &clip);
	frame.Draw(5, 5, 3, 2);
	frame.Draw(-20, -20, 300, 200);
	frame.Draw(0, 0, 0, 0);
	frame.GetMinHeight();
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"fuzz.nbr", true, nullptr, Load};
