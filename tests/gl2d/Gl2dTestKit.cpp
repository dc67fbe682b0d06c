#include "Gl2dTestKit.h"

#include <fontconfig/fontconfig.h>

#include "core/Overlay2D.h"

uint32_t Pattern(int x, int y) {
	uint32_t blue = 0x40 + ((x >> 8) & 7) * 8 + ((y >> 8) & 7);
	return (uint32_t(x & 0xFF) << 16) | (uint32_t(y & 0xFF) << 8) | blue;
}

SurfacePtr MakeImage(int w, int h, const std::function<uint32_t(int, int)> &colour) {
	SurfacePtr image(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0));
	if (!image) {
		return image;
	}
	SDL_LockSurface(image.get());
	for (int y = 0; y < h; y++) {
		Uint8 *row = static_cast<Uint8 *>(image->pixels) + y * image->pitch;
		for (int x = 0; x < w; x++) {
			uint32_t c = colour(x, y);
			// Masks above put red in the high byte of a little-endian triple.
			row[x * 3 + 0] = c & 0xFF;
			row[x * 3 + 1] = (c >> 8) & 0xFF;
			row[x * 3 + 2] = (c >> 16) & 0xFF;
		}
	}
	SDL_UnlockSurface(image.get());
	return image;
}

SurfacePtr MakeAlphaImage(int w, int h, const std::function<uint8_t(int, int)> &alpha) {
	SurfacePtr image(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 8, 0, 0, 0, 0));
	if (!image) {
		return image;
	}
	SDL_Color grey[256];
	for (int i = 0; i < 256; i++) {
		grey[i].r = grey[i].g = grey[i].b = static_cast<Uint8>(i);
		grey[i].unused = 0;
	}
	SDL_SetColors(image.get(), grey, 0, 256);
	SDL_LockSurface(image.get());
	for (int y = 0; y < h; y++) {
		Uint8 *row = static_cast<Uint8 *>(image->pixels) + y * image->pitch;
		for (int x = 0; x < w; x++) {
			row[x] = alpha(x, y);
		}
	}
	SDL_UnlockSurface(image.get());
	return image;
}

void SaveBmp(const SurfacePtr &surface, const std::string &name) {
	SDL_SaveBMP(surface.get(), name.c_str());
}

std::string DejaVuPath() {
	std::string path;
	FcPattern *pattern = FcNameParse(reinterpret_cast<const FcChar8 *>("DejaVu Sans:style=Book"));
	FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
	FcDefaultSubstitute(pattern);
	FcResult result;
	FcPattern *match = FcFontMatch(nullptr, pattern, &result);
	FcChar8 *file = nullptr;
	if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
		path = reinterpret_cast<const char *>(file);
	}
	if (match) {
		FcPatternDestroy(match);
	}
	FcPatternDestroy(pattern);
	return path;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
	for (int shift = 0; shift <= 16; shift += 8) {
		int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
		if (d > tolerance || d < -tolerance) {
			return false;
		}
	}
	return true;
}

void Gl2dTest::SetUp() {
	ASSERT_TRUE(window.IsOpen());
	Clear();
	Begin2D(window.Width(), window.Height());
}

void Gl2dTest::TearDown() {
	if (window.IsOpen()) {
		End2D();
	}
}

void Gl2dTest::Grab() {
	End2D();
	window.Grab();
	Begin2D(window.Width(), window.Height());
}

void Gl2dTest::WritePicture(const std::string &name, int w, int h, uint32_t colour) const {
	SaveBmp(MakeImage(w, h, [colour](int x, int y) { return colour == 0xFFFFFFFF ? Pattern(x, y) : colour; }),
		name + ".bmp");
	dir.WriteText(name + ".nsbr", name + ".bmp\n-\n");
}
