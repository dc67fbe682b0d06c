#include <gtest/gtest.h>

#include <string>

#include "Gl2dTestKit.h"
#include "core/LogFile.h"
#include "gl2d/GL2D_SimpleBmpRect.h"

TEST(GL2DSimpleBmpRect, LoadsImageAndAlphaFromItsFile) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	SaveBmp(MakeImage(40, 20, Pattern), "logo.bmp");
	SaveBmp(MakeAlphaImage(40, 20, [](int, int y) { return y < 10 ? 255 : 0; }), "logo_a.bmp");
	scene.dir.WriteText("logo.nsbr", "\n\nlogo.bmp\r\n\r\nlogo_a.bmp\r\nanything else\n");
	GL2D_SimpleBmpRect picture;
	ASSERT_TRUE(picture.Load("logo.nsbr"));
	EXPECT_EQ(picture.GetRegionCount(), 1);
	EXPECT_EQ(picture.GetWidth(), 40);
	EXPECT_EQ(picture.GetHeight(), 20);
	EXPECT_TRUE(picture.HasAlpha());
	picture.Draw(5, 5);
	scene.Grab();
	EXPECT_EQ(scene.At(5, 5), Pattern(0, 0));
	EXPECT_EQ(scene.At(44, 14), Pattern(39, 9));
	EXPECT_TRUE(scene.Empty(5, 15, 40, 10));
}

TEST(GL2DSimpleBmpRect, DashOrMissingAlphaImageMeansOpaque) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	SaveBmp(MakeImage(8, 8, Pattern), "a.bmp");
	scene.dir.WriteText("dash.nsbr", "a.bmp\n-none\n");
	scene.dir.WriteText("missing.nsbr", "a.bmp\nnot_there.bmp\n");
	GL2D_SimpleBmpRect dash, missing;
	ASSERT_TRUE(dash.Load("dash.nsbr"));
	ASSERT_TRUE(missing.Load("missing.nsbr"));
	EXPECT_FALSE(dash.HasAlpha());
	EXPECT_FALSE(missing.HasAlpha());
	EXPECT_EQ(missing.GetTileCount(), 1);
}

TEST(GL2DSimpleBmpRect, AlphaImageOfTheWrongKindIsIgnored) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	SaveBmp(MakeImage(8, 8, Pattern), "a.bmp");
	SaveBmp(MakeImage(8, 8, Pattern), "not8bit.bmp");
	SaveBmp(MakeAlphaImage(4, 8, [](int, int) { return 0; }), "small.bmp");
	scene.dir.WriteText("rgb.nsbr", "a.bmp\nnot8bit.bmp\n");
	scene.dir.WriteText("small.nsbr", "a.bmp\nsmall.bmp\n");
	for (const char *file : {"rgb.nsbr", "small.nsbr"}) {
		GL2D_SimpleBmpRect picture;
		ASSERT_TRUE(picture.Load(file));
		EXPECT_FALSE(picture.HasAlpha());
		picture.Draw(0, 0);
	}
	scene.Grab();
	EXPECT_EQ(scene.At(7, 7), Pattern(7, 7));
}

TEST(GL2DSimpleBmpRect, UnreadableImageGivesAnEmptyPicture) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	scene.dir.WriteText("bad.nsbr", "nowhere.bmp\n-\n");
	scene.dir.WriteText("notbmp.nsbr", "notbmp.nsbr\n-\n");
	for (const char *file : {"bad.nsbr", "notbmp.nsbr"}) {
		GL2D_SimpleBmpRect picture;
		ASSERT_TRUE(picture.Load(file));
		EXPECT_EQ(picture.GetTileCount(), 0);
		EXPECT_EQ(picture.GetRegionCount(), 0);
		picture.Draw(0, 0);
		picture.DrawScaled(50, 50, 2.0f, 2.0f);
	}
	scene.Grab();
	EXPECT_TRUE(scene.Empty(0, 0, 100, 100));
}

TEST(GL2DSimpleBmpRect, MissingLinesOrFileAreRefused) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	SaveBmp(MakeImage(8, 8, Pattern), "a.bmp");
	scene.dir.WriteText("one.nsbr", "a.bmp\n\n\r\n");
	scene.dir.WriteText("long.nsbr", std::string(300, 'x') + "\n-\n");
	GL2D_SimpleBmpRect picture;
	EXPECT_FALSE(picture.Load("one.nsbr"));
	EXPECT_FALSE(picture.Load("long.nsbr"));
	EXPECT_FALSE(picture.Load("absent.nsbr"));
	EXPECT_FALSE(picture.Load(nullptr));
	EXPECT_EQ(picture.GetRegionCount(), 0);
	EXPECT_EQ(picture.GetTileCount(), 0);
}

TEST(GL2DSimpleBmpRect, TooLargeImageIsRefused) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	SaveBmp(MakeImage(4097, 1024, [](int, int) { return 0x102040u; }), "huge.bmp");
	scene.dir.WriteText("huge.nsbr", "huge.bmp\n-\n");
	GL2D_SimpleBmpRect picture;
	EXPECT_FALSE(picture.Load("huge.nsbr"));
	EXPECT_EQ(picture.GetRegionCount(), 0);
	EXPECT_EQ(picture.GetTileCount(), 0);
}

TEST(GL2DSimpleBmpRect, LoadingAgainReplacesThePicture) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	SaveBmp(MakeImage(300, 10, Pattern), "wide.bmp");
	SaveBmp(MakeImage(10, 10, [](int, int) { return 0x405060u; }), "small.bmp");
	scene.dir.WriteText("wide.nsbr", "wide.bmp\n-\n");
	scene.dir.WriteText("small.nsbr", "small.bmp\n-\n");
	GL2D_SimpleBmpRect picture;
	ASSERT_TRUE(picture.Load("wide.nsbr"));
	ASSERT_TRUE(picture.Load("small.nsbr"));
	EXPECT_EQ(picture.GetRegionCount(), 1);
	EXPECT_EQ(picture.GetTileCount(), 1);
	EXPECT_EQ(picture.GetWidth(), 10);
	picture.Draw(0, 0);
	scene.Grab();
	EXPECT_EQ(scene.At(9, 9), 0x405060u);
	EXPECT_TRUE(scene.Empty(10, 0, 300, 10));
}

TEST(GL2DSimpleBmpRect, RefusedFileIsLoggedWithTheTag) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	LogFile log;
	ASSERT_TRUE(log.Open("Log.txt", "gl2d"));
	LogFile *previous = g_log;
	g_log = &log;
	scene.dir.WriteText("one.nsbr", "a.bmp\n");
	GL2D_SimpleBmpRect picture;
	EXPECT_FALSE(picture.Load("one.nsbr"));
	g_log = previous;
	log.Close();
	const std::string text = scene.dir.ReadText("Log.txt");
	EXPECT_NE(text.find("Warning: GL2D: one.nsbr lacks its image or alpha line"), std::string::npos) << text;
}
