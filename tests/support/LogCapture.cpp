#include "LogCapture.h"

#include <fstream>
#include <sstream>

LogCapture::LogCapture(const char *name) : saved(g_log) {
	log.Open("Log.txt", name);
	g_log = &log;
}

LogCapture::~LogCapture() {
	g_log = saved;
}

std::string LogCapture::Text() const {
	std::ifstream in("Log.txt", std::ios::binary);
	std::stringstream ss;
	ss << in.rdbuf();
	return ss.str();
}

int LogCapture::Count(const std::string &part) const {
	return CountOf(Text(), part);
}

std::vector<std::string> LogCapture::Entries() const {
	return LogEntries(Text());
}

std::vector<std::string> LogEntries(const std::string &text) {
	std::vector<std::string> lines;
	size_t at = 0;
	while ((at = text.find(" - ", at)) != std::string::npos) {
		size_t end = text.find(" \n", at);
		lines.push_back(text.substr(at + 3, end - at - 3));
		at = end;
	}
	return lines;
}

int CountOf(const std::string &text, const std::string &part) {
	int n = 0;
	for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
		n++;
	}
	return n;
}

::testing::AssertionResult EntriesInOrder(
	const std::vector<std::string> &entries, const std::vector<std::string> &expected, int from, int *at) {
	int next = from;
	for (const std::string &entry : expected) {
		int found = -1;
		for (int i = next; i < static_cast<int>(entries.size()) && found < 0; i++) {
			found = entries[i] == entry ? i : -1;
		}
		if (found < 0) {
			std::string log;
			for (const std::string &line : entries) {
				log += line + "\n";
			}
			return ::testing::AssertionFailure() << "missing or out of order: " << entry << "\n" << log;
		}
		next = found + 1;
	}
	if (at) {
		*at = next;
	}
	return ::testing::AssertionSuccess();
}
