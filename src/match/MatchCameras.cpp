#include "match/MatchCameras.h"

#include <plib/sg.h>

#include <cmath>

#include "core/VideoConfig.h"
#include "match/Camera.h"
#include "world/GameObject.h"

namespace {

enum Follow {
	FOLLOW_NONE,
	FOLLOW_PAN,       // eye pans after the ball's x
	FOLLOW_PAN_AND_Y, // the same, and the view turns to the ball's y
	FOLLOW_ACTIVE_DISC
};

struct CameraSetUp {
	const char *name;
	bool mini; // the small view's size and place, else the whole screen
	int mode;
	float lookAt[3];  // units
	float offset[3];  // units
	bool followsDisc; // target disc 1, look target the ball
	Follow follow;
	const char *path;   // eye path file, or null
	float pathDuration; // ms
};

// Where the panning views start, and go back to when the positions are reset.
const float PAN_START_OFFSET[3] = {0.0f, -75.0f, 60.0f}; // units

const CameraSetUp SET_UPS[MATCH_CAMERA_COUNT] = {
	{"XenoCam", false, Camera::MODE_FIXED, {0, 0, 0}, {0, -75, 60}, false, FOLLOW_PAN, nullptr, 0},
	{"TopCam", false, Camera::MODE_FIXED, {0, 0.1f, 0}, {0, 0, 135}, false, FOLLOW_NONE, nullptr, 0},
	{"BallCam", false, Camera::MODE_FIXED, {0, 0, 0}, {0, -75, 60}, false, FOLLOW_PAN_AND_Y, nullptr, 0},
	{"DiscCam", false, Camera::MODE_LOOK_TARGET, {0, 0, 0}, {0, 0, 10}, true, FOLLOW_ACTIVE_DISC, nullptr, 0},
	{"XenoMiniCam", true, Camera::MODE_FIXED, {0, 0, 0}, {0, -75, 60}, false, FOLLOW_PAN, nullptr, 0},
	{"TopMiniCam", true, Camera::MODE_FIXED, {0, 0.1f, 0}, {0, 0, 135}, false, FOLLOW_NONE, nullptr, 0},
	{"BallMiniCam", true, Camera::MODE_FIXED, {0, 0, 0}, {0, -75, 60}, false, FOLLOW_PAN_AND_Y, nullptr, 0},
	{"DiscMiniCam", true, Camera::MODE_LOOK_TARGET, {0, 0, 0}, {0, 0, 10}, true, FOLLOW_ACTIVE_DISC, nullptr, 0},
	{"FarCam", false, Camera::MODE_FIXED, {91, -95, 0}, {100, -120, 20}, false, FOLLOW_NONE, nullptr, 0},
	{"MovieCam", false, Camera::MODE_PATH, {0, 0, 0}, {0, 0, 0}, false, FOLLOW_NONE, "data/misc/menu1.cam", 3000},
};

bool InTable(int index) {
	return index >= 0 && index < MATCH_CAMERA_COUNT;
}

// Moves eye x so that the ball is CAMERA_PAN_DISTANCE from it, within the pan limit. False when
// the ball is near enough and nothing moves.
bool PanAfterBall(sgVec3 eye, float ballX) {
	const float dx = ballX - eye[0];
	if (std::fabs(dx) <= CAMERA_PAN_DISTANCE) {
		return false;
	}
	float x = dx >= 0.0f ? ballX - CAMERA_PAN_DISTANCE : ballX + CAMERA_PAN_DISTANCE;
	if (x < -CAMERA_PAN_LIMIT) {
		x = -CAMERA_PAN_LIMIT;
	} else if (x > CAMERA_PAN_LIMIT) {
		x = CAMERA_PAN_LIMIT;
	}
	eye[0] = x;
	return true;
}

} // namespace

const char *MatchCameraName(int index) {
	return InTable(index) ? SET_UPS[index].name : nullptr;
}

bool SetUpMatchCamera(
	Camera &camera, int index, int screenWidth, int screenHeight, const GameObject *disc1, const GameObject *ball) {
	if (!InTable(index)) {
		return false;
	}
	const CameraSetUp &s = SET_UPS[index];
	if (s.mini) {
		// In its frame, which grows with the window as the HUD does.
		const float scale = VideoConfig::ScreenScale(screenWidth, screenHeight);
		camera.Init(s.name, VideoConfig::Scaled(MINI_VIEW_WIDTH, scale), VideoConfig::Scaled(MINI_VIEW_HEIGHT, scale));
		camera.SetViewport(VideoConfig::Scaled(MINI_VIEW_LEFT, scale),
			screenHeight - VideoConfig::Scaled(MINI_VIEW_TOP_MARGIN, scale));
	} else {
		camera.Init(s.name, screenWidth, screenHeight);
	}
	camera.SetMode(s.mode);
	camera.SetLookAt(s.lookAt[0], s.lookAt[1], s.lookAt[2]);
	camera.SetOffset(s.offset);
	if (s.followsDisc) {
		camera.SetTarget(disc1);
		camera.SetLookTarget(ball);
	}
	if (s.path) {
		camera.SetPathDuration(s.pathDuration);
		camera.Path().Load(s.path); // a missing file leaves an empty path of pathDuration
	}
	camera.Update(0);
	return true;
}

void ApplyFollowRule(Camera &camera, int index, const GameObject &ball, const GameObject *activeDisc) {
	if (!InTable(index)) {
		return;
	}
	const Follow follow = SET_UPS[index].follow;
	if (follow == FOLLOW_ACTIVE_DISC) {
		camera.SetTarget(activeDisc);
		return;
	}
	if (follow != FOLLOW_PAN && follow != FOLLOW_PAN_AND_Y) {
		return;
	}
	sgVec3 ballAt;
	ball.GetPosition(ballAt);
	sgVec3 eye;
	camera.GetEye(eye);
	const bool panned = PanAfterBall(eye, ballAt[0]);
	if (panned) {
		camera.SetOffset(eye);
	}
	if (follow == FOLLOW_PAN_AND_Y) {
		camera.SetLookAt(eye[0], ballAt[1], 0.0f);
	} else if (panned) {
		camera.SetLookAt(eye[0], 0.0f, 0.0f);
	}
}

void ResetPanningCamera(Camera &camera) {
	camera.SetLookAt(0.0f, 0.0f, 0.0f);
	camera.SetOffset(PAN_START_OFFSET);
	camera.Update(0);
}
