#include "Gl2dTestKit.h"

#include <GL/gl.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

Scene::Scene() {
	for (int attempt = 0; attempt < 40 && !Ready(); attempt++) {
		if (attempt > 0) {
			window.reset();
			SDL_Delay(50);
		}
		window.reset(new GLWindow);
	}
	if (!Ready()) {
		fprintf(stderr, "no window: %s\n", SDL_GetError());
		return;
	}
	Clear();
	Begin2D(window->Width(), window->Height());
}

Scene::~Scene() {
	if (Ready()) {
		End2D();
	}
}

void Scene::Clear() const {
	window->Clear(0.0f, 1.0f, 0.0f);
}

void Scene::Grab() {
	End2D();
	const int w = window->Width(), h = window->Height();
	std::vector<uint8_t> rgb(w * h * 3);
	glPixelStorei(GL_PACK_ALIGNMENT, 1);
	glReadBuffer(GL_BACK);
	glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
	frame.assign(w * h, 0);
	for (int y = 0; y < h; y++) {
		const uint8_t *row = &rgb[(h - 1 - y) * w * 3];
		for (int x = 0; x < w; x++) {
			frame[y * w + x] = (uint32_t(row[x * 3]) << 16) | (uint32_t(row[x * 3 + 1]) << 8) | row[x * 3 + 2];
		}
	}
	Begin2D(w, h);
}

uint32_t Scene::At(int x, int y) const {
	if (x < 0 || y < 0 || x >= window->Width() || y >= window->Height() || frame.empty()) {
		return 0xFFFFFFFF;
	}
	return frame[y * window->Width() + x];
}

bool Scene::Empty(int x, int y, int w, int h) const {
	for (int j = y; j < y + h; j++) {
		for (int i = x; i < x + w; i++) {
			if (At(i, j) != BACKGROUND) {
				return false;
			}
		}
	}
	return true;
}

void Scene::Shot(const std::string &name) const {
	const char *folder = getenv("TAVRO_GL2D_SHOTS");
	if (!folder || frame.empty()) {
		return;
	}
	SurfacePtr image = MakeImage(window->Width(), window->Height(), [this](int x, int y) { return At(x, y); });
	SDL_SaveBMP(image.get(), (std::string(folder) + "/" + name + ".bmp").c_str());
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
