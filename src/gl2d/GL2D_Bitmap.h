#ifndef TAVRO_GL2D_GL2D_BITMAP_H
#define TAVRO_GL2D_GL2D_BITMAP_H

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gl2d/GL2D_Rect.h"

struct SDL_Surface;

// The part of a region that lies in one tile.
struct GL2D_Piece {
	float srcX, srcY, srcW, srcH; // inside the tile, tile pixels
	float dx, dy;                 // from the region's top-left corner
	int tile;                     // index into the bitmap's tile textures
};

// A rectangle of the bitmap and its pieces, one per tile it overlaps.
struct GL2D_Region {
	GL2D_Rect rect; // bitmap pixels
	std::vector<GL2D_Piece> pieces;
};

// Red, green and blue of the pixels that become transparent.
struct GL2D_ColorKey {
	uint8_t r, g, b;
};

// A picture held in video memory as a grid of 256 x 256 textures, with rectangular regions
// of it that can be drawn anywhere. Needs an OpenGL context from the first image to destruction.
class GL2D_Bitmap {
public:
	static constexpr int TILE_SIZE = 256;
	static constexpr int MAX_TILES = 64;
	// SDL 1.2 keeps a row's length in bytes in 16 bits: wider 32-bit images cannot be held.
	static constexpr int MAX_WIDTH = 16383; // pixels

	GL2D_Bitmap();
	~GL2D_Bitmap();
	GL2D_Bitmap(const GL2D_Bitmap &) = delete;
	GL2D_Bitmap &operator=(const GL2D_Bitmap &) = delete;

	// Build the tiles from an image, replacing the textures of an earlier one (regions stay).
	// False, with nothing changed, without an image or when it needs more than MAX_TILES tiles
	// or is wider than MAX_WIDTH.
	// key: pixels of that colour are transparent; alphaImage: 8-bit opacity of every pixel.
	bool CreateFromSurface(SDL_Surface *image, const GL2D_ColorKey *key);
	bool CreateFromSurfaces(SDL_Surface *image, SDL_Surface *alphaImage);

	// Appends a region and returns its number of pieces. Parts outside the tile grid get no
	// piece, so a region added before any image has none but still has its size.
	int AddRegion(int x, int y, int w, int h);

	// Textures and regions both go; the bitmap is as new.
	void Release();

	// An index without a region draws nothing. clip may be null.
	void DrawRegion(int index, float x, float y, const GL2D_Rect *clip) const;
	// Between the two, the quads of every DrawRegion are gathered and drawn with one call per
	// run of quads on the same tile, in the order they were asked for (the picture is the same;
	// Mesa spends far less per quad in a vertex array than between glBegin and glEnd). Nothing
	// else may draw before EndQuads.
	void BeginQuads() const;
	void EndQuads() const;
	void DrawRegionScaled(int index, float cx, float cy, float sx, float sy) const;
	// Pictures shown larger than they are look smoothed rather than blocky. Off by default:
	// a picture drawn at its size stays exact to the pixel.
	void SetSmooth(bool on);

	// The region's rectangle; all zero for an index without a region.
	GL2D_Rect GetRegion(int index) const;
	int GetRegionCount() const { return static_cast<int>(regions.size()); }
	int GetPieceCount(int index) const;
	// Null when there is no such piece.
	const GL2D_Piece *GetPiece(int index, int piece) const;

	int GetTileCount() const { return tileCount; }
	int GetTilesAcross() const { return tilesAcross; }
	int GetTilesDown() const { return tilesDown; }
	bool HasAlpha() const { return hasAlpha; }

private:
	bool BuildTiles(SDL_Surface *image, const GL2D_ColorKey *key, SDL_Surface *alphaImage);
	void DeleteTextures();
	void ApplyBlending() const;
	// To the bound texture.
	void ApplyFilter() const;
	void DrawQuad(int tile, const GL2D_Rect &screen, const GL2D_Rect &source) const;
	void FlushQuads() const;

	GLuint tiles[MAX_TILES];
	int tileCount;
	int tilesAcross;
	int tilesDown;
	std::vector<GL2D_Region> regions;
	bool hasAlpha;
	bool smooth; // filtered linearly
	// The quads gathered between BeginQuads and EndQuads, all on batchTile: per corner the
	// texture coordinates then the position. It keeps its storage from one frame to the next.
	mutable std::vector<float> batch;
	mutable int batchTile;
	mutable bool batching;
};

#endif
