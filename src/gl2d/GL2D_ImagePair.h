#ifndef TAVRO_GL2D_GL2D_IMAGEPAIR_H
#define TAVRO_GL2D_GL2D_IMAGEPAIR_H

#include <string>

struct SDL_Surface;

// The BMP image of a picture or glyph sheet and its optional 8-bit alpha image, held only
// while the textures are built and freed with this object.
class GL2D_ImagePair {
public:
	GL2D_ImagePair();
	~GL2D_ImagePair();
	GL2D_ImagePair(const GL2D_ImagePair &) = delete;
	GL2D_ImagePair &operator=(const GL2D_ImagePair &) = delete;

	// An alpha path starting with "-" names none. A file that cannot be read, or whose header
	// SDL's reader must not be given (logged), leaves its surface null, which the callers treat
	// as no image.
	void Load(const std::string &imagePath, const std::string &alphaPath);

	SDL_Surface *Image() const { return image; }
	SDL_Surface *Alpha() const { return alpha; }
	// The image was left unread because it needs more textures than a bitmap holds, which the
	// callers refuse as they refuse such an image once read.
	bool Oversized() const { return oversized; }

private:
	void Free();

	SDL_Surface *image;
	SDL_Surface *alpha;
	bool oversized;
};

#endif
