#include "GLWindow.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

GLWindow::GLWindow(int width_, int height_) : width(width_), height(height_), open(false) {
	for (int attempt = 0; attempt < 40 && !open; attempt++) {
		if (attempt > 0) {
			SDL_Quit();
			SDL_Delay(50);
		}
		if (SDL_Init(SDL_INIT_VIDEO) < 0) {
			continue;
		}
		SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
		SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
		open = SDL_SetVideoMode(width, height, 32, SDL_OPENGL) != nullptr;
	}
	if (!open) {
		fprintf(stderr, "GLWindow: %s\n", SDL_GetError());
		return;
	}
	glViewport(0, 0, width, height);
	glMatrixMode(GL_PROJECTION);
	glLoadIdentity();
	glMatrixMode(GL_MODELVIEW);
	glLoadIdentity();
	glEnable(GL_DEPTH_TEST);
}

GLWindow::~GLWindow() {
	SDL_Quit();
}

uint32_t GLWindow::Pixel(int x, int y) const {
	unsigned char rgb[4] = {0, 0, 0, 0};
	glPixelStorei(GL_PACK_ALIGNMENT, 1);
	glReadBuffer(GL_BACK);
	glReadPixels(x, height - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
	return (uint32_t(rgb[0]) << 16) | (uint32_t(rgb[1]) << 8) | rgb[2];
}

void GLWindow::Clear(float r, float g, float b) const {
	glClearColor(r, g, b, 1.0f);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GLWindow::Grab() {
	std::vector<uint8_t> rgb(size_t(width) * height * 3);
	glPixelStorei(GL_PACK_ALIGNMENT, 1);
	glReadBuffer(GL_BACK);
	glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
	frame.assign(size_t(width) * height, 0);
	for (int y = 0; y < height; y++) {
		const uint8_t *row = &rgb[size_t(height - 1 - y) * width * 3];
		for (int x = 0; x < width; x++) {
			frame[size_t(y) * width + x] =
				(uint32_t(row[x * 3]) << 16) | (uint32_t(row[x * 3 + 1]) << 8) | row[x * 3 + 2];
		}
	}
}

uint32_t GLWindow::At(int x, int y) const {
	if (x < 0 || y < 0 || x >= width || y >= height || frame.empty()) {
		return 0xFFFFFFFF;
	}
	return frame[size_t(y) * width + x];
}

int GLWindow::Count(int x, int y, int w, int h, uint32_t colour) const {
	int count = 0;
	for (int j = y; j < y + h; j++) {
		for (int i = x; i < x + w; i++) {
			count += At(i, j) == colour;
		}
	}
	return count;
}

void GLWindow::Keep(const std::string &name) const {
	if (frame.empty()) {
		return;
	}
	SDL_Surface *image = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0);
	if (!image) {
		return;
	}
	for (int y = 0; y < height; y++) {
		memcpy(static_cast<uint8_t *>(image->pixels) + y * image->pitch, &frame[size_t(y) * width], width * 4);
	}
	const std::filesystem::path shots = std::filesystem::path(TAVRO_BINARY_DIR) / "screenshots";
	std::error_code ec;
	std::filesystem::create_directories(shots, ec);
	SDL_SaveBMP(image, (shots / (name + ".bmp")).c_str());
	SDL_FreeSurface(image);
}

SDL_Event KeyEvent(bool down, int key, int unicode, int modifiers) {
	SDL_Event event = {};
	event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
	event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
	event.key.keysym.sym = static_cast<SDLKey>(key);
	event.key.keysym.mod = static_cast<SDLMod>(modifiers);
	event.key.keysym.unicode = static_cast<Uint16>(unicode);
	return event;
}

SDL_Event MotionEvent(int x, int y, int dx, int dy, int buttons) {
	SDL_Event event = {};
	event.type = SDL_MOUSEMOTION;
	event.motion.x = static_cast<Uint16>(x);
	event.motion.y = static_cast<Uint16>(y);
	event.motion.xrel = static_cast<Sint16>(dx);
	event.motion.yrel = static_cast<Sint16>(dy);
	event.motion.state = static_cast<Uint8>(buttons);
	return event;
}

SDL_Event ButtonEvent(bool down, int button, int x, int y) {
	SDL_Event event = {};
	event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
	event.button.button = static_cast<Uint8>(button);
	event.button.x = static_cast<Uint16>(x);
	event.button.y = static_cast<Uint16>(y);
	return event;
}
