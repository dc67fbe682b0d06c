// The generator writes the same bytes every time, and the tree stays small.
#include "SanitizedBuild.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> Tree(const std::string &root) {
	std::map<std::string, std::string> files;
	for (const auto &e : fs::recursive_directory_iterator(root)) {
		if (!e.is_regular_file())
			continue;
		std::ifstream in(e.path(), std::ios::binary);
		std::stringstream ss;
		ss << in.rdbuf();
		files[fs::relative(e.path(), root).string()] = ss.str();
	}
	return files;
}

#ifdef TAVRO_GEN_PATH
TEST(Generator, WritesIdenticalBytesOnTwoRuns) {
	SKIP_IN_SANITIZED_BUILD("the build has run the generator under the sanitizers already");
	ScratchDir scratch;
	std::string gen = TAVRO_GEN_PATH;
	ASSERT_EQ(std::system(("'" + gen + "' '" + scratch.File("first") + "'").c_str()), 0);
	ASSERT_EQ(std::system(("'" + gen + "' '" + scratch.File("second") + "'").c_str()), 0);
	auto first = Tree(scratch.File("first")), second = Tree(scratch.File("second"));
	ASSERT_GT(first.size(), 50u);
	ASSERT_EQ(first.size(), second.size());
	for (const auto &[name, bytes] : first) {
		auto it = second.find(name);
		ASSERT_NE(it, second.end()) << name;
		EXPECT_TRUE(bytes == it->second) << name << " differs between runs";
	}
	// The build's tree holds the same generated files.
	auto built = Tree(BuildDataDir());
	for (const auto &[name, bytes] : first) {
		auto it = built.find(name);
		ASSERT_NE(it, built.end()) << name << " missing from the build's data tree";
		EXPECT_TRUE(bytes == it->second) << name << " in the build's data tree is stale";
	}
}
#endif

TEST(Generator, TreeStaysUnder20MB) {
	ScratchDir scratch;
	uintmax_t total = 0;
	for (const auto &e : fs::recursive_directory_iterator(BuildDataDir()))
		if (e.is_regular_file())
			total += e.file_size();
	EXPECT_LT(total, 20u * 1024 * 1024);
	EXPECT_GT(total, 1u * 1024 * 1024);
}

} // namespace
