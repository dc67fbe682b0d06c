#ifndef TAVRO_SCRIPT_SCRIPTFILES_H
#define TAVRO_SCRIPT_SCRIPTFILES_H

#include <string>

// The script files the host runs: read whole, never precompiled, never larger than MAX_CHUNK.
class ScriptFiles {
public:
	// The text to run, as Lua's own loader would see it (a first line starting with "#" is left
	// out, its line kept so that line numbers match). False, with the reason in Lua's words,
	// when the file cannot be read, is too large or is a precompiled chunk.
	static bool Read(const char *path, std::string *text, std::string *problem);
};

#endif
