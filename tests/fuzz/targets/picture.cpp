// Simple pictures (".nsbr") as the menus, the HUD and the cursor load them, then drawn.
#include "FuzzKit.h"
#include "gl2d/GL2D_SimpleBmpRect.h"

namespace {

void Load(const char *file, const uint8_t *, size_t) {
	GL2D_SimpleBmpRect picture;
	const bool loaded = picture.Load(file);
	FuzzCheck(picture.GetRegionCount() <= 1, "one region at most");
	FuzzCheck(loaded || picture.GetRegionCount() == 0, "a refused picture has no region");
	const GL2D_Rect clip = {3, 2, 40, 30};
	picture.Draw(1, 1, &clip);
	picture.Draw(-10, 5);
	picture.DrawScaled(30, 30, 0.5f, 2.0f);
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"fuzz.nsbr", true, nullptr, Load};
