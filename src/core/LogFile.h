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
// Whatever writes to it, the log cannot fill the disk: a line repeated in a row more often than
// the game itself ever writes one (ten cameras going, say) is counted instead ("... the line above
// again N times"), and past a burst the file grows by at most RATE bytes a second, the lines
// beyond that counted and left out.
class LogFile {
public:
	typedef time_t (*TimeSource)();

	static constexpr int LINE_SIZE = 200;      // characters per line, terminator included
	static constexpr int REPEATS_WRITTEN = 32; // copies of a line in a row before they are counted
	static constexpr long RATE = 4096;         // bytes a second, once the burst is spent
	static constexpr long BURST = 64 * 1024;   // bytes written at once, and at most saved up

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
	time_t Now() const;
	// Writes a stamped line when the rate allows it; counts it as left out otherwise.
	void Put(const char *text, int level, bool counted);
	// The note for the repeats of the last line, when one is owed.
	void Settle();
	// Says how many lines the rate kept out, and starts counting again.
	void NoteLeftOut();

	FILE *file;
	TimeSource timeSource;
	char lastText[LINE_SIZE]; // the last line asked for, without its stamps
	int lastLevel;
	int repeats;       // of the last line, beyond what was written
	long leftOut;      // lines the rate kept out since the last note
	long allowance;    // bytes that may be written now
	time_t refilledAt; // seconds, when the allowance last grew
};

// The process-wide log; null until program entry creates it, and tests may point it at their own.
extern LogFile *g_log;

// Formats a line and writes it to g_log; does nothing without a log.
void Log(int level, const char *format, ...) __attribute__((format(printf, 2, 3)));

#endif
