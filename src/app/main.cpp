#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/Installation.h"
#include "app/Program.h"
#include "app/Soak.h"
#include "frontend/ScriptTryout.h"
#include "match/NetPlay.h"

namespace {

const int MAX_TIME_SCALE = 50;

void PrintUsage(FILE *out, const char *program) {
	fprintf(out,
		"usage: %s [OPTION]...\n"
		"A 3D arena game for one or two players at one machine, or at two over the network.\n"
		"\n"
		"  --host [PORT]          host a network match at once, waiting for a player on PORT\n"
		"                         (%d when none is given)\n"
		"  --join ADDRESS[:PORT]  join the network match hosted at ADDRESS (a name or an IPv4\n"
		"                         address) on PORT (%d when none is given)\n"
		"  --script FILE          run a screen script on an empty screen (to try menu scripts)\n"
		"  --time-scale N         let the game's time run N times as fast (1 to %d)\n"
		"  --soak N               play N computer matches back to back, then leave, printing the\n"
		"                         memory and open files after each (1 to %d; see scripts/soak.sh)\n"
		"  --help                 show this help and leave\n"
		"  --version              show the version and leave\n"
		"\n"
		"Run beside the data tree of its build, the game keeps its files there; installed, it keeps\n"
		"them in $XDG_DATA_HOME/tavro (~/.local/share/tavro).\n",
		program, NET_DEFAULT_PORT, NET_DEFAULT_PORT, MAX_TIME_SCALE, SoakFactory::MAX_MATCHES);
}

// A whole number from 1 to limit, or 0.
int ReadNumber(const char *text, long limit) {
	char *end = nullptr;
	long value = strtol(text, &end, 10);
	return *text && *end == '\0' && value >= 1 && value <= limit ? static_cast<int>(value) : 0;
}

int ReadTimeScale(const char *text) {
	return ReadNumber(text, MAX_TIME_SCALE);
}

int ReadPort(const char *text) {
	return ReadNumber(text, 65535);
}

} // namespace

// The command line, read in this one place. Without arguments the game runs as always.
int main(int argc, char **argv) {
	const char *scriptFile = nullptr;
	int timeScale = 1;
	int soakMatches = 0;
	NetStartRequest net;
	// For tests only: LAN discovery on a port of their own, so that runs side by side keep apart.
	if (const char *discovery = getenv("TAVRO_NET_DISCOVERY_PORT")) {
		net.discoveryPort = ReadPort(discovery);
	}
	for (int i = 1; i < argc; i++) {
		if (strcmp(argv[i], "--help") == 0) {
			PrintUsage(stdout, argv[0]);
			return 0;
		} else if (strcmp(argv[i], "--version") == 0) {
			printf("Tavro %s\n", TAVRO_VERSION);
			return 0;
		} else if (strcmp(argv[i], "--script") == 0 && i + 1 < argc) {
			scriptFile = argv[++i];
		} else if (strcmp(argv[i], "--time-scale") == 0 && i + 1 < argc && ReadTimeScale(argv[i + 1])) {
			timeScale = ReadTimeScale(argv[++i]);
		} else if (strcmp(argv[i], "--soak") == 0 && i + 1 < argc &&
				   ReadNumber(argv[i + 1], SoakFactory::MAX_MATCHES)) {
			soakMatches = ReadNumber(argv[++i], SoakFactory::MAX_MATCHES);
		} else if (strcmp(argv[i], "--host") == 0 && net.what == NetPlay::START_NONE) {
			net.what = NetPlay::START_HOST;
			if (i + 1 < argc && ReadPort(argv[i + 1])) {
				net.port = ReadPort(argv[++i]);
			}
		} else if (strcmp(argv[i], "--join") == 0 && i + 1 < argc && net.what == NetPlay::START_NONE) {
			net.what = NetPlay::START_JOIN;
			net.address = argv[++i];
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
	return RunProgram(nullptr, timeScale, net);
}
