#include "GLWindow.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <cstdio>

GLWindow::GLWindow(int width_, int height_) : width(width_), height(height_), open(false) {
	if (SDL_Init(SDL_INIT_VIDEO) < 0) {
		fprintf(stderr, "GLWindow: %s\n", SDL_GetError());
		return;
	}
	SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
	SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
	open = SDL_SetVideoMode(width, height, 32, SDL_OPENGL) != nullptr;
	if (!open) {
		fprintf(stderr, "GLWindow: %s\n", SDL_GetError());
	}
	if (open) {
		glViewport(0, 0, width, height);
		glMatrixMode(GL_PROJECTION);
		glLoadIdentity();
		glMatrixMode(GL_MODELVIEW);
		glLoadIdentity();
		glEnable(GL_DEPTH_TEST);
	}
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
