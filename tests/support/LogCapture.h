#ifndef TAVRO_TESTS_LOGCAPTURE_H
#define TAVRO_TESTS_LOGCAPTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/LogFile.h"

// The process log pointed at "Log.txt" in the working directory while it lives; the log it
// replaced comes back at the end.
class LogCapture {
public:
	explicit LogCapture(const char *name = "test");
	~LogCapture();

	std::string Text() const;
	bool Has(const std::string &part) const { return Text().find(part) != std::string::npos; }
	int Count(const std::string &part) const;
	// The entries without their stamps, e.g. "Message: MAIN: ...Done!".
	std::vector<std::string> Entries() const;

	LogFile log;

private:
	LogFile *saved;
};

// Reading a log file's text.
std::vector<std::string> LogEntries(const std::string &text);
int CountOf(const std::string &text, const std::string &part);

// Success when every expected entry appears, in this order, from entry `from` on; `at` (if
// given) receives the index after the last one. The log is printed on failure.
::testing::AssertionResult EntriesInOrder(
	const std::vector<std::string> &entries, const std::vector<std::string> &expected, int from = 0, int *at = nullptr);

#endif
