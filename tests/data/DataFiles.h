#ifndef TAVRO_TESTS_DATA_DATAFILES_H
#define TAVRO_TESTS_DATA_DATAFILES_H

#include <string>
#include <vector>

// Files of the build's data tree, as "data/<folder>/<name>" (run the test where ScratchDir's
// LinkData put the tree); sorted.
std::vector<std::string> DataFiles(const std::string &folder, const std::string &extension);
std::string ReadFile(const std::string &path);

#endif
