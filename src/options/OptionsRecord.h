#ifndef TAVRO_OPTIONS_OPTIONSRECORD_H
#define TAVRO_OPTIONS_OPTIONSRECORD_H

#include <cstddef>
#include <cstdint>

enum MatchMode {
	MODE_PL1_VS_PL2 = 0,
	MODE_PL1_VS_PC = 1,
	MODE_PC_VS_PC = 2
};

enum Daytime {
	DAYTIME_DAY = 0,
	DAYTIME_NIGHT = 1,
	DAYTIME_RANDOM = 2
};

// How well the computer plays; 0 is the opponent every older file and the defaults know.
enum ComputerLevel {
	LEVEL_NORMAL = 0,
	LEVEL_EASY = 1,
	LEVEL_HARD = 2,
	LEVEL_EXPERT = 3
};

enum PlayerKey {
	KEY_UP = 0,
	KEY_DOWN,
	KEY_LEFT,
	KEY_RIGHT,
	KEY_FIRE,
	KEY_COUNT
};

// The match options, byte for byte the content of "options.dat" (little-endian, 88 bytes).
struct OptionsRecord {
	int32_t matchLength;          // minutes per period, 1 to 4
	int32_t shootTime;            // seconds per turn, 1 to 5
	int32_t mode;                 // MatchMode
	int32_t daytime;              // Daytime
	uint8_t music;                // 1 = music during the match
	uint8_t level;                // ComputerLevel
	uint8_t guide;                // 1 = the aim guide shows where a human player's shot goes
	uint8_t replay;               // 1 = a goal is shown again
	int32_t arena;                // -1 random, 0 "xeno", 1 "tris"
	int32_t character[2];         // per player, 0 to 3
	int32_t keys1[KEY_COUNT];     // SDL key codes of player 1
	uint8_t keyChars1[KEY_COUNT]; // characters shown for keys without a name
	uint8_t pad2[3];
	int32_t keys2[KEY_COUNT];
	uint8_t keyChars2[KEY_COUNT];
	uint8_t pad3[3];

	static constexpr int FILE_SIZE = 88; // bytes

	void SetDefaults();

	// Reads the file into the record. False when there is no file (*missing set) or it cannot
	// be read (*missing cleared; the record may be half read); a shorter file leaves the rest of
	// the record as it was.
	bool Read(const char *path, bool *missing = nullptr);

	// Writes the whole record through a temporary file of a new name beside it, made
	// exclusively (never through a link, nor over anything already there) with the permissions
	// the player's umask gives, so the old file stays intact until the new one is complete.
	bool Write(const char *path) const;

	// Puts every field outside its range back to its default, logging a warning for each (a
	// key code a player cannot steer with takes its default key and character). Returns the
	// number of fields changed.
	int Validate();
};

static_assert(sizeof(OptionsRecord) == OptionsRecord::FILE_SIZE, "options record must be 88 bytes");
static_assert(offsetof(OptionsRecord, music) == 16, "options layout");
static_assert(offsetof(OptionsRecord, level) == 17 && offsetof(OptionsRecord, replay) == 19, "options layout");
static_assert(offsetof(OptionsRecord, arena) == 20, "options layout");
static_assert(offsetof(OptionsRecord, keys1) == 32, "options layout");
static_assert(offsetof(OptionsRecord, keyChars1) == 52, "options layout");
static_assert(offsetof(OptionsRecord, keys2) == 60, "options layout");
static_assert(offsetof(OptionsRecord, keyChars2) == 80, "options layout");

// Whether a player may steer with the key: the printable keys, the keypad digits, the arrows,
// Shift, Ctrl and Alt.
bool IsAssignableKey(int code);

// The process-wide options the menus edit and the match reads.
extern OptionsRecord g_options;

#endif
