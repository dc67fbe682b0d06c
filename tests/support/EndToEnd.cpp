#include "EndToEnd.h"

#include <cstdlib>
#include <filesystem>

#include "options/OptionsRecord.h"

namespace fs = std::filesystem;

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

::testing::AssertionResult EntriesInOrder(const std::vector<std::string> &entries,
                                          const std::vector<std::string> &expected, int from, int *at) {
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

int CountEntries(const std::vector<std::string> &entries, const std::string &entry) {
	int n = 0;
	for (const std::string &line : entries) {
		n += line == entry;
	}
	return n;
}

std::string Xdo(const XServer &x, const std::string &actions) {
	return RunOnDisplay(x.Display(), "xdotool search --name 'Tavro v0.9' windowfocus --sync " + actions);
}

void Shoot(const XServer &x, const std::string &file) {
	// import asks for a click when it gets no window: never let it wait.
	RunOnDisplay(x.Display(),
		"w=$(xdotool search --name 'Tavro v0.9' | head -n 1); timeout 20 import -window \"${w:-root}\" " + file);
	KeepShot(file);
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

void ChooseInMenu(const XServer &x, int tabs) {
	std::string keys = "mousemove --window %1 2 2 sleep 0.2";
	for (int i = 0; i < tabs; i++) {
		keys += " key Tab";
	}
	Xdo(x, keys + " sleep 0.1 key Return");
}
