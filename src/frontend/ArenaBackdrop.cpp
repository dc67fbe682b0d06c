#include "frontend/ArenaBackdrop.h"

#include <GL/gl.h>
#include <plib/ssg.h>

#include "core/LogFile.h"
#include "world/Arena.h"
#include "world/SkyBox.h"

ArenaBackdrop::ArenaBackdrop()
	: skyRoot(nullptr), sceneRoot(nullptr), skyBox(nullptr), arena(nullptr), random(Random::ClockSeed()) {}

ArenaBackdrop::~ArenaBackdrop() {
	Deinit();
}

void ArenaBackdrop::Init(const char *cameraName, int width, int height, int cameraMode) {
	Deinit();
	skyRoot = new ssgRoot();
	sceneRoot = new ssgRoot();
	camera.Init(cameraName, width, height);
	camera.SetLookAt(0.0f, 0.0f, 0.0f);
	camera.SetMode(cameraMode);
}

bool ArenaBackdrop::LoadSky(int night) {
	ReleaseSky();
	skyBox = new SkyBox();
	return skyBox->Load(skyRoot, night, random);
}

bool ArenaBackdrop::LoadArena(const char *name, int night, float z) {
	ReleaseArena();
	arena = new Arena(random);
	arena->Create(sceneRoot, nullptr, nullptr);
	if (!arena->Load(name, night)) {
		return false;
	}
	arena->SetPosition(0.0f, 0.0f, z);
	return true;
}

void ArenaBackdrop::ReleaseArena() {
	if (arena) {
		arena->Destroy();
		delete arena;
		arena = nullptr;
	}
}

void ArenaBackdrop::ReleaseSky() {
	if (skyBox) {
		skyBox->Deinit();
		delete skyBox;
		skyBox = nullptr;
	}
}

void ArenaBackdrop::Deinit() {
	if (sceneRoot) {
		Log(LOG_MESSAGE, "CAMERA: Deinitialization...");
	}
	ReleaseArena();
	ReleaseSky();
	delete sceneRoot;
	sceneRoot = nullptr;
	delete skyRoot;
	skyRoot = nullptr;
}

void ArenaBackdrop::Update(int dt) {
	if (arena) {
		arena->Update(dt);
	}
	camera.Update(dt);
	if (skyBox) {
		sgVec3 eye;
		camera.GetEye(eye);
		skyBox->SetCentre(eye);
		skyBox->Update(dt);
	}
}

void ArenaBackdrop::Draw() const {
	glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	if (skyRoot) {
		ssgCullAndDraw(skyRoot);
	}
	glClear(GL_DEPTH_BUFFER_BIT);
	if (sceneRoot) {
		ssgCullAndDraw(sceneRoot);
	}
}
