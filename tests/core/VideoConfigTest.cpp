#include <gtest/gtest.h>

#include "ScratchDir.h"
#include "core/VideoConfig.h"

TEST(VideoConfig, MissingFileKeepsTheDefaults) {
	ScratchDir dir;
	VideoConfig config;
	EXPECT_FALSE(config.Load("video.cfg"));
	EXPECT_EQ(config.Width(), 640);
	EXPECT_EQ(config.Height(), 480);
	EXPECT_EQ(config.BitsPerPixel(), 32);
	EXPECT_TRUE(config.Fullscreen());
}

TEST(VideoConfig, ReadsFourValues) {
	ScratchDir dir;
	dir.WriteText("video.cfg", "800 600 16 0\n");
	VideoConfig config;
	ASSERT_TRUE(config.Load("video.cfg"));
	EXPECT_EQ(config.Width(), 800);
	EXPECT_EQ(config.Height(), 600);
	EXPECT_EQ(config.BitsPerPixel(), 16);
	EXPECT_FALSE(config.Fullscreen());

	dir.WriteText("video.cfg", "1024\n768\t24\n1");
	VideoConfig full;
	ASSERT_TRUE(full.Load("video.cfg"));
	EXPECT_EQ(full.Width(), 1024);
	EXPECT_EQ(full.Height(), 768);
	EXPECT_EQ(full.BitsPerPixel(), 24);
	EXPECT_TRUE(full.Fullscreen());
}

TEST(VideoConfig, OnlyAFourthValueOfOneGivesFullScreen) {
	ScratchDir dir;
	const char *windowed[] = {"800 600 16", "800 600 16 2", "800 600 16 x", "800 600 16 -1"};
	for (const char *text : windowed) {
		dir.WriteText("video.cfg", text);
		VideoConfig config;
		ASSERT_TRUE(config.Load("video.cfg"));
		EXPECT_EQ(config.Width(), 800) << text;
		EXPECT_EQ(config.BitsPerPixel(), 16) << text;
		EXPECT_FALSE(config.Fullscreen()) << text;
	}
}

TEST(VideoConfig, UnreadableValuesKeepTheirDefaults) {
	ScratchDir dir;
	dir.WriteText("video.cfg", "1280 abc 16 1");
	VideoConfig config;
	ASSERT_TRUE(config.Load("video.cfg"));
	EXPECT_EQ(config.Width(), 1280);
	EXPECT_EQ(config.Height(), 480);
	EXPECT_EQ(config.BitsPerPixel(), 32);
	EXPECT_FALSE(config.Fullscreen());

	dir.WriteText("video.cfg", "");
	VideoConfig empty;
	ASSERT_TRUE(empty.Load("video.cfg"));
	EXPECT_EQ(empty.Width(), 640);
	EXPECT_FALSE(empty.Fullscreen());
}
