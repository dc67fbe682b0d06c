// The 2D pictures as the 2D library blends them: colour multiplied by alpha, with an 8-bit alpha
// image of the same size whose palette is a grey ramp. Which files load is the 2D library's
// shipped-data test; this one looks at their pixels.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <sstream>

#include "DataFiles.h"
#include "ScratchDir.h"

namespace {

using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

Surface LoadBmp(const std::string &path) {
	return Surface(SDL_LoadBMP(path.c_str()), SDL_FreeSurface);
}

uint32_t Rgb(SDL_Surface *s, int x, int y) {
	uint8_t *p = static_cast<uint8_t *>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
	uint32_t v = 0;
	std::memcpy(&v, p, s->format->BytesPerPixel);
	uint8_t r, g, b;
	SDL_GetRGB(v, s->format, &r, &g, &b);
	return std::max(r, std::max(g, b));
}

} // namespace

TEST(Pictures, EveryPictureIsPremultipliedOverAGreyRampAlphaOfItsSize) {
	ScratchDir dir;
	dir.LinkData();
	std::vector<std::string> files = DataFiles("rects", ".nsbr"), frames = DataFiles("rects", ".nbr");
	ASSERT_GE(files.size(), 20u);
	ASSERT_GE(frames.size(), 6u);
	files.insert(files.end(), frames.begin(), frames.end());
	for (const std::string &file : files) {
		SCOPED_TRACE(file);
		std::istringstream lines(ReadFile(file));
		std::string imageName, alphaName;
		ASSERT_TRUE(lines >> imageName >> alphaName);
		Surface image = LoadBmp(imageName), alpha = LoadBmp(alphaName);
		ASSERT_NE(image, nullptr);
		ASSERT_NE(alpha, nullptr) << "a clean alpha edge";
		ASSERT_EQ(alpha->format->BitsPerPixel, 8);
		ASSERT_EQ(alpha->w, image->w);
		ASSERT_EQ(alpha->h, image->h);
		ASSERT_NE(alpha->format->palette, nullptr);
		EXPECT_EQ(alpha->format->palette->colors[0].r, 0);
		EXPECT_EQ(alpha->format->palette->colors[255].r, 255);
		// No colour may exceed its alpha, and a clear pixel is black.
		int brighter = 0, ink = 0;
		for (int y = 0; y < image->h; y++) {
			for (int x = 0; x < image->w; x++) {
				const uint8_t a = static_cast<uint8_t *>(alpha->pixels)[y * alpha->pitch + x];
				brighter += Rgb(image.get(), x, y) > a + 1u;
				ink += a > 128;
			}
		}
		EXPECT_EQ(brighter, 0) << "colour brighter than its alpha";
		EXPECT_GT(ink, 0) << "empty";
	}
}
