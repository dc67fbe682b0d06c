#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "ScratchDir.h"
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

} // namespace

TEST(OptionsRecord, DefaultsAreTheDocumentedBytesWrittenOnceAndAFailedWriteKeepsTheOldFile) {
	ScratchDir dir;
	OptionsRecord record;
	memset(&record, 0xAB, sizeof(record));
	record.SetDefaults();
	EXPECT_EQ(std::string(reinterpret_cast<const char *>(&record), sizeof(record)), DefaultBytes());
	OptionsRecord started;
	started.LoadOrCreate("options.dat");
	EXPECT_EQ(dir.ReadText("options.dat"), DefaultBytes());
	EXPECT_FALSE(dir.Exists("options.dat.tmp"));

	// A damaged file is corrected in memory only; it is written when the options are saved.
	std::string damaged = DefaultBytes();
	damaged[8] = 9;
	dir.WriteText("options.dat", damaged);
	OptionsRecord second;
	second.LoadOrCreate("options.dat");
	EXPECT_EQ(second.mode, MODE_PL1_VS_PL2);
	EXPECT_EQ(dir.ReadText("options.dat"), damaged);

	// Where the temporary file cannot be made, nothing is replaced.
	mkdir("options.dat.tmp", 0755);
	dir.WriteText("options.dat.tmp/blocker", "x");
	EXPECT_FALSE(record.Write("options.dat"));
	EXPECT_EQ(dir.ReadText("options.dat"), damaged);
	EXPECT_FALSE(record.Write("no/such/dir/options.dat"));
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
	record.keys2[KEY_FIRE] = 13;
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
	EXPECT_FALSE(missing.Read("nothing.dat"));
	EXPECT_EQ(missing.shootTime, 4);
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
	record.keys1[KEY_UP] = 0;
	EXPECT_EQ(record.Validate(), 0);
}
