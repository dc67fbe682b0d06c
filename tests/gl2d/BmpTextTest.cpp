#include <gtest/gtest.h>

#include <string>

#include "Gl2dTestKit.h"
#include "gl2d/GL2D_BmpText.h"

namespace {

class GL2DBmpText : public Gl2dTest {
protected:
	// Glyph image: 10 columns of 16 x 16 cells starting at (2, 3), every texel its own colour.
	void Load(const std::string &order, int kerning = 1) {
		SaveBmp(MakeImage(2 + 160, 3 + 16 * 4, Pattern), "glyphs.bmp");
		dir.WriteText("font.nbf", "glyphs.bmp -\n" + order + "\n16 16\t10 7 2 3 " + std::to_string(kerning) + "\n");
		ASSERT_TRUE(font.Load("font.nbf"));
	}
	// Whether the cell of glyph i shows at (x, y) on screen.
	bool CellAt(int glyph, int x, int y) const {
		int cx = 2 + (glyph % 10) * 16, cy = 3 + (glyph / 10) * 16;
		for (int j = 0; j < 16; j++) {
			for (int i = 0; i < 16; i++) {
				if (At(x + i, y + j) != Pattern(cx + i, cy + j)) {
					return false;
				}
			}
		}
		return true;
	}

	GL2D_BmpText font;
};

} // namespace

TEST_F(GL2DBmpText, GlyphsFollowTheOrderAfterALeadingSpaceOnTheGrid) {
	Load("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
	EXPECT_EQ(std::string(font.GetCharOrder()).substr(0, 3), " AB");
	const GL2D_Bitmap &sheet = font.GetGlyphSheet();
	ASSERT_EQ(sheet.GetRegionCount(), 27);
	for (int i : {0, 1, 9, 10, 23, 26}) {
		EXPECT_FLOAT_EQ(sheet.GetRegion(i).x, 2 + (i % 10) * 16) << i;
		EXPECT_FLOAT_EQ(sheet.GetRegion(i).y, 3 + (i / 10) * 16) << i;
	}
	EXPECT_EQ(font.Write(40, 40, " A"), 34);
	font.Write(0, 100, "JKZ");
	Grab();
	window.Keep("gl2d_bmptext");
	EXPECT_TRUE(CellAt(0, 40, 40));
	EXPECT_TRUE(CellAt(1, 57, 40));
	EXPECT_TRUE(CellAt(10, 0, 100));
	EXPECT_TRUE(CellAt(11, 17, 100));
	EXPECT_TRUE(CellAt(26, 34, 100));
}

TEST_F(GL2DBmpText, KerningFromTheFileOrSetAddsAfterEveryGlyphAndCursorsCountLikeWrite) {
	Load("ABC", -2);
	EXPECT_EQ(font.GetKerning(), -2);
	EXPECT_EQ(font.GetTextWidth("ABC"), 42);
	font.SetKerning(1);
	EXPECT_EQ(font.GetFontWidth(), 17);
	EXPECT_EQ(font.GetFontHeight(), 16);
	EXPECT_EQ(font.GetTextWidth("ABC"), 51);
	EXPECT_EQ(font.Write(0, 0, "ABC"), 51);
	font.SetString("CAB A");
	const int cursor[][2] = {{0, 0}, {-3, 0}, {1, 17}, {4, 68}, {5, 85}, {500, 85}};
	for (const auto &c : cursor) {
		EXPECT_EQ(font.GetCursorPos(c[0]), c[1]) << c[0];
	}
	EXPECT_EQ(font.Write(), 85);
	font.SetKerning(-2);
	EXPECT_EQ(font.Write(0, 50, "ABC"), 42);
	EXPECT_EQ(font.Write(10, 100, ""), 0);
	EXPECT_EQ(font.Write(10, 100, nullptr), 0);
	Grab();
	// With negative kerning the next glyph overdraws the last two columns of the one before.
	EXPECT_TRUE(CellAt(3, 28, 50));
	EXPECT_EQ(At(27, 50), Pattern(2 + 32 + 13, 3));
	EXPECT_TRUE(Empty(0, 100, 100, 40));
}

TEST_F(GL2DBmpText, MissingCharacterNeitherDrawsNorAdvances) {
	Load("ABC");
	EXPECT_EQ(font.Write(0, 0, "A`\xFFZB"), 34);
	font.SetString("A`B");
	EXPECT_EQ(font.GetCursorPos(2), 17);
	EXPECT_EQ(font.GetCursorPos(3), 34);
	Grab();
	EXPECT_TRUE(CellAt(1, 0, 0));
	EXPECT_TRUE(CellAt(2, 17, 0));
	EXPECT_TRUE(Empty(34, 0, 40, 16));
	// An order longer than the glyph sheet: the extra characters have no glyph either.
	font.SetCharOrder(" ABCDEF");
	EXPECT_EQ(font.Write(0, 40, "AEB"), 34);
}

TEST_F(GL2DBmpText, ScrolledClippedWriteKeepsTheClipAndStoredStateDrivesWrite) {
	Load("ABC", 0);
	GL2D_Rect clip = {0, 0, 30, 100};
	EXPECT_EQ(font.Write(10, 20, "AB", &clip, 5, 0), 32);
	EXPECT_EQ(font.GetX(), 5);
	EXPECT_EQ(font.GetY(), 20);
	EXPECT_EQ(font.GetClip(), &clip);
	font.Write(0, 60, "AB");
	font.SetClip(nullptr);
	font.SetKerning(1);
	font.SetString("C");
	font.SetCoords(200, 100);
	EXPECT_EQ(font.Write(), 17);
	EXPECT_EQ(font.Write(300, 100), 17);
	std::string longText(400, 'A');
	font.SetString(longText.c_str());
	EXPECT_EQ(std::string(font.GetString()).size(), 255u);
	Grab();
	EXPECT_EQ(At(5, 20), Pattern(18, 3));
	EXPECT_EQ(At(29, 20), Pattern(2 + 32 + 8, 3));
	EXPECT_TRUE(Empty(30, 0, 40, 100));
	EXPECT_EQ(At(0, 60), Pattern(18, 3));
	EXPECT_TRUE(CellAt(3, 200, 100));
	EXPECT_TRUE(CellAt(3, 300, 100));
}

TEST_F(GL2DBmpText, UnreadableImageStillMeasuresAndAnAlphaImageClearsGlyphBackgrounds) {
	dir.WriteText("lost.nbf", "nowhere.bmp - ABC 12 14 4 0 0 0 2");
	GL2D_BmpText lost;
	ASSERT_TRUE(lost.Load("lost.nbf"));
	EXPECT_EQ(lost.GetGlyphSheet().GetTileCount(), 0);
	EXPECT_EQ(lost.GetGlyphSheet().GetRegionCount(), 4);
	EXPECT_EQ(lost.Write(0, 0, "AB"), 28);

	SaveBmp(MakeImage(32, 16, Pattern), "glyphs.bmp");
	SaveBmp(MakeAlphaImage(32, 16, [](int x, int) { return x % 16 < 4 ? 0 : 255; }), "glyphs_a.bmp");
	dir.WriteText("font.nbf", "glyphs.bmp glyphs_a.bmp A 16 16 2 0 0 0 0");
	ASSERT_TRUE(font.Load("font.nbf"));
	EXPECT_TRUE(font.GetGlyphSheet().HasAlpha());
	font.Write(100, 0, "A");
	Grab();
	EXPECT_TRUE(Empty(0, 0, 40, 20));
	EXPECT_TRUE(Empty(100, 0, 4, 16));
	EXPECT_EQ(At(104, 0), Pattern(20, 0));
}

TEST_F(GL2DBmpText, MalformedFilesAreRefusedWhole) {
	SaveBmp(MakeImage(64, 64, Pattern), "g.bmp");
	const std::string bad[] = {
		"",
		"g.bmp - ABC 16 16 4 0 0 0",          // kerning missing
		"g.bmp - ABC 16 16 4 0 0 zero 1",     // not a number
		"g.bmp - ABC 0 16 4 0 0 0 1",         // empty cell
		"g.bmp - ABC 16 -16 4 0 0 0 1",       // negative cell
		"g.bmp - ABC 16 16 0 0 0 0 1",        // no column
		"g.bmp - ABC 16 16 4 0 32767 0 1",    // cells beyond 16 bits
		"g.bmp - ABC 16 16 4 0 0 0 99999999", // kerning out of range
		"g.bmp - ABC 16 16 4 0 0 0 99999999999999",
		"g.bmp - " + std::string(127, 'x') + " 16 16 4 0 0 0 1", // order too long
		std::string(256, 'p') + " - ABC 16 16 4 0 0 0 1",        // path too long
	};
	for (const std::string &text : bad) {
		dir.WriteText("bad.nbf", text);
		GL2D_BmpText refused;
		EXPECT_FALSE(refused.Load("bad.nbf")) << text;
		EXPECT_EQ(refused.GetGlyphSheet().GetRegionCount(), 0);
		EXPECT_EQ(refused.GetGlyphSheet().GetTileCount(), 0);
		EXPECT_EQ(refused.GetCharOrder()[1], '!');
	}
	EXPECT_FALSE(font.Load("absent.nbf"));
	EXPECT_FALSE(font.Load(nullptr));
	// The longest order that fits: 126 characters after the space.
	std::string order;
	for (int c = 33; c < 33 + 126; c++) {
		order += static_cast<char>(c);
	}
	dir.WriteText("full.nbf", "g.bmp - " + order + " 4 4 16 0 0 0 1");
	ASSERT_TRUE(font.Load("full.nbf"));
	EXPECT_EQ(std::string(font.GetCharOrder()).size(), 127u);
}
