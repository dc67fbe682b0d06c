#ifndef TAVRO_TESTS_WORLDTESTKIT_H
#define TAVRO_TESTS_WORLDTESTKIT_H

#include <ode/ode.h>
#include <plib/ssg.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "GLWindow.h"
#include "ScratchDir.h"
#include "core/LogFile.h"
#include "core/Random.h"

// ODE is initialised once per test process, before the first world.
void InitPhysicsOnce();

// A match-like physics world (no gravity, a simple space), a scene root and a seeded random
// source for what draws.
class PhysicsScene {
public:
	PhysicsScene();
	~PhysicsScene();
	dWorldID world;
	dSpaceID space;
	ssgRoot *root;
	Random random;
};

// The process log pointed at "Log.txt" in the test's scratch dir while it lives.
class ScopedLog {
public:
	ScopedLog();
	~ScopedLog();
	std::string Text() const;
	bool Contains(const std::string &line) const { return Text().find(line) != std::string::npos; }

private:
	LogFile log;
	LogFile *saved;
};

// Makes data/<folder>/ in the scratch dir a real folder holding links to every file of the
// build's data/<folder>/, so a test can add or replace files of its own beside them.
void LinkDataFolder(const ScratchDir &scratch, const std::string &folder);

// A GL window with the scene graph started in it, for tests that load models or draw.
class SceneWindow {
public:
	explicit SceneWindow(int width = 320, int height = 240);
	bool IsOpen() const { return window->IsOpen(); }
	GLWindow &Window() { return *window; }

private:
	std::unique_ptr<GLWindow> window;
};

// The back buffer read back at once, y from the top of the window (0xRRGGBB per pixel).
struct Frame {
	int width = 0;
	int height = 0;
	std::vector<uint32_t> pixels;
	uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};
Frame ReadFrame(int width, int height);

// Writes the box x0..x1, y0..y1 of a frame as a 24-bit BMP in the build's screenshots folder,
// each pixel made a zoom × zoom square, so effects a few pixels wide can be looked at.
bool SaveZoomed(const Frame &frame, int x0, int y0, int x1, int y1, int zoom, const std::string &name);

#endif
