#include "gl2d/GL2D_SimpleBmpRect.h"

#include <SDL/SDL.h>

#include <string>

#include "core/LogFile.h"
#include "gl2d/GL2D_ImagePair.h"
#include "gl2d/GL2D_TextFile.h"

bool GL2D_SimpleBmpRect::Load(const char *file) {
	GL2D_TextFile text;
	if (!text.Open(file)) {
		return false;
	}
	std::string imagePath, alphaPath;
	if (!text.NextImageLines(file, imagePath, alphaPath)) {
		return false;
	}
	GL2D_ImagePair images;
	images.Load(imagePath, alphaPath);
	Release();
	if (images.Oversized() || (images.Image() && !SetSurfaces(images.Image(), images.Alpha()))) {
		return false;
	}
	return true;
}

bool GL2D_SimpleBmpRect::SetSurfaces(SDL_Surface *image, SDL_Surface *alphaImage) {
	if (!image) {
		return false;
	}
	Release();
	if (!CreateFromSurfaces(image, alphaImage)) {
		return false;
	}
	AddRegion(0, 0, image->w, image->h);
	return true;
}

void GL2D_SimpleBmpRect::Draw(int x, int y, const GL2D_Rect *clip) const {
	DrawRegion(0, static_cast<float>(x), static_cast<float>(y), clip);
}

void GL2D_SimpleBmpRect::DrawScaledAt(int left, int top, float scale) const {
	if (scale == 1.0f) {
		Draw(left, top);
		return;
	}
	DrawRegionScaled(0, left + GetWidth() * scale * 0.5f, top + GetHeight() * scale * 0.5f, scale, scale);
}

void GL2D_SimpleBmpRect::DrawScaled(int x, int y, float sx, float sy) const {
	DrawRegionScaled(0, static_cast<float>(x), static_cast<float>(y), sx, sy);
}
