#ifndef TAVRO_OPTIONS_OPTIONSFILE_H
#define TAVRO_OPTIONS_OPTIONSFILE_H

#include <string>

struct OptionsRecord;

// "options.dat" over a run: start-up loads it, the menus save the record back into it. A file
// that is there but cannot be read (one left by a run under another user, say) is reported and
// never replaced: the options chosen then hold until the game ends.
class OptionsFile {
public:
	// Reads the file into the record and validates it; where there is none, the record takes
	// the defaults and they are written.
	void Load(OptionsRecord &record, const char *path);
	// Writes the record; false (logged) for the file Load could not read, or a failed write.
	bool Save(const OptionsRecord &record, const char *path) const;

private:
	std::string unreadable; // the path Load could not read; "" for none
};

// The one the game's start-up and menus use.
extern OptionsFile g_optionsFile;

#endif
