#ifndef TAVRO_CORE_DATAFILENAME_H
#define TAVRO_CORE_DATAFILENAME_H

#include <cstddef>
#include <string>

// Names of data files that other files name (textures in models, models in arena files) are
// plain: no folder, no room for a shell or a library to read them as anything else.
constexpr size_t MAX_DATA_FILE_NAME = 64; // characters

// True for 1 to MAX_DATA_FILE_NAME letters, digits, '_', '-' and '.', ending in extension (any
// case). Otherwise false, with the reason in problem.
bool CheckDataFileName(const char *name, const char *extension, std::string *problem);

// The text as it may go into the log: at most maxLength characters, unprintable ones as '?'.
std::string PrintableText(const char *text, size_t maxLength);

#endif
