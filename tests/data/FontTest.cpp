// Bitmap fonts (.nbf) read as the font loader reads them, and the TrueType description.
#include "DataFiles.h"
#include "ScratchDir.h"

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

Surface LoadBmp(const std::string &relPath)
{
	return Surface(SDL_LoadBMP_RW(SDL_RWFromFile(DataPath(relPath).c_str(), "rb"), 1), SDL_FreeSurface);
}

struct BmpFont {
	char image[256] = "", alpha[256] = "", order[256] = "";
	int cellW = 0, cellH = 0, cols = 0, unused = 0, ox = 0, oy = 0, kerning = 0;
	bool complete = false;
};

BmpFont Read(const std::string &path)
{
	BmpFont f;
	FILE *in = std::fopen(path.c_str(), "rt");
	if (!in)
		return f;
	f.complete = std::fscanf(in, "%255s %255s %255s %d %d %d %d %d %d %d", f.image, f.alpha, f.order, &f.cellW, &f.cellH, &f.cols,
	                         &f.unused, &f.ox, &f.oy, &f.kerning) == 10;
	std::fclose(in);
	return f;
}

class FontTest : public ::testing::Test {
protected:
	ScratchDir scratch;
};

TEST_F(FontTest, EveryBitmapFontHasAGlyphInEveryCell)
{
	std::vector<std::string> files = FilesWithExtension("fonts", ".nbf");
	ASSERT_GE(files.size(), 5u);
	for (const std::string &file : files) {
		BmpFont f = Read(file);
		ASSERT_TRUE(f.complete) << file;
		std::string order = std::string(" ") + f.order;
		EXPECT_LE(order.size(), 127u) << file;
		ASSERT_GE(f.cols, 1) << file;
		ASSERT_GT(f.cellW, 0) << file;
		ASSERT_GT(f.cellH, 0) << file;
		Surface image = LoadBmp(f.image);
		ASSERT_NE(image, nullptr) << file;
		// Without an alpha image the sheet is drawn opaque, and its ink is whatever is not black.
		bool keyed = f.alpha[0] != '-';
		Surface alpha = keyed ? LoadBmp(f.alpha) : Surface(nullptr, SDL_FreeSurface);
		if (keyed) {
			ASSERT_NE(alpha, nullptr) << file;
			ASSERT_EQ(alpha->format->BitsPerPixel, 8) << file;
			ASSERT_EQ(alpha->w, image->w) << file;
			ASSERT_EQ(alpha->h, image->h) << file;
		}
		auto inked = [&](int x, int y) {
			if (keyed)
				return static_cast<uint8_t *>(alpha->pixels)[y * alpha->pitch + x] > 128;
			uint32_t v = 0;
			std::memcpy(&v, static_cast<uint8_t *>(image->pixels) + y * image->pitch + x * image->format->BytesPerPixel,
			            image->format->BytesPerPixel);
			uint8_t r, g, b;
			SDL_GetRGB(v, image->format, &r, &g, &b);
			return r + g + b > 96;
		};
		for (size_t i = 0; i < order.size(); i++) {
			int x = f.ox + int(i % f.cols) * f.cellW, y = f.oy + int(i / f.cols) * f.cellH;
			ASSERT_LE(x + f.cellW, image->w) << file << " glyph " << i;
			ASSERT_LE(y + f.cellH, image->h) << file << " glyph " << i;
			int ink = 0;
			for (int yy = y; yy < y + f.cellH; yy++)
				for (int xx = x; xx < x + f.cellW; xx++)
					ink += inked(xx, yy);
			if (i == 0)
				EXPECT_EQ(ink, 0) << file << ": glyph 0 is the space";
			else
				EXPECT_GT(ink, 3) << file << ": glyph '" << order[i] << "' is empty";
		}
		// Glyphs keep a readable advance.
		EXPECT_GT(f.cellW + f.kerning, f.cellW / 2) << file;
	}
}

TEST_F(FontTest, HudAndCreditsFontsCoverTheirTexts)
{
	for (const char *name : {"numbers", "numbersblue"}) {
		BmpFont f = Read(DataPath(std::string("data/fonts/") + name + ".nbf"));
		ASSERT_TRUE(f.complete) << name;
		for (char c : std::string("0123456789:"))
			EXPECT_NE(std::string(f.order).find(c), std::string::npos) << name << " lacks " << c;
	}
	for (const char *name : {"spectrum", "credits", "menu"}) {
		BmpFont f = Read(DataPath(std::string("data/fonts/") + name + ".nbf"));
		ASSERT_TRUE(f.complete) << name;
		for (char c : std::string("ABCXYZabcxyz0123456789.,!?:-()'"))
			EXPECT_NE(std::string(f.order).find(c), std::string::npos) << name << " lacks " << c;
	}
}

TEST_F(FontTest, TrueTypeFontIsFoundInTheSystemFontDirectories)
{
	std::vector<std::string> w = Words(ReadFile(DataPath("data/fonts/arial_green.ntf")));
	ASSERT_EQ(w.size(), 3u);
	int size = std::atoi(w[1].c_str());
	EXPECT_GT(size, 6);
	int r = -2, g = -2, b = -2;
	ASSERT_EQ(std::sscanf(w[2].c_str(), "%d,%d,%d", &r, &g, &b), 3);
	EXPECT_EQ(r, 0) << "black background keyed out";
	EXPECT_EQ(g, 0);
	EXPECT_EQ(b, 0);
	EXPECT_FALSE(FileExists(DataPath("data/fonts/" + w[0]))) << "the font comes from the system, not the data tree";

	ASSERT_TRUE(FcInit());
	FcPattern *pattern = FcPatternCreate();
	FcObjectSet *objects = FcObjectSetBuild(FC_FILE, nullptr);
	FcFontSet *set = FcFontList(nullptr, pattern, objects);
	std::string found;
	for (int i = 0; set && i < set->nfont; i++) {
		FcChar8 *file = nullptr;
		if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch) {
			std::string path = reinterpret_cast<char *>(file);
			if (path.size() >= w[0].size() + 1 && path.compare(path.size() - w[0].size() - 1, std::string::npos, "/" + w[0]) == 0)
				found = path;
		}
	}
	if (set)
		FcFontSetDestroy(set);
	FcObjectSetDestroy(objects);
	FcPatternDestroy(pattern);
	ASSERT_FALSE(found.empty()) << w[0] << " is not in the system font directories";

	ASSERT_EQ(TTF_Init(), 0);
	TTF_Font *font = TTF_OpenFont(found.c_str(), size);
	ASSERT_NE(font, nullptr);
	int tw = 0, th = 0;
	EXPECT_EQ(TTF_SizeText(font, "FPS: 60.0", &tw, &th), 0);
	EXPECT_GT(tw, 20);
	EXPECT_LT(th, 40);
	TTF_CloseFont(font);
	TTF_Quit();
}

} // namespace
