#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

#include "EndToEnd.h"
#include "ScratchDir.h"
#include "options/OptionsRecord.h"

namespace {

namespace fs = std::filesystem;

const char *const TIME_SCALE = "8";

// Where the scripts put the buttons at 640×480, for the mouse.
const char *const MAIN_OPTIONS = "193 150";
const char *const OPTIONS_MATCH = "130 43";
const char *const OPTIONS_BACK = "130 430";
const char *const INGAME_YES = "250 265"; // width / 2 - 90, height / 2 + 25
const char *const INGAME_NO = "410 265";

std::string Click(const char *at) {
	return std::string("mousemove --window %1 ") + at + " sleep 0.2 click 1 sleep 0.3";
}

// A key held long enough for the game's polling to see it.
std::string Hold(const char *key) {
	return std::string("keydown ") + key + " sleep 0.15 keyup " + key + " sleep 0.3";
}

bool WaitForCount(const ScratchDir &dir, const std::string &entry, int count, int timeoutMs) {
	for (int waited = 0; waited < timeoutMs; waited += 100) {
		if (CountEntries(LogEntries(dir.ReadText("Log.txt")), entry) >= count) {
			return true;
		}
		usleep(100000);
	}
	return false;
}

} // namespace

// A person's whole visit: every screen with the mouse and the keyboard, two matches left in
// the two ways, the credits to their end and cut short, and the way out.
TEST(Tour, EveryScreenWithMouseAndKeyboardThenQuit) {
	ScratchDir dir;
	fs::create_symlink(BuildDataDir(), "data");
	dir.WriteText("video.cfg", "640 480 32 0\n");
	WriteOptions(MODE_PL1_VS_PL2, DAYTIME_DAY, 4, 0);
	XServer x;
	ASSERT_TRUE(x.IsRunning());
	GameProcess game;
	ASSERT_TRUE(game.Start(x.Display(), {"--time-scale", TIME_SCALE}));
	ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "MAIN: ...Done!", 30000));
	const std::string changes = "Message: MAIN: Changing game state...";

	// Options with the mouse: match length 4 becomes 1, then back saves it.
	Xdo(x, Click(MAIN_OPTIONS) + " " + Click(OPTIONS_MATCH) + " " + Click(OPTIONS_BACK));
	ASSERT_TRUE(WaitForText(dir.File("options.dat"), "", 5000));
	usleep(300000);
	OptionsRecord expected;
	expected.SetDefaults();
	expected.mode = MODE_PL1_VS_PL2;
	expected.shootTime = 3;
	expected.matchLength = 1;
	std::string saved = dir.ReadText("options.dat");
	ASSERT_EQ(saved.size(), 88u);
	EXPECT_EQ(memcmp(saved.data(), &expected, 88), 0);

	// Player 2's fire key with the keyboard: Tab to its button, Return, the left Ctrl key.
	ChooseInMenu(x, 4);
	Xdo(x, "sleep 0.5 mousemove --window %1 2 2 key Tab Tab Tab Tab Tab Return sleep 0.3 key Control_L sleep 0.3 "
	       "key Escape sleep 0.5");
	saved = dir.ReadText("options.dat");
	ASSERT_EQ(saved.size(), 88u);
	int32_t fire = 0;
	memcpy(&fire, saved.data() + 76, 4);
	EXPECT_EQ(fire, 306);

	// A match resumed with "no", then left with "yes".
	ChooseInMenu(x, 1);
	ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "INGAME: ...Done!", 30000));
	sleep(1); // the countdown
	Xdo(x, Hold("Escape") + " " + Click(INGAME_NO) + " sleep 0.5 " + Hold("Escape") + " " + Click(INGAME_YES));
	ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "INGAME: Deinitialization...", 10000));
	usleep(500000);
	ASSERT_TRUE(game.IsRunning()) << dir.ReadText("Log.txt") << dir.ReadText(GameProcess::ERRORS_FILE);

	// The credits to their end, then once more, cut short by Escape.
	ASSERT_TRUE(WaitForCount(dir, "Message: MAIN: ...Done!", 3, 10000)); // the menu again
	ChooseInMenu(x, 5);
	ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "CREDITS: ...Done!", 30000));
	const auto creditsStart = std::chrono::steady_clock::now();
	ASSERT_TRUE(WaitForCount(dir, changes, 5, 60000)) << "the credits never ended";
	// Their steps last 71 s of game time, a little under 9 s at the time scale.
	EXPECT_GT(std::chrono::steady_clock::now() - creditsStart, std::chrono::seconds(8));
	ASSERT_TRUE(WaitForCount(dir, "Message: MAIN: ...Done!", 5, 10000));
	ChooseInMenu(x, 5);
	ASSERT_TRUE(WaitForCount(dir, "Message: CREDITS: ...Done!", 2, 30000));
	Xdo(x, Hold("Escape"));
	ASSERT_TRUE(WaitForCount(dir, changes, 7, 10000)) << "Escape did not end the credits";
	ASSERT_TRUE(WaitForCount(dir, "Message: MAIN: ...Done!", 7, 10000));

	// Escape takes the focus to the exit button, a second Escape leaves.
	Xdo(x, "key Escape sleep 0.3 key Escape");
	EXPECT_EQ(game.Wait(), 0);

	std::vector<std::string> entries = LogEntries(dir.ReadText("Log.txt"));
	const std::string done = "Message: MAIN: ...Done!";
	EXPECT_TRUE(EntriesInOrder(entries, {
		changes, done,                                                   // the menu
		changes, "Message: INGAME: Initialization...", done,             // the match
		changes, "Message: INGAME: Deinitialization...", done,           // left with "yes"
		changes, "Message: CREDITS: Initializing...", done,              // the credits
		changes, "Message: CAMERA: Deinitialization...", done,           // their end
		changes, "Message: CREDITS: Initializing...", done,              // again
		changes, done,                                                   // cut short
		changes, done,                                                   // quit
		changes, "Message: SOUND: Deinitialization...", "Message: DEINIT: Engine deinitialization...",
	}));
	for (const std::string &entry : entries) {
		EXPECT_EQ(entry.find("Error:"), std::string::npos) << entry;
	}
	EXPECT_NE(dir.ReadText("Log.txt").find("--- Log closed on "), std::string::npos);
	const std::string errors = dir.ReadText(GameProcess::ERRORS_FILE);
	EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
	EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
}

// Every screen at the smallest and a large size, by day and by night, kept in the build's
// "screenshots" folder to look at (tools/screens_contact_sheet.sh puts them on one sheet).
TEST(Tour, EveryScreenAtTwoSizesByDayAndByNight) {
#ifdef TAVRO_SANITIZED
	GTEST_SKIP() << "pictures only: the tour above covers these paths in the sanitized build";
#endif
	for (const char *size : {"640 480", "1024 768"}) {
		for (int night = 0; night < 2; night++) {
			ScratchDir dir;
			fs::create_symlink(BuildDataDir(), "data");
			dir.WriteText("video.cfg", std::string(size) + " 32 0\n");
			WriteOptions(MODE_PL1_VS_PC, night, 4, night);
			XServer x;
			ASSERT_TRUE(x.IsRunning());
			GameProcess game;
			ASSERT_TRUE(game.Start(x.Display(), {"--time-scale", TIME_SCALE}));
			ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "MAIN: ...Done!", 30000));
			std::string tag = std::string("tour_") + (size[0] == '6' ? "640" : "1024") + (night ? "_night_" : "_day_");
			auto shot = [&](const std::string &screen) {
				usleep(600000);
				Shoot(x, tag + screen + ".png");
			};
			shot("1_main");
			const char *const screens[] = {"2_options", "3_keys1", "4_keys2"};
			for (int i = 0; i < 3; i++) {
				ChooseInMenu(x, i + 2);
				shot(screens[i]);
				Xdo(x, "key Escape");
			}
			ChooseInMenu(x, 1);
			ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "INGAME: ...Done!", 30000));
			sleep(1);
			shot("5_match");
			Xdo(x, Hold("Escape"));
			shot("6_ingame");
			const int width = size[0] == '6' ? 640 : 1024, height = size[0] == '6' ? 480 : 768;
			Xdo(x, "mousemove --window %1 " + std::to_string(width / 2 - 90) + " " + std::to_string(height / 2 + 25) +
			       " sleep 0.2 click 1");
			ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "INGAME: Deinitialization...", 10000));
			usleep(500000);
			ChooseInMenu(x, 5);
			ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "CREDITS: ...Done!", 30000));
			usleep(600000); // with the shot's own wait: past the first camera move, on the first page
			shot("7_credits");
			Xdo(x, Hold("Escape") + " sleep 0.5 key Escape sleep 0.3 key Escape");
			EXPECT_EQ(game.Wait(), 0) << tag;

			for (const char *screen : {"2_options", "3_keys1", "5_match", "6_ingame", "7_credits"}) {
				EXPECT_GT(Difference(tag + "1_main.png", tag + screen + ".png"), 0.02) << tag << screen;
			}
			for (const std::string &entry : LogEntries(dir.ReadText("Log.txt"))) {
				EXPECT_EQ(entry.find("Error:"), std::string::npos) << tag << entry;
				EXPECT_EQ(entry.find("Warning: MENU"), std::string::npos) << tag << entry;
			}
		}
	}
}
