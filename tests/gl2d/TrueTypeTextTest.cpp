#include <SDL/SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "Gl2dTestKit.h"
#include "gl2d/GL2D_TrueTypeText.h"

namespace {

// Found through the system font directories, never beside the description file.
const char *const SYSTEM_NTF = "DejaVuSans.ttf 16 0,0,0\n";

class GL2DTrueTypeText : public Gl2dTest {};

} // namespace

TEST_F(GL2DTrueTypeText, MeasuresAsSdlTtfDoesAndWritesInTheColourSetBeforeLoad) {
	GL2D_TrueTypeText font;
	EXPECT_FALSE(font.IsOpen());
	EXPECT_EQ(font.GetFontHeight(), -1);
	EXPECT_EQ(font.GetTextWidth("abc"), -1);
	dir.WriteText("fonts/menu.ntf", SYSTEM_NTF);
	font.SetColor(1.0f, 0.0f, 0.0f, 1.0f);
	ASSERT_TRUE(font.Load("fonts/menu.ntf"));
	EXPECT_EQ(font.GetGlyphSheet().GetRegionCount(), 100);
	EXPECT_TRUE(font.GetGlyphSheet().HasAlpha());
	int height = -1, width = -1;
	ASSERT_FALSE(DejaVuPath().empty());
	TTF_Font *reference = TTF_OpenFont(DejaVuPath().c_str(), 16);
	ASSERT_NE(reference, nullptr);
	height = TTF_FontHeight(reference);
	TTF_SizeText(reference, "Tavro", &width, nullptr);
	TTF_CloseFont(reference);
	EXPECT_EQ(font.GetFontHeight(), height);
	EXPECT_EQ(font.GetFontWidth(), height);
	EXPECT_EQ(font.GetTextWidth("Tavro"), width);

	// The advance is the sum of the glyph widths.
	const int advance = font.GetTextWidth("H") + font.GetTextWidth("i") + font.GetTextWidth("!");
	EXPECT_EQ(font.Write(20, 20, "Hi!"), advance);
	Grab();
	window.Keep("gl2d_truetype");
	const int red = window.Count(20, 20, advance, height, 0xFF0000);
	EXPECT_GT(red, 20);
	// Keyed black: only ink and background, no boxes.
	EXPECT_EQ(red + window.Count(20, 20, advance, height, BACKGROUND), advance * height);
	EXPECT_TRUE(Empty(0, 0, 20, 100));
	EXPECT_TRUE(Empty(20 + advance, 0, 50, 100));
	EXPECT_TRUE(Empty(0, 20 + height, 200, 10));
}

TEST_F(GL2DTrueTypeText, WithoutKeyTextSitsOnBlackBoxes) {
	dir.WriteText("boxed.ntf", "DejaVuSans.ttf 16 -1,0,0\n");
	GL2D_TrueTypeText font;
	ASSERT_TRUE(font.Load("boxed.ntf"));
	EXPECT_FALSE(font.GetGlyphSheet().HasAlpha());
	const int advance = font.Write(0, 0, "Ab"), height = font.GetFontHeight();
	Grab();
	const int white = window.Count(0, 0, advance, height, 0xFFFFFF);
	EXPECT_GT(white, 20);
	EXPECT_EQ(white + window.Count(0, 0, advance, height, 0x000000), advance * height);
}

// An outlined font is rendered at its size times the scale, smooth (edges between the ink, the
// ring and the background) and shaded towards the foot; scales out of bounds are held in them.
TEST_F(GL2DTrueTypeText, OutlinedFontsAreSmoothShadedAndRenderedAtTheirScale) {
	dir.WriteText("ring.ntf", "DejaVuSans-Bold.ttf 16 -1,0,0 1.6 0,0,255\n");
	const float scales[] = {1.0f, 2.0f, 0.0f, 100.0f, std::nanf("")};
	const int sizes[] = {16, 32, 4, 128, 16};
	int heightAt1 = 0;
	for (int i = 0; i < 5; i++) {
		GL2D_TrueTypeText font;
		font.SetColor(1.0f, 0.0f, 0.0f, 1.0f);
		font.SetScale(scales[i]);
		ASSERT_TRUE(font.Load("ring.ntf")) << scales[i];
		EXPECT_EQ(font.GetPointSize(), sizes[i]);
		EXPECT_EQ(font.GetOutline(), std::max(1, int(std::lround(1.6f * sizes[i] / 16))));
		heightAt1 = i == 0 ? font.GetFontHeight() : heightAt1;
		if (scales[i] == 2.0f) {
			EXPECT_NEAR(font.GetFontHeight(), 2 * heightAt1, 2);
		}
	}
	GL2D_TrueTypeText font;
	font.SetColor(1.0f, 0.0f, 0.0f, 1.0f);
	font.SetScale(3.0f);
	ASSERT_TRUE(font.Load("ring.ntf"));
	const int advance = font.Write(10, 10, "EE"), height = font.GetFontHeight();
	EXPECT_EQ(advance, font.GetTextWidth("EE"));
	Grab();
	window.Keep("gl2d_truetype_outlined");
	int red = 0, blue = 0, dark = 0, between = 0;
	for (int y = 10; y < 10 + height; y++) {
		for (int x = 10; x < 10 + advance; x++) {
			const uint32_t p = window.At(x, y);
			const int r = p >> 16 & 0xFF, b = p & 0xFF;
			red += r > 200 && b < 60;
			blue += b > 200 && r < 60;
			dark += p == 0x1A1020u;
			between += r > 40 && r < 200 && b < 60 && p != BACKGROUND;
		}
	}
	EXPECT_GT(red, 20);     // the letters' heads
	EXPECT_GT(blue, 20);    // their feet
	EXPECT_GT(dark, 20);    // the ring
	EXPECT_GT(between, 10); // smooth edges
	EXPECT_TRUE(Empty(10 + advance + 2, 0, 40, 200));
}

TEST_F(GL2DTrueTypeText, FontBesideTheDescriptionComesFirstAndOneFoundNowhereFails) {
	std::filesystem::create_directories("fonts");
	std::filesystem::copy_file(DejaVuPath(), "fonts/OwnFace.ttf");
	dir.WriteText("fonts/own.ntf", "OwnFace.ttf 12 0,0,0\n");
	dir.WriteText("fonts/elsewhere.ntf", "../fonts/OwnFace.ttf 12 0,0,0\n");
	GL2D_TrueTypeText own, elsewhere, bare, lost;
	EXPECT_TRUE(own.Load("fonts/own.ntf"));
	EXPECT_TRUE(elsewhere.Load("fonts/elsewhere.ntf"));
	// Without a "/" in its own path the font name is taken as it stands.
	std::filesystem::copy_file(DejaVuPath(), "OwnFace.ttf");
	dir.WriteText("bare.ntf", "OwnFace.ttf 12 0,0,0\n");
	EXPECT_TRUE(bare.Load("bare.ntf"));
	dir.WriteText("lost.ntf", "NoSuchFace-Tavro.ttf 16 0,0,0\n");
	EXPECT_FALSE(lost.Load("lost.ntf"));
	EXPECT_FALSE(lost.IsOpen());
	EXPECT_EQ(lost.GetFontHeight(), -1);
}

TEST_F(GL2DTrueTypeText, MalformedFilesAreRefused) {
	const char *const bad[] = {
		"", "DejaVuSans.ttf",
		"DejaVuSans.ttf 16",     // key line missing
		"DejaVuSans.ttf 16 0,0", // key short
		"DejaVuSans.ttf 16 x,0,0", "DejaVuSans.ttf 16 0,256,0", "DejaVuSans.ttf sixteen 0,0,0",
		"DejaVuSans.ttf 0 0,0,0", "DejaVuSans.ttf 100000 0,0,0",
		"No%s%n%sFace.ttf 16 0,0,0", // SDL_ttf would take the name as a format
		"DejaVuSans.ttf 16 -1,0,0 -1", "DejaVuSans.ttf 16 -1,0,0 17", "DejaVuSans.ttf 16 -1,0,0 nan",
		"DejaVuSans.ttf 16 -1,0,0 2x", "DejaVuSans.ttf 16 -1,0,0 2 0,300,0", "DejaVuSans.ttf 16 -1,0,0 2 0,0",
		"DejaVuSans.ttf 16 -1,0,0 0 9,9,9", // a shade needs an outline
		"DejaVuSans.ttf 200 -1,0,0 2",      // past the largest size at scale 2
	};
	for (const char *text : bad) {
		dir.WriteText("bad.ntf", text);
		GL2D_TrueTypeText font;
		font.SetScale(2.0f);
		EXPECT_FALSE(font.Load("bad.ntf")) << text;
		EXPECT_FALSE(font.IsOpen());
		EXPECT_EQ(font.GetGlyphSheet().GetRegionCount(), 0);
	}
	GL2D_TrueTypeText font;
	EXPECT_FALSE(font.Load("absent.ntf"));
	EXPECT_FALSE(font.Load(nullptr));
}

TEST_F(GL2DTrueTypeText, LibraryStaysUpWhileAnyFontLivesAndLoadingAgainReplacesTheGlyphs) {
	dir.WriteText("small.ntf", "DejaVuSans.ttf 10 0,0,0\n");
	dir.WriteText("large.ntf", "DejaVuSans.ttf 30 0,0,0\n");
	ASSERT_EQ(GL2D_TrueTypeText::GetLibraryUsers(), 0);
	std::unique_ptr<GL2D_TrueTypeText> first(new GL2D_TrueTypeText);
	std::unique_ptr<GL2D_TrueTypeText> second(new GL2D_TrueTypeText);
	EXPECT_EQ(GL2D_TrueTypeText::GetLibraryUsers(), 2);
	ASSERT_TRUE(first->Load("small.ntf"));
	ASSERT_TRUE(second->Load("small.ntf"));
	const int small = second->GetFontHeight();
	first.reset();
	EXPECT_EQ(GL2D_TrueTypeText::GetLibraryUsers(), 1);
	EXPECT_TRUE(TTF_WasInit());
	// The survivor still measures through SDL_ttf, draws and loads.
	EXPECT_GT(second->GetTextWidth("still here"), 0);
	EXPECT_GT(second->Write(0, 0, "ok"), 0);
	ASSERT_TRUE(second->Load("large.ntf"));
	EXPECT_GT(second->GetFontHeight(), small);
	EXPECT_EQ(second->GetGlyphSheet().GetRegionCount(), 100);
	EXPECT_FLOAT_EQ(second->GetGlyphSheet().GetRegion(99).h, second->GetFontHeight());
	second.reset();
	EXPECT_EQ(GL2D_TrueTypeText::GetLibraryUsers(), 0);
	EXPECT_FALSE(TTF_WasInit());
}
