#include "gl2d/GL2D_Bitmap.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/LogFile.h"

namespace {

const float TEXEL = 1.0f / GL2D_Bitmap::TILE_SIZE;
// Floats of the quads gathered before they are drawn: 512 quads of 4 corners of 4 floats.
const size_t MAX_BATCH_FLOATS = 512 * 16;

// Bytes R, G, B, A in memory whatever the machine's byte order.
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
const Uint32 MASK_R = 0xFF000000, MASK_G = 0x00FF0000, MASK_B = 0x0000FF00, MASK_A = 0x000000FF;
#else
const Uint32 MASK_R = 0x000000FF, MASK_G = 0x0000FF00, MASK_B = 0x00FF0000, MASK_A = 0xFF000000;
#endif

// The image in RGBA bytes, pixels copied as they are.
SDL_Surface *ConvertToRgba(SDL_Surface *image) {
	SDL_Surface *model = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, MASK_R, MASK_G, MASK_B, MASK_A);
	if (!model) {
		return nullptr;
	}
	SDL_Surface *rgba = SDL_ConvertSurface(image, model->format, SDL_SWSURFACE);
	SDL_FreeSurface(model);
	if (rgba) {
		SDL_SetAlpha(rgba, 0, SDL_ALPHA_OPAQUE);
	}
	return rgba;
}

} // namespace

GL2D_Bitmap::GL2D_Bitmap()
	: tileCount(0), tilesAcross(0), tilesDown(0), hasAlpha(false), smooth(false), batchTile(-1), batching(false) {
	std::fill(tiles, tiles + MAX_TILES, 0u);
}

GL2D_Bitmap::~GL2D_Bitmap() {
	DeleteTextures();
}

void GL2D_Bitmap::DeleteTextures() {
	if (tileCount > 0) {
		glDeleteTextures(tileCount, tiles);
	}
	std::fill(tiles, tiles + MAX_TILES, 0u);
	tileCount = 0;
	tilesAcross = 0;
	tilesDown = 0;
	hasAlpha = false;
}

void GL2D_Bitmap::Release() {
	DeleteTextures();
	regions.clear();
}

bool GL2D_Bitmap::CreateFromSurface(SDL_Surface *image, const GL2D_ColorKey *key) {
	return BuildTiles(image, key, nullptr);
}

bool GL2D_Bitmap::CreateFromSurfaces(SDL_Surface *image, SDL_Surface *alphaImage) {
	return BuildTiles(image, nullptr, alphaImage);
}

bool GL2D_Bitmap::BuildTiles(SDL_Surface *image, const GL2D_ColorKey *key, SDL_Surface *alphaImage) {
	if (!image || image->w <= 0 || image->h <= 0) {
		return false;
	}
	long long across = (image->w + TILE_SIZE - 1) / TILE_SIZE;
	long long down = (image->h + TILE_SIZE - 1) / TILE_SIZE;
	if (across * down > MAX_TILES || image->w > MAX_WIDTH) {
		Log(LOG_WARNING, "GL2D: a %dx%d image is too large (over %d tiles or %d pixels wide), refused", image->w,
			image->h, MAX_TILES, MAX_WIDTH);
		return false;
	}
	if (alphaImage &&
		(alphaImage->format->BytesPerPixel != 1 || alphaImage->w != image->w || alphaImage->h != image->h)) {
		Log(LOG_WARNING, "GL2D: alpha image is not an 8-bit image of the picture's size, ignored");
		alphaImage = nullptr;
	}
	SDL_Surface *rgba = ConvertToRgba(image);
	if (!rgba) {
		Log(LOG_WARNING, "GL2D: image conversion failed: %s", SDL_GetError());
		return false;
	}

	DeleteTextures();
	tilesAcross = static_cast<int>(across);
	tilesDown = static_cast<int>(down);
	tileCount = tilesAcross * tilesDown;
	hasAlpha = key || alphaImage;
	glGenTextures(tileCount, tiles);

	std::vector<Uint8> tile(TILE_SIZE * TILE_SIZE * 4);
	SDL_LockSurface(rgba);
	if (alphaImage) {
		SDL_LockSurface(alphaImage);
	}
	for (int t = 0; t < tileCount; t++) {
		int left = (t % tilesAcross) * TILE_SIZE;
		int top = (t / tilesAcross) * TILE_SIZE;
		int width = std::min(TILE_SIZE, rgba->w - left);
		int height = std::min(TILE_SIZE, rgba->h - top);

		// Where the image ends the tile stays transparent black. Raw pointers: large glyph
		// sheets are built while a screen's script runs, and must not eat its time in a debug build.
		Uint8 *out = tile.data();
		if (width < TILE_SIZE || height < TILE_SIZE) {
			memset(out, 0, tile.size());
		}
		const Uint8 *pixels = static_cast<const Uint8 *>(rgba->pixels);
		for (int r = 0; r < height; r++) {
			memcpy(out + r * TILE_SIZE * 4, pixels + (top + r) * rgba->pitch + left * 4, width * 4);
		}
		if (key) {
			for (Uint8 *p = out, *end = out + tile.size(); p < end; p += 4) {
				if (p[0] == key->r && p[1] == key->g && p[2] == key->b) {
					p[3] = 0;
				}
			}
		}
		if (alphaImage) {
			for (int r = 0; r < height; r++) {
				const Uint8 *alpha =
					static_cast<const Uint8 *>(alphaImage->pixels) + (top + r) * alphaImage->pitch + left;
				Uint8 *row = out + r * TILE_SIZE * 4 + 3;
				for (int c = 0; c < width; c++) {
					row[c * 4] = alpha[c];
				}
			}
		}

		glBindTexture(GL_TEXTURE_2D, tiles[t]);
		glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
		glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
		ApplyFilter();
		glTexImage2D(GL_TEXTURE_2D, 0, 4, TILE_SIZE, TILE_SIZE, 0, GL_RGBA, GL_UNSIGNED_BYTE, tile.data());
	}
	if (alphaImage) {
		SDL_UnlockSurface(alphaImage);
	}
	SDL_UnlockSurface(rgba);
	SDL_FreeSurface(rgba);
	return true;
}

int GL2D_Bitmap::AddRegion(int x, int y, int w, int h) {
	assert(w >= 0 && h >= 0);
	GL2D_Region region;
	region.rect.x = static_cast<float>(x);
	region.rect.y = static_cast<float>(y);
	region.rect.w = static_cast<float>(w);
	region.rect.h = static_cast<float>(h);

	// Only the part inside the tile grid has texels to draw.
	long long left = std::max<long long>(x, 0);
	long long top = std::max<long long>(y, 0);
	long long right = std::min<long long>(static_cast<long long>(x) + w, tilesAcross * TILE_SIZE);
	long long bottom = std::min<long long>(static_cast<long long>(y) + h, tilesDown * TILE_SIZE);
	if (left < right && top < bottom) {
		int c0 = static_cast<int>(left / TILE_SIZE);
		int cE = static_cast<int>((right + TILE_SIZE - 1) / TILE_SIZE);
		int r0 = static_cast<int>(top / TILE_SIZE);
		int rE = static_cast<int>((bottom + TILE_SIZE - 1) / TILE_SIZE);
		region.pieces.reserve((cE - c0) * (rE - r0));
		for (int row = r0; row < rE; row++) {
			long long pieceTop = std::max<long long>(top, row * TILE_SIZE);
			long long pieceBottom = std::min<long long>(bottom, (row + 1) * TILE_SIZE);
			for (int column = c0; column < cE; column++) {
				long long pieceLeft = std::max<long long>(left, column * TILE_SIZE);
				long long pieceRight = std::min<long long>(right, (column + 1) * TILE_SIZE);
				GL2D_Piece piece;
				piece.srcX = static_cast<float>(pieceLeft - column * TILE_SIZE);
				piece.srcY = static_cast<float>(pieceTop - row * TILE_SIZE);
				piece.srcW = static_cast<float>(pieceRight - pieceLeft);
				piece.srcH = static_cast<float>(pieceBottom - pieceTop);
				piece.dx = static_cast<float>(pieceLeft - x);
				piece.dy = static_cast<float>(pieceTop - y);
				piece.tile = tilesAcross * row + column;
				region.pieces.push_back(piece);
			}
		}
	}
	regions.push_back(std::move(region));
	return static_cast<int>(regions.back().pieces.size());
}

GL2D_Rect GL2D_Bitmap::GetRegion(int index) const {
	if (index < 0 || index >= GetRegionCount()) {
		GL2D_Rect none = {0.0f, 0.0f, 0.0f, 0.0f};
		return none;
	}
	return regions[index].rect;
}

int GL2D_Bitmap::GetPieceCount(int index) const {
	if (index < 0 || index >= GetRegionCount()) {
		return 0;
	}
	return static_cast<int>(regions[index].pieces.size());
}

const GL2D_Piece *GL2D_Bitmap::GetPiece(int index, int piece) const {
	if (piece < 0 || piece >= GetPieceCount(index)) {
		return nullptr;
	}
	return &regions[index].pieces[piece];
}

void GL2D_Bitmap::ApplyBlending() const {
	if (hasAlpha) {
		// Fully transparent texels are dropped; the rest add to what lies beneath.
		glEnable(GL_ALPHA_TEST);
		glAlphaFunc(GL_GREATER, 0.0f);
		glEnable(GL_BLEND);
		glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
	} else {
		glDisable(GL_ALPHA_TEST);
		glDisable(GL_BLEND);
	}
}

void GL2D_Bitmap::DrawQuad(int tile, const GL2D_Rect &screen, const GL2D_Rect &source) const {
	// Regions outlive a smaller image loaded later: their pieces may name tiles that are gone.
	if (tile < 0 || tile >= tileCount) {
		return;
	}
	float right = screen.x + screen.w;
	float bottom = screen.y + screen.h;
	float s0 = source.x * TEXEL;
	float t0 = source.y * TEXEL;
	float s1 = (source.x + source.w) * TEXEL;
	float t1 = (source.y + source.h) * TEXEL;
	if (batching) {
		if (tile != batchTile || batch.size() >= MAX_BATCH_FLOATS) {
			FlushQuads();
			batchTile = tile;
		}
		const float corners[16] = {
			s0, t1, screen.x, bottom, s0, t0, screen.x, screen.y, s1, t0, right, screen.y, s1, t1, right, bottom};
		batch.insert(batch.end(), corners, corners + 16);
		return;
	}
	glBindTexture(GL_TEXTURE_2D, tiles[tile]);
	glBegin(GL_QUADS);
	glTexCoord2f(s0, t1);
	glVertex2f(screen.x, bottom);
	glTexCoord2f(s0, t0);
	glVertex2f(screen.x, screen.y);
	glTexCoord2f(s1, t0);
	glVertex2f(right, screen.y);
	glTexCoord2f(s1, t1);
	glVertex2f(right, bottom);
	glEnd();
}

void GL2D_Bitmap::BeginQuads() const {
	assert(!batching);
	if (batch.capacity() == 0) {
		batch.reserve(MAX_BATCH_FLOATS + 16);
	}
	batch.clear();
	batchTile = -1;
	batching = true;
}

void GL2D_Bitmap::EndQuads() const {
	assert(batching);
	FlushQuads();
	batching = false;
}

void GL2D_Bitmap::FlushQuads() const {
	if (batch.empty()) {
		return;
	}
	if (batchTile >= 0 && batchTile < tileCount) {
		glBindTexture(GL_TEXTURE_2D, tiles[batchTile]);
		const GLsizei stride = 4 * sizeof(float);
		glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
		glEnableClientState(GL_VERTEX_ARRAY);
		glEnableClientState(GL_TEXTURE_COORD_ARRAY);
		glDisableClientState(GL_NORMAL_ARRAY);
		glDisableClientState(GL_COLOR_ARRAY);
		glTexCoordPointer(2, GL_FLOAT, stride, batch.data());
		glVertexPointer(2, GL_FLOAT, stride, batch.data() + 2);
		glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(batch.size() / 4));
		glPopClientAttrib();
	}
	batch.clear();
}

void GL2D_Bitmap::DrawRegion(int index, float x, float y, const GL2D_Rect *clip) const {
	if (index < 0 || index >= GetRegionCount()) {
		return;
	}
	ApplyBlending();
	for (const GL2D_Piece &piece : regions[index].pieces) {
		float left = x + piece.dx;
		float top = y + piece.dy;
		float width = piece.srcW;
		float height = piece.srcH;
		float u = piece.srcX;
		float v = piece.srcY;
		if (clip) {
			float clipRight = clip->x + clip->w;
			float clipBottom = clip->y + clip->h;
			if (top >= clipBottom || left >= clipRight || top + height <= clip->y || left + width <= clip->x) {
				continue;
			}
			if (top < clip->y) {
				v += clip->y - top;
				height -= clip->y - top;
				top = clip->y;
			}
			if (left < clip->x) {
				u += clip->x - left;
				width -= clip->x - left;
				left = clip->x;
			}
			if (top + height > clipBottom) {
				height = clipBottom - top;
			}
			if (left + width > clipRight) {
				width = clipRight - left;
			}
		}
		GL2D_Rect screen = {left, top, width, height};
		GL2D_Rect source = {u, v, width, height};
		DrawQuad(piece.tile, screen, source);
	}
}

void GL2D_Bitmap::ApplyFilter() const {
	const GLint filter = smooth ? GL_LINEAR : GL_NEAREST;
	glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
	glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
}

void GL2D_Bitmap::SetSmooth(bool on) {
	smooth = on;
	for (int t = 0; t < tileCount; t++) {
		glBindTexture(GL_TEXTURE_2D, tiles[t]);
		ApplyFilter();
	}
}

void GL2D_Bitmap::DrawRegionScaled(int index, float cx, float cy, float sx, float sy) const {
	if (index < 0 || index >= GetRegionCount()) {
		return;
	}
	ApplyBlending();
	const GL2D_Region &region = regions[index];
	for (const GL2D_Piece &piece : region.pieces) {
		GL2D_Rect screen;
		screen.x = sx * piece.dx + cx - sx * region.rect.w * 0.5f;
		screen.y = sy * piece.dy + cy - sy * region.rect.h * 0.5f;
		screen.w = piece.srcW * sx;
		screen.h = piece.srcH * sy;
		// Texture coordinates come from the unscaled source rectangle.
		GL2D_Rect source = {piece.srcX, piece.srcY, piece.srcW, piece.srcH};
		DrawQuad(piece.tile, screen, source);
	}
}
