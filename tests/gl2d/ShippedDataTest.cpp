#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Gl2dTestKit.h"
#include "gl2d/GL2D_BmpRect.h"
#include "gl2d/GL2D_BmpText.h"
#include "gl2d/GL2D_Mouse.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "gl2d/GL2D_TrueTypeText.h"

// The game's own description files, as the build generates them, load with their images and
// draw.

namespace {

class GL2DShippedData : public Gl2dTest {
protected:
	void SetUp() override {
		Gl2dTest::SetUp();
		dir.LinkData(); // the game names its files relative to the folder that holds data/
	}
	static std::vector<std::string> Files(const std::string &folder, const std::string &extension) {
		std::vector<std::string> files;
		for (const auto &entry : std::filesystem::directory_iterator("data/" + folder)) {
			if (entry.path().extension() == extension) {
				files.push_back("data/" + folder + "/" + entry.path().filename().string());
			}
		}
		std::sort(files.begin(), files.end());
		return files;
	}
};

// Whether a pixel drawn over black shows ink.
bool Inked(uint32_t c) {
	return ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) > 96;
}

} // namespace

TEST_F(GL2DShippedData, EveryPictureFrameFontAndCursorLoads) {
	int x = 0, y = 0;
	auto place = [&](int w) {
		if (x + w > 640) {
			x = 0;
			y += 70;
		}
		x += w + 4;
		return x - w - 4;
	};
	for (const std::string &file : Files("rects", ".nsbr")) {
		GL2D_SimpleBmpRect picture;
		ASSERT_TRUE(picture.Load(file.c_str())) << file;
		EXPECT_GT(picture.GetTileCount(), 0) << file;
		EXPECT_EQ(picture.GetRegionCount(), 1) << file;
		const int w = std::min(picture.GetWidth(), 64), at = place(w);
		GL2D_Rect clip = {float(at), float(y), float(w), float(std::min(picture.GetHeight(), 64))};
		picture.Draw(at, y, &clip);
	}
	for (const std::string &file : Files("rects", ".nbr")) {
		GL2D_BmpRect frame;
		ASSERT_TRUE(frame.Load(file.c_str())) << file;
		EXPECT_GT(frame.GetTileCount(), 0) << file;
		frame.Draw(place(90), y, 90, std::max(40, frame.GetMinHeight()));
	}
	y += 80;
	for (const std::string &file : Files("fonts", ".ntf")) {
		GL2D_TrueTypeText font;
		ASSERT_TRUE(font.Load(file.c_str())) << file;
		EXPECT_GT(font.Write(0, y, "Tavro 0123 \xE8\xE9 Match!"), 0) << file;
		y += font.GetFontHeight() + 2;
	}
	for (const std::string &file : Files("fonts", ".nbf")) {
		GL2D_BmpText font;
		ASSERT_TRUE(font.Load(file.c_str())) << file;
		EXPECT_GT(font.Write(0, y, "Tavro 0123 Match!"), 0) << file;
		y += font.GetFontHeight() + 2;
	}
	for (const std::string &file : Files("rects", ".nmd")) {
		GL2D_Mouse mouse;
		ASSERT_TRUE(mouse.Load(file.c_str())) << file;
		for (int i = 0; i < mouse.GetFrameCount(); i++) {
			EXPECT_GT(mouse.GetFrame(i)->GetTileCount(), 0) << file << " frame " << i;
		}
		mouse.Draw(600, 440, 16);
	}
	Grab();
	window.Keep("gl2d_shipped");
}

TEST_F(GL2DShippedData, EveryBitmapFontHasInkInEveryGlyphButTheSpace) {
	const std::vector<std::string> files = Files("fonts", ".nbf");
	ASSERT_GE(files.size(), 5u);
	for (const std::string &file : files) {
		SCOPED_TRACE(file);
		GL2D_BmpText font;
		ASSERT_TRUE(font.Load(file.c_str()));
		ASSERT_GT(font.GetGlyphSheet().GetTileCount(), 0);
		const std::string order = font.GetCharOrder();
		const GL2D_Rect cell = font.GetGlyphSheet().GetRegion(0);
		const int w = int(cell.w) + 4, h = int(cell.h) + 4, across = 640 / w;
		ASSERT_LE((int(order.size()) + across - 1) / across * h, 480);
		window.Clear(0.0f, 0.0f, 0.0f);
		for (size_t i = 0; i < order.size(); i++) {
			font.Write(int(i % across) * w, int(i / across) * h, order.substr(i, 1).c_str());
		}
		Grab();
		window.Keep("gl2d_glyphs_" + std::filesystem::path(file).stem().string());
		for (size_t i = 0; i < order.size(); i++) {
			int ink = 0;
			for (int j = 0; j < h - 4; j++) {
				for (int k = 0; k < w - 4; k++) {
					ink += Inked(At(int(i % across) * w + k, int(i / across) * h + j));
				}
			}
			if (i == 0) {
				EXPECT_EQ(ink, 0) << "glyph 0 is the space";
			} else {
				EXPECT_GT(ink, 3) << "glyph '" << order[i] << "' is empty";
			}
		}
	}
}
