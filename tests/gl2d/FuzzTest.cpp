#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Gl2dTestKit.h"
#include "gl2d/GL2D_BmpRect.h"
#include "gl2d/GL2D_BmpText.h"
#include "gl2d/GL2D_Mouse.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "gl2d/GL2D_TrueTypeText.h"

// Every reader is fed its good file cut at every length and many randomly damaged copies.
// Loads may succeed or fail; what counts is that nothing crashes, nothing reads or writes out
// of bounds (run these under the sanitizer build) and that a refused file leaves nothing behind.

namespace {

const unsigned SEED = 20261206;

std::string Damage(const std::string &good, std::mt19937 &random) {
	// clang-format off
	static const char *const pieces[] = {
		"-1", "0", "-32768", "32767", "65535", "65536", "-65536", "2147483647", "-2147483648",
		"99999999999999999999", ",", ",,,", "\n", "\r\n", "\r", " ", "\t", "-", "%s%n%d", "pic.bmp",
		"wide.bmp", "pic_a.bmp", "a.nsbr", "b.nsbr", "DejaVuSans.ttf", "+", "0x10", "1e9", ".", "/",
	};
	// clang-format on
	std::string text = good;
	int edits = 1 + random() % 4;
	for (int e = 0; e < edits; e++) {
		size_t at = text.empty() ? 0 : random() % (text.size() + 1);
		switch (random() % 6) {
		case 0: // one byte to anything, NUL included
			if (!text.empty() && at < text.size()) {
				text[at] = static_cast<char>(random() % 256);
			}
			break;
		case 1: text.insert(at, pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))]); break;
		case 2: text.erase(at, random() % 12); break;
		case 3: // a run repeated
			if (at < text.size()) {
				text.insert(at, text.substr(at, random() % 16));
			}
			break;
		case 4: // a long token
			text.insert(at, std::string(100 + random() % 300, "9x,\n "[random() % 5]));
			break;
		default: // digits pushed up
			text.insert(at, std::to_string(random() % 100000));
			break;
		}
	}
	return text;
}

class GL2DFuzz : public Gl2dTest {
protected:
	void SetUp() override {
		Gl2dTest::SetUp();
		SaveBmp(MakeImage(24, 24, Pattern), "pic.bmp");
		SaveBmp(MakeAlphaImage(24, 24, [](int x, int y) { return static_cast<uint8_t>(x * y); }), "pic_a.bmp");
		SaveBmp(MakeImage(300, 20, Pattern), "wide.bmp");
		dir.WriteText("a.nsbr", "pic.bmp\n-\n");
		dir.WriteText("b.nsbr", "wide.bmp\npic_a.bmp\n");
	}

	// Loads good cut at every length, then count damaged copies; both outcomes must happen.
	void Feed(
		const std::string &file, const std::string &good, int count, const std::function<bool(const char *)> &load) {
		std::mt19937 random(SEED);
		int loaded = 0, refused = 0;
		const int total = static_cast<int>(good.size()) + 1 + count;
		for (int i = 0; i < total; i++) {
			dir.WriteText(file, i <= static_cast<int>(good.size()) ? good.substr(0, i) : Damage(good, random));
			(load(file.c_str()) ? loaded : refused)++;
		}
		printf("%s: %d loaded, %d refused\n", file.c_str(), loaded, refused);
		EXPECT_GT(loaded, 0);
		EXPECT_GT(refused, 0);
	}
};

const GL2D_Rect CLIP = {3, 2, 40, 30};

} // namespace

TEST_F(GL2DFuzz, SimplePictureFiles) {
	Feed("f.nsbr", "wide.bmp\npic_a.bmp\n", 400, [](const char *file) {
		GL2D_SimpleBmpRect picture;
		bool ok = picture.Load(file);
		picture.Draw(1, 1, &CLIP);
		picture.DrawScaled(30, 30, 0.5f, 2.0f);
		if (!ok) {
			EXPECT_EQ(picture.GetRegionCount(), 0);
		}
		EXPECT_LE(picture.GetRegionCount(), 1);
		return ok;
	});
}

TEST_F(GL2DFuzz, FrameFiles) {
	const std::string good = "wide.bmp\n-\n0,0,8,8\n8,0,8,8\n16,0,8,8\n0,8,8,8\n8,8,8,8\n16,8,8,8\n"
							 "250,0,8,8\n8,16,8,8\n16,16,8,8\n";
	Feed("f.nbr", good, 600, [](const char *file) {
		GL2D_BmpRect frame;
		bool ok = frame.Load(file);
		frame.Draw(0, 0, 70, 45, &CLIP);
		frame.Draw(5, 5, 3, 2);
		frame.GetMinHeight();
		EXPECT_EQ(frame.GetRegionCount(), ok ? 9 : 0);
		return ok;
	});
}

TEST_F(GL2DFuzz, BitmapFontFiles) {
	Feed("f.nbf", "pic.bmp pic_a.bmp ABCDEFGHI 8 8 3 0 0 0 1\n", 600, [](const char *file) {
		GL2D_BmpText font;
		bool ok = font.Load(file);
		font.Write(0, 0, "ABC xyz\xE8\xFF`", &CLIP, 2, 1);
		font.GetCursorPos(4);
		font.GetTextWidth("ABC");
		if (!ok) {
			EXPECT_EQ(font.GetGlyphSheet().GetRegionCount(), 0);
		}
		return ok;
	});
}

TEST_F(GL2DFuzz, TrueTypeFontFiles) {
	Feed("f.ntf", "DejaVuSans.ttf 9 0,0,0\n", 500, [](const char *file) {
		GL2D_TrueTypeText font;
		bool ok = font.Load(file);
		font.Write(0, 0, "Abc \xE0\xF9`", &CLIP, 0, 0);
		font.GetTextWidth("Abc");
		if (!ok) {
			EXPECT_FALSE(font.IsOpen());
			EXPECT_EQ(font.GetGlyphSheet().GetRegionCount(), 0);
		}
		return ok;
	});
}

TEST_F(GL2DFuzz, CursorFiles) {
	Feed("f.nmd", "2 a.nsbr b.nsbr\n30\n4 4\n", 400, [](const char *file) {
		GL2D_Mouse mouse;
		bool ok = mouse.Load(file);
		for (int i = 0; i < 3; i++) {
			mouse.Draw(20, 20, 16);
		}
		if (!ok) {
			EXPECT_EQ(mouse.GetFrameCount(), 0);
		}
		EXPECT_LE(mouse.GetFrameCount(), GL2D_Mouse::MAX_FRAMES);
		return ok;
	});
}
