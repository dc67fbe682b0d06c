#include <gtest/gtest.h>

#include <SDL/SDL_keysym.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include "EndToEnd.h"
#include "SanitizedBuild.h"
#include "core/VideoConfig.h"
#include "options/OptionsRecord.h"

namespace {

const char *const TIME_SCALE = "8";

// Where the scripts put the buttons at 640×480, for the mouse.
const char *const MAIN_OPTIONS = "168 190";
const char *const OPTIONS_MATCH = "96 46";
const char *const OPTIONS_BACK = "96 432";
const char *const INGAME_YES = "250 265"; // width / 2 - 90, height / 2 + 25
const char *const INGAME_NO = "410 265";

std::string Click(const char *at) {
	return std::string("mousemove --window %1 ") + at + " sleep 0.2 click 1 sleep 0.3";
}

} // namespace

// A person's whole visit: every screen with the mouse and the keyboard, two matches left in
// the two ways, the credits to their end and cut short, and the way out.
TEST(Tour, EveryScreenWithMouseAndKeyboardThenQuit) {
	SKIP_IN_SANITIZED_BUILD("the screens' and the match's in-process tests take these paths");
	GameRun run;
	WriteOptions(MODE_PL1_VS_PL2, DAYTIME_DAY, 4, 0);
	ASSERT_TRUE(run.StartToMenu({"--time-scale", TIME_SCALE}));
	const std::string changes = "Message: MAIN: Changing game state...";

	// Options with the mouse: match length 4 becomes 1, then back saves it.
	run.Xdo(Click(MAIN_OPTIONS) + " " + Click(OPTIONS_MATCH) + " " + Click(OPTIONS_BACK));
	OptionsRecord expected;
	expected.SetDefaults();
	expected.mode = MODE_PL1_VS_PL2;
	expected.shootTime = 3;
	expected.matchLength = 1;
	const std::string wanted(reinterpret_cast<const char *>(&expected), sizeof(expected));
	for (int waited = 0; waited < 5000 && run.dir.ReadText("options.dat") != wanted; waited += 100) {
		usleep(100000);
	}
	EXPECT_EQ(run.dir.ReadText("options.dat"), wanted);

	// Player 2's fire key with the keyboard: Tab one past its button and Shift+Tab back (as real
	// key presses: under X, Shift+Tab types no character), Return, the left Ctrl key. A button
	// acts in the frame after its key, so slow frames need the pauses.
	run.ChooseInMenu(5);
	run.Xdo("sleep 1.5 mousemove --window %1 2 2 key Tab Tab Tab Tab Tab Tab shift+Tab Return sleep 1 key Control_L "
			"sleep 1 key Escape sleep 1");
	int32_t fire = 0;
	for (int waited = 0; waited < 5000 && fire != SDLK_LCTRL; waited += 100) {
		const std::string saved = run.dir.ReadText("options.dat");
		if (saved.size() == sizeof(OptionsRecord)) {
			memcpy(&fire, saved.data() + 76, 4);
		}
		usleep(100000);
	}
	EXPECT_EQ(fire, SDLK_LCTRL);

	// A match resumed with "no", then left with "yes".
	run.ChooseInMenu(1);
	ASSERT_TRUE(run.WaitFor("INGAME: ...Done!"));
	sleep(1); // the countdown
	ASSERT_TRUE(run.HoldUntil("Escape", "INGAME: Paused", 1));
	run.Xdo(Click(INGAME_NO));
	ASSERT_TRUE(run.WaitFor("INGAME: Play goes on", 10000));
	ASSERT_TRUE(run.HoldUntil("Escape", "INGAME: Paused", 2));
	run.Xdo(Click(INGAME_YES));
	ASSERT_TRUE(run.WaitFor("INGAME: Deinitialization...", 10000));
	usleep(500000);
	ASSERT_TRUE(run.game.IsRunning()) << run.Log() << run.dir.ReadText(GameProcess::ERRORS_FILE);

	// The credits to their end, then once more, cut short by Escape.
	ASSERT_TRUE(run.WaitFor("MAIN: ...Done!", 10000, 3)); // the menu again
	run.ChooseInMenu(6);
	ASSERT_TRUE(run.WaitFor("CREDITS: ...Done!"));
	const auto creditsStart = std::chrono::steady_clock::now();
	ASSERT_TRUE(run.WaitFor(changes, 60000, 5)) << "the credits never ended";
	// Their steps last 54 s of game time, a little under 7 s at the time scale.
	EXPECT_GT(std::chrono::steady_clock::now() - creditsStart, std::chrono::seconds(6));
	ASSERT_TRUE(run.WaitFor("MAIN: ...Done!", 10000, 5));
	run.ChooseInMenu(6);
	ASSERT_TRUE(run.WaitFor("CREDITS: ...Done!", 30000, 2));
	ASSERT_TRUE(run.HoldUntil("Escape", changes, 7)) << "Escape did not end the credits";
	ASSERT_TRUE(run.WaitFor("MAIN: ...Done!", 10000, 7));

	// Escape takes the focus to the exit button, a second Escape leaves.
	run.Xdo("key Escape sleep 0.3 key Escape");
	EXPECT_EQ(run.game.Wait(), 0);

	const std::string done = "Message: MAIN: ...Done!";
	// clang-format off
	EXPECT_TRUE(EntriesInOrder(LogEntries(run.Log()), {
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
	// clang-format on
	EXPECT_TRUE(run.Clean());
	EXPECT_NE(run.Log().find("--- Log closed on "), std::string::npos);
}

// Every screen at the smallest and larger sizes, by day and by night, kept in the build's
// "screenshots" folder to look at (tools/screens_contact_sheet.sh puts them on one sheet).
// A run covers 640×480 by day and 1024×768 by night; TAVRO_SCREENSHOTS=1 takes both times of
// day at each size and adds 1920×1080.
TEST(Tour, EveryScreenAtTwoSizesByDayAndByNight) {
	SKIP_IN_SANITIZED_BUILD("pictures only");
	const bool allSizes = getenv("TAVRO_SCREENSHOTS") != nullptr;
	const int sizes[][2] = {{640, 480}, {1024, 768}, {1920, 1080}};
	for (const auto &size : sizes) {
		const int width = size[0], height = size[1];
		for (int night = 0; night < 2; night++) {
			if (!allSizes && (width == 1920 || (width == 640) == (night == 1))) {
				continue;
			}
			GameRun run(std::to_string(width) + " " + std::to_string(height) + " 32 0\n",
				width > 1024 ? "1920x1080" : "1024x768");
			WriteOptions(MODE_PL1_VS_PC, night, 4, night);
			ASSERT_TRUE(run.StartToMenu({"--time-scale", TIME_SCALE}));
			std::string tag = "tour_" + std::to_string(width) + (night ? "_night_" : "_day_");
			auto shot = [&](const std::string &screen) {
				usleep(width > 1024 ? 1500000 : 600000); // software GL draws a large window slowly
				run.Shoot(tag + screen + ".png");
			};
			shot("1_main");
			const char *const screens[] = {"2_options", "3_keys1", "4_keys2"};
			for (int i = 0; i < 3; i++) {
				run.ChooseInMenu(i + 3);
				if (i == 2) {
					// Player 2's keys waiting for a new fire key, refusing the one in use.
					run.Xdo(
						"sleep 0.6 mousemove --window %1 2 2 sleep 0.3 key Tab Tab Tab Tab Tab sleep 0.1 key Return "
						"sleep 0.4 key p");
				}
				shot(screens[i]);
				if (i == 2) {
					run.Xdo("key Escape sleep 0.6"); // ends the wait
				}
				run.Xdo("key Escape sleep 0.6"); // a screen's change drops keys queued meanwhile
			}
			run.ChooseInMenu(2);
			shot("8_online");
			run.Xdo("key Escape sleep 0.6");
			run.ChooseInMenu(1);
			ASSERT_TRUE(run.WaitFor("INGAME: ...Done!"));
			sleep(1);
			shot("5_match");
			ASSERT_TRUE(run.HoldUntil("Escape", "INGAME: Paused", 1));
			shot("6_ingame");
			// YES, which grows with the window as every menu does.
			const float scale = VideoConfig::ScreenScale(width, height);
			run.Xdo("mousemove --window %1 " + std::to_string(width / 2 - int(90 * scale)) + " " +
					std::to_string(height / 2 + int(25 * scale)) + " sleep 0.2 click 1");
			ASSERT_TRUE(run.WaitFor("MAIN: ...Done!", 10000, 3)); // the menu again
			run.ChooseInMenu(6);
			ASSERT_TRUE(run.WaitFor("CREDITS: ...Done!"));
			usleep(300000); // with the shot's own wait: past the first camera move, on the first page
			shot("7_credits");
			ASSERT_TRUE(run.HoldUntil("Escape", "MAIN: Changing game state...", 5));
			run.Xdo("sleep 0.5 key Escape sleep 0.3 key Escape");
			EXPECT_EQ(run.game.Wait(), 0) << tag;

			for (const char *screen : {"2_options", "3_keys1", "5_match", "6_ingame", "7_credits", "8_online"}) {
				EXPECT_GT(Difference(tag + "1_main.png", tag + screen + ".png"), 0.02) << tag << screen;
			}
			EXPECT_TRUE(run.Clean()) << tag;
			EXPECT_EQ(run.Log().find("Warning: MENU"), std::string::npos) << tag;
		}
	}
}
