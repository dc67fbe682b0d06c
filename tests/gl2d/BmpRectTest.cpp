#include <gtest/gtest.h>

#include <string>

#include "Gl2dTestKit.h"
#include "gl2d/GL2D_BmpRect.h"

namespace {

const char *const NINE_CELLS = "0,0,8,8\n8,0,8,8\n16,0,8,8\n"
							   "0,8,8,8\n8,8,8,8\n16,8,8,8\n"
							   "0,16,8,8\n8,16,8,8\n16,16,8,8\n";

class GL2DBmpRect : public Gl2dTest {
protected:
	// A 24 x 24 image cut in nine 8 x 8 cells, every texel its own colour.
	void WriteFrameFiles(const std::string &alpha = "-") const {
		SaveBmp(MakeImage(24, 24, Pattern), "frame.bmp");
		dir.WriteText("frame.nbr", "frame.bmp\n" + alpha + "\n" + NINE_CELLS);
	}

	// Where a frame of equal 8 x 8 cells takes the texel for position p of size along one axis:
	// the first cell, then the middle cell repeated, then the last cell flush with the end.
	static int FrameTexel(int p, int size) {
		if (p < 8) {
			return p;
		}
		if (p >= size - 8) {
			return 16 + p - (size - 8);
		}
		return 8 + (p - 8) % 8;
	}

	int WrongFramePixels(int x, int y, int w, int h, const GL2D_Rect *clip) const {
		int wrong = 0;
		for (int j = -2; j < h + 2; j++) {
			for (int i = -2; i < w + 2; i++) {
				bool inFrame = i >= 0 && j >= 0 && i < w && j < h;
				bool inClip = !clip || (x + i >= clip->x && x + i < clip->x + clip->w && y + j >= clip->y &&
										   y + j < clip->y + clip->h);
				uint32_t expected = inFrame && inClip ? Pattern(FrameTexel(i, w), FrameTexel(j, h)) : BACKGROUND;
				wrong += At(x + i, y + j) != expected;
			}
		}
		return wrong;
	}
};

} // namespace

TEST_F(GL2DBmpRect, FillsAnySizeWithoutGapsAndClipsEveryPart) {
	WriteFrameFiles();
	GL2D_BmpRect frame;
	ASSERT_TRUE(frame.Load("frame.nbr"));
	ASSERT_EQ(frame.GetRegionCount(), 9);
	EXPECT_FLOAT_EQ(frame.GetRegion(GL2D_BmpRect::RIGHT).x, 16);
	EXPECT_FLOAT_EQ(frame.GetRegion(GL2D_BmpRect::BOTTOM).y, 16);
	EXPECT_EQ(frame.GetMinHeight(), 24);
	EXPECT_FALSE(frame.HasAlpha());
	// 36 wide: two and a half copies of the edge between the corners.
	const int sizes[][4] = {
		{100, 100, 36, 24}, {10, 10, 37, 29}, {160, 10, 16, 16}, {200, 10, 50, 40}, {10, 200, 123, 91}};
	for (const auto &s : sizes) {
		frame.Draw(s[0], s[1], s[2], s[3]);
	}
	GL2D_Rect clip = {313, 295, 20, 20};
	frame.Draw(300, 300, 37, 29, &clip);
	Grab();
	window.Keep("gl2d_frames");
	for (const auto &s : sizes) {
		EXPECT_EQ(WrongFramePixels(s[0], s[1], s[2], s[3], nullptr), 0) << s[2] << "x" << s[3];
	}
	EXPECT_EQ(WrongFramePixels(300, 300, 37, 29, &clip), 0);
}

TEST_F(GL2DBmpRect, BottomEdgeIsPlacedByTheCornerHeight) {
	// The bottom corners are 10 high, the bottom edge only 8.
	SaveBmp(MakeImage(24, 30, Pattern), "frame.bmp");
	dir.WriteText("frame.nbr", "frame.bmp\n-\n0,0,8,8\n8,0,8,8\n16,0,8,8\n0,8,8,8\n8,8,8,8\n16,8,8,8\n"
							   "0,16,8,10\n8,16,8,8\n16,16,8,10\n");
	GL2D_BmpRect frame;
	ASSERT_TRUE(frame.Load("frame.nbr"));
	EXPECT_EQ(frame.GetMinHeight(), 26);
	frame.Draw(50, 50, 24, 26);
	Grab();
	// Edge from y + h - 10 for 8 rows, the 2 rows under it uncovered.
	EXPECT_EQ(At(58, 66), Pattern(8, 16));
	EXPECT_EQ(At(58, 73), Pattern(8, 23));
	EXPECT_TRUE(Empty(58, 74, 8, 2));
	EXPECT_EQ(At(50, 75), Pattern(0, 25));
}

TEST_F(GL2DBmpRect, ToleratesWindowsLineEndsAndBlankLinesButRefusesMalformedFilesWhole) {
	SaveBmp(MakeImage(24, 24, Pattern), "frame.bmp");
	dir.WriteText("frame.nbr", "\r\nframe.bmp\r\n\r\n\n-\r\n0,0,8,8\r\n8abc,0,8,8\r\n 16, 0,8,8\r\n\r\n"
							   "0,8,8,8\r\n8,8,8,8\r\n16,8,8,8\r\n0,16,8,8\r\n8,16,8,8\r\n16,16,8,8,99\r\n");
	GL2D_BmpRect tolerated;
	ASSERT_TRUE(tolerated.Load("frame.nbr"));
	ASSERT_EQ(tolerated.GetRegionCount(), 9);
	EXPECT_EQ(tolerated.GetTileCount(), 1);
	EXPECT_FLOAT_EQ(tolerated.GetRegion(1).x, 8);
	EXPECT_FLOAT_EQ(tolerated.GetRegion(2).x, 16);
	EXPECT_FLOAT_EQ(tolerated.GetRegion(8).h, 8);

	const std::string head = "frame.bmp\n-\n";
	const std::string eight = "0,0,8,8\n8,0,8,8\n16,0,8,8\n0,8,8,8\n8,8,8,8\n16,8,8,8\n0,16,8,8\n8,16,8,8\n";
	const std::string files[] = {
		"",                                                    // nothing
		"frame.bmp\n",                                         // no alpha line
		head + "0,0,8,8\n",                                    // one region only
		head + eight,                                          // eight regions
		head + eight + "16,16,8\n",                            // three fields
		head + eight + "16,16,8,8                         \n", // line too long
		head + eight + "16,16,8,x\n",                          // no digits
		head + eight + "16,16,70000,8\n",                      // beyond 16 bits
		head + "0,0,8,8\n8,0,0,8\n16,0,8,8\n0,8,8,8\n8,8,8,8\n16,8,8,8\n0,16,8,8\n8,16,8,8\n16,16,8,8\n", // empty edge
	};
	for (const std::string &text : files) {
		dir.WriteText("bad.nbr", text);
		GL2D_BmpRect frame;
		EXPECT_FALSE(frame.Load("bad.nbr")) << text;
		EXPECT_EQ(frame.GetRegionCount(), 0);
		EXPECT_EQ(frame.GetTileCount(), 0);
	}
	GL2D_BmpRect frame;
	EXPECT_FALSE(frame.Load("missing.nbr"));
	EXPECT_FALSE(frame.Load(nullptr));
}

TEST_F(GL2DBmpRect, UnreadableImageStillGivesTheRegionsAndAnAlphaImageMakesTheFrameTransparent) {
	dir.WriteText("lost.nbr", std::string("nowhere.bmp\n-\n") + NINE_CELLS);
	GL2D_BmpRect lost;
	ASSERT_TRUE(lost.Load("lost.nbr"));
	EXPECT_EQ(lost.GetRegionCount(), 9);
	EXPECT_EQ(lost.GetTileCount(), 0);
	EXPECT_EQ(lost.GetMinHeight(), 24);
	lost.Draw(0, 0, 100, 100);
	GL2D_BmpRect empty;
	empty.Draw(0, 0, 100, 100);
	EXPECT_EQ(empty.GetMinHeight(), 0);

	WriteFrameFiles("frame_a.bmp");
	SaveBmp(MakeAlphaImage(24, 24, [](int x, int) { return x < 4 ? 0 : 255; }), "frame_a.bmp");
	GL2D_BmpRect frame;
	ASSERT_TRUE(frame.Load("frame.nbr"));
	EXPECT_TRUE(frame.HasAlpha());
	frame.Draw(200, 0, 24, 24);
	Grab();
	EXPECT_TRUE(Empty(0, 0, 110, 110));
	EXPECT_TRUE(Empty(200, 0, 4, 24));
	EXPECT_EQ(At(204, 0), Pattern(4, 0));
}
