#ifndef TAVRO_SCRIPT_SCRIPTFILES_H
#define TAVRO_SCRIPT_SCRIPTFILES_H

#include <string>

// The files scripts reach. A script names scripts, pictures and fonts only inside the game's
// data tree: relative paths under "data/" (the game runs in the folder that holds it), or
// inside the one folder allowed besides (the folder of the file given with --script). Absolute
// paths elsewhere and ".." are refused. The script files the host runs are read whole, never
// precompiled, never larger than MAX_CHUNK.
class ScriptFiles {
public:
	static const char *const DATA_FOLDER;

	// Whether a script may name the path. Only the text is looked at, nothing on disk.
	static bool Allows(const char *path);
	// Paths inside this folder are allowed too; "" for none.
	static void AllowFolder(const std::string &folder);

	// The text to run, as Lua's own loader would see it (a first line starting with "#" is left
	// out, its line kept so that line numbers match). False, with the reason in Lua's words,
	// when the file cannot be read, is too large or is a precompiled chunk.
	static bool Read(const char *path, std::string *text, std::string *problem);
};

#endif
