#ifndef TAVRO_TESTS_GAMEPROCESS_H
#define TAVRO_TESTS_GAMEPROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

// A private Xvfb server for one end-to-end test, so tests never share a screen.
class XServer {
public:
	// A screen of 1024 × 768 unless asked for another ("WIDTHxHEIGHT").
	explicit XServer(const char *screen = "1024x768");
	~XServer();
	bool IsRunning() const { return pid > 0 && !display.empty(); }
	const std::string &Display() const { return display; }

private:
	pid_t pid;
	std::string display; // ":N"
};

// The real program, started in the current working directory on a given display, with no
// sound card unless the environment has one. What it writes to standard error (a sanitizer's
// report, say) goes to ERRORS_FILE there.
class GameProcess {
public:
	static const char *const ERRORS_FILE;

	GameProcess();
	~GameProcess();

	bool Start(const std::string &display, const std::vector<std::string> &arguments = {});
	// Sends SIGTERM (SDL turns it into a quit request) and waits; returns the exit status or -1.
	int Terminate(int timeoutMs = 20000);
	// Waits for the program to end by itself; returns the exit status or -1.
	int Wait(int timeoutMs = 20000);
	bool IsRunning();
	pid_t Pid() const { return pid; }

private:
	pid_t pid;
};

// Runs a shell command with DISPLAY set and returns its standard output.
std::string RunOnDisplay(const std::string &display, const std::string &command);

#endif
