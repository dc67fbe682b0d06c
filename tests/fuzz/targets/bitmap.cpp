// BMP images as pictures and glyph sheets read them, held as a grid of textures: with a colour
// key for inputs of even length, and the image as its own alpha image for odd ones.
#include <SDL/SDL.h>

#include "FuzzKit.h"
#include "gl2d/GL2D_Bitmap.h"
#include "gl2d/GL2D_ImagePair.h"

namespace {

void Load(const char *file, const uint8_t *, size_t size) {
	const bool alpha = size % 2 == 1;
	GL2D_ImagePair images;
	images.Load(file, alpha ? file : "-");
	if (!images.Image()) {
		return;
	}
	GL2D_Bitmap bitmap;
	const GL2D_ColorKey key = {255, 0, 255};
	const bool made = alpha ? bitmap.CreateFromSurfaces(images.Image(), images.Alpha())
							: bitmap.CreateFromSurface(images.Image(), &key);
	if (!made) {
		FuzzCheck(bitmap.GetTileCount() == 0, "a refused image leaves no tiles");
		return;
	}
	FuzzCheck(bitmap.GetTileCount() <= GL2D_Bitmap::MAX_TILES, "at most 64 tiles");
	const int w = images.Image()->w, h = images.Image()->h;
	bitmap.AddRegion(0, 0, w, h);
	bitmap.AddRegion(w / 3, h / 4, w, h); // reaching past the image
	bitmap.AddRegion(-5, -5, 300, 10);
	const GL2D_Rect clip = {2, 3, 40, 30};
	for (int i = 0; i < bitmap.GetRegionCount() + 1; i++) {
		bitmap.DrawRegion(i, 1.0f, 2.0f, &clip);
		bitmap.DrawRegionScaled(i, 20.0f, 20.0f, 0.5f, 3.0f);
	}
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"fuzz.bmp", true, nullptr, Load};
