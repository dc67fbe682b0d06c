#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/Installation.h"
#include "app/Program.h"
#include "app/Soak.h"
#include "frontend/ScriptTryout.h"

namespace {

const int MAX_TIME_SCALE = 50;

void PrintUsage(FILE *out, const char *program) {
	fprintf(out,
		"usage: %s [OPTION]...\n"
		"A 3D arena game for one or two players at one machine.\n"
		"\n"
		"  --script FILE     run a screen script on an empty screen (to try menu scripts)\n"
		"  --time-scale N    let the game's time run N times as fast (1 to %d)\n"
		"  --soak N          play N computer matches back to back, then leave, printing the\n"
		"                    memory and open files after each (1 to %d; see scripts/soak.sh)\n"
		"  --help            show this help and leave\n"
		"  --version         show the version and leave\n"
		"\n"
		"Run beside the data tree of its build, the game keeps its files there; installed, it keeps\n"
		"them in $XDG_DATA_HOME/tavro (~/.local/share/tavro).\n",
		program, MAX_TIME_SCALE, SoakFactory::MAX_MATCHES);
}

// A whole number from 1 to most, or 0.
int ReadCount(const char *text, int most) {
	char *end = nullptr;
	long value = strtol(text, &end, 10);
	return *text && *end == '\0' && value >= 1 && value <= most ? static_cast<int>(value) : 0;
}

} // namespace

// The command line, read in this one place. Without arguments the game runs as always.
int main(int argc, char **argv) {
	const char *scriptFile = nullptr;
	int timeScale = 1;
	int soakMatches = 0;
	for (int i = 1; i < argc; i++) {
		if (strcmp(argv[i], "--help") == 0) {
			PrintUsage(stdout, argv[0]);
			return 0;
		} else if (strcmp(argv[i], "--version") == 0) {
			printf("Tavro %s\n", TAVRO_VERSION);
			return 0;
		} else if (strcmp(argv[i], "--script") == 0 && i + 1 < argc) {
			scriptFile = argv[++i];
		} else if (strcmp(argv[i], "--time-scale") == 0 && i + 1 < argc && ReadCount(argv[i + 1], MAX_TIME_SCALE)) {
			timeScale = ReadCount(argv[++i], MAX_TIME_SCALE);
		} else if (strcmp(argv[i], "--soak") == 0 && i + 1 < argc && ReadCount(argv[i + 1], SoakFactory::MAX_MATCHES)) {
			soakMatches = ReadCount(argv[++i], SoakFactory::MAX_MATCHES);
		} else {
			PrintUsage(stderr, argv[0]);
			return 2;
		}
	}
	// The script is named from where the player stands, before the game moves elsewhere.
	std::string script;
	if (scriptFile) {
		char *full = realpath(scriptFile, nullptr);
		script = full ? full : scriptFile;
		free(full);
	}
	std::string problem;
	if (!PrepareFolders(&problem)) {
		fprintf(stderr, "%s: %s\n", argv[0], problem.c_str());
		return 1;
	}
	if (scriptFile) {
		ScriptTryoutFactory tryout(script.c_str());
		return RunProgram(&tryout, timeScale);
	}
	if (soakMatches > 0) {
		SoakFactory soak(soakMatches);
		return RunProgram(&soak, timeScale);
	}
	return RunProgram(nullptr, timeScale);
}
