#include "core/Screenshot.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <cstring>

bool SaveScreenshot(const char *fileName, int width, int height) {
	if (!fileName || width <= 0 || height <= 0) {
		return false;
	}
	SDL_Surface *image = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
	if (!image) {
		return false;
	}
	// Read with the image's own row pitch so widths that are not a multiple of 4 come out right.
	const int rowBytes = width * 3;
	SDL_LockSurface(image);
	unsigned char *pixels = static_cast<unsigned char *>(image->pixels);
	// The frame just drawn, before it is presented.
	glReadBuffer(GL_BACK);
	glPixelStorei(GL_PACK_ALIGNMENT, 1);
	glPixelStorei(GL_PACK_ROW_LENGTH, 0);
	// The frame buffer's first row is the bottom of the screen: read each row into its flipped place.
	for (int row = 0; row < height; row++) {
		glReadPixels(0, height - 1 - row, width, 1, GL_RGB, GL_UNSIGNED_BYTE, pixels + row * image->pitch);
		if (image->pitch > rowBytes) {
			memset(pixels + row * image->pitch + rowBytes, 0, image->pitch - rowBytes);
		}
	}
	glPixelStorei(GL_PACK_ALIGNMENT, 4);
	SDL_UnlockSurface(image);
	bool saved = SDL_SaveBMP(image, fileName) == 0;
	SDL_FreeSurface(image);
	return saved;
}
