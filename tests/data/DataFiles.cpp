#include "DataFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ScratchDir.h"

namespace fs = std::filesystem;

std::vector<std::string> DataFiles(const std::string &folder, const std::string &extension) {
	std::vector<std::string> out;
	for (const auto &entry : fs::directory_iterator(fs::path(BuildDataDir()) / folder)) {
		if (entry.path().extension() == extension) {
			out.push_back("data/" + folder + "/" + entry.path().filename().string());
		}
	}
	std::sort(out.begin(), out.end());
	return out;
}

std::string ReadFile(const std::string &path) {
	std::ifstream in(path, std::ios::binary);
	std::stringstream ss;
	ss << in.rdbuf();
	return ss.str();
}

// PLIB's 3DS loader frees one of its own new[] buffers with plain delete; that is the library's
// bug, not ours, so sanitizer builds of these tests let it pass (only consulted by AddressSanitizer).
extern "C" const char *__asan_default_options() {
	return "alloc_dealloc_mismatch=0";
}
