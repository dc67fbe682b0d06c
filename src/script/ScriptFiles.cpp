#include "script/ScriptFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "script/ScriptLibraries.h"

const char *const ScriptFiles::DATA_FOLDER = "data";

namespace {

// The folder allowed besides the data tree, from the root, as Components gives it.
std::string s_extraFolder;

// The path without empty and "." components, with single slashes; "" for none left. False when
// a component is "..".
bool Components(const std::string &path, std::string *out) {
	out->clear();
	size_t at = 0;
	while (at <= path.size()) {
		size_t end = path.find('/', at);
		if (end == std::string::npos) {
			end = path.size();
		}
		const std::string part = path.substr(at, end - at);
		if (part == "..") {
			return false;
		}
		if (!part.empty() && part != ".") {
			*out += (out->empty() ? "" : "/") + part;
		}
		at = end + 1;
	}
	return true;
}

bool IsInside(const std::string &path, const std::string &folder) {
	return !folder.empty() && path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
		   path[folder.size()] == '/';
}

std::string WorkingFolder() {
	char here[4096];
	return getcwd(here, sizeof(here)) ? here : "";
}

} // namespace

bool ScriptFiles::Allows(const char *path) {
	std::string parts;
	if (!path || !Components(path, &parts) || parts.empty()) {
		return false;
	}
	if (path[0] != '/' && IsInside(parts, DATA_FOLDER)) {
		return true;
	}
	if (s_extraFolder.empty()) {
		return false;
	}
	std::string full = parts;
	if (path[0] != '/' && !Components(WorkingFolder() + "/" + parts, &full)) {
		return false;
	}
	return IsInside("/" + full, s_extraFolder);
}

void ScriptFiles::AllowFolder(const std::string &folder) {
	std::string parts;
	s_extraFolder.clear();
	if (!folder.empty() && Components(folder[0] == '/' ? folder : WorkingFolder() + "/" + folder, &parts)) {
		s_extraFolder = "/" + parts;
	}
}

bool ScriptFiles::Read(const char *path, std::string *text, std::string *problem) {
	text->clear();
	FILE *file = path ? fopen(path, "rb") : nullptr;
	if (!file) {
		*problem = std::string("cannot open ") + (path ? path : "(null)") + ": " + strerror(errno);
		return false;
	}
	char buffer[4096];
	size_t got = 0;
	bool tooLarge = false;
	while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0) {
		if (text->size() + got > MAX_CHUNK) {
			tooLarge = true;
			break;
		}
		text->append(buffer, got);
	}
	const bool failed = ferror(file) != 0;
	fclose(file);
	if (failed || tooLarge) {
		*problem = failed ? std::string("cannot read ") + path : "chunk too large";
		return false;
	}
	if (!text->empty() && (*text)[0] == '#') {
		const size_t end = text->find('\n');
		text->erase(0, end == std::string::npos ? text->size() : end);
	}
	if (IsBinaryChunk(text->data(), text->size())) {
		*problem = "precompiled chunks are refused";
		return false;
	}
	return true;
}
