#include "DataFiles.h"

#include "ScratchDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::string RunDir() { return fs::path(BuildDataDir()).parent_path().string(); }

std::string DataPath(const std::string &rel) { return RunDir() + "/" + rel; }

bool FileExists(const std::string &path) { return fs::is_regular_file(path); }

std::string ReadFile(const std::string &path)
{
	std::ifstream in(path, std::ios::binary);
	std::stringstream ss;
	ss << in.rdbuf();
	return ss.str();
}

std::vector<std::string> Lines(const std::string &text)
{
	std::vector<std::string> out;
	std::string cur;
	for (char c : text) {
		if (c == '\n') {
			if (!cur.empty())
				out.push_back(cur);
			cur.clear();
		} else if (c != '\r') {
			cur += c;
		}
	}
	if (!cur.empty())
		out.push_back(cur);
	return out;
}

std::vector<std::string> Words(const std::string &text)
{
	std::vector<std::string> out;
	std::istringstream in(text);
	std::string w;
	while (in >> w)
		out.push_back(w);
	return out;
}

std::vector<std::string> FilesWithExtension(const std::string &folder, const std::string &ext)
{
	std::vector<std::string> out;
	for (const auto &e : fs::directory_iterator(BuildDataDir() + "/" + folder))
		if (e.path().extension() == ext)
			out.push_back(e.path().string());
	std::sort(out.begin(), out.end());
	return out;
}

// PLIB's 3DS loader frees one of its own new[] buffers with plain delete; that is the library's
// bug, not ours, so sanitizer builds of these tests let it pass (only consulted by AddressSanitizer).
extern "C" const char *__asan_default_options() { return "alloc_dealloc_mismatch=0"; }
