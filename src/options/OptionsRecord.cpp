#include "options/OptionsRecord.h"

#include <SDL/SDL_keysym.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/LogFile.h"

OptionsRecord g_options;

void OptionsRecord::SetDefaults() {
	static const int32_t defaultKeys1[KEY_COUNT] = {113, 97, 122, 120, 99};
	static const uint8_t defaultChars1[KEY_COUNT] = {'q', 'a', 'z', 'x', 'c'};
	static const int32_t defaultKeys2[KEY_COUNT] = {111, 107, 110, 109, 112};
	static const uint8_t defaultChars2[KEY_COUNT] = {'o', 'k', 'n', 'm', 'p'};

	memset(this, 0, sizeof(*this));
	matchLength = 4;
	shootTime = 2;
	mode = MODE_PL1_VS_PL2;
	daytime = DAYTIME_DAY;
	music = 1;
	arena = 0;
	character[0] = 0;
	character[1] = 1;
	memcpy(keys1, defaultKeys1, sizeof(keys1));
	memcpy(keyChars1, defaultChars1, sizeof(keyChars1));
	memcpy(keys2, defaultKeys2, sizeof(keys2));
	memcpy(keyChars2, defaultChars2, sizeof(keyChars2));
}

bool OptionsRecord::Read(const char *path, bool *missing) {
	FILE *file = fopen(path, "rb");
	if (missing) {
		*missing = !file && errno == ENOENT;
	}
	if (!file) {
		return false;
	}
	size_t got = fread(this, 1, FILE_SIZE, file);
	const bool failed = ferror(file) != 0; // a folder, say
	fclose(file);
	if (failed) {
		return false;
	}
	if (got < static_cast<size_t>(FILE_SIZE)) {
		Log(LOG_WARNING, "OPTIONS: \"%s\" holds %u of %d bytes", path, static_cast<unsigned>(got), FILE_SIZE);
	}
	return true;
}

bool OptionsRecord::Write(const char *path) const {
	// A new name each time, made with O_EXCL: a link or a file planted under any name beside the
	// options is never written through, nor replaced, nor removed.
	std::string temp = std::string(path) + ".XXXXXX";
	const int fd = mkostemp(&temp[0], O_CLOEXEC);
	if (fd < 0) {
		Log(LOG_WARNING, "OPTIONS: Could not create a temporary file beside \"%s\": %s", path, strerror(errno));
		return false;
	}
	// mkostemp leaves only the owner's bits; the file gets what a new file of the player's gets.
	const mode_t mask = umask(0);
	umask(mask);
	bool written = fchmod(fd, 0666 & ~mask) == 0;
	written = write(fd, this, FILE_SIZE) == static_cast<ssize_t>(FILE_SIZE) && written;
	written = close(fd) == 0 && written;
	if (!written || rename(temp.c_str(), path) != 0) {
		Log(LOG_WARNING, "OPTIONS: Could not write \"%s\": %s", path, strerror(errno));
		unlink(temp.c_str()); // ours: made above
		return false;
	}
	return true;
}

bool IsAssignableKey(int code) {
	return (code >= SDLK_SPACE && code <= SDLK_KP9) || (code >= SDLK_UP && code <= SDLK_LEFT) ||
		   (code >= SDLK_RSHIFT && code <= SDLK_LALT);
}

namespace {

// Puts one field back to its default when it lies outside [low, high].
template <typename T>
int CheckRange(T &field, T low, T high, T fallback, const char *name) {
	if (field >= low && field <= high) {
		return 0;
	}
	Log(LOG_WARNING, "OPTIONS: %s %d is out of range, using %d", name, static_cast<int>(field),
		static_cast<int>(fallback));
	field = fallback;
	return 1;
}

// A key code nobody can steer with (0 from a short file, one outside SDL's key-state array,
// which the codes index) gives way to the default key, its character with it.
int CheckKeys(
	int32_t *keys, uint8_t *characters, const int32_t *fallback, const uint8_t *fallbackCharacters, const char *name) {
	int changed = 0;
	for (int i = 0; i < KEY_COUNT; i++) {
		if (IsAssignableKey(keys[i])) {
			continue;
		}
		Log(LOG_WARNING, "OPTIONS: %s %d is out of range, using %d", name, static_cast<int>(keys[i]),
			static_cast<int>(fallback[i]));
		keys[i] = fallback[i];
		characters[i] = fallbackCharacters[i];
		changed++;
	}
	return changed;
}

} // namespace

int OptionsRecord::Validate() {
	OptionsRecord defaults;
	defaults.SetDefaults();
	int changed = 0;
	changed += CheckRange<int32_t>(matchLength, 1, 4, defaults.matchLength, "match length");
	changed += CheckRange<int32_t>(shootTime, 1, 5, defaults.shootTime, "shoot time");
	changed += CheckRange<int32_t>(mode, MODE_PL1_VS_PL2, MODE_PC_VS_PC, defaults.mode, "mode");
	changed += CheckRange<int32_t>(daytime, DAYTIME_DAY, DAYTIME_RANDOM, defaults.daytime, "daytime");
	changed += CheckRange<uint8_t>(music, 0, 1, defaults.music, "music");
	changed += CheckRange<uint8_t>(level, LEVEL_NORMAL, LEVEL_EXPERT, LEVEL_NORMAL, "computer level");
	changed += CheckRange<uint8_t>(guide, 0, 1, defaults.guide, "aim guide");
	changed += CheckRange<uint8_t>(replay, 0, 1, defaults.replay, "goal replay");
	changed += CheckRange<int32_t>(arena, -1, 1, defaults.arena, "arena");
	changed += CheckRange<int32_t>(character[0], 0, 3, defaults.character[0], "character 1");
	changed += CheckRange<int32_t>(character[1], 0, 3, defaults.character[1], "character 2");
	changed += CheckKeys(keys1, keyChars1, defaults.keys1, defaults.keyChars1, "player 1 key");
	changed += CheckKeys(keys2, keyChars2, defaults.keys2, defaults.keyChars2, "player 2 key");
	return changed;
}
