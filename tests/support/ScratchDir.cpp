#include "ScratchDir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
	const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
	std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "scratch";
	for (char &c : name) {
		if (c == '/') {
			c = '_';
		}
	}
	fs::path base = fs::temp_directory_path() / ("tavro-test-" + std::to_string(getpid()));
	fs::path dir = base / name;
	fs::remove_all(dir);
	fs::create_directories(dir);
	path = dir.string();
	previous = fs::current_path().string();
	fs::current_path(dir);
}

ScratchDir::~ScratchDir() {
	std::error_code ec;
	fs::current_path(previous, ec);
	if (!getenv("TAVRO_KEEP_SCRATCH")) {
		fs::remove_all(path, ec);
	}
}

void ScratchDir::WriteText(const std::string &name, const std::string &text) const {
	fs::path file = fs::path(path) / name;
	fs::create_directories(file.parent_path());
	if (fs::is_symlink(file)) {
		fs::remove(file); // never write through into the build's data tree
	}
	std::ofstream out(file, std::ios::binary);
	out << text;
}

std::string ScratchDir::ReadText(const std::string &name) const {
	std::ifstream in(fs::path(path) / name, std::ios::binary);
	std::stringstream ss;
	ss << in.rdbuf();
	return ss.str();
}

bool ScratchDir::Exists(const std::string &name) const {
	return fs::exists(fs::path(path) / name);
}

namespace {

void LinkTree(const fs::path &from, const fs::path &to) {
	fs::create_directories(to);
	for (const fs::directory_entry &entry : fs::directory_iterator(from)) {
		fs::path target = to / entry.path().filename();
		if (entry.is_directory()) {
			LinkTree(entry.path(), target);
		} else {
			fs::create_symlink(entry.path(), target);
		}
	}
}

} // namespace

void ScratchDir::LinkData() const {
	fs::create_symlink(BuildDataDir(), fs::path(path) / "data");
}

void ScratchDir::LinkDataFiles() const {
	LinkTree(BuildDataDir(), fs::path(path) / "data");
}

std::string BuildDataDir() {
	return TAVRO_TEST_DATA_DIR;
}
