#include "gl2d/GL2D_ImagePair.h"

#include <SDL/SDL.h>

#include <cstdint>
#include <cstdlib>

#include "core/LittleEndian.h"
#include "core/LogFile.h"
#include "gl2d/GL2D_Bitmap.h"

namespace {

const char *const TOO_LARGE = "a size that needs more than 64 textures";

// Why SDL's BMP reader must not be given the file, or null when it may. That reader takes any
// depth (2049 bits becomes a 1-bit surface without a palette, which its converter then reads
// through a null pointer), any palette length and any size; only what a texture grid can hold
// passes.
const char *Refusal(SDL_RWops *file) {
	Uint8 header[54]; // the file header and the longest information header's first 40 bytes
	const int got = SDL_RWread(file, header, 1, sizeof(header));
	if (got < 26 || header[0] != 'B' || header[1] != 'M') {
		return "no BMP header";
	}
	const uint32_t infoSize = ReadLittle32(header + 14);
	long long width, height;
	int depth;
	uint32_t compression = 0, colours = 0;
	if (infoSize == 12) { // the old OS/2 header: 16-bit sizes
		width = ReadLittle16(header + 18);
		height = ReadLittle16(header + 20);
		depth = ReadLittle16(header + 24);
	} else if (infoSize >= 40 && got == static_cast<int>(sizeof(header))) {
		width = static_cast<int32_t>(ReadLittle32(header + 18));
		height = static_cast<int32_t>(ReadLittle32(header + 22));
		depth = ReadLittle16(header + 28);
		compression = ReadLittle32(header + 30);
		colours = ReadLittle32(header + 46);
	} else {
		return "an unknown information header";
	}
	if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32) {
		return "a depth other than 1, 4, 8, 16, 24 or 32 bits";
	}
	if (compression != 0 && compression != 3) { // plain and bit fields
		return "compression";
	}
	if (depth <= 8 && colours > (1u << depth)) {
		return "more palette colours than the depth allows";
	}
	const long long tiles = GL2D_Bitmap::TILE_SIZE;
	if (width < 1 || width > GL2D_Bitmap::MAX_WIDTH || height == 0 ||
		(width + tiles - 1) / tiles * ((llabs(height) + tiles - 1) / tiles) > GL2D_Bitmap::MAX_TILES) {
		return TOO_LARGE;
	}
	return nullptr;
}

SDL_Surface *LoadBmp(const std::string &path, bool *oversized) {
	*oversized = false;
	SDL_RWops *file = SDL_RWFromFile(path.c_str(), "rb");
	if (!file) {
		return nullptr;
	}
	const char *refusal = Refusal(file);
	*oversized = refusal == TOO_LARGE;
	if (refusal || SDL_RWseek(file, 0, RW_SEEK_SET) != 0) {
		Log(LOG_WARNING, "GL2D: %s is not an image the game reads (%s), refused", path.c_str(),
			refusal ? refusal : "cannot be read again");
		SDL_RWclose(file);
		return nullptr;
	}
	return SDL_LoadBMP_RW(file, 1);
}

} // namespace

GL2D_ImagePair::GL2D_ImagePair() : image(nullptr), alpha(nullptr), oversized(false) {}

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
	image = LoadBmp(imagePath, &oversized);
	if (!alphaPath.empty() && alphaPath[0] != '-') {
		bool ignored; // an alpha image that does not fit is as one of the wrong size: none
		alpha = LoadBmp(alphaPath, &ignored);
	}
}
