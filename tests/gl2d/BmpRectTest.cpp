#include <gtest/gtest.h>

#include <string>

#include "Gl2dTestKit.h"
#include "gl2d/GL2D_BmpRect.h"

namespace {

const char *const NINE_CELLS = "0,0,8,8\n8,0,8,8\n16,0,8,8\n"
                               "0,8,8,8\n8,8,8,8\n16,8,8,8\n"
                               "0,16,8,8\n8,16,8,8\n16,16,8,8\n";

// A 24 x 24 image cut in nine 8 x 8 cells, every texel its own colour.
void WriteFrameFiles(const Scene &scene, const std::string &regions = NINE_CELLS) {
	SaveBmp(MakeImage(24, 24, Pattern), "frame.bmp");
	scene.dir.WriteText("frame.nbr", "frame.bmp\n-\n" + regions);
}

// Where a frame of equal 8 x 8 cells takes the texel for position p of size along one axis:
// the first cell, then the middle cell repeated, then the last cell flush with the end.
int FrameTexel(int p, int size) {
	if (p < 8) {
		return p;
	}
	if (p >= size - 8) {
		return 16 + p - (size - 8);
	}
	return 8 + (p - 8) % 8;
}

int WrongFramePixels(const Scene &scene, int x, int y, int w, int h, const GL2D_Rect *clip) {
	int wrong = 0;
	for (int j = -2; j < h + 2; j++) {
		for (int i = -2; i < w + 2; i++) {
			bool inFrame = i >= 0 && j >= 0 && i < w && j < h;
			bool inClip = !clip || (x + i >= clip->x && x + i < clip->x + clip->w && y + j >= clip->y &&
			                        y + j < clip->y + clip->h);
			uint32_t expected = inFrame && inClip ? Pattern(FrameTexel(i, w), FrameTexel(j, h)) : BACKGROUND;
			wrong += scene.At(x + i, y + j) != expected;
		}
	}
	return wrong;
}

} // namespace

TEST(GL2DBmpRect, LoadsNineRegionsInOrder) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFrameFiles(scene);
	GL2D_BmpRect frame;
	ASSERT_TRUE(frame.Load("frame.nbr"));
	ASSERT_EQ(frame.GetRegionCount(), 9);
	EXPECT_FLOAT_EQ(frame.GetRegion(GL2D_BmpRect::RIGHT).x, 16);
	EXPECT_FLOAT_EQ(frame.GetRegion(GL2D_BmpRect::RIGHT).y, 8);
	EXPECT_FLOAT_EQ(frame.GetRegion(GL2D_BmpRect::BOTTOM).x, 8);
	EXPECT_FLOAT_EQ(frame.GetRegion(GL2D_BmpRect::BOTTOM).y, 16);
	EXPECT_EQ(frame.GetMinHeight(), 24);
	EXPECT_FALSE(frame.HasAlpha());
}

TEST(GL2DBmpRect, TwoAndAHalfEdgeCopies) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFrameFiles(scene);
	GL2D_BmpRect frame;
	ASSERT_TRUE(frame.Load("frame.nbr"));
	// w = W(0) + W(2) + 2.5 x W(1)
	frame.Draw(100, 100, 36, 24);
	scene.Grab();
	scene.Shot("frame_2_5");
	EXPECT_EQ(WrongFramePixels(scene, 100, 100, 36, 24, nullptr), 0);
	// The third copy shows the left half of the edge and the corner follows at once.
	EXPECT_EQ(scene.At(124, 100), Pattern(8, 0));
	EXPECT_EQ(scene.At(127, 100), Pattern(11, 0));
	EXPECT_EQ(scene.At(128, 100), Pattern(16, 0));
	EXPECT_EQ(scene.At(127, 119), Pattern(11, 19));
}

TEST(GL2DBmpRect, FillsAnySizeWithoutGaps) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFrameFiles(scene);
	GL2D_BmpRect frame;
	ASSERT_TRUE(frame.Load("frame.nbr"));
	frame.Draw(10, 10, 37, 29);
	frame.Draw(100, 10, 16, 16);
	frame.Draw(200, 10, 50, 40);
	frame.Draw(10, 100, 123, 91);
	scene.Grab();
	scene.Shot("frame_sizes");
	EXPECT_EQ(WrongFramePixels(scene, 10, 10, 37, 29, nullptr), 0);
	EXPECT_EQ(WrongFramePixels(scene, 100, 10, 16, 16, nullptr), 0);
	EXPECT_EQ(WrongFramePixels(scene, 200, 10, 50, 40, nullptr), 0);
	EXPECT_EQ(WrongFramePixels(scene, 10, 100, 123, 91, nullptr), 0);
}

TEST(GL2DBmpRect, ClipCutsEveryPart) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFrameFiles(scene);
	GL2D_BmpRect frame;
	ASSERT_TRUE(frame.Load("frame.nbr"));
	GL2D_Rect clip = {113, 95, 20, 20};
	frame.Draw(100, 100, 37, 29, &clip);
	scene.Grab();
	EXPECT_EQ(WrongFramePixels(scene, 100, 100, 37, 29, &clip), 0);
}

TEST(GL2DBmpRect, BottomEdgeIsPlacedByTheCornerHeight) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	// The bottom corners are 10 high, the bottom edge only 8.
	SaveBmp(MakeImage(24, 30, Pattern), "frame.bmp");
	scene.dir.WriteText("frame.nbr", "frame.bmp\n-\n0,0,8,8\n8,0,8,8\n16,0,8,8\n0,8,8,8\n8,8,8,8\n16,8,8,8\n"
	                                 "0,16,8,10\n8,16,8,8\n16,16,8,10\n");
	GL2D_BmpRect frame;
	ASSERT_TRUE(frame.Load("frame.nbr"));
	EXPECT_EQ(frame.GetMinHeight(), 26);
	frame.Draw(50, 50, 24, 26);
	scene.Grab();
	// Edge from y + h - 10 for 8 rows, the 2 rows under it uncovered.
	EXPECT_EQ(scene.At(58, 66), Pattern(8, 16));
	EXPECT_EQ(scene.At(58, 73), Pattern(8, 23));
	EXPECT_TRUE(scene.Empty(58, 74, 8, 2));
	EXPECT_EQ(scene.At(50, 75), Pattern(0, 25));
}

TEST(GL2DBmpRect, ToleratesWindowsLineEndsAndBlankLines) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	SaveBmp(MakeImage(24, 24, Pattern), "frame.bmp");
	scene.dir.WriteText("frame.nbr", "\r\nframe.bmp\r\n\r\n\n-\r\n0,0,8,8\r\n8abc,0,8,8\r\n 16, 0,8,8\r\n\r\n"
	                                 "0,8,8,8\r\n8,8,8,8\r\n16,8,8,8\r\n0,16,8,8\r\n8,16,8,8\r\n16,16,8,8,99\r\n");
	GL2D_BmpRect frame;
	ASSERT_TRUE(frame.Load("frame.nbr"));
	ASSERT_EQ(frame.GetRegionCount(), 9);
	EXPECT_EQ(frame.GetTileCount(), 1);
	EXPECT_FLOAT_EQ(frame.GetRegion(1).x, 8);
	EXPECT_FLOAT_EQ(frame.GetRegion(2).x, 16);
	EXPECT_FLOAT_EQ(frame.GetRegion(8).h, 8);
}

TEST(GL2DBmpRect, MalformedFilesAreRefusedWhole) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	SaveBmp(MakeImage(24, 24, Pattern), "frame.bmp");
	const std::string head = "frame.bmp\n-\n";
	const std::string eight = "0,0,8,8\n8,0,8,8\n16,0,8,8\n0,8,8,8\n8,8,8,8\n16,8,8,8\n0,16,8,8\n8,16,8,8\n";
	const std::string files[] = {
		"",                                                // nothing
		"frame.bmp\n",                                     // no alpha line
		head + "0,0,8,8\n",                                // one region only
		head + eight,                                      // eight regions
		head + eight + "16,16,8\n",                        // three fields
		head + eight + "16,16,8,8                         \n", // line too long
		head + eight + "16,16,8,x\n",                      // no digits
		head + eight + "16,16,70000,8\n",                  // beyond 16 bits
		head + "0,0,8,8\n8,0,0,8\n16,0,8,8\n0,8,8,8\n8,8,8,8\n16,8,8,8\n0,16,8,8\n8,16,8,8\n16,16,8,8\n", // empty edge
	};
	for (const std::string &text : files) {
		scene.dir.WriteText("bad.nbr", text);
		GL2D_BmpRect frame;
		EXPECT_FALSE(frame.Load("bad.nbr")) << text;
		EXPECT_EQ(frame.GetRegionCount(), 0);
		EXPECT_EQ(frame.GetTileCount(), 0);
	}
	GL2D_BmpRect frame;
	EXPECT_FALSE(frame.Load("missing.nbr"));
	EXPECT_FALSE(frame.Load(nullptr));
}

TEST(GL2DBmpRect, UnreadableImageStillGivesTheRegions) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	scene.dir.WriteText("frame.nbr", std::string("nowhere.bmp\n-\n") + NINE_CELLS);
	GL2D_BmpRect frame;
	ASSERT_TRUE(frame.Load("frame.nbr"));
	EXPECT_EQ(frame.GetRegionCount(), 9);
	EXPECT_EQ(frame.GetTileCount(), 0);
	EXPECT_EQ(frame.GetMinHeight(), 24);
	frame.Draw(0, 0, 100, 100);
	GL2D_BmpRect empty;
	empty.Draw(0, 0, 100, 100);
	EXPECT_EQ(empty.GetMinHeight(), 0);
	scene.Grab();
	EXPECT_TRUE(scene.Empty(0, 0, 110, 110));
}

TEST(GL2DBmpRect, AlphaImageMakesTheFrameTransparent) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	SaveBmp(MakeImage(24, 24, Pattern), "frame.bmp");
	SaveBmp(MakeAlphaImage(24, 24, [](int x, int) { return x < 4 ? 0 : 255; }), "frame_a.bmp");
	scene.dir.WriteText("frame.nbr", std::string("frame.bmp\nframe_a.bmp\n") + NINE_CELLS);
	GL2D_BmpRect frame;
	ASSERT_TRUE(frame.Load("frame.nbr"));
	EXPECT_TRUE(frame.HasAlpha());
	frame.Draw(0, 0, 24, 24);
	scene.Grab();
	EXPECT_TRUE(scene.Empty(0, 0, 4, 24));
	EXPECT_EQ(scene.At(4, 0), Pattern(4, 0));
}
