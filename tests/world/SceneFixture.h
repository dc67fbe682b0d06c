#ifndef TAVRO_TESTS_WORLD_SCENEFIXTURE_H
#define TAVRO_TESTS_WORLD_SCENEFIXTURE_H

#include <gtest/gtest.h>
#include <plib/ssg.h>

#include <filesystem>
#include <string>

#include "WorldTestKit.h"

// What the sky, shadow, particle and torch tests share: their own working directory, a window
// with the scene graph started, a scene root, the log, which they read back, and a seeded
// random source.
class SceneFixture {
public:
	explicit SceneFixture(int width = 320, int height = 240)
		: scene(width, height), window(scene.Window()), root(new ssgRoot()) {
		root->ref();
	}
	~SceneFixture() { ssgDeRefDelete(root); }

	// Makes data/<relative> of the build's data tree visible under the working directory.
	void LinkData(const std::string &relative) const {
		const std::filesystem::path target = std::filesystem::path("data") / relative;
		std::filesystem::create_directories(target.parent_path());
		std::filesystem::create_symlink(std::filesystem::path(BuildDataDir()) / relative, target);
	}
	void WriteData(const std::string &relative, const std::string &text) const {
		dir.WriteText("data/" + relative, text);
	}
	int CountInLog(const std::string &needle) const {
		const std::string text = log.Text();
		int n = 0;
		for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
			n++;
		}
		return n;
	}

	ScratchDir dir;
	SceneWindow scene;
	GLWindow &window;
	ScopedLog log;
	ssgRoot *root;
	Random random;
};

// Exact comparison of a 3-vector, telling what it was when it differs.
inline ::testing::AssertionResult VecIs(const float *v, float x, float y, float z) {
	if (v[0] == x && v[1] == y && v[2] == z) {
		return ::testing::AssertionSuccess();
	}
	return ::testing::AssertionFailure() << "(" << v[0] << ", " << v[1] << ", " << v[2] << ") is not (" << x << ", "
	                                     << y << ", " << z << ")";
}

#endif
