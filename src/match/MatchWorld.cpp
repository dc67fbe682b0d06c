#include "match/MatchWorld.h"

#include <GL/gl.h>
#include <plib/ssg.h>

#include "core/LogFile.h"
#include "core/Random.h"
#include "match/Camera.h"
#include "options/NameTable.h"
#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"
#include "world/MatchContext.h"
#include "world/ParticleEmitter.h"
#include "world/SceneLights.h"
#include "world/Shadow.h"
#include "world/SkyBox.h"

namespace {

const float SHADOW_LIGHT_Y = 25.0f; // units
const float SHADOW_LIGHT_Z = 40.0f; // units

bool Failed(const char *message) {
	Log(LOG_ERROR, "%s", message);
	return false;
}

void StopBody(GameObject &object, const sgVec3 at) {
	const sgVec3 zero = {0, 0, 0};
	object.SetVelocity(zero);
	object.SetPosition(at);
}

} // namespace

void MatchWorld::CameraDeleter::operator()(Camera *camera) const {
	Log(LOG_MESSAGE, "CAMERA: Deinitialization...");
	delete camera;
}

MatchWorld::MatchWorld() : night(0) {}

MatchWorld::~MatchWorld() {}

bool MatchWorld::Build(const OptionsRecord &options, int screenWidth, int screenHeight, Random &random) {
	Log(LOG_MESSAGE, "INGAME: World...");
	sceneRoot.reset(new ssgRoot());
	skyRoot.reset(new ssgRoot());
	night = options.daytime == DAYTIME_RANDOM ? random.Below(2) : (options.daytime == DAYTIME_NIGHT ? 1 : 0);

	Log(LOG_MESSAGE, "INGAME: Lights...");
	SetUpArenaLights(night != 0, options.daytime == DAYTIME_NIGHT);

	// The game is played in the horizontal plane: no gravity.
	physicsLibrary.emplace();
	world.reset(dWorldCreate());
	space.reset(dSimpleSpaceCreate(nullptr));
	dWorldSetGravity(world.get(), 0, 0, 0);
	contactGroup.reset(dJointGroupCreate(0));

	Log(LOG_MESSAGE, "INGAME: SkyBox...");
	skyBox.reset(new SkyBox());
	if (!skyBox->Load(skyRoot.get(), night, random)) {
		return Failed("SkyBox initialization failed!");
	}

	ball.reset(new Ball());
	ball->Create(sceneRoot.get(), world.get(), space.get());
	if (!ball->Load()) {
		return Failed("Ball initialization failed!");
	}

	const int arenaIndex = options.arena == -1 ? random.Below(2) : options.arena;
	arena.reset(new Arena(random));
	arena->Create(sceneRoot.get(), world.get(), space.get());
	if (!arena->Load(ArenaName(arenaIndex), night)) {
		return Failed("Arena initialization failed!");
	}

	static const char *const discFailures[2] = {"Disc1 initialization failed!", "Disc2 initialization failed!"};
	for (int i = 0; i < 2; i++) {
		discs[i].reset(new Disc());
		discs[i]->Create(sceneRoot.get(), world.get(), space.get());
		if (!discs[i]->Load(CharacterName(options.character[i]))) {
			return Failed(discFailures[i]);
		}
	}
	static const char *const aimFailures[2] = {"Aim1 initialization failed!", "Aim2 initialization failed!"};
	for (int i = 0; i < 2; i++) {
		aims[i].reset(new Aim());
		aims[i]->Init(sceneRoot.get(), discs[i].get());
		if (!aims[i]->Load()) {
			return Failed(aimFailures[i]);
		}
	}

	if (night == 0 && !SetUpShadows()) {
		return false;
	}

	Log(LOG_MESSAGE, "INGAME: Cameras...");
	for (int i = 0; i < MATCH_CAMERA_COUNT; i++) {
		cameras[i].reset(new Camera());
		SetUpMatchCamera(*cameras[i], i, screenWidth, screenHeight, discs[0].get(), ball.get());
	}

	// A missing effect file only means no sparks.
	static const char *const sparkNames[2] = {"disc_disc", "disc_wall"};
	for (int i = 0; i < 2; i++) {
		sparks[i].reset(new ParticleEmitter(random));
		sparks[i]->Create(sceneRoot.get());
		sparks[i]->Load(sparkNames[i]);
	}
	return true;
}

bool MatchWorld::SetUpShadows() {
	struct ShadowSetUp {
		const GameObject *followed;
		const char *model;
		const char *failure;
	};
	const ShadowSetUp setUps[SHADOW_COUNT] = {
		{discs[0].get(), "shadow_disc", "ShadowDisc1 initialization failed!"},
		{discs[1].get(), "shadow_disc", "ShadowDisc2 initialization failed!"},
		{ball.get(), "shadow_ball", "ShadowBall initialization failed!"},
	};
	for (int i = 0; i < SHADOW_COUNT; i++) {
		shadows[i].reset(new Shadow());
		shadows[i]->Init(sceneRoot.get(), setUps[i].followed);
		if (!shadows[i]->Load(setUps[i].model)) {
			return Failed(setUps[i].failure);
		}
		shadows[i]->SetLightCount(1);
		shadows[i]->SetLight(0, skyBox->GetSunX(), SHADOW_LIGHT_Y, SHADOW_LIGHT_Z);
	}
	return true;
}

Camera *MatchWorld::GetCamera(int index) const {
	return index >= 0 && index < MATCH_CAMERA_COUNT ? cameras[index].get() : nullptr;
}

ParticleEmitter *MatchWorld::GetSparks(int which) const {
	return which == SPARKS_DISC_DISC || which == SPARKS_DISC_WALL ? sparks[which].get() : nullptr;
}

void MatchWorld::ResetPositions() {
	arena->SetPosition(0.0f, 0.0f, ARENA_Z);
	sgVec3 start;
	arena->GetBallStart(start);
	StopBody(*ball, start);
	arena->GetDisc1Start(start);
	StopBody(*discs[0], start);
	arena->GetDisc2Start(start);
	StopBody(*discs[1], start);
	aims[0]->Reset(Aim::START_OFFSET);
	aims[1]->Reset(-Aim::START_OFFSET);
	ResetPanningCamera(*cameras[CAMERA_XENO]);
	ResetPanningCamera(*cameras[CAMERA_BALL]);
	UpdateObjects(0);
}

void MatchWorld::UpdateAims(int dt) {
	for (int i = 0; i < 2; i++) {
		sgVec3 at;
		discs[i]->GetPosition(at);
		aims[i]->SetOrigin(at);
	}
	aims[0]->Update(dt);
	aims[1]->Update(dt);
}

void MatchWorld::UpdateObjects(int dt) {
	ball->Update(dt);
	discs[0]->Update(dt);
	discs[1]->Update(dt);
	for (const auto &shadow : shadows) {
		if (shadow) {
			shadow->Update(dt);
		}
	}
	arena->Update(dt);
}

void MatchWorld::DrawView(int cameraIndex, const Disc *activeDisc, int dt, bool mainView) {
	Camera &camera = *cameras[cameraIndex];
	ApplyFollowRule(camera, cameraIndex, *ball, activeDisc);
	DrawFrom(camera, dt, mainView);
}

void MatchWorld::DrawFrom(Camera &camera, int dt, bool mainView) {
	camera.Update(dt);
	sgVec3 eye;
	camera.GetEye(eye);
	skyBox->SetCentre(eye);
	skyBox->Update(mainView ? dt : 0);
	if (mainView) {
		glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
		glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	} else {
		glClear(GL_DEPTH_BUFFER_BIT);
	}
	ssgCullAndDraw(skyRoot.get());
	glClear(GL_DEPTH_BUFFER_BIT);
	ssgCullAndDraw(sceneRoot.get());
}
