#ifndef TAVRO_TESTS_GL2D_GL2DTESTKIT_H
#define TAVRO_TESTS_GL2D_GL2DTESTKIT_H

#include <SDL/SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

class Scene {
public:
	Scene();
	~Scene();

	bool Ready() const { return window && window->IsOpen(); }
	// Back to the background colour.
	void Clear() const;
	// Ends the overlay, reads the whole frame back and starts the overlay again.
	void Grab();
	// 0xRRGGBB at (x, y) from the top of the last grab.
	uint32_t At(int x, int y) const;
	// Whether every pixel of the rectangle holds the background in the last grab.
	bool Empty(int x, int y, int w, int h) const;
	// Writes the last grab as a BMP into $TAVRO_GL2D_SHOTS when that is set, to look at.
	void Shot(const std::string &name) const;

	ScratchDir dir;

private:
	// A display server that resets after its last client left refuses connections for a
	// moment; tests run one after another meet that, so opening is retried.
	std::unique_ptr<GLWindow> window;
	std::vector<uint32_t> frame;
};

// Channels within a tolerance, for blended colours.
bool Near(uint32_t a, uint32_t b, int tolerance);

#endif
