#ifndef TAVRO_TESTS_DATA_DATAFILES_H
#define TAVRO_TESTS_DATA_DATAFILES_H

#include <string>
#include <vector>

// The directory the program runs in: it holds data/, and the paths inside the description files
// are relative to it.
std::string RunDir();
std::string DataPath(const std::string &rel);
bool FileExists(const std::string &path);
std::string ReadFile(const std::string &path);
// Tokens split at line feeds, runs of line feeds counting as one, carriage returns dropped.
std::vector<std::string> Lines(const std::string &text);
// Tokens split at white space.
std::vector<std::string> Words(const std::string &text);
// Files of one folder of the data tree with the given extension, sorted.
std::vector<std::string> FilesWithExtension(const std::string &folder, const std::string &ext);

#endif
