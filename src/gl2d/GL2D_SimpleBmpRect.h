#ifndef TAVRO_GL2D_GL2D_SIMPLEBMPRECT_H
#define TAVRO_GL2D_GL2D_SIMPLEBMPRECT_H

#include "gl2d/GL2D_Bitmap.h"

// One picture drawn whole: its single region is the entire image (".nsbr" file).
class GL2D_SimpleBmpRect : public GL2D_Bitmap {
public:
	// Reads a ".nsbr" file: the image path, then the alpha image path or "-". False when the
	// file cannot be opened, lacks a line or names an image that needs too many tiles; an image
	// that cannot be read leaves the picture empty and still gives true.
	bool Load(const char *file);

	// The image replaces whatever the picture held. False without an image.
	bool SetSurfaces(SDL_Surface *image, SDL_Surface *alphaImage);

	void Draw(int x, int y, const GL2D_Rect *clip = nullptr) const;
	// Centred on (x, y) and scaled.
	void DrawScaled(int x, int y, float sx, float sy) const;
	// Its top left corner at (left, top), scale times its size; at 1 the same as Draw.
	void DrawScaledAt(int left, int top, float scale) const;

	int GetWidth() const { return static_cast<int>(GetRegion(0).w); }
	int GetHeight() const { return static_cast<int>(GetRegion(0).h); }
};

#endif
