#include <SDL/SDL_ttf.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "Gl2dTestKit.h"
#include "gl2d/GL2D_TrueTypeText.h"

namespace {

// Found through the system font directories, never beside the description file.
const char *const SYSTEM_NTF = "DejaVuSans.ttf 16 0,0,0\n";

// The font's own figures, straight from SDL_ttf.
struct Reference {
	int height = -1;
	int width = -1;
	explicit Reference(const char *text) {
		TTF_Init();
		if (TTF_Font *font = TTF_OpenFont(DejaVuPath().c_str(), 16)) {
			height = TTF_FontHeight(font);
			TTF_SizeText(font, text, &width, nullptr);
			TTF_CloseFont(font);
		}
		TTF_Quit();
	}
};

int CountPixels(const Scene &scene, int x, int y, int w, int h, uint32_t colour) {
	int count = 0;
	for (int j = y; j < y + h; j++) {
		for (int i = x; i < x + w; i++) {
			count += scene.At(i, j) == colour;
		}
	}
	return count;
}

} // namespace

TEST(GL2DTrueTypeText, MeasuresMinusOneBeforeLoad) {
	GL2D_TrueTypeText font;
	EXPECT_FALSE(font.IsOpen());
	EXPECT_EQ(font.GetFontWidth(), -1);
	EXPECT_EQ(font.GetFontHeight(), -1);
	EXPECT_EQ(font.GetTextWidth("abc"), -1);
	EXPECT_EQ(font.GetKerning(), 0);
	const std::string order = font.GetCharOrder();
	ASSERT_EQ(order.size(), 100u);
	EXPECT_EQ(order.find('`'), std::string::npos);
	EXPECT_EQ(order.substr(94), "\xE0\xF2\xE8\xE9\xEC\xF9");
}

TEST(GL2DTrueTypeText, FindsTheFontInTheSystemDirectories) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	ASSERT_FALSE(DejaVuPath().empty());
	Reference reference("Tavro");
	scene.dir.WriteText("fonts/menu.ntf", SYSTEM_NTF);
	GL2D_TrueTypeText font;
	ASSERT_TRUE(font.Load("fonts/menu.ntf"));
	EXPECT_EQ(font.GetFontHeight(), reference.height);
	EXPECT_EQ(font.GetFontWidth(), font.GetFontHeight());
	EXPECT_EQ(font.GetTextWidth("Tavro"), reference.width);
}

TEST(GL2DTrueTypeText, GlyphSheetHasEightGlyphsPerRow) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	scene.dir.WriteText("menu.ntf", SYSTEM_NTF);
	GL2D_TrueTypeText font;
	ASSERT_TRUE(font.Load("menu.ntf"));
	const GL2D_Bitmap &sheet = font.GetGlyphSheet();
	ASSERT_EQ(sheet.GetRegionCount(), 100);
	const int height = font.GetFontHeight();
	const char *order = font.GetCharOrder();
	int penX = 0;
	for (int i = 0; i < 100; i++) {
		if (i % 8 == 0) {
			penX = 0;
		}
		char letter[2] = {order[i], '\0'};
		GL2D_Rect r = sheet.GetRegion(i);
		EXPECT_FLOAT_EQ(r.x, penX) << i;
		EXPECT_FLOAT_EQ(r.y, height * (i / 8)) << i;
		EXPECT_FLOAT_EQ(r.w, font.GetTextWidth(letter)) << i;
		EXPECT_FLOAT_EQ(r.h, height) << i;
		penX += font.GetTextWidth(letter);
	}
	EXPECT_TRUE(sheet.HasAlpha());
	// 13 rows of glyphs, all within one column of tiles.
	EXPECT_EQ(sheet.GetTilesDown(), (13 * height + 255) / 256);
}

TEST(GL2DTrueTypeText, WritesInTheColourSetBeforeLoad) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	scene.dir.WriteText("menu.ntf", SYSTEM_NTF);
	GL2D_TrueTypeText font;
	font.SetColor(1.0f, 0.0f, 0.0f, 1.0f);
	ASSERT_TRUE(font.Load("menu.ntf"));
	// The advance is the sum of the glyph widths.
	int expected = font.GetTextWidth("H") + font.GetTextWidth("i") + font.GetTextWidth("!");
	EXPECT_EQ(font.Write(20, 20, "Hi!"), expected);
	scene.Grab();
	scene.Shot("truetype");
	const int height = font.GetFontHeight();
	int red = CountPixels(scene, 20, 20, expected, height, 0xFF0000);
	int background = CountPixels(scene, 20, 20, expected, height, BACKGROUND);
	EXPECT_GT(red, 20);
	// Keyed black: only ink and background, no boxes.
	EXPECT_EQ(red + background, expected * height);
	EXPECT_TRUE(scene.Empty(0, 0, 20, 100));
	EXPECT_TRUE(scene.Empty(20 + expected, 0, 50, 100));
	EXPECT_TRUE(scene.Empty(0, 20 + height, 200, 10));
}

TEST(GL2DTrueTypeText, WithoutKeyTextSitsOnBlackBoxes) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	scene.dir.WriteText("boxed.ntf", "DejaVuSans.ttf 16 -1,0,0\n");
	GL2D_TrueTypeText font;
	ASSERT_TRUE(font.Load("boxed.ntf"));
	EXPECT_FALSE(font.GetGlyphSheet().HasAlpha());
	int advance = font.Write(0, 0, "Ab");
	scene.Grab();
	const int height = font.GetFontHeight();
	int white = CountPixels(scene, 0, 0, advance, height, 0xFFFFFF);
	int black = CountPixels(scene, 0, 0, advance, height, 0x000000);
	EXPECT_GT(white, 20);
	EXPECT_EQ(white + black, advance * height);
}

TEST(GL2DTrueTypeText, FontBesideTheDescriptionComesFirst) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	std::filesystem::create_directories("fonts");
	std::filesystem::copy_file(DejaVuPath(), "fonts/OwnFace.ttf");
	scene.dir.WriteText("fonts/own.ntf", "OwnFace.ttf 12 0,0,0\n");
	scene.dir.WriteText("fonts/elsewhere.ntf", "../fonts/OwnFace.ttf 12 0,0,0\n");
	GL2D_TrueTypeText own, elsewhere, bare;
	EXPECT_TRUE(own.Load("fonts/own.ntf"));
	EXPECT_TRUE(elsewhere.Load("fonts/elsewhere.ntf"));
	// Without a "/" in its own path the font name is taken as it stands.
	std::filesystem::copy_file(DejaVuPath(), "OwnFace.ttf");
	scene.dir.WriteText("bare.ntf", "OwnFace.ttf 12 0,0,0\n");
	EXPECT_TRUE(bare.Load("bare.ntf"));
}

TEST(GL2DTrueTypeText, FontFoundNowhereFails) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	scene.dir.WriteText("lost.ntf", "NoSuchFace-Tavro.ttf 16 0,0,0\n");
	GL2D_TrueTypeText font;
	EXPECT_FALSE(font.Load("lost.ntf"));
	EXPECT_FALSE(font.IsOpen());
	EXPECT_EQ(font.GetFontHeight(), -1);
	EXPECT_FALSE(font.Load("absent.ntf"));
	EXPECT_FALSE(font.Load(nullptr));
}

TEST(GL2DTrueTypeText, MalformedFilesAreRefused) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	const char *const bad[] = {
		"",
		"DejaVuSans.ttf",
		"DejaVuSans.ttf 16",              // key line missing
		"DejaVuSans.ttf 16 0,0",          // key short
		"DejaVuSans.ttf 16 x,0,0",
		"DejaVuSans.ttf 16 0,256,0",
		"DejaVuSans.ttf sixteen 0,0,0",
		"DejaVuSans.ttf 0 0,0,0",
		"DejaVuSans.ttf 100000 0,0,0",
		"No%s%n%sFace.ttf 16 0,0,0",      // SDL_ttf would take the name as a format
	};
	for (const char *text : bad) {
		scene.dir.WriteText("bad.ntf", text);
		GL2D_TrueTypeText font;
		EXPECT_FALSE(font.Load("bad.ntf")) << text;
		EXPECT_FALSE(font.IsOpen());
		EXPECT_EQ(font.GetGlyphSheet().GetRegionCount(), 0);
	}
}

TEST(GL2DTrueTypeText, LibraryStaysUpWhileAnyFontLives) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	scene.dir.WriteText("menu.ntf", SYSTEM_NTF);
	ASSERT_EQ(GL2D_TrueTypeText::GetLibraryUsers(), 0);
	std::unique_ptr<GL2D_TrueTypeText> first(new GL2D_TrueTypeText);
	std::unique_ptr<GL2D_TrueTypeText> second(new GL2D_TrueTypeText);
	EXPECT_EQ(GL2D_TrueTypeText::GetLibraryUsers(), 2);
	ASSERT_TRUE(first->Load("menu.ntf"));
	ASSERT_TRUE(second->Load("menu.ntf"));
	first.reset();
	EXPECT_EQ(GL2D_TrueTypeText::GetLibraryUsers(), 1);
	EXPECT_TRUE(TTF_WasInit());
	// The survivor still measures through SDL_ttf and draws.
	EXPECT_GT(second->GetTextWidth("still here"), 0);
	EXPECT_GT(second->Write(0, 0, "ok"), 0);
	second.reset();
	EXPECT_EQ(GL2D_TrueTypeText::GetLibraryUsers(), 0);
	EXPECT_FALSE(TTF_WasInit());
}

TEST(GL2DTrueTypeText, LoadingAgainReplacesTheGlyphs) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	scene.dir.WriteText("small.ntf", "DejaVuSans.ttf 10 0,0,0\n");
	scene.dir.WriteText("large.ntf", "DejaVuSans.ttf 30 0,0,0\n");
	GL2D_TrueTypeText font;
	ASSERT_TRUE(font.Load("small.ntf"));
	int small = font.GetFontHeight();
	ASSERT_TRUE(font.Load("large.ntf"));
	EXPECT_GT(font.GetFontHeight(), small);
	EXPECT_EQ(font.GetGlyphSheet().GetRegionCount(), 100);
	EXPECT_FLOAT_EQ(font.GetGlyphSheet().GetRegion(99).h, font.GetFontHeight());
}
