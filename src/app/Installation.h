#ifndef TAVRO_APP_INSTALLATION_H
#define TAVRO_APP_INSTALLATION_H

#include <string>

// Where the game reads its data and keeps its own files. With a data/ tree in the working
// directory (a build folder) everything stays there. Otherwise the data comes from the tree
// installed beside the program (<prefix>/share/tavro, found from the program's own path), which
// becomes the working directory, and the options, video settings, log and screenshot go to the
// player's own folder: $XDG_DATA_HOME/tavro, or ~/.local/share/tavro, made on the first start.
// False, with the reason, when neither can be found or made.
bool PrepareFolders(std::string *problem);

// The installed data tree for a program at programPath: <dir>/../share/tavro.
std::string InstalledDataFolder(const std::string &programPath);
// The player's folder for the given XDG_DATA_HOME and HOME (either may be null or empty).
std::string PlayerFolder(const char *xdgDataHome, const char *home);

#endif
