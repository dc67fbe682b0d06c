#ifndef TAVRO_TESTS_GLWINDOW_H
#define TAVRO_TESTS_GLWINDOW_H

#include <SDL/SDL_events.h>

#include <cstdint>
#include <string>
#include <vector>

// A real SDL window with an OpenGL context for tests that draw or take events (run under Xvfb).
// A display server that has just lost its last client refuses connections for a moment, which
// tests run one after another meet, so opening is retried.
class GLWindow {
public:
	GLWindow(int width = 640, int height = 480);
	~GLWindow();

	bool IsOpen() const { return open; }
	int Width() const { return width; }
	int Height() const { return height; }

	// The colour of one pixel of the back buffer, y from the top of the window (0xRRGGBB).
	uint32_t Pixel(int x, int y) const;
	void Clear(float r, float g, float b) const;

	// Reads the whole back buffer at once; At and Count answer from the last grab.
	void Grab();
	// 0xRRGGBB, or 0xFFFFFFFF outside the window or before the first grab.
	uint32_t At(int x, int y) const;
	// The pixels of the rectangle that hold the colour.
	int Count(int x, int y, int w, int h, uint32_t colour) const;
	// Writes the last grab as a BMP into the build's "screenshots" folder, for a person to look at.
	void Keep(const std::string &name) const;

private:
	int width;
	int height;
	bool open;
	std::vector<uint32_t> frame;
};

// Events as the window system queues them, to push into SDL's queue.
SDL_Event KeyEvent(bool down, int key, int unicode = 0, int modifiers = KMOD_NONE);
SDL_Event MotionEvent(int x, int y, int dx, int dy, int buttons = 0);
SDL_Event ButtonEvent(bool down, int button, int x, int y);

#endif
