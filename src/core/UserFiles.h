#ifndef TAVRO_CORE_USERFILES_H
#define TAVRO_CORE_USERFILES_H

#include <string>

// The files the game writes and reads back: the options, the video settings, the log and the
// screenshot. They live in the working directory unless start-up names the player's own folder
// for them (an installed game).
enum UserFile {
	USER_OPTIONS,      // "options.dat"
	USER_VIDEO_CONFIG, // "video.cfg"
	USER_LOG,          // "Log.txt"
	USER_SCREENSHOT,   // "screen.bmp"
	USER_FILE_COUNT
};

// The folder for the files, or "" for the working directory.
void SetUserFolder(const std::string &folder);
// The path to open the file by.
const char *UserFilePath(UserFile file);

#endif
