#ifndef TAVRO_TESTS_WORLDTESTKIT_H
#define TAVRO_TESTS_WORLDTESTKIT_H

#include <gtest/gtest.h>
#include <ode/ode.h>
#include <plib/ssg.h>

#include "GLWindow.h"
#include "LogCapture.h"
#include "ScratchDir.h"
#include "core/Random.h"

// What the world tests share, made for one test: its own working directory with the build's
// data tree linked in file by file (a test may remove or replace any file), the log, a window
// with the scene graph started, a physics world like the match's (no gravity, a simple space),
// a scene root and a seeded random source.
class WorldScene {
public:
	explicit WorldScene(int width = 320, int height = 240);
	~WorldScene();

	ScratchDir dir;
	LogCapture log;
	GLWindow window;
	dWorldID world;
	dSpaceID space;
	ssgRoot *root;
	Random random;
};

// Exact comparison of a 3-vector, telling what it was when it differs.
::testing::AssertionResult VecIs(const float *v, float x, float y, float z);

#endif
