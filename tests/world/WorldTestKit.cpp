#include "WorldTestKit.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

void InitPhysicsOnce() {
	static bool done = false;
	if (!done) {
		dInitODE();
		done = true;
	}
}

PhysicsScene::PhysicsScene() {
	InitPhysicsOnce();
	world = dWorldCreate();
	dWorldSetGravity(world, 0, 0, 0);
	space = dSimpleSpaceCreate(nullptr);
	root = new ssgRoot();
	root->ref();
}

PhysicsScene::~PhysicsScene() {
	ssgDeRefDelete(root);
	dSpaceDestroy(space);
	dWorldDestroy(world);
}

ScopedLog::ScopedLog() : saved(g_log) {
	log.Open("Log.txt", "test");
	g_log = &log;
}

ScopedLog::~ScopedLog() {
	g_log = saved;
}

std::string ScopedLog::Text() const {
	std::ifstream in("Log.txt");
	std::stringstream ss;
	ss << in.rdbuf();
	return ss.str();
}

void LinkDataFolder(const ScratchDir &scratch, const std::string &folder) {
	fs::path target = fs::path(scratch.Path()) / "data" / folder;
	fs::create_directories(target);
	for (const auto &entry : fs::directory_iterator(fs::path(BuildDataDir()) / folder)) {
		fs::path link = target / entry.path().filename();
		if (!fs::exists(link)) {
			fs::create_symlink(entry.path(), link);
		}
	}
}

SceneWindow::SceneWindow(int width, int height) : window(new GLWindow(width, height)) {
	if (window->IsOpen()) {
		ssgInit();
	}
}
