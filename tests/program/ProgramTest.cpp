#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include <cstdio>
#include <string>
#include <vector>

#include "EndToEnd.h"
#include "ScratchDir.h"
#include "options/OptionsRecord.h"

namespace {

const char *const DEFAULT_OPTIONS =
	"\x04\0\0\0\x02\0\0\0\0\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0\0\0\0\0\x01\0\0\0"
	"q\0\0\0a\0\0\0z\0\0\0x\0\0\0c\0\0\0qazxc\0\0\0"
	"o\0\0\0k\0\0\0n\0\0\0m\0\0\0p\0\0\0oknmp\0\0\0";

} // namespace

TEST(Program, StartsInOrderAndShutsDownOnTerminate) {
	ScratchDir dir;
	std::filesystem::create_symlink(BuildDataDir(), "data");
	XServer x;
	ASSERT_TRUE(x.IsRunning());
	GameProcess game;
	ASSERT_TRUE(game.Start(x.Display()));
	ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "MAIN: ...Done!", 30000)) << dir.ReadText("Log.txt");
	EXPECT_TRUE(game.IsRunning());
	EXPECT_NE(RunOnDisplay(x.Display(), "xwininfo -root -tree").find("\"Tavro v0.9 beta"), std::string::npos);
	EXPECT_EQ(game.Terminate(), 0);

	std::string text = dir.ReadText("Log.txt");
	ASSERT_EQ(text.rfind("--- Log \"Kelvane\" open on ", 0), 0u) << text;
	EXPECT_NE(text.find("\n\n--- Log closed on "), std::string::npos) << text;
	EXPECT_EQ(text.back(), '\n');

	std::vector<std::string> entries = LogEntries(text);
	ASSERT_FALSE(entries.empty()) << text;
	EXPECT_EQ(entries[0], "Warning: Config file not found, using default values");
	// Start-up in order, then the menu, then the tear-down and shut-down.
	int at = 0;
	ASSERT_TRUE(EntriesInOrder(entries, {
		"Message: INIT: Opening screen... (640x480, 32 bits, Fullscreen)",
		"Message: INIT: ...Done!",
		"Message: INIT: Engine initialization...",
		"Message: INIT: ...Done!",
		"Message: INIT: Input initialization...",
		"Message: INIT: ...Done!",
		"Message: SOUND: Initializing...",
		"Message: SOUND: ...Done!",
		"Message: MAIN: Changing game state...",
		"Message: MAIN: ...Done!",
		"Message: MAIN: Changing game state...",
		"Message: MAIN: ...Done!",
		"Message: SOUND: Deinitialization...",
		"Message: DEINIT: Input deinitialization...",
		"Message: DEINIT: Engine deinitialization...",
	}, 0, &at));
	EXPECT_EQ(at, static_cast<int>(entries.size())) << text;
	for (const std::string &entry : entries) {
		EXPECT_EQ(entry.find("Error:"), std::string::npos) << entry;
	}

	// The options file holds the defaults; a second start reads it and leaves it alone.
	ASSERT_EQ(dir.ReadText("options.dat"), std::string(DEFAULT_OPTIONS, 88));
	struct stat before;
	ASSERT_EQ(stat("options.dat", &before), 0);
	remove("Log.txt");
	GameProcess second;
	ASSERT_TRUE(second.Start(x.Display()));
	ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "MAIN: ...Done!", 30000));
	EXPECT_EQ(second.Terminate(), 0);
	struct stat after;
	ASSERT_EQ(stat("options.dat", &after), 0);
	EXPECT_EQ(dir.ReadText("options.dat"), std::string(DEFAULT_OPTIONS, 88));
	EXPECT_EQ(before.st_mtim.tv_sec, after.st_mtim.tv_sec);
	EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
}

TEST(Program, VideoConfigGivesAWindowOfItsSize) {
	ScratchDir dir;
	std::filesystem::create_symlink(BuildDataDir(), "data");
	dir.WriteText("video.cfg", "800 600 16 0\n");
	XServer x;
	ASSERT_TRUE(x.IsRunning());
	GameProcess game;
	ASSERT_TRUE(game.Start(x.Display()));
	ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "MAIN: ...Done!", 30000)) << dir.ReadText("Log.txt");
	std::string info = RunOnDisplay(x.Display(), "xwininfo -name 'Tavro v0.9 beta - (c) 2026 the Tavro team'");
	EXPECT_NE(info.find("Width: 800"), std::string::npos) << info;
	EXPECT_NE(info.find("Height: 600"), std::string::npos) << info;
	EXPECT_EQ(game.Terminate(), 0);
	std::string text = dir.ReadText("Log.txt");
	EXPECT_NE(text.find("Message: INIT: Opening screen... (800x600, 16 bits, Windowed) \n"), std::string::npos);
	EXPECT_EQ(text.find("Config file not found"), std::string::npos);
	EXPECT_NE(text.find("--- Log closed on "), std::string::npos);
}

TEST(Program, ClosingTheWindowWhileKeysArriveEndsInOrder) {
	ScratchDir dir;
	std::filesystem::create_symlink(BuildDataDir(), "data");
	dir.WriteText("video.cfg", "640 480 32 0\n");
	XServer x;
	ASSERT_TRUE(x.IsRunning());
	GameProcess game;
	ASSERT_TRUE(game.Start(x.Display()));
	ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "MAIN: ...Done!", 30000));
	// A person typing and moving the mouse at the window: the program keeps running.
	RunOnDisplay(x.Display(),
		"xdotool search --name 'Tavro v0.9' windowfocus --sync mousemove --window %1 100 100 "
		"key --delay 5 a b c space");
	EXPECT_TRUE(game.IsRunning());
	EXPECT_EQ(game.Terminate(), 0);
	EXPECT_NE(dir.ReadText("Log.txt").find("DEINIT: Engine deinitialization..."), std::string::npos);
}

namespace fs = std::filesystem;

TEST(Program, ImpossibleWindowsEndInOrderAndAdjustedOnesAreDrawnAtTheirRealSize) {
	{
		ScratchDir dir;
		dir.WriteText("video.cfg", "100000 100000 32 0\n");
		XServer x;
		ASSERT_TRUE(x.IsRunning());
		GameProcess game;
		ASSERT_TRUE(game.Start(x.Display()));
		EXPECT_EQ(game.Wait(), 0);
		std::string text = dir.ReadText("Log.txt");
		EXPECT_NE(text.find("Error: Could not open a SDL window! \n"), std::string::npos) << text;
		EXPECT_NE(text.find("--- Log closed on "), std::string::npos) << text;
	}
	// 0 asks for the desktop's size: the match is drawn into the whole window and F10 saves it.
	ScratchDir dir;
	fs::create_symlink(BuildDataDir(), "data");
	dir.WriteText("video.cfg", "0 0 32 0\n");
	WriteOptions(MODE_PC_VS_PC, DAYTIME_DAY, 4, 0);
	XServer x;
	ASSERT_TRUE(x.IsRunning());
	GameProcess game;
	ASSERT_TRUE(game.Start(x.Display()));
	ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "MAIN: ...Done!", 30000));
	ChooseInMenu(x, 1);
	ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "INGAME: ...Done!", 30000)) << dir.ReadText("Log.txt");
	for (int tries = 0; tries < 100 && !dir.Exists("screen.bmp"); tries++) {
		Xdo(x, "key F10");
		usleep(100000);
	}
	usleep(100000);
	EXPECT_EQ(game.Terminate(), 0);
	EXPECT_NE(dir.ReadText("Log.txt").find("Warning: INIT: The window is 1024x768 \n"), std::string::npos);
	ASSERT_TRUE(dir.Exists("screen.bmp"));
	std::string size = RunOnDisplay("", "identify -format '%w %h %[fx:mean]' screen.bmp");
	int w = 0, h = 0;
	double mean = 0;
	ASSERT_EQ(sscanf(size.c_str(), "%d %d %lf", &w, &h, &mean), 3) << size;
	EXPECT_EQ(w, 1024);
	EXPECT_EQ(h, 768);
	EXPECT_GT(mean, 0.05); // not black
}

TEST(Program, PlaysAMatchWithKeysByDayAndByNight) {
	for (int night = 0; night < 2; night++) {
		ScratchDir dir;
		fs::create_symlink(BuildDataDir(), "data");
		dir.WriteText("video.cfg", "640 480 32 0\n");
		WriteOptions(MODE_PL1_VS_PC, night, 4, night);
		XServer x;
		ASSERT_TRUE(x.IsRunning());
		GameProcess game;
		ASSERT_TRUE(game.Start(x.Display()));
		ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "MAIN: ...Done!", 30000));
		ChooseInMenu(x, 1);
		ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "INGAME: ...Done!", 30000)) << dir.ReadText("Log.txt");
		sleep(4); // the countdown
		// Player 1 (keys q a z x c): aim right and up, fire; a few turns go by.
		for (int turn = 0; turn < 3; turn++) {
			Xdo(x, "keydown x keydown q sleep 0.4 keyup x keyup q key c");
			sleep(1);
		}
		std::string tag = night ? "night" : "day";
		Shoot(x, "match_" + tag + ".png");
		// Keys are not read while a goal or the countdown is shown: try again until they take.
		const std::string small = "match_" + tag + "_small_view.png";
		for (int tries = 0; tries < 20; tries++) {
			Xdo(x, "key F5");
			usleep(500000);
			Shoot(x, small);
			if (Difference("match_" + tag + ".png", small) > 0.01) {
				break;
			}
		}
		// F10 writes the frame being drawn; the screen goes on moving, so compare it with a capture
		// taken at once from the still top view, and try again when play moved too much in between.
		const std::string after = "match_" + tag + "_after_f10.png";
		double difference = 1.0;
		for (int attempt = 0; attempt < 5 && difference >= 0.08; attempt++) {
			remove("screen.bmp");
			for (int tries = 0; tries < 40 && !dir.Exists("screen.bmp"); tries++) {
				Xdo(x, "key F2 sleep 0.1 key F10");
				usleep(100000);
			}
			usleep(30000); // the file's last bytes
			Shoot(x, after);
			difference = Difference("screen.bmp", after);
		}
		EXPECT_TRUE(game.IsRunning());
		EXPECT_EQ(game.Terminate(), 0);

		ASSERT_TRUE(dir.Exists("screen.bmp"));
		RunOnDisplay(x.Display(), "convert screen.bmp screen_" + tag + ".png");
		KeepShot("screen_" + tag + ".png");
		EXPECT_LT(difference, 0.08) << tag;
		// The small view changes the picture in its corner.
		EXPECT_GT(Difference("match_" + tag + ".png", "match_" + tag + "_small_view.png"), 0.01) << tag;

		std::string text = dir.ReadText("Log.txt");
		EXPECT_EQ(text.find("Error"), std::string::npos) << text;
		EXPECT_NE(text.find("INGAME: Deinitialization..."), std::string::npos);
		EXPECT_NE(text.find("--- Log closed on "), std::string::npos);
	}
}

TEST(Program, ComputerMatchRunsToItsEndAndBackToTheMenu) {
	ScratchDir dir;
	fs::create_symlink(BuildDataDir(), "data");
	dir.WriteText("video.cfg", "320 240 32 0\n");
	WriteOptions(MODE_PC_VS_PC, DAYTIME_DAY, 1, 0);
	XServer x;
	ASSERT_TRUE(x.IsRunning());
	GameProcess game;
	ASSERT_TRUE(game.Start(x.Display(), {"--time-scale", "25"}));
	ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "MAIN: ...Done!", 30000));
	ChooseInMenu(x, 1);
	ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "INGAME: ...Done!", 30000));
	// Four periods of a minute, their countdowns, goals and the trophy, 25 times as fast.
	ASSERT_TRUE(WaitForText(dir.File("Log.txt"), "INGAME: Deinitialization...", 120000)) << dir.ReadText("Log.txt");
	sleep(1);
	EXPECT_TRUE(game.IsRunning()); // back in the menu
	EXPECT_EQ(game.Terminate(), 0);

	std::vector<std::string> entries = LogEntries(dir.ReadText("Log.txt"));
	ASSERT_TRUE(EntriesInOrder(entries, {
		"Message: MAIN: Changing game state...", "Message: MAIN: ...Done!",             // the menu
		"Message: MAIN: Changing game state...", "Message: INGAME: Initialization...",  // the match
		"Message: INGAME: ...Done!", "Message: MAIN: ...Done!",
		"Message: MAIN: Changing game state...", "Message: INGAME: Deinitialization...", // its end
		"Message: MAIN: ...Done!",                                                        // the menu again
		"Message: MAIN: Changing game state...", "Message: MAIN: ...Done!",              // quit
		"Message: SOUND: Deinitialization...", "Message: DEINIT: Engine deinitialization...",
	}));
	for (const std::string &entry : entries) {
		EXPECT_EQ(entry.find("Error:"), std::string::npos) << entry;
	}
}
