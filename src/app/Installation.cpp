#include "app/Installation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "core/UserFiles.h"

namespace {

bool IsFolder(const std::string &path) {
	struct stat info;
	return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// mkdir -p, with the folders only their owner may enter.
bool MakeFolders(const std::string &path) {
	for (size_t at = 1; at <= path.size(); at++) {
		if (at == path.size() || path[at] == '/') {
			std::string part = path.substr(0, at);
			if (!IsFolder(part) && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
				return false;
			}
		}
	}
	return IsFolder(path);
}

} // namespace

const char *const DATA_TREE_MARKER = "data/.tavro_data";

std::string InstalledDataFolder(const std::string &programPath) {
	size_t slash = programPath.rfind('/');
	std::string bin = slash == std::string::npos ? "." : programPath.substr(0, slash);
	return bin + "/../share/tavro";
}

std::string PlayerFolder(const char *xdgDataHome, const char *home) {
	// The XDG rules: a relative XDG_DATA_HOME is ignored.
	if (xdgDataHome && xdgDataHome[0] == '/') {
		return std::string(xdgDataHome) + "/tavro";
	}
	if (home && home[0]) {
		return std::string(home) + "/.local/share/tavro";
	}
	return "";
}

bool UsesWorkingData(const std::string &programPath, const std::string &workingFolder) {
	if (!IsFolder("data")) {
		return false;
	}
	struct stat info;
	if (stat(DATA_TREE_MARKER, &info) == 0) {
		return true;
	}
	const size_t slash = programPath.rfind('/');
	return slash != std::string::npos && programPath.substr(0, slash) == workingFolder;
}

bool PrepareFolders(std::string *problem) {
	char self[PATH_MAX];
	ssize_t length = readlink("/proc/self/exe", self, sizeof(self) - 1);
	if (length <= 0) {
		*problem = "cannot find the program's own path";
		return false;
	}
	self[length] = '\0';
	char *here = realpath(".", nullptr);
	const bool working = UsesWorkingData(self, here ? here : "");
	free(here);
	if (working) {
		SetUserFolder("");
		return true;
	}
	const std::string data = InstalledDataFolder(self);
	if (!IsFolder(data + "/data")) {
		*problem = "no data/ folder here and none installed in " + data;
		return false;
	}
	const std::string player = PlayerFolder(getenv("XDG_DATA_HOME"), getenv("HOME"));
	if (player.empty() || !MakeFolders(player)) {
		*problem = "cannot make the folder for the game's files (" + player + "): " + strerror(errno);
		return false;
	}
	if (chdir(data.c_str()) != 0) {
		*problem = "cannot enter " + data + ": " + strerror(errno);
		return false;
	}
	SetUserFolder(player);
	return true;
}
