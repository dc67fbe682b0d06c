#include <cstdio>
#include <cstring>

#include "core/Program.h"
#include "frontend/ScriptTryout.h"

// The command line, read in this one place. Without arguments the game runs as always.
int main(int argc, char **argv) {
	const char *scriptFile = nullptr;
	for (int i = 1; i < argc; i++) {
		if (strcmp(argv[i], "--script") == 0 && i + 1 < argc) {
			scriptFile = argv[++i];
		} else {
			fprintf(stderr, "usage: %s [--script FILE]\n", argv[0]);
			return 2;
		}
	}
	if (scriptFile) {
		ScriptTryoutFactory tryout(scriptFile);
		return RunProgram(&tryout);
	}
	return RunProgram();
}
