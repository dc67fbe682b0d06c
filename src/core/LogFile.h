#ifndef TAVRO_CORE_LOGFILE_H
#define TAVRO_CORE_LOGFILE_H

#include <cstdio>
#include <ctime>

enum LogLevel {
	LOG_MESSAGE = 0,
	LOG_WARNING = 1,
	LOG_ERROR = 2
};

// The one text log: every line stamped with the local date and time and a level
// word, and flushed at once so the file is whole up to the last line after a crash.
class LogFile {
public:
	typedef time_t (*TimeSource)();

	static constexpr int LINE_SIZE = 200; // characters per line, terminator included

	LogFile();
	~LogFile();

	bool Open(const char *path, const char *title);
	void Write(const char *text, int level);
	void Close();

	bool IsOpen() const { return file != nullptr; }

	// Tests pin the stamps; the program uses the wall clock.
	void SetTimeSource(TimeSource source) { timeSource = source; }

private:
	void Stamps(char *date, char *clock) const;

	FILE *file;
	TimeSource timeSource;
};

// The process-wide log; null until program entry creates it, and tests may point it at their own.
extern LogFile *g_log;

// Formats a line and writes it to g_log; does nothing without a log.
void Log(int level, const char *format, ...) __attribute__((format(printf, 2, 3)));

#endif
