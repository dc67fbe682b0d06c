#include <gtest/gtest.h>

#include <string>

#include "Gl2dTestKit.h"
#include "gl2d/GL2D_BmpText.h"

namespace {

// Glyph image: 10 columns of 16 x 16 cells starting at (2, 3), every texel its own colour.
void WriteFontFiles(const Scene &scene, const std::string &order, int kerning) {
	SaveBmp(MakeImage(2 + 160, 3 + 16 * 4, Pattern), "glyphs.bmp");
	scene.dir.WriteText("font.nbf", "glyphs.bmp -\n" + order + "\n16 16\t10 7 2 3 " + std::to_string(kerning) + "\n");
}

// Whether the cell of glyph i shows at (x, y) on screen.
bool CellAt(const Scene &scene, int glyph, int x, int y) {
	int cx = 2 + (glyph % 10) * 16, cy = 3 + (glyph / 10) * 16;
	for (int j = 0; j < 16; j++) {
		for (int i = 0; i < 16; i++) {
			if (scene.At(x + i, y + j) != Pattern(cx + i, cy + j)) {
				return false;
			}
		}
	}
	return true;
}

} // namespace

TEST(GL2DBmpText, DefaultOrderHasAccentsInPlaceOfGraveAndDel) {
	GL2D_BmpText font;
	const std::string order = font.GetCharOrder();
	ASSERT_EQ(order.size(), 96u);
	EXPECT_EQ(order[0], ' ');
	EXPECT_EQ(order[63], '_');
	EXPECT_EQ(static_cast<unsigned char>(order[64]), 0xE8);
	EXPECT_EQ(order[65], 'a');
	EXPECT_EQ(order[94], '~');
	EXPECT_EQ(static_cast<unsigned char>(order[95]), 0xE9);
	EXPECT_EQ(font.GetKerning(), 1);
	EXPECT_EQ(font.GetColor().r, 1.0f);
	EXPECT_EQ(font.GetColor().a, 1.0f);
	EXPECT_EQ(font.GetClip(), nullptr);
}

TEST(GL2DBmpText, OrderGetsALeadingSpace) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFontFiles(scene, "ABC", 1);
	GL2D_BmpText font;
	ASSERT_TRUE(font.Load("font.nbf"));
	EXPECT_STREQ(font.GetCharOrder(), " ABC");
	ASSERT_EQ(font.GetGlyphSheet().GetRegionCount(), 4);
	GL2D_Rect space = font.GetGlyphSheet().GetRegion(0);
	GL2D_Rect a = font.GetGlyphSheet().GetRegion(1);
	EXPECT_FLOAT_EQ(space.x, 2);
	EXPECT_FLOAT_EQ(space.y, 3);
	EXPECT_FLOAT_EQ(a.x, 18);
	EXPECT_FLOAT_EQ(a.w, 16);
	EXPECT_EQ(font.Write(40, 40, " A"), 34);
	scene.Grab();
	scene.Shot("bmptext");
	EXPECT_TRUE(CellAt(scene, 0, 40, 40));
	EXPECT_TRUE(CellAt(scene, 1, 57, 40));
}

TEST(GL2DBmpText, GlyphGridFollowsColumnsAndOrigin) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFontFiles(scene, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1);
	GL2D_BmpText font;
	ASSERT_TRUE(font.Load("font.nbf"));
	const GL2D_Bitmap &sheet = font.GetGlyphSheet();
	ASSERT_EQ(sheet.GetRegionCount(), 27);
	for (int i : {0, 9, 10, 23, 26}) {
		GL2D_Rect r = sheet.GetRegion(i);
		EXPECT_FLOAT_EQ(r.x, 2 + (i % 10) * 16) << i;
		EXPECT_FLOAT_EQ(r.y, 3 + (i / 10) * 16) << i;
	}
	font.Write(0, 100, "JKZ");
	scene.Grab();
	EXPECT_TRUE(CellAt(scene, 10, 0, 100));
	EXPECT_TRUE(CellAt(scene, 11, 17, 100));
	EXPECT_TRUE(CellAt(scene, 26, 34, 100));
}

TEST(GL2DBmpText, KerningAddsAfterEveryGlyph) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFontFiles(scene, "ABC", 1);
	GL2D_BmpText font;
	ASSERT_TRUE(font.Load("font.nbf"));
	EXPECT_EQ(font.GetFontWidth(), 17);
	EXPECT_EQ(font.GetFontHeight(), 16);
	EXPECT_EQ(font.GetTextWidth("ABC"), 51);
	EXPECT_EQ(font.Write(0, 0, "ABC"), 51);
	font.SetKerning(-2);
	EXPECT_EQ(font.GetTextWidth("ABC"), 42);
	EXPECT_EQ(font.Write(0, 50, "ABC"), 42);
	scene.Grab();
	// With negative kerning the next glyph overdraws the last two columns of the one before.
	EXPECT_TRUE(CellAt(scene, 3, 28, 50));
	EXPECT_EQ(scene.At(27, 50), Pattern(2 + 32 + 13, 3));
}

TEST(GL2DBmpText, KerningFromTheFileMayBeNegative) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFontFiles(scene, "ABC", -2);
	GL2D_BmpText font;
	ASSERT_TRUE(font.Load("font.nbf"));
	EXPECT_EQ(font.GetKerning(), -2);
	EXPECT_EQ(font.GetTextWidth("ABC"), 42);
	font.SetString("ABC");
	EXPECT_EQ(font.GetCursorPos(3), 42);
}

TEST(GL2DBmpText, EmptyTextDrawsNothing) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFontFiles(scene, "ABC", 1);
	GL2D_BmpText font;
	ASSERT_TRUE(font.Load("font.nbf"));
	EXPECT_EQ(font.Write(10, 10, ""), 0);
	EXPECT_EQ(font.Write(10, 10, nullptr), 0);
	EXPECT_EQ(font.GetCursorPos(5), 0);
	scene.Grab();
	EXPECT_TRUE(scene.Empty(0, 0, 100, 100));
}

TEST(GL2DBmpText, CursorPositionCountsLikeWrite) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFontFiles(scene, "ABC", 1);
	GL2D_BmpText font;
	ASSERT_TRUE(font.Load("font.nbf"));
	font.SetString("CAB A");
	EXPECT_EQ(font.GetCursorPos(0), 0);
	EXPECT_EQ(font.GetCursorPos(-3), 0);
	EXPECT_EQ(font.GetCursorPos(1), 17);
	EXPECT_EQ(font.GetCursorPos(4), 68);
	EXPECT_EQ(font.GetCursorPos(5), 85);
	EXPECT_EQ(font.GetCursorPos(500), 85);
	EXPECT_EQ(font.Write(), 85);
}

TEST(GL2DBmpText, MissingCharacterNeitherDrawsNorAdvances) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFontFiles(scene, "ABC", 1);
	GL2D_BmpText font;
	ASSERT_TRUE(font.Load("font.nbf"));
	EXPECT_EQ(font.Write(0, 0, "A`\xFFZB"), 34);
	font.SetString("A`B");
	EXPECT_EQ(font.GetCursorPos(2), 17);
	EXPECT_EQ(font.GetCursorPos(3), 34);
	scene.Grab();
	EXPECT_TRUE(CellAt(scene, 1, 0, 0));
	EXPECT_TRUE(CellAt(scene, 2, 17, 0));
	EXPECT_TRUE(scene.Empty(34, 0, 40, 16));
	// An order longer than the glyph sheet: the extra characters have no glyph either.
	font.SetCharOrder(" ABCDEF");
	EXPECT_EQ(font.Write(0, 40, "AEB"), 34);
}

TEST(GL2DBmpText, ScrolledClippedWriteKeepsTheClip) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFontFiles(scene, "ABC", 0);
	GL2D_BmpText font;
	ASSERT_TRUE(font.Load("font.nbf"));
	GL2D_Rect clip = {0, 0, 30, 100};
	EXPECT_EQ(font.Write(10, 20, "AB", &clip, 5, 0), 32);
	EXPECT_EQ(font.GetX(), 5);
	EXPECT_EQ(font.GetY(), 20);
	EXPECT_EQ(font.GetClip(), &clip);
	font.Write(0, 60, "AB");
	scene.Grab();
	EXPECT_EQ(scene.At(5, 20), Pattern(18, 3));
	EXPECT_EQ(scene.At(29, 20), Pattern(2 + 32 + 8, 3));
	EXPECT_TRUE(scene.Empty(30, 0, 40, 100));
	EXPECT_EQ(scene.At(0, 60), Pattern(18, 3));
}

TEST(GL2DBmpText, StoredStateDrivesWrite) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFontFiles(scene, "ABC", 1);
	GL2D_BmpText font;
	ASSERT_TRUE(font.Load("font.nbf"));
	font.SetString("C");
	font.SetCoords(200, 100);
	EXPECT_EQ(font.Write(), 17);
	EXPECT_EQ(font.Write(300, 100), 17);
	std::string longText(400, 'A');
	font.SetString(longText.c_str());
	EXPECT_EQ(std::string(font.GetString()).size(), 255u);
	scene.Grab();
	EXPECT_TRUE(CellAt(scene, 3, 200, 100));
	EXPECT_TRUE(CellAt(scene, 3, 300, 100));
}

TEST(GL2DBmpText, UnreadableImageStillMeasures) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	scene.dir.WriteText("font.nbf", "nowhere.bmp - ABC 12 14 4 0 0 0 2");
	GL2D_BmpText font;
	ASSERT_TRUE(font.Load("font.nbf"));
	EXPECT_EQ(font.GetGlyphSheet().GetTileCount(), 0);
	EXPECT_EQ(font.GetGlyphSheet().GetRegionCount(), 4);
	EXPECT_EQ(font.Write(0, 0, "AB"), 28);
	scene.Grab();
	EXPECT_TRUE(scene.Empty(0, 0, 40, 20));
}

TEST(GL2DBmpText, AlphaImageMakesGlyphBackgroundsTransparent) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	SaveBmp(MakeImage(32, 16, Pattern), "glyphs.bmp");
	SaveBmp(MakeAlphaImage(32, 16, [](int x, int) { return x % 16 < 4 ? 0 : 255; }), "glyphs_a.bmp");
	scene.dir.WriteText("font.nbf", "glyphs.bmp glyphs_a.bmp A 16 16 2 0 0 0 0");
	GL2D_BmpText font;
	ASSERT_TRUE(font.Load("font.nbf"));
	EXPECT_TRUE(font.GetGlyphSheet().HasAlpha());
	font.Write(0, 0, "A");
	scene.Grab();
	EXPECT_TRUE(scene.Empty(0, 0, 4, 16));
	EXPECT_EQ(scene.At(4, 0), Pattern(20, 0));
}

TEST(GL2DBmpText, MalformedFilesAreRefusedWhole) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	SaveBmp(MakeImage(64, 64, Pattern), "g.bmp");
	const std::string bad[] = {
		"",
		"g.bmp - ABC 16 16 4 0 0 0",           // kerning missing
		"g.bmp - ABC 16 16 4 0 0 zero 1",      // not a number
		"g.bmp - ABC 0 16 4 0 0 0 1",          // empty cell
		"g.bmp - ABC 16 -16 4 0 0 0 1",        // negative cell
		"g.bmp - ABC 16 16 0 0 0 0 1",         // no column
		"g.bmp - ABC 16 16 4 0 32767 0 1",     // cells beyond 16 bits
		"g.bmp - ABC 16 16 4 0 0 0 99999999",  // kerning out of range
		"g.bmp - ABC 16 16 4 0 0 0 99999999999999",
		"g.bmp - " + std::string(127, 'x') + " 16 16 4 0 0 0 1", // order too long
		std::string(256, 'p') + " - ABC 16 16 4 0 0 0 1",       // path too long
	};
	for (const std::string &text : bad) {
		scene.dir.WriteText("bad.nbf", text);
		GL2D_BmpText font;
		EXPECT_FALSE(font.Load("bad.nbf")) << text;
		EXPECT_EQ(font.GetGlyphSheet().GetRegionCount(), 0);
		EXPECT_EQ(font.GetGlyphSheet().GetTileCount(), 0);
		EXPECT_EQ(font.GetCharOrder()[1], '!');
	}
	GL2D_BmpText font;
	EXPECT_FALSE(font.Load("absent.nbf"));
	EXPECT_FALSE(font.Load(nullptr));
	// The longest order that fits: 126 characters after the space.
	std::string order;
	for (int c = 33; c < 33 + 126; c++) {
		order += static_cast<char>(c);
	}
	scene.dir.WriteText("full.nbf", "g.bmp - " + order + " 4 4 16 0 0 0 1");
	ASSERT_TRUE(font.Load("full.nbf"));
	EXPECT_EQ(std::string(font.GetCharOrder()).size(), 127u);
}
