// The mouse cursor (".nmd"): its frames loaded and drawn as the menus animate it.
#include "FuzzKit.h"
#include "gl2d/GL2D_Mouse.h"

namespace {

void Load(const char *file, const uint8_t *, size_t) {
	GL2D_Mouse mouse;
	const bool loaded = mouse.Load(file);
	FuzzCheck(mouse.GetFrameCount() >= (loaded ? 1 : 0) && mouse.GetFrameCount() <= GL2D_Mouse::MAX_FRAMES,
		"1 to 10 frames, or none when refused");
	for (int i = 0; i < 12; i++) {
		mouse.Draw(20, 20, i * 16);
	}
	mouse.Draw(-2147483647, 2147483647, 2147483647);
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"fuzz.nmd", true, nullptr, Load};
