#include "core/LogFile.h"

#include <cstdarg>
#include <cstring>

LogFile *g_log = nullptr;

LogFile::LogFile() : file(nullptr), timeSource(nullptr) {}

LogFile::~LogFile() {
	if (file) {
		fclose(file);
	}
}

void LogFile::Stamps(char *date, char *clock) const {
	time_t now = timeSource ? timeSource() : time(nullptr);
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
	return true;
}

void LogFile::Write(const char *text, int level) {
	static const char *const formats[] = {
		"%s %s - Message: %s \n",
		"%s %s - Warning: %s \n",
		"%s %s - Error: %s \n",
	};
	if (!text || !file || level < LOG_MESSAGE || level > LOG_ERROR) {
		return;
	}
	char date[9], clock[9];
	Stamps(date, clock);
	char line[LINE_SIZE];
	int length = snprintf(line, sizeof(line), formats[level], date, clock, text);
	if (length < 0) {
		return;
	}
	if (length >= LINE_SIZE) {
		// Too long for the buffer: keep what fits and still end the line.
		length = LINE_SIZE - 1;
		line[length - 1] = '\n';
	}
	fwrite(line, 1, length, file);
	fflush(file);
}

void LogFile::Close() {
	if (!file) {
		return;
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
