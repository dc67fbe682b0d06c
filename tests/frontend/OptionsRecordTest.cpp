#include <gtest/gtest.h>

#include <SDL/SDL_keysym.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "ScratchDir.h"
#include "options/OptionsFile.h"
#include "options/OptionsRecord.h"

namespace {

std::string DefaultBytes() {
	// clang-format off
	const unsigned char bytes[88] = {
		4, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
		1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0,
		113, 0, 0, 0, 97, 0, 0, 0, 122, 0, 0, 0, 120, 0, 0, 0, 99, 0, 0, 0,
		'q', 'a', 'z', 'x', 'c', 0, 0, 0,
		111, 0, 0, 0, 107, 0, 0, 0, 110, 0, 0, 0, 109, 0, 0, 0, 112, 0, 0, 0,
		'o', 'k', 'n', 'm', 'p', 0, 0, 0,
	};
	// clang-format on
	return std::string(reinterpret_cast<const char *>(bytes), sizeof(bytes));
}

// The names in the working directory, in order.
std::vector<std::string> Entries() {
	std::vector<std::string> names;
	for (const auto &entry : std::filesystem::directory_iterator(".")) {
		names.push_back(entry.path().filename().string());
	}
	std::sort(names.begin(), names.end());
	return names;
}

} // namespace

TEST(OptionsRecord, DefaultsAreTheDocumentedBytesWrittenOnceAndAFailedWriteKeepsTheOldFile) {
	ScratchDir dir;
	OptionsRecord record;
	memset(&record, 0xAB, sizeof(record));
	record.SetDefaults();
	EXPECT_EQ(std::string(reinterpret_cast<const char *>(&record), sizeof(record)), DefaultBytes());
	OptionsRecord started;
	OptionsFile file;
	file.Load(started, "options.dat");
	EXPECT_EQ(dir.ReadText("options.dat"), DefaultBytes());
	EXPECT_EQ(Entries(), (std::vector<std::string>{"options.dat"})); // no temporary file left

	// A damaged file is corrected in memory only; it is written when the options are saved.
	std::string damaged = DefaultBytes();
	damaged[8] = 9;
	dir.WriteText("options.dat", damaged);
	OptionsRecord second;
	file.Load(second, "options.dat");
	EXPECT_EQ(second.mode, MODE_PL1_VS_PL2);
	EXPECT_EQ(dir.ReadText("options.dat"), damaged);

	// Where the file cannot be put in place or its temporary file made, nothing is left behind.
	mkdir("blocked.dat", 0755);
	EXPECT_FALSE(record.Write("blocked.dat"));
	EXPECT_FALSE(record.Write("no/such/dir/options.dat"));
	EXPECT_EQ(dir.ReadText("options.dat"), damaged);
	EXPECT_EQ(Entries(), (std::vector<std::string>{"blocked.dat", "options.dat"}));
}

// A link planted where an older game made its temporary file: the save never writes through it,
// nor moves or removes it, and the file it makes has the permissions of the player's umask.
TEST(OptionsRecord, TheSaveLeavesLinksAndFilesBesideItAlone) {
	ScratchDir dir;
	dir.WriteText("victim.txt", "keep me");
	ASSERT_EQ(symlink("victim.txt", "options.dat.tmp"), 0);
	const mode_t oldMask = umask(022);
	OptionsRecord record;
	record.SetDefaults();
	EXPECT_TRUE(record.Write("options.dat"));
	umask(oldMask);
	EXPECT_EQ(dir.ReadText("victim.txt"), "keep me");
	struct stat info;
	ASSERT_EQ(lstat("options.dat.tmp", &info), 0);
	EXPECT_TRUE(S_ISLNK(info.st_mode));
	ASSERT_EQ(lstat("options.dat", &info), 0);
	EXPECT_TRUE(S_ISREG(info.st_mode));
	EXPECT_EQ(info.st_mode & 0777, 0644u);
	EXPECT_EQ(dir.ReadText("options.dat"), DefaultBytes());
	EXPECT_EQ(Entries(), (std::vector<std::string>{"options.dat", "options.dat.tmp", "victim.txt"}));
}

// A file that is there but cannot be read (another user's; here a link to a folder, which
// reads as an error for root too) is reported, the defaults hold, and it is never replaced.
TEST(OptionsRecord, AnUnreadableFileIsReportedAndNeverOverwritten) {
	ScratchDir dir;
	LogCapture log;
	mkdir("elsewhere", 0755);
	ASSERT_EQ(symlink("elsewhere", "options.dat"), 0);
	std::vector<std::string> paths = {"options.dat"};
	if (geteuid() != 0) {
		dir.WriteText("locked.dat", DefaultBytes());
		chmod("locked.dat", 0);
		paths.push_back("locked.dat");
	}
	for (const std::string &path : paths) {
		SCOPED_TRACE(path);
		OptionsRecord record;
		memset(&record, 0x55, sizeof(record));
		OptionsFile file;
		file.Load(record, path.c_str());
		OptionsRecord defaults;
		defaults.SetDefaults();
		EXPECT_EQ(memcmp(&record, &defaults, sizeof(record)), 0);
		EXPECT_TRUE(log.Has("Warning: OPTIONS: \"" + path + "\" cannot be read; the defaults hold for this run"));
		record.matchLength = 1;
		EXPECT_FALSE(file.Save(record, path.c_str()));
		EXPECT_TRUE(log.Has("OPTIONS: \"" + path + "\" could not be read at start-up, so it is not replaced"));
		EXPECT_TRUE(file.Save(record, "other.dat")); // any other file is written as always
	}
	struct stat info;
	ASSERT_EQ(lstat("options.dat", &info), 0);
	EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST(OptionsRecord, RoundTripKeepsEveryByte) {
	ScratchDir dir;
	OptionsRecord record;
	record.SetDefaults();
	record.matchLength = 1;
	record.shootTime = 5;
	record.mode = MODE_PC_VS_PC;
	record.daytime = DAYTIME_RANDOM;
	record.music = 0;
	record.pad2[1] = 0x55; // bytes without meaning survive as read
	record.level = LEVEL_EXPERT;
	record.guide = 1;
	record.replay = 1;
	record.arena = -1;
	record.character[0] = 3;
	record.character[1] = 2;
	record.keys2[KEY_FIRE] = SDLK_LALT;
	record.keyChars1[KEY_UP] = 0x0A;
	ASSERT_TRUE(record.Write("options.dat"));

	OptionsRecord back;
	memset(&back, 0, sizeof(back));
	ASSERT_TRUE(back.Read("options.dat"));
	EXPECT_EQ(back.Validate(), 0);
	EXPECT_EQ(memcmp(&back, &record, sizeof(record)), 0);
	EXPECT_EQ(back.keyChars1[KEY_UP], 0x0A);
}

TEST(OptionsRecord, ShortFileLeavesTheRestAsItWas) {
	ScratchDir dir;
	std::string bytes = DefaultBytes();
	bytes[0] = 3;
	dir.WriteText("options.dat", bytes.substr(0, 10));
	OptionsRecord record;
	memset(&record, 0, sizeof(record));
	ASSERT_TRUE(record.Read("options.dat"));
	EXPECT_EQ(record.matchLength, 3);
	EXPECT_EQ(record.shootTime, 2);
	EXPECT_EQ(record.character[1], 0);
	EXPECT_EQ(record.keys1[0], 0);

	OptionsRecord missing;
	missing.SetDefaults();
	missing.shootTime = 4;
	bool none = false;
	EXPECT_FALSE(missing.Read("nothing.dat", &none));
	EXPECT_TRUE(none);
	EXPECT_EQ(missing.shootTime, 4);

	// Started from such a file, every key (read as 0) is the default one, shown with its letter.
	LogCapture log;
	OptionsRecord started;
	memset(&started, 0, sizeof(started)); // as the program starts
	OptionsFile file;
	file.Load(started, "options.dat");
	OptionsRecord defaults;
	defaults.SetDefaults();
	EXPECT_EQ(started.matchLength, 3);
	EXPECT_EQ(memcmp(started.keys1, defaults.keys1, 28), 0); // codes and characters
	EXPECT_EQ(memcmp(started.keys2, defaults.keys2, 28), 0);
	EXPECT_TRUE(log.Has("Warning: OPTIONS: player 1 key 0 is out of range, using 113"));
	EXPECT_TRUE(log.Has("Warning: OPTIONS: player 2 key 0 is out of range, using 112"));
}

TEST(OptionsRecord, FieldsOutOfRangeTakeTheirDefaultsWithAWarning) {
	ScratchDir dir;
	LogCapture log;

	OptionsRecord record;
	record.SetDefaults();
	record.matchLength = 0;
	record.shootTime = 6;
	record.mode = 3;
	record.daytime = -1;
	record.music = 2;
	record.level = 4;
	record.guide = 9;
	record.replay = 2;
	record.arena = 2;
	record.character[0] = 4;
	record.character[1] = -1;
	record.keys1[KEY_LEFT] = 100000;
	record.keys2[KEY_UP] = -5;
	record.keyChars2[KEY_DOWN] = 0xFF; // any character is fine
	EXPECT_EQ(record.Validate(), 13);

	OptionsRecord defaults;
	defaults.SetDefaults();
	defaults.keyChars2[KEY_DOWN] = 0xFF;
	EXPECT_EQ(memcmp(&record, &defaults, sizeof(record)), 0);
	EXPECT_TRUE(log.Has("Warning: OPTIONS: match length 0 is out of range, using 4"));
	EXPECT_TRUE(log.Has("Warning: OPTIONS: player 1 key 100000 is out of range, using 122"));
	EXPECT_TRUE(log.Has("Warning: OPTIONS: computer level 4 is out of range, using 0"));

	// The lower edges are in range.
	record.arena = -1;
	record.matchLength = 1;
	EXPECT_EQ(record.Validate(), 0);

	// Only keys a player can steer with: the edges of each stretch of assignable codes.
	struct KeyCase {
		int code;
		bool kept;
	};
	const KeyCase keyCases[] = {{0, false}, {SDLK_RETURN, false}, {SDLK_SPACE, true}, {SDLK_KP9, true},
		{SDLK_KP_PERIOD, false}, {SDLK_KP_EQUALS, false}, {SDLK_UP, true}, {SDLK_LEFT, true}, {SDLK_INSERT, false},
		{SDLK_F1, false}, {SDLK_SCROLLOCK, false}, {SDLK_RSHIFT, true}, {SDLK_LALT, true}, {SDLK_RMETA, false},
		{SDLK_LAST, false}};
	for (const KeyCase &c : keyCases) {
		record.keys1[KEY_FIRE] = c.code;
		record.keyChars1[KEY_FIRE] = 0;
		EXPECT_EQ(record.Validate(), c.kept ? 0 : 1) << c.code;
		EXPECT_EQ(record.keys1[KEY_FIRE], c.kept ? c.code : 99) << c.code;
		EXPECT_EQ(record.keyChars1[KEY_FIRE], c.kept ? 0 : 'c') << c.code;
	}
}
