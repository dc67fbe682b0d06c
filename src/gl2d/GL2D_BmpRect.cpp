#include "gl2d/GL2D_BmpRect.h"

#include <SDL/SDL.h>

#include <string>

#include "core/LogFile.h"
#include "gl2d/GL2D_ImagePair.h"
#include "gl2d/GL2D_TextFile.h"

namespace {

const int COORD_MIN = -32768; // region x and y are signed 16-bit
const int COORD_MAX = 32767;
const int REGION_SIZE_MAX = 65535; // region w and h are unsigned 16-bit

// Repeats of a tile of the given size in span, and the width left for a last cut copy.
void Repeats(float span, float tileSize, int &count, int &rest) {
	int whole = static_cast<int>(span);
	int step = static_cast<int>(tileSize);
	count = 0;
	rest = 0;
	if (whole <= 0 || step < 1) {
		return;
	}
	count = static_cast<int>(whole / tileSize);
	rest = whole % step;
}

} // namespace

bool GL2D_BmpRect::Load(const char *file) {
	GL2D_TextFile text;
	if (!text.Open(file)) {
		return false;
	}
	std::string imagePath, alphaPath;
	if (!text.NextImageLines(file, imagePath, alphaPath)) {
		return false;
	}
	int parts[PART_COUNT][4];
	for (int i = 0; i < PART_COUNT; i++) {
		std::string line;
		int *v = parts[i];
		if (!text.NextLine(line, MAX_REGION_LINE) || !GL2D_ParseIntFields(line, 4, v)) {
			Log(LOG_WARNING, "GL2D: %s: region line %d is missing or not x,y,w,h, refused", file, i + 1);
			return false;
		}
		if (v[0] < COORD_MIN || v[0] > COORD_MAX || v[1] < COORD_MIN || v[1] > COORD_MAX || v[2] < 0 ||
			v[2] > REGION_SIZE_MAX || v[3] < 0 || v[3] > REGION_SIZE_MAX) {
			Log(LOG_WARNING, "GL2D: %s: region line %d is out of range, refused", file, i + 1);
			return false;
		}
	}
	// The edges set how often they and the centre repeat; empty ones cannot be repeated.
	if (parts[TOP][2] < 1 || parts[LEFT][3] < 1) {
		Log(LOG_WARNING, "GL2D: %s: top edge width or left edge height is 0, refused", file);
		return false;
	}

	GL2D_ImagePair images;
	images.Load(imagePath, alphaPath);
	Release();
	if (images.Oversized() || (images.Image() && !SetSurfaces(images.Image(), images.Alpha()))) {
		return false;
	}
	for (int i = 0; i < PART_COUNT; i++) {
		AddRegion(parts[i][0], parts[i][1], parts[i][2], parts[i][3]);
	}
	return true;
}

bool GL2D_BmpRect::SetSurfaces(SDL_Surface *image, SDL_Surface *alphaImage) {
	if (!image) {
		return false;
	}
	// Without an alpha image this is the same as no colour key: opaque.
	return CreateFromSurfaces(image, alphaImage);
}

int GL2D_BmpRect::GetMinHeight() const {
	return static_cast<int>(GetRegion(TOP_LEFT).h + GetRegion(LEFT).h + GetRegion(BOTTOM_LEFT).h);
}

void GL2D_BmpRect::DrawCut(Part part, float x, float y, float w, float h, const GL2D_Rect *clip) const {
	GL2D_Rect cut = {x, y, w, h};
	GL2D_Rect visible;
	if (IntersectRect(&cut, clip, &visible)) {
		DrawRegion(part, x, y, &visible);
	}
}

void GL2D_BmpRect::Draw(int x, int y, int w, int h, const GL2D_Rect *clip) const {
	if (GetRegionCount() < PART_COUNT) {
		return;
	}
	GL2D_Rect r[PART_COUNT];
	for (int i = 0; i < PART_COUNT; i++) {
		r[i] = GetRegion(i);
	}
	const float left = static_cast<float>(x);
	const float top = static_cast<float>(y);
	const float right = left + w;
	const float bottom = top + h;
	BeginQuads(); // a large frame is hundreds of small pieces

	DrawRegion(TOP_LEFT, left, top, clip);
	DrawRegion(TOP_RIGHT, right - r[TOP_RIGHT].w, top, clip);
	DrawRegion(BOTTOM_LEFT, left, bottom - r[BOTTOM_LEFT].h, clip);
	DrawRegion(BOTTOM_RIGHT, right - r[BOTTOM_RIGHT].w, bottom - r[BOTTOM_RIGHT].h, clip);

	// Top and bottom edges; the bottom row sits where the bottom-left corner starts.
	int n, rest;
	Repeats(w - r[TOP_LEFT].w - r[TOP_RIGHT].w, r[TOP].w, n, rest);
	const float innerLeft = left + r[TOP_LEFT].w;
	const float bottomRow = bottom - r[BOTTOM_LEFT].h;
	for (int i = 0; i < n; i++) {
		DrawRegion(TOP, innerLeft + i * r[TOP].w, top, clip);
		DrawRegion(BOTTOM, innerLeft + i * r[TOP].w, bottomRow, clip);
	}
	if (rest != 0) {
		float px = innerLeft + n * r[TOP].w;
		DrawCut(TOP, px, top, static_cast<float>(rest), r[TOP].h, clip);
		DrawCut(BOTTOM, px, bottomRow, static_cast<float>(rest), r[BOTTOM].h, clip);
	}

	// Left and right edges.
	int m, rest2;
	Repeats(h - r[TOP_LEFT].h - r[BOTTOM_LEFT].h, r[LEFT].h, m, rest2);
	const float innerTop = top + r[TOP_LEFT].h;
	const float rightColumn = right - r[RIGHT].w;
	for (int j = 0; j < m; j++) {
		DrawRegion(LEFT, left, innerTop + j * r[LEFT].h, clip);
		DrawRegion(RIGHT, rightColumn, innerTop + j * r[LEFT].h, clip);
	}
	if (rest2 != 0) {
		float py = innerTop + m * r[LEFT].h;
		DrawCut(LEFT, left, py, r[LEFT].w, static_cast<float>(rest2), clip);
		DrawCut(RIGHT, rightColumn, py, r[RIGHT].w, static_cast<float>(rest2), clip);
	}

	// Centre: counted by the edges, stepped by its own size; the last column and row are cut.
	const int columns = n + (rest != 0 ? 1 : 0);
	const int rows = m + (rest2 != 0 ? 1 : 0);
	for (int j = 0; j < rows; j++) {
		float py = innerTop + j * r[CENTRE].h;
		for (int i = 0; i < columns; i++) {
			float px = innerLeft + i * r[CENTRE].w;
			if (i < n && j < m) {
				DrawRegion(CENTRE, px, py, clip);
			} else {
				float cw = i < n ? r[CENTRE].w : static_cast<float>(rest);
				float ch = j < m ? r[CENTRE].h : static_cast<float>(rest2);
				DrawCut(CENTRE, px, py, cw, ch, clip);
			}
		}
	}
	EndQuads();
}
