#include <gtest/gtest.h>

#include <string>

#include "Gl2dTestKit.h"
#include "LogCapture.h"
#include "gl2d/GL2D_SimpleBmpRect.h"

namespace {

class GL2DSimpleBmpRect : public Gl2dTest {};

} // namespace

TEST_F(GL2DSimpleBmpRect, LoadsImageAndAlphaFromItsFileAndLoadingAgainReplacesThem) {
	SaveBmp(MakeImage(40, 20, Pattern), "logo.bmp");
	SaveBmp(MakeAlphaImage(40, 20, [](int, int y) { return y < 10 ? 255 : 0; }), "logo_a.bmp");
	dir.WriteText("logo.nsbr", "\n\nlogo.bmp\r\n\r\nlogo_a.bmp\r\nanything else\n");
	GL2D_SimpleBmpRect picture;
	ASSERT_TRUE(picture.Load("logo.nsbr"));
	EXPECT_EQ(picture.GetRegionCount(), 1);
	EXPECT_EQ(picture.GetWidth(), 40);
	EXPECT_EQ(picture.GetHeight(), 20);
	EXPECT_TRUE(picture.HasAlpha());
	picture.Draw(5, 5);
	WritePicture("small", 10, 10, 0x405060u);
	GL2D_SimpleBmpRect again;
	WritePicture("wide", 300, 10);
	ASSERT_TRUE(again.Load("wide.nsbr"));
	ASSERT_TRUE(again.Load("small.nsbr"));
	EXPECT_EQ(again.GetRegionCount(), 1);
	EXPECT_EQ(again.GetTileCount(), 1);
	EXPECT_EQ(again.GetWidth(), 10);
	again.Draw(0, 100);
	Grab();
	EXPECT_EQ(At(5, 5), Pattern(0, 0));
	EXPECT_EQ(At(44, 14), Pattern(39, 9));
	EXPECT_TRUE(Empty(5, 15, 40, 10));
	EXPECT_EQ(At(9, 109), 0x405060u);
	EXPECT_TRUE(Empty(10, 100, 300, 10));
}

TEST_F(GL2DSimpleBmpRect, AlphaImageThatIsMissingOrOfTheWrongKindMeansOpaque) {
	SaveBmp(MakeImage(8, 8, Pattern), "a.bmp");
	SaveBmp(MakeImage(8, 8, Pattern), "not8bit.bmp");
	SaveBmp(MakeAlphaImage(4, 8, [](int, int) { return 0; }), "small.bmp");
	for (const char *alpha : {"-none", "not_there.bmp", "not8bit.bmp", "small.bmp"}) {
		dir.WriteText("a.nsbr", std::string("a.bmp\n") + alpha + "\n");
		GL2D_SimpleBmpRect picture;
		ASSERT_TRUE(picture.Load("a.nsbr")) << alpha;
		EXPECT_FALSE(picture.HasAlpha()) << alpha;
		EXPECT_EQ(picture.GetTileCount(), 1);
		picture.Draw(0, 0);
	}
	Grab();
	EXPECT_EQ(At(7, 7), Pattern(7, 7));
}

TEST_F(GL2DSimpleBmpRect, UnreadableImageGivesAnEmptyPictureAndBadFilesAreRefusedWithALogLine) {
	dir.WriteText("bad.nsbr", "nowhere.bmp\n-\n");
	dir.WriteText("notbmp.nsbr", "notbmp.nsbr\n-\n");
	for (const char *file : {"bad.nsbr", "notbmp.nsbr"}) {
		GL2D_SimpleBmpRect picture;
		ASSERT_TRUE(picture.Load(file));
		EXPECT_EQ(picture.GetTileCount(), 0);
		EXPECT_EQ(picture.GetRegionCount(), 0);
		picture.Draw(0, 0);
		picture.DrawScaled(50, 50, 2.0f, 2.0f);
	}
	Grab();
	EXPECT_TRUE(Empty(0, 0, 100, 100));

	LogCapture log;
	SaveBmp(MakeImage(8, 8, Pattern), "a.bmp");
	SaveBmp(MakeImage(4097, 1024, [](int, int) { return 0x102040u; }), "huge.bmp");
	dir.WriteText("one.nsbr", "a.bmp\n\n\r\n");
	dir.WriteText("long.nsbr", std::string(300, 'x') + "\n-\n");
	dir.WriteText("huge.nsbr", "huge.bmp\n-\n");
	for (const char *file : {"one.nsbr", "long.nsbr", "huge.nsbr", "absent.nsbr", static_cast<const char *>(nullptr)}) {
		GL2D_SimpleBmpRect picture;
		EXPECT_FALSE(picture.Load(file)) << (file ? file : "no name");
		EXPECT_EQ(picture.GetRegionCount(), 0);
		EXPECT_EQ(picture.GetTileCount(), 0);
	}
	EXPECT_TRUE(log.Has("Warning: GL2D: one.nsbr lacks its image or alpha line")) << log.Text();
}
