#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
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

// "nan" where an arena file gives a disc's start: the reader refuses the file, so the game ends
// in order with the reason in its log instead of handing the number to the physics.
TEST(Program, AnArenaFileWithNumbersNoArenaHasEndsTheGameInOrder) {
	GameRun run("320 240 32 0\n");
	std::filesystem::remove("data");
	run.dir.LinkDataFiles();
	std::string arena = run.dir.ReadText("data/arena/xeno.arn");
	const size_t start = arena.find("-35.0,0.0\n");
	ASSERT_NE(start, std::string::npos) << arena;
	run.dir.WriteText("data/arena/xeno.arn", arena.replace(start, 9, "nan,nan"));
	WriteOptions(MODE_PC_VS_PC, DAYTIME_DAY, 1, 0);
	ASSERT_TRUE(run.game.Start(run.x.Display()));
	const std::string closed = "--- Log closed on ";
	for (int waited = 0; waited < 20000 && CountOf(run.Log(), closed) + CountOf(run.Log(), "MAIN: ...Done!") == 0;
		 waited += 50) {
		usleep(50000);
	}
	if (CountOf(run.Log(), "MAIN: ...Done!") > 0) {
		run.ChooseInMenu(1); // the menu took the arena: a match must not either
	}
	EXPECT_EQ(run.game.Wait(), 0);
	EXPECT_NE(run.Log().find("ARENA: data/arena/xeno.arn: item 4 is missing or malformed"), std::string::npos)
		<< run.Log();
	EXPECT_NE(run.Log().find(closed), std::string::npos) << run.Log();
}

// A short "options.dat" (its key codes read as 0) and a link planted where the save's temporary
// file used to go: the keys are the defaults, and leaving the key screen saves them without
// writing through the link. Then an "options.dat" that cannot be read: it stays as it is.
TEST(Program, DamagedOrForeignOptionsFilesAreNeitherTrustedNorOverwritten) {
	OptionsRecord defaults;
	defaults.SetDefaults();
	{
		GameRun run;
		run.dir.WriteText("options.dat", std::string(reinterpret_cast<const char *>(&defaults), 20));
		run.dir.WriteText("victim.txt", "keep me");
		ASSERT_EQ(symlink("victim.txt", "options.dat.tmp"), 0);
		ASSERT_TRUE(run.StartToMenu());
		EXPECT_NE(run.Log().find("Warning: OPTIONS: player 1 key 0 is out of range, using 113"), std::string::npos)
			<< run.Log();
		run.ChooseInMenu(4); // player 1's keys
		run.Xdo("sleep 1 key Escape");
		for (int waited = 0; waited < 10000 && run.dir.ReadText("options.dat").size() != 88; waited += 100) {
			usleep(100000);
		}
		EXPECT_EQ(run.game.Terminate(), 0);
		const std::string saved = run.dir.ReadText("options.dat");
		ASSERT_EQ(saved.size(), 88u);
		EXPECT_EQ(memcmp(saved.data() + 32, defaults.keys1, 56), 0); // both players' keys
		EXPECT_EQ(run.dir.ReadText("victim.txt"), "keep me");
		EXPECT_TRUE(std::filesystem::is_symlink("options.dat.tmp"));
	}
	GameRun run;
	std::filesystem::create_directory("elsewhere");
	ASSERT_EQ(symlink("elsewhere", "options.dat"), 0);
	ASSERT_TRUE(run.StartToMenu());
	EXPECT_NE(run.Log().find("Warning: OPTIONS: \"options.dat\" cannot be read"), std::string::npos) << run.Log();
	run.ChooseInMenu(3); // the options
	run.Xdo("sleep 1 key Escape");
	EXPECT_TRUE(run.WaitFor("OPTIONS: \"options.dat\" could not be read at start-up, so it is not replaced", 10000))
		<< run.Log();
	EXPECT_EQ(run.game.Terminate(), 0);
	EXPECT_TRUE(std::filesystem::is_symlink("options.dat"));
}

// Alt+Enter while a key screen waits for a key switches the screen and assigns nothing: Alt
// counts only when let go with no other key pressed meanwhile.
TEST(Program, AltEnterDuringAKeyWaitAssignsNoKey) {
	GameRun run;
	ASSERT_TRUE(run.StartToMenu());
	run.ChooseInMenu(4); // player 1's keys
	// Tab to the fire key's button and wait for a key; Alt+Enter; Escape ends the wait and a
	// second Escape leaves, saving the keys.
	run.Xdo("sleep 1 mousemove --window %1 2 2 key Tab Tab Tab Tab Tab Return sleep 0.5 key alt+Return sleep 1");
	EXPECT_TRUE(run.WaitFor("INIT: Switched to", 10000) || run.WaitFor("INIT: Could not switch", 1000)) << run.Log();
	const auto made = std::filesystem::last_write_time("options.dat");
	run.Xdo("key Escape sleep 0.5 key Escape");
	// The save puts a new file in place.
	for (int waited = 0; waited < 10000 && std::filesystem::last_write_time("options.dat") == made; waited += 100) {
		usleep(100000);
	}
	EXPECT_EQ(run.game.Terminate(), 0);
	int32_t keys[KEY_COUNT] = {};
	const std::string saved = run.dir.ReadText("options.dat");
	ASSERT_EQ(saved.size(), 88u);
	memcpy(keys, saved.data() + 32, sizeof(keys));
	OptionsRecord defaults;
	defaults.SetDefaults();
	EXPECT_EQ(keys[KEY_FIRE], defaults.keys1[KEY_FIRE]);
	EXPECT_TRUE(run.Clean());
}
