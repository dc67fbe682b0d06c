#ifndef TAVRO_CORE_VIDEOCONFIG_H
#define TAVRO_CORE_VIDEOCONFIG_H

// Screen settings read once from "video.cfg"; everybody asks it for the screen size.
class VideoConfig {
public:
	VideoConfig();

	// Reads four integers (width, height, bits per pixel, full-screen flag). False when the
	// file cannot be opened; unreadable values keep their defaults.
	bool Load(const char *path);

	// Writes the four values as they were asked for (not the size SDL made of them), with the
	// full-screen flag as it is now. False when the file cannot be written.
	bool Save(const char *path) const;

	// The window SDL really opened, which may differ from the file's (0 asks for the desktop's).
	void SetScreenSize(int w, int h) {
		width = w;
		height = h;
	}
	void SetFullscreen(bool on) { fullscreen = on; }

	// How much larger than at 640 × 480 the menus and the HUD are drawn in a window of the
	// size: as the height grows, unless the window is narrower than 4:3 (1 below that size).
	static float ScreenScale(int w, int h) {
		const float byWidth = w / 640.0f, byHeight = h / 480.0f;
		const float scale = byWidth < byHeight ? byWidth : byHeight;
		return scale > 1.0f ? scale : 1.0f;
	}

	// A length at 640 × 480 in pixels of a window of that scale.
	static int Scaled(int length, float scale) { return static_cast<int>(length * scale + 0.5f); }

	int Width() const { return width; }
	int Height() const { return height; }
	int BitsPerPixel() const { return bitsPerPixel; }
	bool Fullscreen() const { return fullscreen; }

private:
	int width;       // pixels, of the screen
	int height;      // pixels
	int askedWidth;  // pixels, as the file gave them
	int askedHeight; // pixels
	int bitsPerPixel;
	bool fullscreen;
};

// The process-wide configuration; exists between start-up and shut-down.
extern VideoConfig *g_videoConfig;

#endif
