#include "gl2d/GL2D_TextFile.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/LogFile.h"

GL2D_TextFile::GL2D_TextFile() : position(0) {}

bool GL2D_TextFile::Open(const char *path) {
	text.clear();
	position = 0;
	if (!path) {
		return false;
	}
	FILE *file = fopen(path, "rb");
	if (!file) {
		return false;
	}
	char buffer[4096];
	size_t got;
	bool tooLarge = false;
	while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0) {
		if (text.size() + got > MAX_FILE_SIZE) {
			tooLarge = true;
			break;
		}
		text.append(buffer, got);
	}
	fclose(file);
	if (tooLarge) {
		Log(LOG_WARNING, "GL2D: %s is larger than %u bytes, refused", path, unsigned(MAX_FILE_SIZE));
		text.clear();
		return false;
	}
	// The readers work on C strings: a stray NUL ends the text.
	size_t nul = text.find('\0');
	if (nul != std::string::npos) {
		text.resize(nul);
	}
	return true;
}

bool GL2D_TextFile::NextLine(std::string &line, size_t maxLength) {
	while (position < text.size()) {
		size_t end = text.find('\n', position);
		if (end == std::string::npos) {
			end = text.size();
		}
		size_t length = end - position;
		if (length > 0 && text[end - 1] == '\r') {
			length--;
		}
		size_t start = position;
		position = end < text.size() ? end + 1 : end;
		if (length == 0) {
			continue;
		}
		if (length > maxLength) {
			return false;
		}
		line.assign(text, start, length);
		return true;
	}
	return false;
}

bool GL2D_TextFile::NextWord(std::string &word, size_t maxLength) {
	while (position < text.size() && isspace(static_cast<unsigned char>(text[position]))) {
		position++;
	}
	size_t start = position;
	while (position < text.size() && !isspace(static_cast<unsigned char>(text[position]))) {
		position++;
	}
	size_t length = position - start;
	if (length == 0 || length > maxLength) {
		return false;
	}
	word.assign(text, start, length);
	return true;
}

bool GL2D_TextFile::NextInt(int &value) {
	std::string word;
	if (!NextWord(word, 32)) {
		return false;
	}
	char *end = nullptr;
	errno = 0;
	long parsed = strtol(word.c_str(), &end, 10);
	if (end == word.c_str() || *end != '\0' || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) {
		return false;
	}
	value = static_cast<int>(parsed);
	return true;
}

bool GL2D_ParseIntFields(const std::string &text, int count, int *values) {
	const char *field = text.c_str();
	for (int i = 0; i < count; i++) {
		if (i > 0) {
			field = strchr(field, ',');
			if (!field) {
				return false;
			}
			field++;
		}
		while (*field == ' ' || *field == '\t') {
			field++;
		}
		char *end = nullptr;
		errno = 0;
		long parsed = strtol(field, &end, 10);
		if (end == field || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) {
			return false;
		}
		values[i] = static_cast<int>(parsed);
	}
	return true;
}

bool GL2D_TextFile::NextImageLines(const char *file, std::string &imagePath, std::string &alphaPath) {
	if (NextLine(imagePath, MAX_FILE_NAME) && NextLine(alphaPath, MAX_FILE_NAME)) {
		return true;
	}
	Log(LOG_WARNING, "GL2D: %s lacks its image or alpha line (or one is too long), refused", file);
	return false;
}
