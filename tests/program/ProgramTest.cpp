#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "EndToEnd.h"
#include "SanitizedBuild.h"
#include "options/OptionsRecord.h"

TEST(Program, StartsInOrderInItsWindowAndShutsDownOnTerminate) {
	GameRun run("800 600 16 0\n");
	ASSERT_TRUE(run.StartToMenu());
	std::string info = RunOnDisplay(run.x.Display(), "xwininfo -name 'Tavro v0.9 beta - (c) 2026 the Tavro team'");
	EXPECT_NE(info.find("Width: 800"), std::string::npos) << info;
	EXPECT_NE(info.find("Height: 600"), std::string::npos) << info;
	// A person typing and moving the mouse at the window: the program keeps running.
	run.Xdo("mousemove --window %1 100 100 key --delay 5 a b c space");
	EXPECT_TRUE(run.game.IsRunning());
	EXPECT_EQ(run.game.Terminate(), 0);

	const std::string text = run.Log();
	ASSERT_EQ(text.rfind("--- Log \"Kelvane\" open on ", 0), 0u) << text;
	EXPECT_NE(text.find("\n\n--- Log closed on "), std::string::npos) << text;
	EXPECT_EQ(text.back(), '\n');
	// Start-up in order, then the menu, then the tear-down and shut-down, and nothing else.
	const std::vector<std::string> entries = LogEntries(text);
	int at = 0;
	ASSERT_TRUE(EntriesInOrder(entries,
		{
			"Message: INIT: Opening screen... (800x600, 16 bits, Windowed)",
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
		},
		0, &at));
	EXPECT_EQ(at, static_cast<int>(entries.size())) << text;
	EXPECT_TRUE(run.Clean());
	// The options file was made with the defaults.
	OptionsRecord defaults;
	defaults.SetDefaults();
	const std::string saved = run.dir.ReadText("options.dat");
	ASSERT_EQ(saved.size(), sizeof(defaults));
	EXPECT_EQ(memcmp(saved.data(), &defaults, sizeof(defaults)), 0);
}

TEST(Program, ImpossibleWindowsEndInOrderAndAdjustedOnesAreDrawnAtTheirRealSize) {
	{
		GameRun run("100000 100000 32 0\n");
		ASSERT_TRUE(run.game.Start(run.x.Display()));
		EXPECT_EQ(run.game.Wait(), 0);
		EXPECT_NE(run.Log().find("Error: Could not open a SDL window! \n"), std::string::npos) << run.Log();
		EXPECT_NE(run.Log().find("--- Log closed on "), std::string::npos) << run.Log();
	}
	// 0 asks for the desktop's size: the match is drawn into the whole window and F10 saves it.
	GameRun run("0 0 32 0\n");
	WriteOptions(MODE_PC_VS_PC, DAYTIME_DAY, 4, 0);
	ASSERT_TRUE(run.StartToMenu());
	run.ChooseInMenu(1);
	ASSERT_TRUE(run.WaitFor("INGAME: ...Done!")) << run.Log();
	for (int tries = 0; tries < 100 && !run.dir.Exists("screen.bmp"); tries++) {
		run.Xdo("key F10");
		usleep(100000);
	}
	usleep(100000);
	EXPECT_EQ(run.game.Terminate(), 0);
	EXPECT_NE(run.Log().find("Warning: INIT: The window is 1024x768 \n"), std::string::npos);
	ASSERT_TRUE(run.dir.Exists("screen.bmp"));
	std::string size = RunOnDisplay("", "identify -format '%w %h %[fx:mean]' screen.bmp");
	int w = 0, h = 0;
	double mean = 0;
	ASSERT_EQ(sscanf(size.c_str(), "%d %d %lf", &w, &h, &mean), 3) << size;
	EXPECT_EQ(w, 1024);
	EXPECT_EQ(h, 768);
	EXPECT_GT(mean, 0.05); // not black
}

TEST(Program, PlaysAMatchWithKeysAndF10SavesWhatIsShown) {
	SKIP_IN_SANITIZED_BUILD("the match's in-process tests steer, fire and shoot the screen");
	GameRun run;
	WriteOptions(MODE_PL1_VS_PC, DAYTIME_NIGHT, 4, 1);
	ASSERT_TRUE(run.StartToMenu());
	run.ChooseInMenu(1);
	ASSERT_TRUE(run.WaitFor("INGAME: ...Done!")) << run.Log();
	sleep(4); // the countdown
	// Player 1 (keys q a z x c): aim right and up, fire; a few turns go by.
	for (int turn = 0; turn < 3; turn++) {
		run.Xdo("keydown x keydown q sleep 0.4 keyup x keyup q key c");
		sleep(1);
	}
	run.Shoot("match.png");
	// Keys are not read while a goal or the countdown is shown: try again until they take.
	double smallView = 0.0;
	for (int tries = 0; tries < 20 && smallView <= 0.01; tries++) {
		run.Xdo("key F5");
		usleep(500000);
		run.Shoot("match_small_view.png");
		smallView = Difference("match.png", "match_small_view.png");
	}
	EXPECT_GT(smallView, 0.01) << "the small view changes the picture in its corner";
	// F10 writes the frame being drawn; the screen goes on moving, so compare it with a capture
	// taken at once from the still top view, and try again when play moved too much in between.
	double difference = 1.0;
	for (int attempt = 0; attempt < 5 && difference >= 0.08; attempt++) {
		remove("screen.bmp");
		for (int tries = 0; tries < 40 && !run.dir.Exists("screen.bmp"); tries++) {
			run.Xdo("key F2 sleep 0.1 key F10");
			usleep(100000);
		}
		usleep(30000); // the file's last bytes
		run.Shoot("match_after_f10.png");
		difference = Difference("screen.bmp", "match_after_f10.png");
	}
	EXPECT_TRUE(run.game.IsRunning());
	EXPECT_EQ(run.game.Terminate(), 0);
	ASSERT_TRUE(run.dir.Exists("screen.bmp"));
	RunOnDisplay("", "convert screen.bmp screen_night.png");
	KeepShot("screen_night.png");
	EXPECT_LT(difference, 0.08);
	EXPECT_TRUE(run.Clean());
	EXPECT_NE(run.Log().find("INGAME: Deinitialization..."), std::string::npos);
}

TEST(Program, ComputerMatchRunsToItsEndAndBackToTheMenu) {
	SKIP_IN_SANITIZED_BUILD("InGame.FourPeriodsThenTheTrophyThenTheEnd plays a whole match");
	GameRun run("320 240 32 0\n");
	WriteOptions(MODE_PC_VS_PC, DAYTIME_DAY, 1, 0);
	ASSERT_TRUE(run.StartToMenu({"--time-scale", "25"}));
	run.ChooseInMenu(1);
	ASSERT_TRUE(run.WaitFor("INGAME: ...Done!"));
	// Four periods of a minute, their countdowns, goals and the trophy, 25 times as fast.
	ASSERT_TRUE(run.WaitFor("INGAME: Deinitialization...", 120000)) << run.Log();
	sleep(1);
	EXPECT_TRUE(run.game.IsRunning()); // back in the menu
	EXPECT_EQ(run.game.Terminate(), 0);
	EXPECT_TRUE(EntriesInOrder(LogEntries(run.Log()), {
														  "Message: MAIN: Changing game state...",
														  "Message: MAIN: ...Done!", // the menu
														  "Message: MAIN: Changing game state...",
														  "Message: INGAME: Initialization...", // the match
														  "Message: INGAME: ...Done!",
														  "Message: MAIN: ...Done!",
														  "Message: MAIN: Changing game state...",
														  "Message: INGAME: Deinitialization...", // its end
														  "Message: MAIN: ...Done!",              // the menu again
														  "Message: MAIN: Changing game state...",
														  "Message: MAIN: ...Done!", // quit
														  "Message: SOUND: Deinitialization...",
														  "Message: DEINIT: Engine deinitialization...",
													  }));
	EXPECT_TRUE(run.Clean());
}

TEST(Program, SoakPlaysComputerMatchesBackToBackThenLeavesWithTheOptionsAsTheyWere) {
	SKIP_IN_SANITIZED_BUILD("InGame.FourPeriodsThenTheTrophyThenTheEnd plays a whole match");
	GameRun run("320 240 32 0\n");
	WriteOptions(MODE_PL1_VS_PL2, DAYTIME_NIGHT, 1, 1); // two people: the soak plays by itself anyway
	const std::string options = run.dir.ReadText("options.dat");
	ASSERT_TRUE(run.game.Start(run.x.Display(), {"--soak", "2", "--time-scale", "50"}));
	ASSERT_EQ(run.game.Wait(120000), 0) << run.Log();
	// Scores and figures vary: entries are compared up to them, the figures checked on their own.
	std::vector<std::string> entries = LogEntries(run.Log());
	for (std::string &entry : entries) {
		long memory = 0;
		int match = 0, descriptors = 0;
		if (sscanf(entry.c_str(), "Message: SOAK: Match %d of 2 played, resident memory %ld kB, %d file descriptors",
				&match, &memory, &descriptors) == 3) {
			EXPECT_GT(memory, 10000) << entry;
			EXPECT_GT(descriptors, 2) << entry;
			entry = "SOAK " + std::to_string(match);
		} else if (entry.rfind("Message: INGAME: Final score ", 0) == 0) {
			entry = "Final score";
		}
	}
	EXPECT_TRUE(EntriesInOrder(entries, {
											"Message: INGAME: Initialization...",
											"Final score",
											"Message: INGAME: Deinitialization...",
											"SOAK 1",
											"Message: INGAME: Initialization...",
											"Final score",
											"Message: INGAME: Deinitialization...",
											"SOAK 2",
											"Message: DEINIT: Engine deinitialization...",
										}));
	EXPECT_EQ(CountOf(run.Log(), "INGAME: Initialization..."), 2);
	EXPECT_TRUE(run.Clean());
	EXPECT_EQ(run.dir.ReadText("options.dat"), options);
}
