#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "GameProcess.h"
#include "ScratchDir.h"
#include "app/Installation.h"

namespace fs = std::filesystem;

// Installed into a prefix of its own and started from elsewhere, the game takes its data from the
// installed tree and keeps each player's files in that player's own folder.
TEST(Install, TheInstalledGameKeepsEachPlayersFilesApart) {
	ScratchDir dir;
	const std::string prefix = dir.File("prefix");
	ASSERT_EQ(
		system(("cmake --install '" TAVRO_BINARY_DIR "' --prefix '" + prefix + "' > install.txt 2>&1").c_str()), 0)
		<< dir.ReadText("install.txt");
	const std::string share = prefix + "/share";
	for (const char *file : {"/tavro/data/menu_main.lua", "/tavro/data/misc/ball.3ds", "/man/man6/tavro.6.gz",
			 "/icons/hicolor/48x48/apps/org.tavro.Tavro.png", "/icons/hicolor/256x256/apps/org.tavro.Tavro.png"}) {
		EXPECT_TRUE(fs::exists(share + file)) << file;
	}
	EXPECT_FALSE(fs::exists(share + "/tavro/data/.tavro_data")); // the build's marker stays in the build
	EXPECT_EQ(RunOnDisplay("", "desktop-file-validate '" + share + "/applications/org.tavro.Tavro.desktop' && echo ok"),
		"ok\n");
	EXPECT_NE(RunOnDisplay("", "appstreamcli validate --no-net '" + share +
								   "/metainfo/org.tavro.Tavro.metainfo.xml' "
								   "> /dev/null && echo ok"),
		"");

	XServer x;
	ASSERT_TRUE(x.IsRunning());
	// Where desktop launchers start programs: a home folder with a data/ folder of the player's.
	dir.WriteText("elsewhere/data/menu_main.lua", "-- a player's own file");
	for (const char *player : {"ann", "bob"}) {
		// Each plays for a moment; SIGTERM then closes the game as the window's close button would.
		const std::string home = dir.File(player);
		std::string run = "cd elsewhere && XDG_DATA_HOME='" + home + "/xdg' HOME='" + home +
						  "' SDL_AUDIODRIVER=dummy "
						  "timeout -s TERM 5 '" +
						  prefix + "/bin/tavro'; echo $?";
		EXPECT_EQ(RunOnDisplay(x.Display(), run), "124\n") << player; // ended by the timeout's signal
		const std::string files = home + "/xdg/tavro/";
		EXPECT_TRUE(fs::exists(files + "options.dat")) << player;
		const std::string log = dir.ReadText(std::string(player) + "/xdg/tavro/Log.txt");
		EXPECT_NE(log.find("MAIN: ...Done!"), std::string::npos) << log;
		EXPECT_NE(log.find("--- Log closed on "), std::string::npos) << log;
		EXPECT_EQ(log.find("Error"), std::string::npos) << log;
	}
	// Nothing written where the game was started, nothing read from there.
	EXPECT_EQ(std::distance(fs::recursive_directory_iterator("elsewhere"), fs::recursive_directory_iterator()), 2);
	EXPECT_EQ(dir.ReadText("elsewhere/data/menu_main.lua"), "-- a player's own file");
	EXPECT_FALSE(fs::exists(dir.File("ann/xdg/tavro/video.cfg")));

	// A program started in its own folder takes the data/ folder there, as in its build folder.
	fs::create_directory("own");
	fs::copy_file(prefix + "/bin/tavro", "own/tavro");
	fs::create_directory_symlink(share + "/tavro/data", "own/data");
	EXPECT_EQ(RunOnDisplay(x.Display(),
				  "cd own && HOME='" + dir.File("own") + "' SDL_AUDIODRIVER=dummy timeout -s TERM 5 ./tavro; echo $?"),
		"124\n");
	EXPECT_NE(dir.ReadText("own/Log.txt").find("MAIN: ...Done!"), std::string::npos) << dir.ReadText("own/Log.txt");
	EXPECT_TRUE(fs::exists("own/options.dat"));

	// Without "video.cfg" the game starts on the full screen; Alt+Enter switches to a window, and
	// the choice is kept for the next start.
	RunOnDisplay(x.Display(), "cd elsewhere && XDG_DATA_HOME='" + dir.File("ann/xdg") + "' SDL_AUDIODRIVER=dummy '" +
								  prefix +
								  "/bin/tavro' & sleep 3; xdotool search --name 'Tavro v0.9' windowfocus --sync "
								  "key alt+Return; sleep 0.5; kill -TERM $!; wait");
	EXPECT_EQ(dir.ReadText("ann/xdg/tavro/video.cfg"), "640 480 32 0\n");
	EXPECT_NE(dir.ReadText("ann/xdg/tavro/Log.txt").find("INIT: Switched to a window"), std::string::npos);
	EXPECT_EQ(RunOnDisplay("", "'" + prefix + "/bin/tavro' --version"), "Tavro 0.9\n");
	EXPECT_NE(RunOnDisplay("", "'" + prefix + "/bin/tavro' --help").find("--time-scale"), std::string::npos);
	EXPECT_EQ(RunOnDisplay("", "'" + prefix + "/bin/tavro' --help > /dev/null; echo $?"), "0\n");
	EXPECT_EQ(RunOnDisplay("", "'" + prefix + "/bin/tavro' --no-such-option 2>/dev/null; echo $?"), "2\n");
}

TEST(Install, FoldersFollowTheProgramAndTheXdgRules) {
	EXPECT_EQ(InstalledDataFolder("/usr/games/tavro"), "/usr/games/../share/tavro");
	// A data/ folder in the working directory is the game's with the build's marker in it, or
	// when the program lies there too.
	ScratchDir dir;
	const std::string here = fs::current_path().string();
	EXPECT_FALSE(UsesWorkingData(here + "/tavro", here)); // no data/ at all
	fs::create_directory("data");
	EXPECT_FALSE(UsesWorkingData("/usr/games/tavro", here));
	EXPECT_FALSE(UsesWorkingData(here + "/bin/tavro", here));
	EXPECT_TRUE(UsesWorkingData(here + "/tavro", here));
	dir.WriteText(DATA_TREE_MARKER, "");
	EXPECT_TRUE(UsesWorkingData("/usr/games/tavro", here));
	struct Case {
		const char *xdgDataHome, *home, *folder;
	};
	// A relative XDG_DATA_HOME is not a folder the rules allow; without HOME there is none.
	const Case cases[] = {{"/x/data", "/home/ann", "/x/data/tavro"},
		{"x/data", "/home/ann", "/home/ann/.local/share/tavro"}, {"", "/home/ann", "/home/ann/.local/share/tavro"},
		{nullptr, "/home/ann", "/home/ann/.local/share/tavro"}, {nullptr, "", ""}, {"relative", nullptr, ""}};
	for (const Case &c : cases) {
		EXPECT_EQ(PlayerFolder(c.xdgDataHome, c.home), c.folder) << (c.xdgDataHome ? c.xdgDataHome : "(none)");
	}
}
