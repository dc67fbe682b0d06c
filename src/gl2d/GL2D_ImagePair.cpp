#include "gl2d/GL2D_ImagePair.h"

#include <SDL/SDL.h>

namespace {

SDL_Surface *LoadBmp(const std::string &path) {
	SDL_RWops *file = SDL_RWFromFile(path.c_str(), "rb");
	return file ? SDL_LoadBMP_RW(file, 1) : nullptr;
}

} // namespace

GL2D_ImagePair::GL2D_ImagePair() : image(nullptr), alpha(nullptr) {}

GL2D_ImagePair::~GL2D_ImagePair() {
	Free();
}

void GL2D_ImagePair::Free() {
	if (image) {
		SDL_FreeSurface(image);
		image = nullptr;
	}
	if (alpha) {
		SDL_FreeSurface(alpha);
		alpha = nullptr;
	}
}

void GL2D_ImagePair::Load(const std::string &imagePath, const std::string &alphaPath) {
	Free();
	image = LoadBmp(imagePath);
	if (!alphaPath.empty() && alphaPath[0] != '-') {
		alpha = LoadBmp(alphaPath);
	}
}
