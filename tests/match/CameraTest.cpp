#include <gtest/gtest.h>

#include <GL/gl.h>
#include <plib/ssg.h>

#include <vector>

#include "GLWindow.h"
#include "LogCapture.h"
#include "ScratchDir.h"
#include "match/Camera.h"
#include "match/MatchCameras.h"
#include "world/GameObject.h"

namespace {

// A window with the scene graph started and the log, in a scratch dir.
struct CameraScene {
	CameraScene() : window(640, 480) {
		if (window.IsOpen()) {
			ssgInit();
		}
	}
	ScratchDir dir;
	LogCapture log;
	GLWindow window;
};

// A thing standing somewhere, with no body.
struct Marker : GameObject {
	Marker(float x, float y, float z) {
		Create(nullptr, nullptr, nullptr);
		SetPosition(x, y, z);
	}
};

void ExpectVec(const sgVec3 v, float x, float y, float z) {
	EXPECT_NEAR(v[0], x, 1e-4);
	EXPECT_NEAR(v[1], y, 1e-4);
	EXPECT_NEAR(v[2], z, 1e-4);
}

// The camera's eye and look-at point, and the scene graph's view: from the eye, the look-at
// point lies straight ahead.
void ExpectView(const Camera &camera, float x, float y, float z, float lx, float ly, float lz) {
	sgVec3 eye, at;
	camera.GetEye(eye);
	camera.GetLookAt(at);
	ExpectVec(eye, x, y, z);
	ExpectVec(at, lx, ly, lz);
	sgMat4 view;
	ssgGetCurrentContext()->getModelviewMatrix(view);
	sgXformPnt3(eye, view);
	ExpectVec(eye, 0.0f, 0.0f, 0.0f);
	sgXformPnt3(at, view);
	EXPECT_NEAR(at[0], 0.0f, 1e-3);
	EXPECT_NEAR(at[1], 0.0f, 1e-3);
	EXPECT_LT(at[2], 0.0f); // in front: OpenGL looks down −z
}

} // namespace

TEST(Camera, FixedAndTargetModesPlaceTheEyeAndTheViewport) {
	CameraScene scene;
	ASSERT_TRUE(scene.window.IsOpen());
	Camera camera;
	EXPECT_TRUE(camera.Init("TestCam", 320, 200));
	EXPECT_TRUE(scene.log.Has("CAMERA: ...Done!"));
	// Without a target the offset is the eye.
	camera.SetMode(Camera::MODE_FIXED);
	camera.SetOffset(0.0f, -75.0f, 60.0f);
	camera.SetViewport(15, 20);
	camera.Update(16);
	ExpectView(camera, 0.0f, -75.0f, 60.0f, 0.0f, 0.0f, 0.0f);
	GLint viewport[4];
	glGetIntegerv(GL_VIEWPORT, viewport);
	EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), std::vector<GLint>({15, 20, 320, 200}));
	// With a target the offset is taken from it; the look-target mode looks at the look
	// target wherever it goes.
	Marker disc(5.0f, 6.0f, 0.0f), ball(-20.0f, 30.0f, 0.0f);
	camera.SetTarget(&disc);
	camera.SetOffset(0.0f, 0.0f, 10.0f);
	camera.SetMode(Camera::MODE_LOOK_TARGET);
	camera.SetLookTarget(&ball);
	camera.Update(16);
	ExpectView(camera, 5.0f, 6.0f, 10.0f, -20.0f, 30.0f, 0.0f);
	ball.SetPosition(40.0f, -10.0f, 0.0f);
	disc.SetPosition(1.0f, 1.0f, 0.0f);
	camera.Update(16);
	ExpectView(camera, 1.0f, 1.0f, 10.0f, 40.0f, -10.0f, 0.0f);
}

TEST(Camera, PathCamerasRunAlongTheirPathsAndStopAtTheEnd) {
	CameraScene scene;
	ASSERT_TRUE(scene.window.IsOpen());
	scene.dir.WriteText("eye.cam", "3\n1000.0\n0.0,0.0,10.0\n10.0,0.0,10.0\n20.0,0.0,10.0\n");
	scene.dir.WriteText("look.cam", "2\n1000.0\n0.0,50.0,0.0\n0.0,-50.0,0.0\n");
	Camera camera;
	camera.Init("PathCam", 640, 480);
	camera.SetMode(Camera::MODE_PATH);
	camera.SetLookAt(0.0f, 100.0f, 0.0f);
	ASSERT_TRUE(camera.Path().Load("eye.cam"));
	camera.Update(0);
	ExpectView(camera, 0.0f, 0.0f, 10.0f, 0.0f, 100.0f, 0.0f);
	camera.Update(500); // the eye of this update is at time 500
	camera.Update(0);
	sgVec3 eye;
	camera.GetEye(eye);
	EXPECT_NEAR(eye[0], 10.0f, 0.5f);
	camera.Update(700);
	EXPECT_TRUE(camera.PathFinished());
	camera.Update(400);
	ExpectView(camera, 20.0f, 0.0f, 10.0f, 0.0f, 100.0f, 0.0f);
	camera.RestartPath();
	EXPECT_FALSE(camera.PathFinished());

	// The paths mode also takes its look-at point from the look path.
	Camera both;
	both.Init("PathsCam", 640, 480);
	both.SetMode(Camera::MODE_PATHS);
	both.Path().Load("eye.cam");
	both.LookPath().Load("look.cam");
	both.Update(1000);
	both.Update(0);
	ExpectView(both, 20.0f, 0.0f, 10.0f, 0.0f, -50.0f, 0.0f);

	// A path whose file is missing is built empty with the camera's duration.
	Camera lost;
	lost.Init("LostCam", 640, 480);
	lost.SetMode(Camera::MODE_PATH);
	lost.SetPathDuration(3000.0f);
	EXPECT_FALSE(lost.Path().Load("data/misc/none.cam"));
	lost.Update(1000);
	EXPECT_FLOAT_EQ(lost.Path().GetDuration(), 3000.0f);
	lost.Update(2000);
	EXPECT_TRUE(lost.PathFinished());
}

TEST(Camera, TheMatchCamerasFillTheScreenOrTheSmallViewAndTheMovieCameraFliesItsFile) {
	CameraScene scene;
	ASSERT_TRUE(scene.window.IsOpen());
	scene.dir.LinkData();
	Marker disc1(-35.0f, 0.0f, 0.0f), ball(0.0f, 0.0f, 0.0f);
	Camera cameras[MATCH_CAMERA_COUNT];
	for (int i = 0; i < MATCH_CAMERA_COUNT; i++) {
		SCOPED_TRACE(MatchCameraName(i));
		ASSERT_TRUE(SetUpMatchCamera(cameras[i], i, 800, 600, &disc1, &ball));
		const bool mini = i >= CAMERA_XENO_MINI && i <= CAMERA_DISC_MINI;
		// 800 × 600 is 1.25 times 640 × 480: the small view grows as much.
		EXPECT_EQ(cameras[i].GetWidth(), mini ? 266 : 800);
		EXPECT_EQ(cameras[i].GetHeight(), mini ? 184 : 600);
		EXPECT_EQ(cameras[i].GetX(), mini ? 19 : 0);
		EXPECT_EQ(cameras[i].GetY(), mini ? 600 - 209 : 0);
	}
	EXPECT_EQ(MatchCameraName(MATCH_CAMERA_COUNT), nullptr);
	EXPECT_FALSE(SetUpMatchCamera(cameras[0], -1, 800, 600, &disc1, &ball));
	EXPECT_EQ(cameras[CAMERA_MOVIE].GetMode(), Camera::MODE_PATH);
	EXPECT_GT(cameras[CAMERA_MOVIE].Path().GetDuration(), cameras[CAMERA_MOVIE].GetPathDuration());
}

TEST(Camera, WideViewsPanAfterTheBallWithinTheirLimitsAndTheTopViewStays) {
	CameraScene scene;
	ASSERT_TRUE(scene.window.IsOpen());
	Marker disc1(-35.0f, 0.0f, 0.0f), ball(0.0f, 0.0f, 0.0f);
	Camera xeno, ballCam, top;
	SetUpMatchCamera(xeno, CAMERA_XENO, 640, 480, &disc1, &ball);
	SetUpMatchCamera(ballCam, CAMERA_BALL, 640, 480, &disc1, &ball);
	SetUpMatchCamera(top, CAMERA_TOP, 640, 480, &disc1, &ball);
	sgVec3 topEye, topLook;
	top.GetEye(topEye);
	top.GetLookAt(topLook);
	auto frame = [&](Camera &camera, int index) {
		ApplyFollowRule(camera, index, ball, &disc1);
		camera.Update(16);
	};
	// Ball x, y; then the eye x of both wide views.
	const float steps[][3] = {
		{12.0f, 20.0f, 0.0f},   // within 15 of the eye's x: no pan
		{70.0f, -10.0f, 55.0f}, // 15 behind the ball at once
		{100.0f, 0.0f, 60.0f},  // no farther than 60
		{-30.0f, 0.0f, -15.0f},
		{-200.0f, 0.0f, -60.0f},
	};
	for (const auto &step : steps) {
		SCOPED_TRACE(step[0]);
		ball.SetPosition(step[0], step[1], 0.0f);
		frame(xeno, CAMERA_XENO);
		ExpectView(xeno, step[2], -75.0f, 60.0f, step[2], 0.0f, 0.0f);
		frame(ballCam, CAMERA_BALL); // which also turns to the ball's y
		ExpectView(ballCam, step[2], -75.0f, 60.0f, step[2], step[1], 0.0f);
		frame(top, CAMERA_TOP);
		ExpectView(top, topEye[0], topEye[1], topEye[2], topLook[0], topLook[1], topLook[2]);
	}
	// Resetting the positions gives a panning view its start back.
	ResetPanningCamera(xeno);
	ExpectView(xeno, 0.0f, -75.0f, 60.0f, 0.0f, 0.0f, 0.0f);
}

TEST(Camera, DiscViewsFollowTheActiveDiscLookingAtTheBall) {
	CameraScene scene;
	ASSERT_TRUE(scene.window.IsOpen());
	Marker disc1(-35.0f, 0.0f, 0.0f), disc2(35.0f, 4.0f, 0.0f), ball(3.0f, -8.0f, 0.0f);
	for (int index : {CAMERA_DISC, CAMERA_DISC_MINI}) {
		SCOPED_TRACE(index);
		Camera camera;
		SetUpMatchCamera(camera, index, 640, 480, &disc1, &ball);
		ApplyFollowRule(camera, index, ball, &disc2);
		camera.Update(16);
		ExpectView(camera, 35.0f, 4.0f, 10.0f, 3.0f, -8.0f, 0.0f);
		ApplyFollowRule(camera, index, ball, &disc1);
		camera.Update(16);
		ExpectView(camera, -35.0f, 0.0f, 10.0f, 3.0f, -8.0f, 0.0f);
	}
}
