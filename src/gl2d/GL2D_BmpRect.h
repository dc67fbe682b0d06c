#ifndef TAVRO_GL2D_GL2D_BMPRECT_H
#define TAVRO_GL2D_GL2D_BMPRECT_H

#include "gl2d/GL2D_Bitmap.h"

// A nine-part frame (".nbr" file): corners drawn once, edges and centre repeated to fill any
// size, the last copy cut. Nothing is stretched.
class GL2D_BmpRect : public GL2D_Bitmap {
public:
	// clang-format off
	enum Part {
		TOP_LEFT, TOP, TOP_RIGHT,
		LEFT, CENTRE, RIGHT,
		BOTTOM_LEFT, BOTTOM, BOTTOM_RIGHT,
		PART_COUNT
	};
	// clang-format on
	static constexpr size_t MAX_REGION_LINE = 31; // characters of a region line

	// Reads a ".nbr" file: image path, alpha image path or "-", then nine lines "x,y,w,h".
	// False when the file cannot be opened, a line or a field is missing or out of range,
	// the edges are empty, or the image needs too many tiles; nothing is kept then. An image
	// that cannot be read still gives true, with the nine regions and no textures.
	bool Load(const char *file);

	// Replaces the textures; the regions stay. False without an image.
	bool SetSurfaces(SDL_Surface *image, SDL_Surface *alphaImage);

	// Fills (x, y, w, h); clip may be null. Draws nothing without all nine regions.
	void Draw(int x, int y, int w, int h, const GL2D_Rect *clip = nullptr) const;

	// The smallest height the frame can be drawn at: left column without its repeats.
	int GetMinHeight() const;

private:
	// Draws a part cut to (x, y, w, h) and to the clip; nothing when they do not meet.
	void DrawCut(Part part, float x, float y, float w, float h, const GL2D_Rect *clip) const;
};

#endif
