#include "match/GoalReplay.h"

#include <plib/sg.h>

#include <cstring>

#include "core/LogFile.h"
#include "core/VideoConfig.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "match/MatchWorld.h"
#include "world/Ball.h"
#include "world/Disc.h"

const char *const GoalReplay::PICTURE = "data/rects/replay.nsbr";

namespace {

const float CAMERA_OFFSET[3] = {0.0f, -32.0f, 22.0f}; // units from the ball
const int PICTURE_MARGIN = 12;                        // pixels above the bottom edge at 640 × 480

GameObject *Body(const MatchWorld &world, int index) {
	return index == 0 ? static_cast<GameObject *>(world.GetBall()) : world.GetDisc(index);
}

} // namespace

GoalReplay::GoalReplay() : next(0), count(0), playTime(0), shown(-1), screenWidth(0), screenHeight(0) {}

GoalReplay::~GoalReplay() {}

void GoalReplay::SetUp(int width, int height) {
	ring.assign(CAPACITY, Step());
	next = count = 0;
	screenWidth = width;
	screenHeight = height;
	camera.Init("ReplayCam", width, height);
	camera.SetMode(Camera::MODE_LOOK_TARGET);
	camera.SetOffset(CAMERA_OFFSET[0], CAMERA_OFFSET[1], CAMERA_OFFSET[2]);
	picture.reset(new GL2D_SimpleBmpRect());
	picture->SetSmooth(VideoConfig::ScreenScale(screenWidth, screenHeight) != 1.0f);
	if (!picture->Load(PICTURE)) {
		Log(LOG_WARNING, "INGAME: %s loading failed; the replay shows without it", PICTURE);
		picture.reset();
	}
}

void GoalReplay::Release() {
	if (!ring.empty()) {
		Log(LOG_MESSAGE, "CAMERA: Deinitialization...");
	}
	std::vector<Step>().swap(ring);
	picture.reset();
	count = 0;
}

void GoalReplay::Record(const MatchWorld &world) {
	if (ring.empty()) {
		return;
	}
	Step step;
	for (int i = 0; i < 3; i++) {
		dBodyID body = Body(world, i)->GetBody();
		const dReal *p = dBodyGetPosition(body);
		const dReal *q = dBodyGetQuaternion(body);
		for (int k = 0; k < 3; k++) {
			step.bodies[i].position[k] = static_cast<float>(p[k]);
		}
		for (int k = 0; k < 4; k++) {
			step.bodies[i].rotation[k] = static_cast<float>(q[k]);
		}
	}
	// Steps in which nothing moved (waiting for a shot, the catch-up after the countdown) are
	// kept once, so the replay shows play.
	if (count > 0 && memcmp(&step, &StepAt(count - 1), sizeof(step)) == 0) {
		return;
	}
	ring[next] = step;
	next = (next + 1) % CAPACITY;
	count = count < CAPACITY ? count + 1 : CAPACITY;
}

bool GoalReplay::Start() {
	playTime = 0;
	shown = -1;
	return count > 0;
}

bool GoalReplay::Update(MatchWorld &world, int dt) {
	const int index = playTime / (PHYSICS_STEP * SLOWDOWN);
	if (index >= count) {
		return false;
	}
	const Step &step = StepAt(index);
	for (int i = 0; i < 3; i++) {
		GameObject *object = Body(world, i);
		dBodyID body = object->GetBody();
		const BodyState &state = step.bodies[i];
		dBodySetPosition(body, state.position[0], state.position[1], state.position[2]);
		const dReal q[4] = {state.rotation[0], state.rotation[1], state.rotation[2], state.rotation[3]};
		dBodySetQuaternion(body, q);
		dBodySetLinearVel(body, 0, 0, 0);
	}
	world.UpdateObjects(dt);
	shown = index;
	playTime += dt;
	return true;
}

void GoalReplay::DrawView(MatchWorld &world, int dt) {
	camera.SetTarget(world.GetBall());
	camera.SetLookTarget(world.GetBall());
	world.DrawFrom(camera, dt, true);
}

void GoalReplay::DrawPicture() const {
	// Bottom middle: the HUD has the score and the clock at the top, the period and the frame
	// rate in the bottom corners and the small view's frame at the top left.
	if (picture) {
		const float scale = VideoConfig::ScreenScale(screenWidth, screenHeight);
		const int w = VideoConfig::Scaled(picture->GetWidth(), scale);
		const int h = VideoConfig::Scaled(picture->GetHeight(), scale);
		picture->DrawScaledAt(
			(screenWidth - w) / 2, screenHeight - h - VideoConfig::Scaled(PICTURE_MARGIN, scale), scale);
	}
}
