// Time from process start to the first presented frame, and peak resident memory, over several
// runs. Each run is a fresh process doing what the program does: log, start-up, the menu's
// first frame. Run under Xvfb: xvfb-run -a ./bench_startup [runs]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "app/Program.h"
#include "match/NetPlay.h"
#include "core/StateMachine.h"
#include "app/System.h"
#include "gui/WgScriptRunner.h"
#include "script/LuaScriptRunner.h"

namespace {

// Milliseconds since this process started, from the kernel's own record of its start.
double MsSinceProcessStart() {
	FILE *file = fopen("/proc/self/stat", "r");
	if (!file) {
		return -1.0;
	}
	char buffer[1024];
	size_t n = fread(buffer, 1, sizeof(buffer) - 1, file);
	fclose(file);
	buffer[n] = 0;
	// Field 22 is the start time in clock ticks after boot; the name in field 2 may hold spaces.
	const char *p = strrchr(buffer, ')');
	if (!p) {
		return -1.0;
	}
	unsigned long long start = 0;
	int field = 2;
	for (const char *q = p + 1; *q && field < 22; q++) {
		if (*q == ' ') {
			field++;
			if (field == 22) {
				start = strtoull(q + 1, nullptr, 10);
			}
		}
	}
	struct timespec now;
	clock_gettime(CLOCK_BOOTTIME, &now);
	double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
	return nowMs - start * 1000.0 / sysconf(_SC_CLK_TCK);
}

int Child() {
	MonotonicClock clock;
	FrameTimer timer(&clock);
	g_timer = &timer;
	LogFile log;
	log.Open("Log.txt", "Kelvane");
	g_log = &log;
	LuaScriptRunner scripts;
	g_scriptRunner = &scripts;
	System system;
	if (!system.Startup()) {
		return 1;
	}
	NetPlay net;
	DefaultStateFactory factory(net);
	StateMachine states(&factory);
	if (!states.SetGameState(STATE_MENU) || !states.RunGameStateFrame()) {
		return 1;
	}
	glFinish();
	double firstFrame = MsSinceProcessStart();
	states.SetGameState(STATE_NONE);
	system.Shutdown();
	g_scriptRunner = nullptr;
	g_log = nullptr;
	log.Close();
	struct rusage usage;
	getrusage(RUSAGE_SELF, &usage);
	printf("%.1f %ld\n", firstFrame, usage.ru_maxrss);
	return 0;
}

} // namespace

int main(int argc, char **argv) {
	if (argc > 1 && strcmp(argv[1], "--child") == 0) {
		return Child();
	}
	int runs = argc > 1 ? atoi(argv[1]) : 10;
	std::string self = std::filesystem::canonical("/proc/self/exe").string();
	std::filesystem::path scratch = std::filesystem::temp_directory_path() / "tavro-bench-startup";
	std::filesystem::create_directories(scratch);
	// The menu needs the game's data beside it, as the program finds it in its build folder.
	std::filesystem::path data = scratch / "data";
	if (!std::filesystem::exists(data)) {
		std::filesystem::create_symlink(std::filesystem::path(TAVRO_DATA_PARENT) / "data", data);
	}
	setenv("SDL_AUDIODRIVER", "dummy", 1);

	std::vector<double> times;
	std::vector<long> peaks;
	for (int i = 0; i < runs; i++) {
		std::string command = "cd '" + scratch.string() + "' && '" + self + "' --child";
		FILE *pipe = popen(command.c_str(), "r");
		double ms = 0;
		long kb = 0;
		if (!pipe || fscanf(pipe, "%lf %ld", &ms, &kb) != 2) {
			fprintf(stderr, "run %d failed\n", i);
			if (pipe) {
				pclose(pipe);
			}
			return 1;
		}
		pclose(pipe);
		times.push_back(ms);
		peaks.push_back(kb);
		printf("run %2d: first frame after %7.1f ms, peak resident %6.1f MB\n", i + 1, ms, kb / 1024.0);
	}
	std::vector<double> sorted = times;
	std::sort(sorted.begin(), sorted.end());
	double sum = 0;
	for (double t : times) {
		sum += t;
	}
	printf("first frame: mean %.1f ms, median %.1f ms, worst %.1f ms (aim: under 300 ms)\n", sum / runs,
		sorted[runs / 2], sorted.back());
	printf("peak resident memory: worst %.1f MB (aim: under 100 MB)\n",
		*std::max_element(peaks.begin(), peaks.end()) / 1024.0);
	std::filesystem::remove_all(scratch);
	return 0;
}
