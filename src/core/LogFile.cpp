#include "core/LogFile.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

LogFile *g_log = nullptr;

namespace {

const char *const FORMATS[] = {
	"%s %s - Message: %s \n",
	"%s %s - Warning: %s \n",
	"%s %s - Error: %s \n",
};

} // namespace

LogFile::LogFile()
	: file(nullptr), timeSource(nullptr), lastLevel(-1), repeats(0), leftOut(0), allowance(BURST), refilledAt(0) {
	lastText[0] = '\0';
}

LogFile::~LogFile() {
	if (file) {
		fclose(file);
	}
}

time_t LogFile::Now() const {
	return timeSource ? timeSource() : time(nullptr);
}

void LogFile::Stamps(char *date, char *clock) const {
	time_t now = Now();
	struct tm local;
	localtime_r(&now, &local);
	strftime(date, 9, "%m/%d/%y", &local);
	strftime(clock, 9, "%H:%M:%S", &local);
}

bool LogFile::Open(const char *path, const char *title) {
	if (file) {
		fclose(file);
	}
	file = fopen(path, "wt");
	if (!file) {
		return false;
	}
	char date[9], clock[9];
	Stamps(date, clock);
	char line[LINE_SIZE];
	snprintf(line, sizeof(line), "--- Log \"%s\" open on %s %s ---\n", title ? title : "", date, clock);
	fputs(line, file);
	fputs("\n", file);
	lastText[0] = '\0';
	lastLevel = -1;
	repeats = 0;
	leftOut = 0;
	allowance = BURST;
	refilledAt = Now();
	return true;
}

void LogFile::Write(const char *text, int level) {
	if (!text || !file || level < LOG_MESSAGE || level > LOG_ERROR) {
		return;
	}
	char kept[LINE_SIZE];
	snprintf(kept, sizeof(kept), "%s", text);
	if (level == lastLevel && strcmp(kept, lastText) == 0) {
		if (++repeats < REPEATS_WRITTEN) {
			Put(kept, level, true);
		}
		return;
	}
	Settle();
	memcpy(lastText, kept, sizeof(kept));
	lastLevel = level;
	repeats = 0;
	Put(kept, level, true);
}

void LogFile::Settle() {
	if (repeats >= REPEATS_WRITTEN) {
		char note[LINE_SIZE];
		snprintf(note, sizeof(note), "... the line above again %d times", repeats - REPEATS_WRITTEN + 1);
		Put(note, lastLevel, false);
	}
	repeats = 0;
}

void LogFile::NoteLeftOut() {
	char note[LINE_SIZE];
	snprintf(note, sizeof(note), "... %ld lines left out: the log grows by at most %ld bytes a second", leftOut, RATE);
	leftOut = 0;
	Put(note, LOG_WARNING, false);
}

void LogFile::Put(const char *text, int level, bool counted) {
	const time_t now = Now();
	if (now > refilledAt) {
		const long long grown = static_cast<long long>(now - refilledAt) * RATE;
		allowance = static_cast<long>(std::min<long long>(BURST, allowance + grown));
		refilledAt = now;
	} else if (now < refilledAt) {
		refilledAt = now; // the clock went back: count from here
	}
	char date[9], clock[9];
	Stamps(date, clock);
	char line[LINE_SIZE];
	int length = snprintf(line, sizeof(line), FORMATS[level], date, clock, text);
	if (length < 0) {
		return;
	}
	if (length >= LINE_SIZE) {
		// Too long for the buffer: keep what fits and still end the line.
		length = LINE_SIZE - 1;
		line[length - 1] = '\n';
	}
	// The notes themselves always go in, so the log says what it left out.
	if (counted && length > allowance) {
		leftOut++;
		return;
	}
	if (counted && leftOut > 0) {
		NoteLeftOut();
	}
	allowance -= length;
	fwrite(line, 1, length, file);
	fflush(file);
}

void LogFile::Close() {
	if (!file) {
		return;
	}
	Settle();
	if (leftOut > 0) {
		NoteLeftOut();
	}
	char date[9], clock[9];
	Stamps(date, clock);
	char line[LINE_SIZE];
	snprintf(line, sizeof(line), "\n--- Log closed on %s %s ---\n", date, clock);
	fputs(line, file);
	fclose(file);
	file = nullptr;
}

void Log(int level, const char *format, ...) {
	if (!g_log) {
		return;
	}
	char text[LogFile::LINE_SIZE];
	va_list args;
	va_start(args, format);
	vsnprintf(text, sizeof(text), format, args);
	va_end(args);
	g_log->Write(text, level);
}
