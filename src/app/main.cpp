#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/Program.h"
#include "frontend/ScriptTryout.h"

// The command line, read in this one place. Without arguments the game runs as always.
namespace {

const int MAX_TIME_SCALE = 50;

// A whole number from 1 to MAX_TIME_SCALE, or 0.
int ReadTimeScale(const char *text) {
	char *end = nullptr;
	long value = strtol(text, &end, 10);
	return *text && *end == '\0' && value >= 1 && value <= MAX_TIME_SCALE ? static_cast<int>(value) : 0;
}

} // namespace

int main(int argc, char **argv) {
	const char *scriptFile = nullptr;
	int timeScale = 1;
	for (int i = 1; i < argc; i++) {
		if (strcmp(argv[i], "--script") == 0 && i + 1 < argc) {
			scriptFile = argv[++i];
		} else if (strcmp(argv[i], "--time-scale") == 0 && i + 1 < argc && ReadTimeScale(argv[i + 1])) {
			timeScale = ReadTimeScale(argv[++i]);
		} else {
			fprintf(stderr, "usage: %s [--script FILE] [--time-scale N]\n"
			                "  --script FILE     run a screen script on an empty screen\n"
			                "  --time-scale N    let the game's time run N times as fast (1 to %d)\n",
			        argv[0], MAX_TIME_SCALE);
			return 2;
		}
	}
	if (scriptFile) {
		ScriptTryoutFactory tryout(scriptFile);
		return RunProgram(&tryout, timeScale);
	}
	return RunProgram(nullptr, timeScale);
}
