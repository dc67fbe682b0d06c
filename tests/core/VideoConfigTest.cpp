#include <gtest/gtest.h>

#include "ScratchDir.h"
#include "core/VideoConfig.h"

TEST(VideoConfig, ReadsFourValuesAndKeepsTheDefaultsOfWhatItCannotRead) {
	ScratchDir dir;
	VideoConfig missing;
	EXPECT_FALSE(missing.Load("video.cfg"));
	struct Case {
		const char *text; // nullptr: no file
		int width, height, bits;
		bool fullscreen;
	} const cases[] = {
		{nullptr, 640, 480, 32, true},
		{"800 600 16 0\n", 800, 600, 16, false},
		{"1024\n768\t24\n1", 1024, 768, 24, true},
		// Only a fourth value of 1 gives full screen.
		{"800 600 16", 800, 600, 16, false},
		{"800 600 16 2", 800, 600, 16, false},
		{"800 600 16 x", 800, 600, 16, false},
		{"800 600 16 -1", 800, 600, 16, false},
		{"1280 abc 16 1", 1280, 480, 32, false},
		{"", 640, 480, 32, false},
	};
	for (const Case &c : cases) {
		SCOPED_TRACE(c.text ? c.text : "no file");
		VideoConfig config;
		if (c.text) {
			dir.WriteText("video.cfg", c.text);
			ASSERT_TRUE(config.Load("video.cfg"));
		}
		EXPECT_EQ(config.Width(), c.width);
		EXPECT_EQ(config.Height(), c.height);
		EXPECT_EQ(config.BitsPerPixel(), c.bits);
		EXPECT_EQ(config.Fullscreen(), c.fullscreen);
	}
}
