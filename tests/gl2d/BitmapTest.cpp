#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Gl2dTestKit.h"
#include "gl2d/GL2D_Bitmap.h"
#include "gl2d/GL2D_SimpleBmpRect.h"

namespace {

class GL2DBitmap : public Gl2dTest {
protected:
	// The texels (0..w, 0..h) of the pattern at (x, y) on screen, and the background around them.
	void ExpectPatternAt(int x, int y, int w, int h) const {
		int wrong = 0;
		for (int j = 0; j < h; j++) {
			for (int i = 0; i < w; i++) {
				wrong += At(x + i, y + j) != Pattern(i, j);
			}
		}
		EXPECT_EQ(wrong, 0);
		EXPECT_TRUE(Empty(x - 1, y - 1, w + 2, 1));
		EXPECT_TRUE(Empty(x - 1, y + h, w + 2, 1));
		EXPECT_TRUE(Empty(x - 1, y, 1, h));
		EXPECT_TRUE(Empty(x + w, y, 1, h));
	}
};

} // namespace

TEST_F(GL2DBitmap, RegionsAreCutIntoOnePiecePerTileTheyOverlap) {
	struct Case {
		int imageW, imageH, tiles;
		int x, y, w, h;
		std::vector<GL2D_Piece> pieces; // src x, y, w, h, offset x, y, tile
	} const cases[] = {
		{300, 100, 2, 200, 0, 100, 50, {{200, 0, 56, 50, 0, 0, 0}, {0, 0, 44, 50, 56, 0, 1}}},
		{300, 300, 4, 10, 20, 30, 40, {{10, 20, 30, 40, 0, 0, 0}}},
		{300, 300, 4, 260, 270, 10, 12, {{4, 14, 10, 12, 0, 0, 3}}},
		{300, 300, 4, 250, 240, 20, 30,
			{{250, 240, 6, 16, 0, 0, 0}, {0, 240, 14, 16, 6, 0, 1}, {250, 0, 6, 14, 0, 16, 2},
				{0, 0, 14, 14, 6, 16, 3}}},
		// Ending on a tile's edge stays in that tile.
		{512, 512, 4, 0, 0, 256, 256, {{0, 0, 256, 256, 0, 0, 0}}},
		{512, 512, 4, 256, 0, 256, 256, {{0, 0, 256, 256, 0, 0, 1}}},
		{512, 512, 4, 100, 0, 156, 10, {{100, 0, 156, 10, 0, 0, 0}}},
		// Left of the image and past the grid's right and bottom: only what lies in the grid.
		{300, 100, 2, -10, 250, 600, 20, {{0, 250, 256, 6, 10, 0, 0}, {0, 250, 256, 6, 266, 0, 1}}},
		{300, 100, 2, 600, 0, 10, 10, {}},
		{300, 100, 2, 10, 10, 0, 5, {}},
	};
	for (const Case &c : cases) {
		SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h << " of " << c.imageW);
		GL2D_Bitmap bitmap;
		SurfacePtr image = MakeImage(c.imageW, c.imageH, Pattern);
		ASSERT_TRUE(bitmap.CreateFromSurface(image.get(), nullptr));
		EXPECT_EQ(bitmap.GetTileCount(), c.tiles);
		ASSERT_EQ(bitmap.AddRegion(c.x, c.y, c.w, c.h), static_cast<int>(c.pieces.size()));
		EXPECT_FLOAT_EQ(bitmap.GetRegion(0).w, c.w);
		for (size_t i = 0; i < c.pieces.size(); i++) {
			const GL2D_Piece *piece = bitmap.GetPiece(0, static_cast<int>(i));
			ASSERT_NE(piece, nullptr);
			const GL2D_Piece &e = c.pieces[i];
			EXPECT_EQ(std::vector<float>({piece->srcX, piece->srcY, piece->srcW, piece->srcH, piece->dx, piece->dy}),
				std::vector<float>({e.srcX, e.srcY, e.srcW, e.srcH, e.dx, e.dy}))
				<< i;
			EXPECT_EQ(piece->tile, e.tile) << i;
		}
		EXPECT_EQ(bitmap.GetPiece(0, static_cast<int>(c.pieces.size())), nullptr);
	}

	// Before any image: a size but nothing to draw; drawing what does not exist is harmless.
	GL2D_Bitmap bitmap;
	EXPECT_EQ(bitmap.AddRegion(0, 0, 16, 16), 0);
	EXPECT_FLOAT_EQ(bitmap.GetRegion(0).w, 16);
	EXPECT_FLOAT_EQ(bitmap.GetRegion(99).w, 0);
	for (int region : {0, 99, -1}) {
		bitmap.DrawRegion(region, 0, 0, nullptr);
	}
	Grab();
	EXPECT_TRUE(Empty(0, 0, 40, 40));
}

TEST_F(GL2DBitmap, ImageOfMoreThan64TilesIsRefused) {
	GL2D_Bitmap bitmap;
	SurfacePtr fits = MakeImage(4096, 1024, Pattern);
	ASSERT_TRUE(bitmap.CreateFromSurface(fits.get(), nullptr));
	EXPECT_EQ(bitmap.GetTileCount(), 64);
	SurfacePtr tooWide = MakeImage(4097, 1024, Pattern);
	// 64 tiles across, but rows of 32-bit pixels that wide do not fit SDL's 16-bit pitch.
	SurfacePtr oneRow = MakeImage(64 * 256, 1, Pattern);
	for (SDL_Surface *refused : {tooWide.get(), oneRow.get(), static_cast<SDL_Surface *>(nullptr)}) {
		EXPECT_FALSE(bitmap.CreateFromSurface(refused, nullptr));
		EXPECT_EQ(bitmap.GetTileCount(), 64);
	}
}

TEST_F(GL2DBitmap, PicturesShowTheirTexelsWhereDrawnAndNothingElseOverTileSeamsToo) {
	struct Case {
		int w, h, x, y, tiles;
	} const cases[] = {{64, 64, 100, 50, 1}, {300, 270, 20, 30, 4}};
	for (const Case &c : cases) {
		Clear();
		GL2D_SimpleBmpRect picture;
		SurfacePtr image = MakeImage(c.w, c.h, Pattern);
		ASSERT_TRUE(picture.SetSurfaces(image.get(), nullptr));
		EXPECT_EQ(picture.GetTileCount(), c.tiles);
		EXPECT_EQ(picture.GetPieceCount(0), c.tiles);
		picture.Draw(c.x, c.y);
		Grab();
		window.Keep("gl2d_picture_" + std::to_string(c.w));
		ExpectPatternAt(c.x, c.y, c.w, c.h);
		EXPECT_TRUE(Empty(0, 0, c.x, 480));
		EXPECT_TRUE(Empty(c.x + c.w, 0, 640 - c.x - c.w, 480));
	}
}

TEST_F(GL2DBitmap, ClipShowsOnlyTheTexelsInsideAndSkipsPiecesLeftOfIt) {
	GL2D_SimpleBmpRect picture;
	SurfacePtr image = MakeImage(64, 64, Pattern);
	ASSERT_TRUE(picture.SetSurfaces(image.get(), nullptr));
	GL2D_Rect clip = {10, 10, 20, 20};
	picture.Draw(0, 0, &clip);
	GL2D_SimpleBmpRect wide;
	SurfacePtr wideImage = MakeImage(300, 20, Pattern);
	ASSERT_TRUE(wide.SetSurfaces(wideImage.get(), nullptr));
	ASSERT_EQ(wide.GetPieceCount(0), 2);
	GL2D_Rect right = {260, 100, 100, 100};
	wide.Draw(0, 100, &right);
	Grab();
	window.Keep("gl2d_clip");
	int wrong = 0;
	for (int y = 0; y < 64; y++) {
		for (int x = 0; x < 64; x++) {
			bool inside = x >= 10 && x < 30 && y >= 10 && y < 30;
			wrong += At(x, y) != (inside ? Pattern(x, y) : BACKGROUND);
		}
	}
	EXPECT_EQ(wrong, 0);
	EXPECT_TRUE(Empty(0, 100, 260, 20));
	EXPECT_EQ(At(260, 100), Pattern(260, 0));
	EXPECT_EQ(At(299, 119), Pattern(299, 19));
	EXPECT_TRUE(Empty(300, 100, 10, 20));
}

TEST_F(GL2DBitmap, ColourKeyAndAlphaImageBlendAndOpaquePicturesTurnBlendingOff) {
	// Black chequers on the pattern, keyed out.
	GL2D_Bitmap keyed;
	SurfacePtr chequers = MakeImage(32, 32, [](int x, int y) { return ((x / 8 + y / 8) % 2) ? 0u : Pattern(x, y); });
	GL2D_ColorKey black = {0, 0, 0};
	ASSERT_TRUE(keyed.CreateFromSurface(chequers.get(), &black));
	EXPECT_TRUE(keyed.HasAlpha());
	keyed.AddRegion(0, 0, 32, 32);
	keyed.DrawRegion(0, 10, 10, nullptr);
	EXPECT_TRUE(glIsEnabled(GL_BLEND));
	EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
	// Left third transparent, middle half, right third opaque.
	GL2D_SimpleBmpRect blended;
	SurfacePtr flat = MakeImage(30, 10, [](int, int) { return 0x604080u; });
	SurfacePtr alpha = MakeAlphaImage(30, 10, [](int x, int) { return x < 10 ? 0 : x < 20 ? 128 : 255; });
	ASSERT_TRUE(blended.SetSurfaces(flat.get(), alpha.get()));
	EXPECT_TRUE(blended.HasAlpha());
	blended.Draw(100, 0);
	// Without key or alpha even black is opaque.
	GL2D_SimpleBmpRect opaque;
	SurfacePtr halfBlack = MakeImage(16, 16, [](int x, int) { return x < 8 ? 0u : 0x123456u; });
	ASSERT_TRUE(opaque.SetSurfaces(halfBlack.get(), nullptr));
	EXPECT_FALSE(opaque.HasAlpha());
	opaque.Draw(200, 0);
	EXPECT_FALSE(glIsEnabled(GL_BLEND));
	EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
	Grab();
	EXPECT_EQ(At(10, 10), Pattern(0, 0));
	EXPECT_EQ(At(18, 10), BACKGROUND);
	EXPECT_EQ(At(26, 10), Pattern(16, 0));
	EXPECT_EQ(At(26, 18), BACKGROUND);
	EXPECT_EQ(At(41, 41), Pattern(31, 31));
	EXPECT_EQ(At(105, 5), BACKGROUND);
	// Texel colour added unscaled to the background scaled by 1 - alpha.
	// Green: 0x40 + 0xFF x (1 - 128 / 255) = 0xBF.
	EXPECT_TRUE(Near(At(115, 5), 0x60BF80u, 2)) << std::hex << At(115, 5);
	EXPECT_EQ(At(125, 5), 0x604080u);
	EXPECT_EQ(At(203, 3), 0u);
	EXPECT_EQ(At(212, 3), 0x123456u);
}

TEST_F(GL2DBitmap, ScaledDrawingIsCentred) {
	GL2D_SimpleBmpRect pattern, flat;
	SurfacePtr image = MakeImage(16, 16, Pattern);
	ASSERT_TRUE(pattern.SetSurfaces(image.get(), nullptr));
	pattern.DrawScaled(100, 100, 2.0f, 2.0f);
	// A quarter, as the match draws its pictures.
	SurfacePtr plain = MakeImage(64, 64, [](int, int) { return 0x3050A0u; });
	ASSERT_TRUE(flat.SetSurfaces(plain.get(), nullptr));
	flat.DrawScaled(200, 200, 0.25f, 0.25f);
	Grab();
	EXPECT_EQ(At(84, 84), Pattern(0, 0));
	EXPECT_EQ(At(85, 85), Pattern(0, 0));
	EXPECT_EQ(At(86, 84), Pattern(1, 0));
	EXPECT_EQ(At(115, 115), Pattern(15, 15));
	EXPECT_TRUE(Empty(83, 84, 1, 32));
	EXPECT_TRUE(Empty(116, 84, 1, 32));
	EXPECT_TRUE(Empty(84, 116, 32, 1));
	EXPECT_EQ(window.Count(192, 192, 16, 16, 0x3050A0u), 16 * 16);
	EXPECT_TRUE(Empty(191, 192, 1, 16));
	EXPECT_TRUE(Empty(208, 192, 1, 16));
}

// Quads gathered between BeginQuads and EndQuads make the very picture drawn one by one: blended
// pieces over each other on several tiles, clipped ones, and more than one batch holds.
TEST_F(GL2DBitmap, GatheredQuadsDrawTheSamePictureInTheSameOrder) {
	GL2D_Bitmap bitmap;
	SurfacePtr image = MakeImage(300, 40, [](int x, int y) { return (x + y) % 7 == 0 ? 0u : Pattern(x, y); });
	ASSERT_TRUE(bitmap.CreateFromSurface(image.get(), nullptr));
	GL2D_Bitmap blended;
	SurfacePtr grey = MakeImage(300, 40, [](int x, int y) { return Pattern(x, y) & 0x7F7F7Fu; });
	SDL_Surface *cover = SDL_CreateRGBSurface(SDL_SWSURFACE, 300, 40, 8, 0, 0, 0, 0);
	ASSERT_NE(cover, nullptr);
	for (int y = 0; y < 40; y++) {
		for (int x = 0; x < 300; x++) {
			static_cast<Uint8 *>(cover->pixels)[y * cover->pitch + x] = x % 3 == 0 ? 0 : 128;
		}
	}
	ASSERT_TRUE(blended.CreateFromSurfaces(grey.get(), cover));
	SDL_FreeSurface(cover);
	bitmap.AddRegion(240, 0, 40, 40); // across the seam of two tiles
	blended.AddRegion(250, 10, 30, 20);
	blended.AddRegion(0, 0, 8, 8);
	const GL2D_Rect clip = {30, 30, 400, 300};
	auto draw = [&](bool gathered) {
		Clear();
		for (const GL2D_Bitmap *b : {&bitmap, &blended}) {
			if (gathered) {
				b->BeginQuads();
			}
			for (int i = 0; i < 700; i++) { // more than one batch of small pieces
				b->DrawRegion(
					b == &bitmap ? 0 : 1 + i % 2, float(i % 35 * 16), float(i / 35 * 20), i % 5 ? nullptr : &clip);
			}
			if (gathered) {
				b->EndQuads();
			}
		}
		Grab();
		std::vector<uint32_t> pixels;
		for (int y = 0; y < 480; y++) {
			for (int x = 0; x < 640; x++) {
				pixels.push_back(At(x, y));
			}
		}
		return pixels;
	};
	const std::vector<uint32_t> oneByOne = draw(false), gathered = draw(true);
	EXPECT_GT(std::count_if(oneByOne.begin(), oneByOne.end(), [](uint32_t p) { return p != BACKGROUND; }), 100000);
	EXPECT_TRUE(oneByOne == gathered);
}
