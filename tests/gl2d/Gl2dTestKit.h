#ifndef TAVRO_TESTS_GL2D_GL2DTESTKIT_H
#define TAVRO_TESTS_GL2D_GL2DTESTKIT_H

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "GLWindow.h"
#include "ScratchDir.h"

// Shared ground for the 2D library tests: a scratch directory, a window in 2D overlay mode,
// image files made on the spot and the frame read back.

struct SurfaceFree {
	void operator()(SDL_Surface *surface) const { SDL_FreeSurface(surface); }
};
typedef std::unique_ptr<SDL_Surface, SurfaceFree> SurfacePtr;

const uint32_t BACKGROUND = 0x00FF00; // never a pattern colour: patterns always have blue

// A colour for every texel of an image up to 2048 x 2048, all with blue at least 0x40.
uint32_t Pattern(int x, int y);

// A 24-bit image coloured texel by texel.
SurfacePtr MakeImage(int w, int h, const std::function<uint32_t(int, int)> &colour);
// An 8-bit image with a grey palette: index i is grey level i.
SurfacePtr MakeAlphaImage(int w, int h, const std::function<uint8_t(int, int)> &alpha);
// Writes a BMP into the working directory.
void SaveBmp(const SurfacePtr &surface, const std::string &name);

// The path of a DejaVu font file as fontconfig finds it; empty when there is none.
std::string DejaVuPath();

// Channels within a tolerance, for blended colours.
bool Near(uint32_t a, uint32_t b, int tolerance);

// A 640 x 480 window cleared to the background, in overlay mode for the whole test.
class Gl2dTest : public ::testing::Test {
protected:
	void SetUp() override;
	void TearDown() override;
	void Clear() const { window.Clear(0.0f, 1.0f, 0.0f); }
	// Reads the frame back; At and Empty answer from it.
	void Grab();
	uint32_t At(int x, int y) const { return window.At(x, y); }
	bool Empty(int x, int y, int w, int h) const { return window.Count(x, y, w, h, BACKGROUND) == w * h; }
	// "<name>.bmp" coloured by the pattern, or the colour when given, and "<name>.nsbr" naming it.
	void WritePicture(const std::string &name, int w, int h, uint32_t colour = 0xFFFFFFFF) const;

	ScratchDir dir;
	GLWindow window;
};

#endif
