#include <gtest/gtest.h>

#include <GL/gl.h>
#include <plib/ssg.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "GLWindow.h"
#include "ScratchDir.h"
#include "core/LogFile.h"
#include "match/Camera.h"
#include "match/MatchCameras.h"
#include "world/GameObject.h"

namespace {

// A window with the scene graph started, and the log in the scratch dir.
class CameraScene {
public:
	CameraScene() : window(640, 480), saved(g_log) {
		if (window.IsOpen()) {
			ssgInit();
		}
		log.Open("Log.txt", "test");
		g_log = &log;
	}
	~CameraScene() { g_log = saved; }
	std::string LogText() const {
		std::ifstream in("Log.txt");
		std::stringstream ss;
		ss << in.rdbuf();
		return ss.str();
	}
	GLWindow window;
	LogFile log;
	LogFile *saved;
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

// Where the scene graph's camera stands, and whether point lies straight ahead of it.
void ExpectViewpoint(float x, float y, float z, const sgVec3 point) {
	sgMat4 view;
	ssgGetCurrentContext()->getModelviewMatrix(view);
	const sgVec3 eye = {x, y, z};
	sgVec3 seen;
	sgXformPnt3(seen, eye, view);
	ExpectVec(seen, 0.0f, 0.0f, 0.0f);
	sgXformPnt3(seen, point, view);
	EXPECT_NEAR(seen[0], 0.0f, 1e-3);
	EXPECT_NEAR(seen[1], 0.0f, 1e-3);
	EXPECT_LT(seen[2], 0.0f); // in front: OpenGL looks down −z
}

void ExpectViewport(int x, int y, int w, int h) {
	GLint viewport[4];
	glGetIntegerv(GL_VIEWPORT, viewport);
	EXPECT_EQ(viewport[0], x);
	EXPECT_EQ(viewport[1], y);
	EXPECT_EQ(viewport[2], w);
	EXPECT_EQ(viewport[3], h);
}

} // namespace

TEST(Camera, FixedAndTargetModesPlaceTheEyeAndTheViewport) {
	ScratchDir scratch;
	CameraScene scene;
	ASSERT_TRUE(scene.window.IsOpen());
	Camera camera;
	EXPECT_TRUE(camera.Init("TestCam", 320, 200));
	EXPECT_NE(scene.LogText().find("CAMERA: Initialization..."), std::string::npos);
	EXPECT_NE(scene.LogText().find("CAMERA: ...Done!"), std::string::npos);
	EXPECT_EQ(camera.GetMode(), Camera::MODE_UNSET);

	// Mode 0 without a target: the offset is the eye.
	camera.SetMode(Camera::MODE_FIXED);
	camera.SetOffset(0.0f, -75.0f, 60.0f);
	camera.SetLookAt(0.0f, 0.0f, 0.0f);
	camera.SetViewport(15, 20);
	camera.Update(16);
	sgVec3 eye;
	camera.GetEye(eye);
	ExpectVec(eye, 0.0f, -75.0f, 60.0f);
	const sgVec3 origin = {0.0f, 0.0f, 0.0f};
	ExpectViewpoint(0.0f, -75.0f, 60.0f, origin);
	ExpectViewport(15, 20, 320, 200);

	// With a target the offset is taken from it.
	Marker disc(5.0f, 6.0f, 0.0f);
	camera.SetTarget(&disc);
	camera.SetOffset(0.0f, 0.0f, 10.0f);
	camera.Update(16);
	camera.GetEye(eye);
	ExpectVec(eye, 5.0f, 6.0f, 10.0f);

	// Mode 2 looks at the look target wherever it goes.
	Marker ball(-20.0f, 30.0f, 0.0f);
	camera.SetMode(Camera::MODE_LOOK_TARGET);
	camera.SetLookTarget(&ball);
	camera.Update(16);
	sgVec3 lookAt;
	camera.GetLookAt(lookAt);
	ExpectVec(lookAt, -20.0f, 30.0f, 0.0f);
	const sgVec3 ballAt = {-20.0f, 30.0f, 0.0f};
	ExpectViewpoint(5.0f, 6.0f, 10.0f, ballAt);
	ball.SetPosition(40.0f, -10.0f, 0.0f);
	disc.SetPosition(1.0f, 1.0f, 0.0f);
	camera.Update(16);
	camera.GetLookAt(lookAt);
	ExpectVec(lookAt, 40.0f, -10.0f, 0.0f);
	camera.GetEye(eye);
	ExpectVec(eye, 1.0f, 1.0f, 10.0f);
}

TEST(Camera, PathCamerasRunAlongTheirPathsAndStopAtTheEnd) {
	ScratchDir scratch;
	CameraScene scene;
	ASSERT_TRUE(scene.window.IsOpen());
	scratch.WriteText("eye.cam", "3\n1000.0\n0.0,0.0,10.0\n10.0,0.0,10.0\n20.0,0.0,10.0\n");
	scratch.WriteText("look.cam", "2\n1000.0\n0.0,50.0,0.0\n0.0,-50.0,0.0\n");

	Camera camera;
	camera.Init("PathCam", 640, 480);
	camera.SetMode(Camera::MODE_PATH);
	camera.SetLookAt(0.0f, 100.0f, 0.0f);
	ASSERT_TRUE(camera.Path().Load("eye.cam"));
	camera.Update(0);
	sgVec3 eye;
	camera.GetEye(eye);
	ExpectVec(eye, 0.0f, 0.0f, 10.0f);
	EXPECT_FALSE(camera.PathFinished());
	camera.Update(500); // the eye of this update is at time 500
	camera.Update(0);
	camera.GetEye(eye);
	EXPECT_NEAR(eye[0], 10.0f, 0.5f);
	camera.Update(700);
	EXPECT_TRUE(camera.PathFinished());
	for (int i = 0; i < 3; i++) {
		camera.Update(400);
		camera.GetEye(eye);
		ExpectVec(eye, 20.0f, 0.0f, 10.0f);
	}
	const sgVec3 ahead = {0.0f, 100.0f, 0.0f};
	ExpectViewpoint(20.0f, 0.0f, 10.0f, ahead);
	camera.RestartPath();
	EXPECT_FALSE(camera.PathFinished());
	camera.Update(0);
	camera.GetEye(eye);
	ExpectVec(eye, 0.0f, 0.0f, 10.0f);

	// Mode 6 also takes its look-at point from the look path.
	Camera both;
	both.Init("PathsCam", 640, 480);
	both.SetMode(Camera::MODE_PATHS);
	both.Path().Load("eye.cam");
	both.LookPath().Load("look.cam");
	both.Update(1000);
	sgVec3 lookAt;
	both.GetLookAt(lookAt);
	ExpectVec(lookAt, 0.0f, 50.0f, 0.0f);
	both.Update(0);
	both.GetLookAt(lookAt);
	ExpectVec(lookAt, 0.0f, -50.0f, 0.0f);
	both.GetEye(eye);
	ExpectVec(eye, 20.0f, 0.0f, 10.0f);

	// A path whose file is missing is built empty with the camera's duration.
	Camera lost;
	lost.Init("LostCam", 640, 480);
	lost.SetMode(Camera::MODE_PATH);
	lost.SetPathDuration(3000.0f);
	EXPECT_FALSE(lost.Path().Load("data/misc/none.cam"));
	lost.Update(1000);
	EXPECT_FLOAT_EQ(lost.Path().GetDuration(), 3000.0f);
	lost.GetEye(eye);
	ExpectVec(eye, 0.0f, 0.0f, 0.0f);
	lost.Update(2000);
	EXPECT_TRUE(lost.PathFinished());
}

TEST(Camera, TheMatchCamerasAreSetUpFromTheirTable) {
	ScratchDir scratch;
	CameraScene scene;
	ASSERT_TRUE(scene.window.IsOpen());
	std::filesystem::create_directories("data/misc");
	std::filesystem::create_symlink(BuildDataDir() + "/misc/menu1.cam", "data/misc/menu1.cam");
	Marker disc1(-35.0f, 0.0f, 0.0f);
	Marker ball(0.0f, 0.0f, 0.0f);

	Camera cameras[MATCH_CAMERA_COUNT];
	const char *names[] = {"XenoCam", "TopCam", "BallCam", "DiscCam", "XenoMiniCam",
	                       "TopMiniCam", "BallMiniCam", "DiscMiniCam", "FarCam", "MovieCam"};
	for (int i = 0; i < MATCH_CAMERA_COUNT; i++) {
		SCOPED_TRACE(i);
		EXPECT_STREQ(MatchCameraName(i), names[i]);
		ASSERT_TRUE(SetUpMatchCamera(cameras[i], i, 800, 600, &disc1, &ball));
		const bool mini = i >= CAMERA_XENO_MINI && i <= CAMERA_DISC_MINI;
		EXPECT_EQ(cameras[i].GetWidth(), mini ? 213 : 800);
		EXPECT_EQ(cameras[i].GetHeight(), mini ? 147 : 600);
		EXPECT_EQ(cameras[i].GetX(), mini ? 15 : 0);
		EXPECT_EQ(cameras[i].GetY(), mini ? 600 - 167 : 0);
	}
	EXPECT_EQ(MatchCameraName(MATCH_CAMERA_COUNT), nullptr);
	EXPECT_FALSE(SetUpMatchCamera(cameras[0], -1, 800, 600, &disc1, &ball));

	sgVec3 v;
	cameras[CAMERA_TOP].GetEye(v);
	ExpectVec(v, 0.0f, 0.0f, 135.0f);
	cameras[CAMERA_TOP].GetLookAt(v);
	ExpectVec(v, 0.0f, 0.1f, 0.0f);
	cameras[CAMERA_BALL].GetEye(v);
	ExpectVec(v, 0.0f, -75.0f, 60.0f);
	EXPECT_EQ(cameras[CAMERA_DISC].GetMode(), Camera::MODE_LOOK_TARGET);
	EXPECT_EQ(cameras[CAMERA_DISC_MINI].GetTarget(), &disc1);
	EXPECT_EQ(cameras[CAMERA_DISC_MINI].GetLookTarget(), &ball);
	cameras[CAMERA_DISC].GetEye(v);
	ExpectVec(v, -35.0f, 0.0f, 10.0f);
	cameras[CAMERA_FAR].GetEye(v);
	ExpectVec(v, 100.0f, -120.0f, 20.0f);
	cameras[CAMERA_FAR].GetLookAt(v);
	ExpectVec(v, 91.0f, -95.0f, 0.0f);
	// The movie camera's path comes from its file, with the file's own duration.
	EXPECT_EQ(cameras[CAMERA_MOVIE].GetMode(), Camera::MODE_PATH);
	EXPECT_FLOAT_EQ(cameras[CAMERA_MOVIE].GetPathDuration(), 3000.0f);
	EXPECT_FLOAT_EQ(cameras[CAMERA_MOVIE].Path().GetDuration(), 18000.0f);
	cameras[CAMERA_MOVIE].GetEye(v);
	ExpectVec(v, -120.0f, -95.0f, 55.0f);
}

TEST(Camera, WideViewsPanAfterTheBallWithinTheirLimits) {
	ScratchDir scratch;
	CameraScene scene;
	ASSERT_TRUE(scene.window.IsOpen());
	Marker disc1(-35.0f, 0.0f, 0.0f);
	Marker ball(0.0f, 0.0f, 0.0f);
	Camera xeno, ballCam, top;
	SetUpMatchCamera(xeno, CAMERA_XENO, 640, 480, &disc1, &ball);
	SetUpMatchCamera(ballCam, CAMERA_BALL, 640, 480, &disc1, &ball);
	SetUpMatchCamera(top, CAMERA_TOP, 640, 480, &disc1, &ball);
	auto frame = [&](Camera &camera, int index) {
		ApplyFollowRule(camera, index, ball, &disc1);
		camera.Update(16);
	};
	sgVec3 eye, lookAt;

	// Within 15 units of the eye's x the wide view does not move; the ball view turns to its y.
	ball.SetPosition(12.0f, 20.0f, 0.0f);
	frame(xeno, CAMERA_XENO);
	frame(ballCam, CAMERA_BALL);
	xeno.GetEye(eye);
	ExpectVec(eye, 0.0f, -75.0f, 60.0f);
	xeno.GetLookAt(lookAt);
	ExpectVec(lookAt, 0.0f, 0.0f, 0.0f);
	ballCam.GetEye(eye);
	ExpectVec(eye, 0.0f, -75.0f, 60.0f);
	ballCam.GetLookAt(lookAt);
	ExpectVec(lookAt, 0.0f, 20.0f, 0.0f);

	// Ball at x = 70: the eye moves to 55 in one frame.
	ball.SetPosition(70.0f, -10.0f, 0.0f);
	frame(xeno, CAMERA_XENO);
	const sgVec3 xenoLook = {55.0f, 0.0f, 0.0f};
	ExpectViewpoint(55.0f, -75.0f, 60.0f, xenoLook);
	frame(ballCam, CAMERA_BALL);
	xeno.GetEye(eye);
	ExpectVec(eye, 55.0f, -75.0f, 60.0f);
	xeno.GetLookAt(lookAt);
	ExpectVec(lookAt, 55.0f, 0.0f, 0.0f);
	ballCam.GetEye(eye);
	ExpectVec(eye, 55.0f, -75.0f, 60.0f);
	ballCam.GetLookAt(lookAt);
	ExpectVec(lookAt, 55.0f, -10.0f, 0.0f);

	// Ball at x = 100: the eye stops at 60; on the other side at −60.
	ball.SetPosition(100.0f, 0.0f, 0.0f);
	frame(xeno, CAMERA_XENO);
	xeno.GetEye(eye);
	EXPECT_FLOAT_EQ(eye[0], 60.0f);
	ball.SetPosition(-30.0f, 0.0f, 0.0f);
	frame(xeno, CAMERA_XENO);
	xeno.GetEye(eye);
	EXPECT_FLOAT_EQ(eye[0], -15.0f);
	ball.SetPosition(-200.0f, 0.0f, 0.0f);
	frame(xeno, CAMERA_XENO);
	xeno.GetEye(eye);
	EXPECT_FLOAT_EQ(eye[0], -60.0f);

	// The top view never moves.
	frame(top, CAMERA_TOP);
	top.GetEye(eye);
	ExpectVec(eye, 0.0f, 0.0f, 135.0f);

	// Resetting the positions gives a panning view its start back.
	ResetPanningCamera(xeno);
	xeno.GetEye(eye);
	ExpectVec(eye, 0.0f, -75.0f, 60.0f);
	xeno.GetLookAt(lookAt);
	ExpectVec(lookAt, 0.0f, 0.0f, 0.0f);
}

TEST(Camera, DiscViewsFollowTheActiveDiscLookingAtTheBall) {
	ScratchDir scratch;
	CameraScene scene;
	ASSERT_TRUE(scene.window.IsOpen());
	Marker disc1(-35.0f, 0.0f, 0.0f);
	Marker disc2(35.0f, 4.0f, 0.0f);
	Marker ball(3.0f, -8.0f, 0.0f);
	for (int index : {CAMERA_DISC, CAMERA_DISC_MINI}) {
		SCOPED_TRACE(index);
		Camera camera;
		SetUpMatchCamera(camera, index, 640, 480, &disc1, &ball);
		// Side 2's turn: disc 2 from 10 units above, looking at the ball.
		ApplyFollowRule(camera, index, ball, &disc2);
		camera.Update(16);
		EXPECT_EQ(camera.GetTarget(), &disc2);
		sgVec3 eye, lookAt;
		camera.GetEye(eye);
		ExpectVec(eye, 35.0f, 4.0f, 10.0f);
		camera.GetLookAt(lookAt);
		ExpectVec(lookAt, 3.0f, -8.0f, 0.0f);
		const sgVec3 ballAt = {3.0f, -8.0f, 0.0f};
		ExpectViewpoint(35.0f, 4.0f, 10.0f, ballAt);
		ApplyFollowRule(camera, index, ball, &disc1);
		camera.Update(16);
		camera.GetEye(eye);
		ExpectVec(eye, -35.0f, 0.0f, 10.0f);
	}
}
