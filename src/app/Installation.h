#ifndef TAVRO_APP_INSTALLATION_H
#define TAVRO_APP_INSTALLATION_H

#include <string>

// Where the game reads its data and keeps its own files. With the game's data tree in the
// working directory (a build folder: UsesWorkingData) everything stays there. Otherwise the data
// comes from the tree installed beside the program (<prefix>/share/tavro, found from the
// program's own path), which becomes the working directory, and the options, video settings,
// log and screenshot go to the player's own folder: $XDG_DATA_HOME/tavro, or
// ~/.local/share/tavro, made on the first start. False, with the reason, when neither can be
// found or made.
bool PrepareFolders(std::string *problem);

// The file the build puts in the data tree it makes (and does not install).
extern const char *const DATA_TREE_MARKER;
// Whether the working directory's data/ folder is the game's: it holds the build's marker, or
// the program (at programPath, links resolved) lies in the working folder (its build folder).
// Any other data/ folder (a player's ~/data) is not ours.
bool UsesWorkingData(const std::string &programPath, const std::string &workingFolder);

// The installed data tree for a program at programPath: <dir>/../share/tavro.
std::string InstalledDataFolder(const std::string &programPath);
// The player's folder for the given XDG_DATA_HOME and HOME (either may be null or empty).
std::string PlayerFolder(const char *xdgDataHome, const char *home);

#endif
