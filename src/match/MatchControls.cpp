#include "match/MatchControls.h"

#include <SDL/SDL_keysym.h>

#include <cassert>
#include <cstring>

#include "core/LogFile.h"
#include "match/MatchCameras.h"
#include "match/MatchWorld.h"
#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"

MatchControls::MatchControls()
	: options(nullptr), levels{-1, -1}, searchClock(&systemClock), turnLeft(0), previousKeys(), menuRequested(false), escapeHeldOver(false), mainCamera(CAMERA_BALL),
	  miniCamera(CAMERA_XENO), miniViewShown(false), showFps(false), screenshotRequested(false) {}

void MatchControls::SetUp(const OptionsRecord &options_, const Arena &arena, Random &random) {
	options = &options_;
	const bool computerSide[2] = {options->mode == MODE_PC_VS_PC,
	                              options->mode == MODE_PL1_VS_PC || options->mode == MODE_PC_VS_PC};
	for (int side = 2; side >= 1; side--) {
		if (!computerSide[side - 1]) {
			continue;
		}
		const int level = levels[side - 1] >= 0 ? levels[side - 1] : options->level;
		std::unique_ptr<ComputerPlayer> &computer = computers[side - 1];
		computer = MakeComputerPlayer(level, random, *searchClock);
		if (!computer->SetUpField(arena, side)) {
			Log(LOG_WARNING, "INGAME: The computer's level %d cannot play here; it plays NORMAL", level);
			computer.reset(new ComputerPlayer(random));
			computer->SetUpField(arena, side);
		}
	}
}

void MatchControls::StartTurn(int side) {
	if (ComputerPlayer *computer = computers[side == 1 ? 0 : 1].get()) {
		computer->StartTurn();
	}
}

void MatchControls::Release() {
	computers[0].reset();
	computers[1].reset();
	options = nullptr;
}

void MatchControls::Reset() {
	memset(previousKeys, 0, sizeof(previousKeys));
	menuRequested = false;
	escapeHeldOver = false;
	mainCamera = CAMERA_BALL;
	miniCamera = CAMERA_XENO;
	miniViewShown = false;
	showFps = false;
	screenshotRequested = false;
}

bool MatchControls::TakeScreenshotRequest() {
	const bool requested = screenshotRequested;
	screenshotRequested = false;
	return requested;
}

bool MatchControls::Pressed(const uint8_t *keys, int keyCount, int key) const {
	return key < keyCount && key < KEY_STATES && keys[key] && !previousKeys[key];
}

bool MatchControls::Read(const uint8_t *keys, int keyCount, const MatchWorld &world, int activeSide, int frameTime) {
	keyCount = keyCount < KEY_STATES ? keyCount : KEY_STATES;
	// Escape acts while held, unless it is still down from closing the menu.
	const bool escape = SDLK_ESCAPE < keyCount && keys[SDLK_ESCAPE];
	escapeHeldOver = escapeHeldOver && escape;
	if (escape && !escapeHeldOver) {
		menuRequested = true;
	}
	ReadFunctionKeys(keys, keyCount);
	const bool fire = activeSide != 0 && Steer(keys, keyCount, world, activeSide, frameTime);
	memcpy(previousKeys, keys, keyCount);
	return fire;
}

void MatchControls::ReadFunctionKeys(const uint8_t *keys, int keyCount) {
	static const int mainKeys[4] = {SDLK_F1, SDLK_F2, SDLK_F3, SDLK_F4};
	static const int miniKeys[4] = {SDLK_F5, SDLK_F6, SDLK_F7, SDLK_F8};
	// Only the first key that applies counts.
	for (int i = 0; i < 4; i++) {
		if (Pressed(keys, keyCount, mainKeys[i])) {
			mainCamera = CAMERA_XENO + i;
			return;
		}
	}
	if (Pressed(keys, keyCount, SDLK_F10)) {
		screenshotRequested = true;
		return;
	}
	if (Pressed(keys, keyCount, SDLK_F9)) {
		showFps = !showFps;
		return;
	}
	for (int i = 0; i < 4; i++) {
		if (Pressed(keys, keyCount, miniKeys[i])) {
			const int camera = CAMERA_XENO_MINI + i;
			miniViewShown = !(miniViewShown && miniCamera == camera);
			miniCamera = camera;
			return;
		}
	}
}

bool MatchControls::Steer(const uint8_t *keys, int keyCount, const MatchWorld &world, int side, int frameTime) {
	assert(options); // set up before play
	Aim *aim = world.GetAim(side);
	ComputerPlayer *computer = computers[side - 1].get();
	if (!computer) {
		const int32_t *slots = side == 1 ? options->keys1 : options->keys2;
		return aim->ApplyKeys(slots, keys, previousKeys, keyCount);
	}
	FieldView view;
	struct Seen {
		const GameObject *object;
		float *at;
		float *velocity;
	};
	const Seen seen[3] = {{world.GetBall(), view.ball, view.ballVelocity},
	                      {world.GetDisc(side), view.own, view.ownVelocity},
	                      {world.GetDisc(3 - side), view.other, view.otherVelocity}};
	for (const Seen &body : seen) {
		sgVec3 p, v;
		body.object->GetPosition(p);
		body.object->GetVelocity(v);
		body.at[0] = p[0];
		body.at[1] = p[1];
		body.velocity[0] = v[0];
		body.velocity[1] = v[1];
	}
	sgVec3 aimAt;
	aim->GetAimPoint(aimAt);
	view.aim[0] = aimAt[0];
	view.aim[1] = aimAt[1];
	view.dt = frameTime;
	view.turnLeft = turnLeft;
	return aim->ApplyDecision(computer->Decide(view));
}
