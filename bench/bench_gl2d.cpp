// Draws a screen's worth of text (2000 glyphs) and 50 nine-part frames per frame and reports
// the time per frame and the heap allocations made while drawing. Run under Xvfb.

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "core/Overlay2D.h"
#include "gl2d/GL2D_BmpRect.h"
#include "gl2d/GL2D_BmpText.h"
#include "gl2d/GL2D_TrueTypeText.h"

#include "HeapCounter.h"

namespace {

const int WIDTH = 800;
const int HEIGHT = 600;
const int GLYPH_LINES = 25;
const int GLYPHS_PER_LINE = 80; // 25 x 80 = 2000 glyphs
const int FRAMES_DRAWN = 50;
const int WARM_UP = 20;
const int MEASURED = 300;

void WriteText(const std::string &path, const std::string &text) {
	if (FILE *file = fopen(path.c_str(), "wb")) {
		fputs(text.c_str(), file);
		fclose(file);
	}
}

// A 24 x 24 frame image of nine 8 x 8 cells in two shades.
void WriteFrameFiles(const std::string &dir) {
	SDL_Surface *image = SDL_CreateRGBSurface(SDL_SWSURFACE, 24, 24, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
	for (int cell = 0; cell < 9; cell++) {
		SDL_Rect r = {Sint16((cell % 3) * 8), Sint16((cell / 3) * 8), 8, 8};
		SDL_FillRect(image, &r, cell == 4 ? 0x202840 : 0x8090C0);
	}
	SDL_SaveBMP(image, (dir + "/frame.bmp").c_str());
	SDL_FreeSurface(image);
	WriteText(dir + "/frame.nbr", dir + "/frame.bmp\n-\n0,0,8,8\n8,0,8,8\n16,0,8,8\n0,8,8,8\n8,8,8,8\n"
										"16,8,8,8\n0,16,8,8\n8,16,8,8\n16,16,8,8\n");
}

void DrawFrames(const GL2D_BmpRect &frame, const GL2D_Rect &clip) {
	for (int i = 0; i < FRAMES_DRAWN; i++) {
		frame.Draw(10 + (i % 5) * 155, 10 + (i / 5) * 58, 150, 50, (i % 2) ? &clip : nullptr);
	}
}

void DrawText(GL2D_Font &font, const char *const lines[GLYPH_LINES]) {
	for (int line = 0; line < GLYPH_LINES; line++) {
		font.Write(4, 4 + line * 23, lines[line]);
	}
}

// Time and allocations of one part of the frame, summed over the measured frames.
struct Tally {
	double ms = 0;
	long allocations = 0;
	long newAllocations = 0;

	template <class Draw>
	void Measure(bool keep, Draw draw) {
		long before = ::allocations, beforeNew = ::newAllocations;
		auto start = std::chrono::steady_clock::now();
		counting = true;
		draw();
		counting = false;
		auto end = std::chrono::steady_clock::now();
		if (keep) {
			ms += std::chrono::duration<double, std::milli>(end - start).count();
			allocations += ::allocations - before;
			newAllocations += ::newAllocations - beforeNew;
		}
	}

	void Print(const char *what, int frames) const {
		printf("%-34s %8.3f ms, %6.2f heap allocations (%.2f by new)\n", what, ms / frames,
			double(allocations) / frames, double(newAllocations) / frames);
	}
};

} // namespace

int main() {
	if (SDL_Init(SDL_INIT_VIDEO) < 0) {
		fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
		return 1;
	}
	SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
	if (!SDL_SetVideoMode(WIDTH, HEIGHT, 32, SDL_OPENGL)) {
		fprintf(stderr, "SDL_SetVideoMode: %s\n", SDL_GetError());
		SDL_Quit();
		return 1;
	}
	char dirTemplate[] = "/tmp/bench_gl2d.XXXXXX";
	const char *dirMade = mkdtemp(dirTemplate);
	if (!dirMade) {
		SDL_Quit();
		return 1;
	}
	const std::string dir = dirMade;
	WriteFrameFiles(dir);
	WriteText(dir + "/text.ntf", "DejaVuSans.ttf 14 0,0,0\n");

	int status = 0;
	{
		GL2D_BmpRect frame;
		GL2D_TrueTypeText font;
		if (!frame.Load((dir + "/frame.nbr").c_str()) || !font.Load((dir + "/text.ntf").c_str())) {
			fprintf(stderr, "could not load the frame or the font\n");
			status = 1;
		} else {
			// Lines of 80 glyphs from the font's own order.
			static char text[GLYPH_LINES][GLYPHS_PER_LINE + 1];
			const char *lines[GLYPH_LINES];
			const char *order = font.GetCharOrder();
			const int orderLength = static_cast<int>(strlen(order));
			for (int line = 0; line < GLYPH_LINES; line++) {
				for (int i = 0; i < GLYPHS_PER_LINE; i++) {
					text[line][i] = order[1 + (line * 7 + i) % (orderLength - 1)];
				}
				text[line][GLYPHS_PER_LINE] = '\0';
				lines[line] = text[line];
			}
			const GL2D_Rect clip = {0, 0, WIDTH, HEIGHT / 2};

			Tally frames, glyphs, finish;
			for (int f = 0; f < WARM_UP + MEASURED; f++) {
				const bool keep = f >= WARM_UP;
				glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
				glClear(GL_COLOR_BUFFER_BIT);
				Begin2D(WIDTH, HEIGHT);
				frames.Measure(keep, [&] { DrawFrames(frame, clip); });
				glyphs.Measure(keep, [&] { DrawText(font, lines); });
				End2D();
				// The rasteriser runs here; it is the driver's time, not the library's.
				finish.Measure(keep, [] { glFinish(); });
				SDL_GL_SwapBuffers();
			}
			printf("%d glyphs and %d nine-part frames (150 x 50, every other clipped) per frame,\n",
				GLYPH_LINES * GLYPHS_PER_LINE, FRAMES_DRAWN);
			printf(
				"%d frames measured after %d to warm up, %dx%d window; per frame:\n", MEASURED, WARM_UP, WIDTH, HEIGHT);
			frames.Print("50 nine-part frames", MEASURED);
			glyphs.Print("2000 glyphs", MEASURED);
			finish.Print("glFinish (rasterising)", MEASURED);
			printf("%-34s %8.3f ms\n", "total", (frames.ms + glyphs.ms + finish.ms) / MEASURED);
		}
	}
	unlink((dir + "/frame.nbr").c_str());
	unlink((dir + "/frame.bmp").c_str());
	unlink((dir + "/text.ntf").c_str());
	rmdir(dir.c_str());
	SDL_Quit();
	return status;
}
