#include "script/ScriptFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "script/ScriptLibraries.h"

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
