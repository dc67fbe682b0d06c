#include "EndToEnd.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "options/OptionsRecord.h"

namespace fs = std::filesystem;

GameRun::GameRun(const std::string &video, const char *screen) : x(screen) {
	dir.LinkData();
	if (!video.empty()) {
		dir.WriteText("video.cfg", video);
	}
}

::testing::AssertionResult GameRun::StartToMenu(const std::vector<std::string> &arguments) {
	if (!x.IsRunning()) {
		return ::testing::AssertionFailure() << "no X server";
	}
	if (!game.Start(x.Display(), arguments)) {
		return ::testing::AssertionFailure() << "the program did not start";
	}
	if (!WaitFor("MAIN: ...Done!")) {
		return ::testing::AssertionFailure() << "no menu:\n" << Log();
	}
	return ::testing::AssertionSuccess();
}

bool GameRun::WaitFor(const std::string &text, int timeoutMs, int count) const {
	for (int waited = 0; waited <= timeoutMs; waited += 50) {
		if (CountOf(Log(), text) >= count) {
			return true;
		}
		usleep(50000);
	}
	return false;
}

std::string GameRun::Xdo(const std::string &actions) const {
	return RunOnDisplay(x.Display(), "xdotool search --name 'Tavro v0.9' windowfocus --sync " + actions);
}

void GameRun::ChooseInMenu(int tabs) const {
	std::string keys = "mousemove --window %1 2 2 sleep 0.4";
	for (int i = 0; i < tabs; i++) {
		keys += " key Tab";
	}
	Xdo(keys + " sleep 0.1 key Return");
}

void GameRun::Shoot(const std::string &file) const {
	// import asks for a click when it gets no window: never let it wait.
	RunOnDisplay(x.Display(),
		"w=$(xdotool search --name 'Tavro v0.9' | head -n 1); timeout 20 import -window \"${w:-root}\" " + file);
	KeepShot(file);
}

::testing::AssertionResult GameRun::Clean() const {
	for (const std::string &entry : LogEntries(Log())) {
		if (entry.find("Error:") != std::string::npos) {
			return ::testing::AssertionFailure() << entry;
		}
	}
	const std::string errors = dir.ReadText(GameProcess::ERRORS_FILE);
	if (errors.find("Sanitizer") != std::string::npos || errors.find("runtime error") != std::string::npos) {
		return ::testing::AssertionFailure() << errors;
	}
	return ::testing::AssertionSuccess();
}

void KeepShot(const std::string &file) {
	fs::path shots = fs::path(TAVRO_BINARY_DIR) / "screenshots";
	fs::create_directories(shots);
	std::error_code ec;
	fs::copy_file(file, shots / fs::path(file).filename(), fs::copy_options::overwrite_existing, ec);
}

double Difference(const std::string &a, const std::string &b) {
	std::string out = RunOnDisplay("", "(compare -metric RMSE " + a + " " + b + " null: 2>&1)");
	size_t open = out.find('(');
	return open == std::string::npos ? 1.0 : atof(out.c_str() + open + 1);
}

void WriteOptions(int mode, int daytime, int length, int arena) {
	OptionsRecord options;
	options.SetDefaults();
	options.mode = mode;
	options.daytime = daytime;
	options.matchLength = length;
	options.arena = arena;
	options.shootTime = 3;
	ASSERT_TRUE(options.Write("options.dat"));
}

bool GameRun::HoldUntil(const std::string &key, const std::string &text, int count) const {
	for (int tries = 0; tries < 10; tries++) {
		Xdo("keydown " + key + " sleep 0.2 keyup " + key);
		if (WaitFor(text, 1000, count)) {
			return true;
		}
	}
	return false;
}
