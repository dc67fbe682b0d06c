// What a window-sized layer costs against the floor (FrameFloor.h), whatever is drawn: one
// flat layer, one textured the way the arena is (a 512 × 512 picture, mipmapped, about a texel
// a pixel) with plain and with mipmap-blended filtering, blended over what is there, and two.
// It says how far below the scenes' frames the renderer itself stands: a scene that covers the
// window with one textured layer can be no cheaper than that line.
// Run under Xvfb from the build directory:
//   xvfb-run -a -s "-screen 0 1920x1080x24" bench/bench_fill [WIDTHxHEIGHT ...]
#include <GL/gl.h>
#include <GL/glu.h>

#include <vector>

#include "FrameFloor.h"

namespace {

struct Layers {
	const char *name;
	int count;
	bool textured;
	bool mipmapBlend; // GL_LINEAR_MIPMAP_LINEAR, else GL_LINEAR
	bool blended;
};

const Layers CASES[] = {
	{"one flat layer", 1, false, false, false},
	{"one textured layer", 1, true, false, false},
	{"one textured, mipmaps blended", 1, true, true, false},
	{"one textured, blended over", 1, true, true, true},
	{"two textured layers", 2, true, true, false},
};

void DrawLayers(const Layers &layers, const floorbench::Size &size) {
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	const float u = size.width / 512.0f, v = size.height / 512.0f; // a texel a pixel
	for (int i = 0; i < layers.count; i++) {
		glBegin(GL_QUADS);
		glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
		glTexCoord2f(0.0f, 0.0f);
		glVertex2f(-1.0f, -1.0f);
		glTexCoord2f(u, 0.0f);
		glVertex2f(1.0f, -1.0f);
		glTexCoord2f(u, v);
		glVertex2f(1.0f, 1.0f);
		glTexCoord2f(0.0f, v);
		glVertex2f(-1.0f, 1.0f);
		glEnd();
	}
	SDL_GL_SwapBuffers();
}

int RunAt(const floorbench::Size &size) {
	if (!floorbench::OpenWindow(size)) {
		return 1;
	}
	std::vector<unsigned char> pixels(512 * 512 * 3);
	for (size_t i = 0; i < pixels.size(); i++) {
		pixels[i] = static_cast<unsigned char>((i * 7919u) >> 3);
	}
	GLuint texture = 0;
	glGenTextures(1, &texture);
	glBindTexture(GL_TEXTURE_2D, texture);
	gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, 512, 512, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
	glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
	for (const Layers &layers : CASES) {
		if (layers.textured) {
			glEnable(GL_TEXTURE_2D);
		} else {
			glDisable(GL_TEXTURE_2D);
		}
		if (layers.blended) {
			glEnable(GL_BLEND);
		} else {
			glDisable(GL_BLEND);
		}
		glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, layers.mipmapBlend ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
		floorbench::Print(layers.name, size, floorbench::Measure([&] { DrawLayers(layers, size); }, 10));
	}
	glDeleteTextures(1, &texture);
	SDL_Quit();
	return 0;
}

} // namespace

int main(int argc, char **argv) {
	setvbuf(stdout, nullptr, _IOLBF, 0);
	return floorbench::RunAtSizes(floorbench::SizesFrom(argc, argv, 1), RunAt) ? 0 : 1;
}
