#include "core/UserFiles.h"

#include <cassert>

namespace {

const char *const NAMES[USER_FILE_COUNT] = {"options.dat", "video.cfg", "Log.txt", "screen.bmp"};

// Built once when the folder is set, so callers never build paths in a frame.
std::string s_paths[USER_FILE_COUNT] = {NAMES[0], NAMES[1], NAMES[2], NAMES[3]};

} // namespace

void SetUserFolder(const std::string &folder) {
	for (int i = 0; i < USER_FILE_COUNT; i++) {
		s_paths[i] = folder.empty() ? NAMES[i] : folder + "/" + NAMES[i];
	}
}

const char *UserFilePath(UserFile file) {
	assert(file >= 0 && file < USER_FILE_COUNT);
	return s_paths[file].c_str();
}
