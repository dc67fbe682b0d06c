#ifndef TAVRO_TESTS_SCRATCHDIR_H
#define TAVRO_TESTS_SCRATCHDIR_H

#include <string>

// A fresh directory for one test, made the working directory while it lives (the program
// finds all its files relative to it). The previous working directory comes back at the end.
class ScratchDir {
public:
	ScratchDir();
	~ScratchDir();

	const std::string &Path() const { return path; }
	std::string File(const std::string &name) const { return path + "/" + name; }

	// Helpers for the files tests write and read. Writing replaces a link, never its target.
	void WriteText(const std::string &name, const std::string &text) const;
	std::string ReadText(const std::string &name) const;
	bool Exists(const std::string &name) const;

	// The build's data tree as "data" here: one link, or a tree of links file by file, so a
	// test can write files of its own in place of any.
	void LinkData() const;
	void LinkDataFiles() const;

private:
	std::string path;
	std::string previous;
};

// The build's generated data/ tree, for tests that need real game files.
std::string BuildDataDir();

#endif
