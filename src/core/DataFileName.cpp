#include "core/DataFileName.h"

#include <cstring>
#include <strings.h>

bool CheckDataFileName(const char *name, const char *extension, std::string *problem) {
	const size_t length = name ? strlen(name) : 0;
	const char *fault = nullptr;
	if (length == 0 || length > MAX_DATA_FILE_NAME) {
		fault = "1 to 64 characters long";
	} else if (strspn(name, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.") != length) {
		fault = "made of letters, digits, '_', '-' and '.'";
	} else {
		const char *dot = strrchr(name, '.');
		if (!dot || dot == name || strcasecmp(dot, extension) != 0) {
			fault = "a name with its extension";
		}
	}
	if (fault && problem) {
		*problem = "\"" + PrintableText(name, MAX_DATA_FILE_NAME) + "\" is not " + fault + " (" + extension + ")";
	}
	return fault == nullptr;
}

std::string PrintableText(const char *text, size_t maxLength) {
	std::string shown(text ? text : "", text ? strnlen(text, maxLength) : 0);
	for (char &c : shown) {
		c = c >= ' ' && c <= '~' ? c : '?';
	}
	return shown;
}
