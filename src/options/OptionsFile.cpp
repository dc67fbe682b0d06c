#include "options/OptionsFile.h"

#include "core/LogFile.h"
#include "options/OptionsRecord.h"

OptionsFile g_optionsFile;

void OptionsFile::Load(OptionsRecord &record, const char *path) {
	unreadable.clear();
	bool missing = false;
	if (record.Read(path, &missing)) {
		record.Validate();
		return;
	}
	record.SetDefaults();
	if (missing) {
		record.Write(path);
		return;
	}
	unreadable = path;
	Log(LOG_WARNING, "OPTIONS: \"%s\" cannot be read; the defaults hold for this run and the file is left as it is",
		path);
}

bool OptionsFile::Save(const OptionsRecord &record, const char *path) const {
	if (!unreadable.empty() && unreadable == path) {
		Log(LOG_WARNING, "OPTIONS: \"%s\" could not be read at start-up, so it is not replaced", path);
		return false;
	}
	return record.Write(path);
}
