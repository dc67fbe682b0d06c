#ifndef TAVRO_TESTS_GLWINDOW_H
#define TAVRO_TESTS_GLWINDOW_H

#include <cstdint>

// A real SDL window with an OpenGL context for tests that draw or take events (run under Xvfb).
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

private:
	int width;
	int height;
	bool open;
};

#endif
