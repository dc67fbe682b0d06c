#include <GL/gl.h>
#include <gtest/gtest.h>

#include "Gl2dTestKit.h"
#include "gl2d/GL2D_Bitmap.h"
#include "gl2d/GL2D_SimpleBmpRect.h"

namespace {

void ExpectPiece(const GL2D_Piece *piece, float sx, float sy, float sw, float sh, float dx, float dy, int tile) {
	ASSERT_NE(piece, nullptr);
	EXPECT_FLOAT_EQ(piece->srcX, sx);
	EXPECT_FLOAT_EQ(piece->srcY, sy);
	EXPECT_FLOAT_EQ(piece->srcW, sw);
	EXPECT_FLOAT_EQ(piece->srcH, sh);
	EXPECT_FLOAT_EQ(piece->dx, dx);
	EXPECT_FLOAT_EQ(piece->dy, dy);
	EXPECT_EQ(piece->tile, tile);
}

// The texels (0..w, 0..h) of the pattern at (x, y) on screen, and the background around them.
void ExpectPatternAt(const Scene &scene, int x, int y, int w, int h) {
	int wrong = 0;
	for (int j = 0; j < h; j++) {
		for (int i = 0; i < w; i++) {
			wrong += scene.At(x + i, y + j) != Pattern(i, j);
		}
	}
	EXPECT_EQ(wrong, 0);
	EXPECT_TRUE(scene.Empty(x - 1, y - 1, w + 2, 1));
	EXPECT_TRUE(scene.Empty(x - 1, y + h, w + 2, 1));
	EXPECT_TRUE(scene.Empty(x - 1, y, 1, h));
	EXPECT_TRUE(scene.Empty(x + w, y, 1, h));
}

} // namespace

TEST(GL2DBitmap, RegionAcrossTwoTilesMakesTwoPieces) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_Bitmap bitmap;
	SurfacePtr image = MakeImage(300, 100, Pattern);
	ASSERT_TRUE(bitmap.CreateFromSurface(image.get(), nullptr));
	EXPECT_EQ(bitmap.GetTilesAcross(), 2);
	EXPECT_EQ(bitmap.GetTilesDown(), 1);
	EXPECT_EQ(bitmap.GetTileCount(), 2);
	ASSERT_EQ(bitmap.AddRegion(200, 0, 100, 50), 2);
	ExpectPiece(bitmap.GetPiece(0, 0), 200, 0, 56, 50, 0, 0, 0);
	ExpectPiece(bitmap.GetPiece(0, 1), 0, 0, 44, 50, 56, 0, 1);
	GL2D_Rect rect = bitmap.GetRegion(0);
	EXPECT_FLOAT_EQ(rect.x, 200);
	EXPECT_FLOAT_EQ(rect.w, 100);
	EXPECT_FLOAT_EQ(rect.h, 50);
}

TEST(GL2DBitmap, RegionInsideOneTileMakesOnePiece) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_Bitmap bitmap;
	SurfacePtr image = MakeImage(300, 300, Pattern);
	ASSERT_TRUE(bitmap.CreateFromSurface(image.get(), nullptr));
	ASSERT_EQ(bitmap.AddRegion(10, 20, 30, 40), 1);
	ExpectPiece(bitmap.GetPiece(0, 0), 10, 20, 30, 40, 0, 0, 0);
	// Bottom-right tile of the 2 x 2 grid.
	ASSERT_EQ(bitmap.AddRegion(260, 270, 10, 12), 1);
	ExpectPiece(bitmap.GetPiece(1, 0), 4, 14, 10, 12, 0, 0, 3);
}

TEST(GL2DBitmap, RegionEndingOnTileEdgeStaysOnePiece) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_Bitmap bitmap;
	SurfacePtr image = MakeImage(512, 512, Pattern);
	ASSERT_TRUE(bitmap.CreateFromSurface(image.get(), nullptr));
	ASSERT_EQ(bitmap.AddRegion(0, 0, 256, 256), 1);
	ExpectPiece(bitmap.GetPiece(0, 0), 0, 0, 256, 256, 0, 0, 0);
	ASSERT_EQ(bitmap.AddRegion(256, 0, 256, 256), 1);
	ExpectPiece(bitmap.GetPiece(1, 0), 0, 0, 256, 256, 0, 0, 1);
	ASSERT_EQ(bitmap.AddRegion(100, 0, 156, 10), 1);
	ExpectPiece(bitmap.GetPiece(2, 0), 100, 0, 156, 10, 0, 0, 0);
}

TEST(GL2DBitmap, RegionOverFourTiles) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_Bitmap bitmap;
	SurfacePtr image = MakeImage(300, 300, Pattern);
	ASSERT_TRUE(bitmap.CreateFromSurface(image.get(), nullptr));
	ASSERT_EQ(bitmap.AddRegion(250, 240, 20, 30), 4);
	ExpectPiece(bitmap.GetPiece(0, 0), 250, 240, 6, 16, 0, 0, 0);
	ExpectPiece(bitmap.GetPiece(0, 1), 0, 240, 14, 16, 6, 0, 1);
	ExpectPiece(bitmap.GetPiece(0, 2), 250, 0, 6, 14, 0, 16, 2);
	ExpectPiece(bitmap.GetPiece(0, 3), 0, 0, 14, 14, 6, 16, 3);
}

TEST(GL2DBitmap, RegionOutsideTheGridHasNoPieceThere) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_Bitmap bitmap;
	// Before any image: a size but nothing to draw.
	EXPECT_EQ(bitmap.AddRegion(0, 0, 16, 16), 0);
	EXPECT_FLOAT_EQ(bitmap.GetRegion(0).w, 16);
	SurfacePtr image = MakeImage(300, 100, Pattern);
	ASSERT_TRUE(bitmap.CreateFromSurface(image.get(), nullptr));
	// Starts left of the image and runs past the grid's right and bottom.
	ASSERT_EQ(bitmap.AddRegion(-10, 250, 600, 20), 2);
	ExpectPiece(bitmap.GetPiece(1, 0), 0, 250, 256, 6, 10, 0, 0);
	ExpectPiece(bitmap.GetPiece(1, 1), 0, 250, 256, 6, 266, 0, 1);
	EXPECT_EQ(bitmap.AddRegion(600, 0, 10, 10), 0);
	EXPECT_EQ(bitmap.AddRegion(10, 10, 0, 5), 0);
	EXPECT_EQ(bitmap.GetPiece(3, 0), nullptr);
	EXPECT_FLOAT_EQ(bitmap.GetRegion(99).w, 0);
	// Drawing regions without pieces or that do not exist is harmless.
	bitmap.DrawRegion(0, 0, 0, nullptr);
	bitmap.DrawRegion(99, 0, 0, nullptr);
	bitmap.DrawRegion(-1, 0, 0, nullptr);
	scene.Grab();
	EXPECT_TRUE(scene.Empty(0, 0, 40, 40));
}

TEST(GL2DBitmap, ImageOfMoreThan64TilesIsRefused) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_Bitmap bitmap;
	SurfacePtr fits = MakeImage(4096, 1024, Pattern);
	ASSERT_TRUE(bitmap.CreateFromSurface(fits.get(), nullptr));
	EXPECT_EQ(bitmap.GetTileCount(), 64);
	SurfacePtr tooWide = MakeImage(4097, 1024, Pattern);
	EXPECT_FALSE(bitmap.CreateFromSurface(tooWide.get(), nullptr));
	EXPECT_EQ(bitmap.GetTileCount(), 64);
	// 64 tiles across, but rows of 32-bit pixels that wide do not fit SDL's 16-bit pitch.
	SurfacePtr oneRow = MakeImage(64 * 256, 1, Pattern);
	EXPECT_FALSE(bitmap.CreateFromSurface(oneRow.get(), nullptr));
	EXPECT_EQ(bitmap.GetTileCount(), 64);
	EXPECT_FALSE(bitmap.CreateFromSurface(nullptr, nullptr));
	EXPECT_EQ(bitmap.GetTileCount(), 64);
}

TEST(GL2DBitmap, PictureShowsItsTexelsWhereDrawnAndNothingElse) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_SimpleBmpRect picture;
	SurfacePtr image = MakeImage(64, 64, Pattern);
	ASSERT_TRUE(picture.SetSurfaces(image.get(), nullptr));
	picture.Draw(100, 50);
	scene.Grab();
	scene.Shot("picture");
	ExpectPatternAt(scene, 100, 50, 64, 64);
	EXPECT_TRUE(scene.Empty(0, 0, 100, 480));
	EXPECT_TRUE(scene.Empty(164, 0, 476, 480));
}

TEST(GL2DBitmap, PictureOverTileSeamsIsWhole) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_SimpleBmpRect picture;
	SurfacePtr image = MakeImage(300, 270, Pattern);
	ASSERT_TRUE(picture.SetSurfaces(image.get(), nullptr));
	EXPECT_EQ(picture.GetTileCount(), 4);
	EXPECT_EQ(picture.GetPieceCount(0), 4);
	picture.Draw(20, 30);
	scene.Grab();
	scene.Shot("seams");
	ExpectPatternAt(scene, 20, 30, 300, 270);
}

TEST(GL2DBitmap, ClipShowsOnlyTheTexelsInside) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_SimpleBmpRect picture;
	SurfacePtr image = MakeImage(64, 64, Pattern);
	ASSERT_TRUE(picture.SetSurfaces(image.get(), nullptr));
	GL2D_Rect clip = {10, 10, 20, 20};
	picture.Draw(0, 0, &clip);
	scene.Grab();
	scene.Shot("clip");
	int wrong = 0;
	for (int y = 0; y < 64; y++) {
		for (int x = 0; x < 64; x++) {
			bool inside = x >= 10 && x < 30 && y >= 10 && y < 30;
			wrong += scene.At(x, y) != (inside ? Pattern(x, y) : BACKGROUND);
		}
	}
	EXPECT_EQ(wrong, 0);
}

TEST(GL2DBitmap, PieceLeftOfClipIsSkippedAndTheNextDrawn) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_SimpleBmpRect picture;
	SurfacePtr image = MakeImage(300, 20, Pattern);
	ASSERT_TRUE(picture.SetSurfaces(image.get(), nullptr));
	ASSERT_EQ(picture.GetPieceCount(0), 2);
	GL2D_Rect clip = {260, 0, 100, 100};
	picture.Draw(0, 0, &clip);
	scene.Grab();
	EXPECT_TRUE(scene.Empty(0, 0, 260, 20));
	EXPECT_EQ(scene.At(260, 0), Pattern(260, 0));
	EXPECT_EQ(scene.At(299, 19), Pattern(299, 19));
	EXPECT_TRUE(scene.Empty(300, 0, 10, 20));
}

TEST(GL2DBitmap, ColourKeyMakesThoseTexelsInvisible) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_Bitmap bitmap;
	// Black chequers on the pattern.
	SurfacePtr image = MakeImage(32, 32, [](int x, int y) { return ((x / 8 + y / 8) % 2) ? 0u : Pattern(x, y); });
	GL2D_ColorKey black = {0, 0, 0};
	ASSERT_TRUE(bitmap.CreateFromSurface(image.get(), &black));
	EXPECT_TRUE(bitmap.HasAlpha());
	bitmap.AddRegion(0, 0, 32, 32);
	bitmap.DrawRegion(0, 10, 10, nullptr);
	EXPECT_TRUE(glIsEnabled(GL_BLEND));
	EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
	scene.Grab();
	EXPECT_EQ(scene.At(10, 10), Pattern(0, 0));
	EXPECT_EQ(scene.At(18, 10), BACKGROUND);
	EXPECT_EQ(scene.At(26, 10), Pattern(16, 0));
	EXPECT_EQ(scene.At(26, 18), BACKGROUND);
	EXPECT_EQ(scene.At(41, 41), Pattern(31, 31));
}

TEST(GL2DBitmap, AlphaImageBlendsTexelOverBackground) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_SimpleBmpRect picture;
	SurfacePtr image = MakeImage(30, 10, [](int, int) { return 0x604080u; });
	// Left third transparent, middle half, right third opaque.
	SurfacePtr alpha = MakeAlphaImage(30, 10, [](int x, int) { return x < 10 ? 0 : x < 20 ? 128 : 255; });
	ASSERT_TRUE(picture.SetSurfaces(image.get(), alpha.get()));
	EXPECT_TRUE(picture.HasAlpha());
	picture.Draw(0, 0);
	scene.Grab();
	EXPECT_EQ(scene.At(5, 5), BACKGROUND);
	// Texel colour added unscaled to the background scaled by 1 - alpha.
	// Green: 0x40 + 0xFF x (1 - 128 / 255) = 0xBF.
	EXPECT_TRUE(Near(scene.At(15, 5), 0x60BF80u, 2)) << std::hex << scene.At(15, 5);
	EXPECT_EQ(scene.At(25, 5), 0x604080u);
}

TEST(GL2DBitmap, PictureWithoutKeyOrAlphaIsOpaqueWithBlendingOff) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_SimpleBmpRect picture;
	SurfacePtr image = MakeImage(16, 16, [](int x, int) { return x < 8 ? 0u : 0x123456u; });
	ASSERT_TRUE(picture.SetSurfaces(image.get(), nullptr));
	EXPECT_FALSE(picture.HasAlpha());
	glEnable(GL_BLEND);
	glEnable(GL_ALPHA_TEST);
	picture.Draw(0, 0);
	EXPECT_FALSE(glIsEnabled(GL_BLEND));
	EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
	scene.Grab();
	EXPECT_EQ(scene.At(3, 3), 0u);
	EXPECT_EQ(scene.At(12, 3), 0x123456u);
}

TEST(GL2DBitmap, ScaledDrawingIsCentred) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_SimpleBmpRect picture;
	SurfacePtr image = MakeImage(16, 16, Pattern);
	ASSERT_TRUE(picture.SetSurfaces(image.get(), nullptr));
	picture.DrawScaled(100, 100, 2.0f, 2.0f);
	scene.Grab();
	EXPECT_EQ(scene.At(84, 84), Pattern(0, 0));
	EXPECT_EQ(scene.At(85, 85), Pattern(0, 0));
	EXPECT_EQ(scene.At(86, 84), Pattern(1, 0));
	EXPECT_EQ(scene.At(115, 115), Pattern(15, 15));
	EXPECT_TRUE(scene.Empty(83, 84, 1, 32));
	EXPECT_TRUE(scene.Empty(116, 84, 1, 32));
	EXPECT_TRUE(scene.Empty(84, 116, 32, 1));
}

TEST(GL2DBitmap, QuarterScaleAsTheMatchUsesIt) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	GL2D_SimpleBmpRect picture;
	SurfacePtr image = MakeImage(64, 64, [](int, int) { return 0x3050A0u; });
	ASSERT_TRUE(picture.SetSurfaces(image.get(), nullptr));
	picture.DrawScaled(200, 200, 0.25f, 0.25f);
	scene.Grab();
	EXPECT_EQ(scene.At(192, 192), 0x3050A0u);
	EXPECT_EQ(scene.At(207, 207), 0x3050A0u);
	EXPECT_TRUE(scene.Empty(191, 192, 1, 16));
	EXPECT_TRUE(scene.Empty(208, 192, 1, 16));
}
