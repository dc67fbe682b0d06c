// The 2D description files (.nsbr, .nbr, .nmd) and the pictures they name, checked as the 2D
// library loads them: BMP images through SDL, 8-bit alpha images of the same size.
#include "DataFiles.h"
#include "ScratchDir.h"

#include <SDL/SDL.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

Surface LoadBmp(const std::string &relPath)
{
	return Surface(SDL_LoadBMP_RW(SDL_RWFromFile(DataPath(relPath).c_str(), "rb"), 1), SDL_FreeSurface);
}

uint8_t AlphaAt(SDL_Surface *a, int x, int y) { return static_cast<uint8_t *>(a->pixels)[y * a->pitch + x]; }

void Rgb(SDL_Surface *s, int x, int y, uint8_t &r, uint8_t &g, uint8_t &b)
{
	uint8_t *p = static_cast<uint8_t *>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
	uint32_t v = 0;
	std::memcpy(&v, p, s->format->BytesPerPixel);
	SDL_GetRGB(v, s->format, &r, &g, &b);
}

struct Picture {
	Surface image{nullptr, SDL_FreeSurface}, alpha{nullptr, SDL_FreeSurface};
};

// Loads the image and alpha image named by the first two lines; reports problems as failures.
Picture CheckPicture(const std::vector<std::string> &lines, const std::string &what)
{
	Picture p;
	EXPECT_GE(lines.size(), 2u) << what;
	if (lines.size() < 2)
		return p;
	p.image = LoadBmp(lines[0]);
	EXPECT_NE(p.image, nullptr) << what << ": " << lines[0];
	if (lines[1][0] == '-' || !p.image)
		return p;
	p.alpha = LoadBmp(lines[1]);
	EXPECT_NE(p.alpha, nullptr) << what << ": " << lines[1];
	if (!p.alpha)
		return p;
	EXPECT_EQ(p.alpha->format->BitsPerPixel, 8) << what;
	EXPECT_EQ(p.alpha->w, p.image->w) << what;
	EXPECT_EQ(p.alpha->h, p.image->h) << what;
	if (p.alpha->format->BitsPerPixel != 8 || p.alpha->w != p.image->w || p.alpha->h != p.image->h)
		return p;
	// The pictures are drawn with premultiplied blending: no colour may exceed its alpha, and a
	// clear pixel is black. The alpha palette is a grey ramp so the byte value is the alpha.
	int bad = 0, ink = 0;
	for (int y = 0; y < p.image->h; y++)
		for (int x = 0; x < p.image->w; x++) {
			uint8_t r, g, b, a = AlphaAt(p.alpha.get(), x, y);
			Rgb(p.image.get(), x, y, r, g, b);
			bad += std::max(r, std::max(g, b)) > a + 1;
			ink += a > 128;
		}
	EXPECT_EQ(bad, 0) << what << ": colour brighter than its alpha";
	EXPECT_GT(ink, 0) << what << " is empty";
	SDL_Color *pal = p.alpha->format->palette ? p.alpha->format->palette->colors : nullptr;
	if (!pal) {
		ADD_FAILURE() << what << ": alpha image without palette";
		return p;
	}
	EXPECT_EQ(pal[0].r, 0);
	EXPECT_EQ(pal[255].r, 255);
	return p;
}

class PictureTest : public ::testing::Test {
protected:
	ScratchDir scratch;
};

TEST_F(PictureTest, EverySimplePictureNamesImagesThatLoad)
{
	std::vector<std::string> files = FilesWithExtension("rects", ".nsbr");
	ASSERT_GE(files.size(), 20u);
	for (const std::string &f : files) {
		Picture p = CheckPicture(Lines(ReadFile(f)), f);
		EXPECT_NE(p.alpha, nullptr) << f << " has a clean alpha edge";
	}
}

TEST_F(PictureTest, EveryPictureTheGameNamesIsThere)
{
	for (const char *name : {"tavro", "version", "hippy", "johnny", "babe", "webby", "hippy_big", "johnny_big", "babe_big",
	                         "webby_big", "three", "two", "one", "yeah", "trophy", "cloud"})
		EXPECT_TRUE(FileExists(DataPath(std::string("data/rects/") + name + ".nsbr"))) << name;
	EXPECT_TRUE(FileExists(DataPath("data/rects/mouse.nmd")));
	for (const char *name : {"hippy", "johnny", "babe", "webby"})
		EXPECT_TRUE(FileExists(DataPath(std::string("data/misc/") + name + "256_disc.bmp"))) << name;
}

TEST_F(PictureTest, PortraitsFitTheirPlaces)
{
	for (const char *name : {"hippy", "johnny", "babe", "webby"}) {
		Picture small = CheckPicture(Lines(ReadFile(DataPath(std::string("data/rects/") + name + ".nsbr"))), name);
		ASSERT_NE(small.image, nullptr);
		// The options screen stacks the two small portraits 65 pixels apart.
		EXPECT_LE(small.image->h, 64) << name;
		EXPECT_LE(small.image->w, 100) << name;
		Picture big = CheckPicture(Lines(ReadFile(DataPath(std::string("data/rects/") + name + "_big.nsbr"))), name);
		ASSERT_NE(big.image, nullptr);
		// Drawn centred 120 left of the screen centre on a 640 x 480 screen, beside "yeah".
		EXPECT_GE(big.image->w, 150) << name;
		EXPECT_LE(big.image->w, 240) << name;
		EXPECT_LE(big.image->h, 300) << name;
		Surface face = LoadBmp(std::string("data/misc/") + name + "256_disc.bmp");
		ASSERT_NE(face, nullptr);
		EXPECT_EQ(face->w, 256);
		EXPECT_EQ(face->h, 256);
	}
}

TEST_F(PictureTest, CloudFrameLeavesTheSmallViewClear)
{
	Picture p = CheckPicture(Lines(ReadFile(DataPath("data/rects/cloud.nsbr"))), "cloud");
	ASSERT_NE(p.alpha, nullptr);
	ASSERT_GE(p.image->w, 15 + 213);
	ASSERT_GE(p.image->h, 20 + 147);
	for (int y = 20; y < 20 + 147; y++)
		for (int x = 15; x < 15 + 213; x++)
			ASSERT_EQ(AlphaAt(p.alpha.get(), x, y), 0) << x << ", " << y;
	// And frames it on all four sides.
	int left = 0, right = 0, top = 0, bottom = 0;
	for (int y = 20; y < 167; y++) {
		left += AlphaAt(p.alpha.get(), 10, y) > 200;
		right += AlphaAt(p.alpha.get(), 232, y) > 200;
	}
	for (int x = 15; x < 228; x++) {
		top += AlphaAt(p.alpha.get(), x, 16) > 200;
		bottom += AlphaAt(p.alpha.get(), x, 170) > 200;
	}
	EXPECT_GT(left, 100);
	EXPECT_GT(right, 100);
	EXPECT_GT(top, 150);
	EXPECT_GT(bottom, 150);
}

TEST_F(PictureTest, NinePartFramesHaveRegionsInsideTheirImages)
{
	std::vector<std::string> files = FilesWithExtension("rects", ".nbr");
	ASSERT_GE(files.size(), 6u);
	for (const std::string &f : files) {
		std::vector<std::string> lines = Lines(ReadFile(f));
		ASSERT_EQ(lines.size(), 11u) << f;
		Picture p = CheckPicture(lines, f);
		ASSERT_NE(p.image, nullptr) << f;
		int reg[9][4];
		for (int i = 0; i < 9; i++) {
			ASSERT_EQ(std::sscanf(lines[2 + i].c_str(), "%d,%d,%d,%d", &reg[i][0], &reg[i][1], &reg[i][2], &reg[i][3]), 4) << f;
			EXPECT_GE(reg[i][0], 0) << f;
			EXPECT_GE(reg[i][1], 0) << f;
			EXPECT_GE(reg[i][2], 1) << f;
			EXPECT_GE(reg[i][3], 1) << f;
			EXPECT_LE(reg[i][0] + reg[i][2], p.image->w) << f << " region " << i;
			EXPECT_LE(reg[i][1] + reg[i][3], p.image->h) << f << " region " << i;
		}
		// Seamless tiling: the centre steps like the edges.
		EXPECT_EQ(reg[4][2], reg[1][2]) << f;
		EXPECT_EQ(reg[4][3], reg[3][3]) << f;
	}
	for (const char *name : {"button", "button_focus", "button_click", "button_disabled", "window", "editbox"})
		EXPECT_TRUE(FileExists(DataPath(std::string("data/rects/") + name + ".nbr"))) << name;
}

TEST_F(PictureTest, MouseCursorNamesAnimatedFrames)
{
	std::vector<std::string> w = Words(ReadFile(DataPath("data/rects/mouse.nmd")));
	ASSERT_GE(w.size(), 4u);
	int count = std::atoi(w[0].c_str());
	ASSERT_GE(count, 2) << "an animated pointer";
	ASSERT_LE(count, 10);
	ASSERT_EQ(w.size(), size_t(count) + 4);
	int width = 0, height = 0;
	for (int i = 0; i < count; i++) {
		ASSERT_TRUE(FileExists(DataPath(w[1 + i]))) << w[1 + i];
		Picture p = CheckPicture(Lines(ReadFile(DataPath(w[1 + i]))), w[1 + i]);
		ASSERT_NE(p.image, nullptr);
		width = p.image->w;
		height = p.image->h;
	}
	EXPECT_GT(std::atoi(w[1 + count].c_str()), 0);
	int hx = std::atoi(w[2 + count].c_str()), hy = std::atoi(w[3 + count].c_str());
	EXPECT_GE(hx, 0);
	EXPECT_LT(hx, width);
	EXPECT_GE(hy, 0);
	EXPECT_LT(hy, height);
}

TEST_F(PictureTest, CheckBoxesHaveAnImagePerState)
{
	for (const char *name : {"check_no", "check_yes", "check_no_focus", "check_yes_focus", "caret"}) {
		Picture p = CheckPicture(Lines(ReadFile(DataPath(std::string("data/rects/") + name + ".nsbr"))), name);
		EXPECT_NE(p.image, nullptr) << name;
	}
}

} // namespace
