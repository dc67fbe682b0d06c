#include "match/MatchControls.h"

#include <SDL/SDL_joystick.h>
#include <SDL/SDL_keysym.h>

#include <cassert>
#include <cstring>

#include "core/LogFile.h"
#include "match/MatchCameras.h"
#include "input/NoxInput.h"
#include "match/MatchWorld.h"
#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"

MatchControls::MatchControls()
	: options(nullptr), levels{-1, -1}, remotes{false, false}, searchClock(&systemClock), turnLeft(0), physicsStep(0),
	  physicsWait(0), physicsLag(0), previousKeys(), padFireDown(), padStartDown(), menuRequested(false),
	  escapeHeldOver(false), mainCamera(CAMERA_BALL), miniCamera(CAMERA_XENO), miniViewShown(false), showFps(false),
	  screenshotRequested(false) {}

void MatchControls::SetUp(const OptionsRecord &options_, const Arena &arena, Random &random) {
	options = &options_;
	const bool computerSide[2] = {
		options->mode == MODE_PC_VS_PC, options->mode == MODE_PL1_VS_PC || options->mode == MODE_PC_VS_PC};
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
	padFireDown[0] = padFireDown[1] = padStartDown[0] = padStartDown[1] = false;
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

bool MatchControls::Read(const uint8_t *keys, int keyCount, const NI_Joystick *const pads[2], const MatchWorld &world,
	int activeSide, int frameTime) {
	keyCount = keyCount < KEY_STATES ? keyCount : KEY_STATES;
	// Escape acts while held, unless it is still down from closing the menu.
	const bool escape = SDLK_ESCAPE < keyCount && keys[SDLK_ESCAPE];
	escapeHeldOver = escapeHeldOver && escape;
	if (escape && !escapeHeldOver) {
		menuRequested = true;
	}
	for (int side = 0; side < 2; side++) {
		if (pads[side] && PadPressed(*pads[side], StartButton(*pads[side]), padStartDown[side])) {
			menuRequested = true;
		}
	}
	ReadFunctionKeys(keys, keyCount);
	const bool fire = activeSide != 0 && Steer(keys, keyCount, pads[activeSide - 1], world, activeSide, frameTime);
	memcpy(previousKeys, keys, keyCount);
	return fire;
}

bool MatchControls::AnyPressed(const uint8_t *keys, int keyCount, const NI_Joystick *const pads[2]) {
	keyCount = keyCount < KEY_STATES ? keyCount : KEY_STATES;
	bool pressed = false;
	for (int key = 0; key < keyCount && !pressed; key++) {
		pressed = Pressed(keys, keyCount, key);
	}
	for (int side = 0; side < 2; side++) {
		if (pads[side]) {
			pressed = PadPressed(*pads[side], PAD_FIRE, padFireDown[side]) || pressed;
			pressed = PadPressed(*pads[side], StartButton(*pads[side]), padStartDown[side]) || pressed;
		}
	}
	memcpy(previousKeys, keys, keyCount);
	return pressed;
}

int MatchControls::StartButton(const NI_Joystick &pad) {
	if (pad.buttonCount > PAD_START) {
		return PAD_START;
	}
	return pad.buttonCount >= 4 ? pad.buttonCount - 1 : -1;
}

bool MatchControls::PadPressed(const NI_Joystick &pad, int button, bool &wasDown) {
	const bool down =
		button >= 0 && button < pad.buttonCount && button < NI_Joystick::MAX_BUTTONS && pad.buttons[button];
	const bool pressed = down && !wasDown;
	wasDown = down;
	return pressed;
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

bool MatchControls::Steer(
	const uint8_t *keys, int keyCount, const NI_Joystick *pad, const MatchWorld &world, int side, int frameTime) {
	assert(options); // set up before play
	Aim *aim = world.GetAim(side);
	ComputerPlayer *computer = computers[side - 1].get();
	if (remotes[side - 1]) {
		return false;
	}
	if (!computer) {
		const int32_t *slots = side == 1 ? options->keys1 : options->keys2;
		const bool keyFire = aim->ApplyKeys(slots, keys, previousKeys, keyCount);
		const bool padFire = pad && SteerWithPad(*aim, *pad, side);
		return keyFire || padFire;
	}
	FieldView view;
	struct Seen {
		const GameObject *object;
		float *at;
		float *velocity;
	};
	const Seen seen[3] = {{world.GetBall(), view.ball, view.ballVelocity},
		{world.GetDisc(side), view.own, view.ownVelocity}, {world.GetDisc(3 - side), view.other, view.otherVelocity}};
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
	view.step = physicsStep;
	view.collisionWait = physicsWait;
	view.physicsLag = physicsLag;
	return aim->ApplyDecision(computer->Decide(view));
}

bool MatchControls::SteerWithPad(Aim &aim, const NI_Joystick &pad, int side) {
	const int x = pad.axisCount > 0 ? pad.axes[0] : 0;
	const int y = pad.axisCount > 1 ? pad.axes[1] : 0; // down is positive
	const int hat = pad.hatCount > 0 ? pad.hats[0] : 0;
	if (x < -PAD_DEAD_ZONE || (hat & SDL_HAT_LEFT)) {
		aim.MoveLeft();
	} else if (x > PAD_DEAD_ZONE || (hat & SDL_HAT_RIGHT)) {
		aim.MoveRight();
	}
	if (y < -PAD_DEAD_ZONE || (hat & SDL_HAT_UP)) {
		aim.MoveUp();
	} else if (y > PAD_DEAD_ZONE || (hat & SDL_HAT_DOWN)) {
		aim.MoveDown();
	}
	return PadPressed(pad, PAD_FIRE, padFireDown[side - 1]);
}
