#include "GameProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

bool WaitForExit(pid_t pid, int timeoutMs, int *status) {
	for (int waited = 0; waited <= timeoutMs; waited += 20) {
		pid_t done = waitpid(pid, status, WNOHANG);
		if (done == pid) {
			return true;
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(20));
	}
	return false;
}

} // namespace

XServer::XServer(const char *screen) : pid(-1) {
	const std::string depth = std::string(screen) + "x24";
	int fds[2];
	if (pipe(fds) != 0) {
		return;
	}
	pid = fork();
	if (pid == 0) {
		close(fds[0]);
		std::string fd = std::to_string(fds[1]);
		int devnull = open("/dev/null", O_WRONLY);
		dup2(devnull, 2);
		execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", depth.c_str(), "-noreset", "-nolisten", "tcp",
			static_cast<char *>(nullptr));
		_exit(127);
	}
	close(fds[1]);
	char buffer[32] = {0};
	ssize_t got = 0;
	// Xvfb writes the display number once it accepts connections.
	while (got < static_cast<ssize_t>(sizeof(buffer)) - 1) {
		ssize_t n = read(fds[0], buffer + got, sizeof(buffer) - 1 - got);
		if (n <= 0) {
			break;
		}
		got += n;
		if (buffer[got - 1] == '\n') {
			break;
		}
	}
	close(fds[0]);
	int number = atoi(buffer);
	if (got > 0) {
		display = ":" + std::to_string(number);
	}
}

XServer::~XServer() {
	if (pid > 0) {
		kill(pid, SIGTERM);
		int status = 0;
		if (!WaitForExit(pid, 5000, &status)) {
			kill(pid, SIGKILL);
			waitpid(pid, &status, 0);
		}
	}
}

const char *const GameProcess::ERRORS_FILE = "stderr.txt";

GameProcess::GameProcess() : pid(-1) {}

GameProcess::~GameProcess() {
	if (pid > 0) {
		kill(pid, SIGKILL);
		int status = 0;
		waitpid(pid, &status, 0);
	}
}

bool GameProcess::Start(const std::string &display, const std::vector<std::string> &arguments) {
	const std::string binary = std::string(TAVRO_BINARY_DIR) + "/tavro";
	std::vector<char *> argv;
	argv.push_back(const_cast<char *>(binary.c_str()));
	for (const std::string &argument : arguments) {
		argv.push_back(const_cast<char *>(argument.c_str()));
	}
	argv.push_back(nullptr);
	pid = fork();
	if (pid == 0) {
		setenv("DISPLAY", display.c_str(), 1);
		int devnull = open("/dev/null", O_WRONLY);
		int errors = open(ERRORS_FILE, O_WRONLY | O_CREAT | O_APPEND, 0644);
		dup2(devnull, 1);
		dup2(errors >= 0 ? errors : devnull, 2);
		execv(binary.c_str(), argv.data());
		_exit(127);
	}
	return pid > 0;
}

int GameProcess::Terminate(int timeoutMs) {
	if (pid <= 0) {
		return -1;
	}
	kill(pid, SIGTERM);
	return Wait(timeoutMs);
}

int GameProcess::Wait(int timeoutMs) {
	if (pid <= 0) {
		return -1;
	}
	int status = 0;
	bool exited = WaitForExit(pid, timeoutMs, &status);
	if (!exited) {
		return -1;
	}
	pid = -1;
	return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool GameProcess::IsRunning() {
	if (pid <= 0) {
		return false;
	}
	int status = 0;
	if (waitpid(pid, &status, WNOHANG) == pid) {
		pid = -1;
		return false;
	}
	return true;
}

std::string RunOnDisplay(const std::string &display, const std::string &command) {
	std::string full = "export DISPLAY=" + display + "; " + command + " 2>/dev/null";
	FILE *pipe = popen(full.c_str(), "r");
	if (!pipe) {
		return "";
	}
	std::string output;
	char buffer[512];
	size_t n;
	while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
		output.append(buffer, n);
	}
	pclose(pipe);
	return output;
}
