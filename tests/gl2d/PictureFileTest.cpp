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

TEST_F(GL2DSimpleBmpRect, BmpHeadersSdlMishandlesAreRefusedBeforeItReadsThem) {
	SaveBmp(MakeImage(8, 8, Pattern), "rgb.bmp");
	SaveBmp(MakeAlphaImage(8, 8, [](int x, int) { return static_cast<uint8_t>(x); }), "grey.bmp");
	// Little-endian fields of the headers: depth at 28, compression at 30, palette length at 46.
	const struct {
		const char *base;
		int offset, bytes;
		uint32_t value;
		const char *reason; // null: still an image
	} cases[] = {
		{"rgb.bmp", 28, 2, 2049, "a depth other than 1, 4, 8, 16, 24 or 32 bits"}, // read as 1 bit, no palette
		{"rgb.bmp", 30, 4, 1, "compression"}, {"grey.bmp", 46, 4, 300, "more palette colours than the depth allows"},
		{"rgb.bmp", 14, 4, 20, "an unknown information header"},
		{"rgb.bmp", 18, 4, 0, "a size that needs more than 64 textures"},
		{"rgb.bmp", 22, 4, 0x80000000u, "a size that needs more than 64 textures"}, {"grey.bmp", 46, 4, 256, nullptr},
		{"rgb.bmp", 22, 4, 0xFFFFFFF8u, nullptr}, // height -8: rows top down
	};
	for (const auto &c : cases) {
		std::string bytes = dir.ReadText(c.base);
		for (int i = 0; i < c.bytes; i++) {
			bytes[c.offset + i] = static_cast<char>((c.value >> (8 * i)) & 0xFF);
		}
		dir.WriteText("x.bmp", bytes);
		dir.WriteText("x.nsbr", "x.bmp\n-\n");
		LogCapture log;
		GL2D_SimpleBmpRect picture;
		const bool oversized = c.reason && std::string(c.reason).find("64 textures") != std::string::npos;
		EXPECT_EQ(picture.Load("x.nsbr"), !oversized) << c.offset << " " << c.value;
		EXPECT_EQ(picture.GetTileCount(), c.reason ? 0 : 1) << c.offset << " " << c.value;
		picture.Draw(0, 0);
		if (c.reason) {
			EXPECT_TRUE(
				log.Has(std::string("Warning: GL2D: x.bmp is not an image the game reads (") + c.reason + "), refused"))
				<< log.Text();
		} else {
			EXPECT_FALSE(log.Has("x.bmp")) << log.Text();
		}
	}
}
