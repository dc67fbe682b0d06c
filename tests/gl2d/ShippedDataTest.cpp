#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Gl2dTestKit.h"
#include "gl2d/GL2D_BmpRect.h"
#include "gl2d/GL2D_BmpText.h"
#include "gl2d/GL2D_Mouse.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "gl2d/GL2D_TrueTypeText.h"

namespace fs = std::filesystem;

// The game's own description files, as the build generates them, load with their images.

namespace {

// The game names its files relative to the folder that holds data/.
class InGameFolder {
public:
	InGameFolder() : previous(fs::current_path()) { fs::current_path(fs::path(BuildDataDir()).parent_path()); }
	~InGameFolder() { fs::current_path(previous); }

private:
	fs::path previous;
};

std::vector<std::string> FilesEndingWith(const std::string &folder, const std::string &extension) {
	std::vector<std::string> files;
	std::error_code error;
	for (const fs::directory_entry &entry : fs::directory_iterator("data/" + folder, error)) {
		if (entry.path().extension() == extension) {
			files.push_back("data/" + folder + "/" + entry.path().filename().string());
		}
	}
	return files;
}

} // namespace

TEST(GL2DShippedData, EveryPictureFrameFontAndCursorLoads) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	if (!fs::exists(BuildDataDir() + "/rects")) {
		GTEST_SKIP() << "no generated data in " << BuildDataDir();
	}
	InGameFolder folder;
	int x = 0, y = 0;
	auto place = [&](int w, int h) {
		if (x + w > 640) {
			x = 0;
			y += 70;
		}
		int at = x;
		x += w + 4;
		(void)h;
		return at;
	};
	for (const std::string &file : FilesEndingWith("rects", ".nsbr")) {
		GL2D_SimpleBmpRect picture;
		ASSERT_TRUE(picture.Load(file.c_str())) << file;
		EXPECT_GT(picture.GetTileCount(), 0) << file;
		EXPECT_EQ(picture.GetRegionCount(), 1) << file;
		int w = std::min(picture.GetWidth(), 64), h = std::min(picture.GetHeight(), 64);
		GL2D_Rect clip = {0, 0, 0, 0};
		clip.x = static_cast<float>(place(w, h));
		clip.y = static_cast<float>(y);
		clip.w = static_cast<float>(w);
		clip.h = static_cast<float>(h);
		picture.Draw(static_cast<int>(clip.x), y, &clip);
	}
	for (const std::string &file : FilesEndingWith("rects", ".nbr")) {
		GL2D_BmpRect frame;
		ASSERT_TRUE(frame.Load(file.c_str())) << file;
		EXPECT_GT(frame.GetTileCount(), 0) << file;
		frame.Draw(place(90, 40), y, 90, std::max(40, frame.GetMinHeight()));
	}
	x = 0;
	y += 80;
	for (const std::string &file : FilesEndingWith("fonts", ".ntf")) {
		GL2D_TrueTypeText font;
		ASSERT_TRUE(font.Load(file.c_str())) << file;
		EXPECT_GT(font.Write(0, y, "Tavro 0123 \xE8\xE9 Match!"), 0) << file;
		y += font.GetFontHeight() + 2;
	}
	for (const std::string &file : FilesEndingWith("fonts", ".nbf")) {
		GL2D_BmpText font;
		ASSERT_TRUE(font.Load(file.c_str())) << file;
		EXPECT_GT(font.GetGlyphSheet().GetTileCount(), 0) << file;
		EXPECT_GT(font.Write(0, y, "Tavro 0123 Match!"), 0) << file;
		y += font.GetFontHeight() + 2;
	}
	for (const std::string &file : FilesEndingWith("rects", ".nmd")) {
		GL2D_Mouse mouse;
		ASSERT_TRUE(mouse.Load(file.c_str())) << file;
		for (int i = 0; i < mouse.GetFrameCount(); i++) {
			EXPECT_GT(mouse.GetFrame(i)->GetTileCount(), 0) << file << " frame " << i;
		}
		mouse.Draw(600, 440, 16);
	}
	scene.Grab();
	scene.Shot("shipped");
}
