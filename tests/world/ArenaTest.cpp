#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "WorldTestKit.h"
#include "core/SceneWalk.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/DriftEmitter.h"
#include "world/Torch.h"

namespace {

// Head of an arena file: models and starts.
std::string Head(const std::string &day = "-", const std::string &night = "-",
                 const std::string &field = "xeno_field.3ds") {
	return day + "\n" + night + "\n" + field + "\n-5.0,0.0\n5.0,0.0\n0.0,1.0\n";
}

// A square of side 20 round the origin, walked clockwise.
const char *SQUARE_WALLS =
	"4\n-10.0,-10.0 -10.0,10.0\n-10.0,10.0 10.0,10.0\n10.0,10.0 10.0,-10.0\n10.0,-10.0 -10.0,-10.0\n";
const char *SQUARE_TAIL = "0\n2\n-10.0,0.0\n10.0,0.0\n3.0\n0.5\n0.9\n";

bool AnyLightOn() {
	for (int k = 1; k <= 4; k++) {
		if (ssgGetLight(k)->isOn()) {
			return true;
		}
	}
	return false;
}

// Links the build's models and effects into the scratch dir, for loads that get that far.
void LinkWorldData(const ScratchDir &scratch) {
	LinkDataFolder(scratch, "arena");
	LinkDataFolder(scratch, "misc");
}

// The match's contact handling, reduced to bounces: enough to see which side of a wall is free.
struct Contacts {
	dWorldID world;
	dJointGroupID group;
};

void Touch(void *data, dGeomID a, dGeomID b) {
	Contacts *contacts = static_cast<Contacts *>(data);
	dContact contact[6];
	int n = dCollide(a, b, 6, &contact[0].geom, sizeof(dContact));
	for (int i = 0; i < n; i++) {
		contact[i].surface.mode = dContactBounce;
		contact[i].surface.mu = 0.0;
		contact[i].surface.bounce = 0.9;
		contact[i].surface.bounce_vel = 0.001;
		dJointID joint = dJointCreateContact(contacts->world, contacts->group, &contact[i]);
		dJointAttach(joint, dGeomGetBody(a), dGeomGetBody(b));
	}
}

} // namespace

TEST(Arena, TheReaderRefusesFilesOutsideItsRules) {
	ScratchDir scratch;
	ScopedLog log;
	PhysicsScene scene;

	struct Case {
		const char *name;
		std::string text;
		const char *logLine;
	};
	std::string tooMany = "33\n";
	for (int i = 0; i < 33; i++) {
		tooMany += std::to_string(i) + ".0,0.0 " + std::to_string(i) + ".0,5.0\n";
	}
	const Case cases[] = {
		{"toomany", Head() + tooMany + "0\n1\n0.0,0.0\n1.0,0.0\n1.0\n0.5\n0.5\n", "33 walls, at most 32"},
		{"negative", Head() + "-1\n0\n1\n", "-1 walls, at most 32"},
		{"shortwalls", Head() + "4\n-10.0,-10.0 -10.0,10.0\n", "item 8 is missing or malformed"},
		{"nogoal2", Head() + SQUARE_WALLS + "0\n", "item 10 is missing or malformed"},
		{"nobounce", Head() + SQUARE_WALLS + "0\n2\n-10.0,0.0\n10.0,0.0\n3.0\n0.5\n", "item 15 is missing or malformed"},
		{"badstart", std::string("-\n-\nxeno_field.3ds\n-5.0,zero\n"), "item 4 is missing or malformed"},
		{"pointwall", Head() + "2\n1.0,1.0 1.0,1.0\n1.0,1.0 1.0,5.0\n0\n1\n0.0,0.0\n1.0,0.0\n1.0\n0.5\n0.5\n", "wall 0 has no length"},
	};
	for (const Case &c : cases) {
		SCOPED_TRACE(c.name);
		scratch.WriteText(std::string("data/arena/") + c.name + ".arn", c.text);
		Arena arena(scene.random);
		arena.Create(scene.root, scene.world, scene.space);
		EXPECT_FALSE(arena.Load(c.name, 0));
		EXPECT_TRUE(log.Contains(c.logLine)) << log.Text();
		EXPECT_EQ(arena.GetWallCount(), 0);
		EXPECT_EQ(arena.GetGoal1Wall(), nullptr);
		EXPECT_EQ(arena.GetGoal2Wall(), nullptr);
		EXPECT_EQ(arena.GetWall(0), nullptr);
		EXPECT_EQ(arena.GetWallSegment(0), nullptr);
		EXPECT_EQ(dSpaceGetNumGeoms(scene.space), 0);
		arena.Destroy();
	}

	Arena missing(scene.random);
	missing.Create(scene.root, scene.world, scene.space);
	EXPECT_FALSE(missing.Load("nowhere", 1));
	EXPECT_FALSE(missing.Load(nullptr, 0));
	EXPECT_TRUE(log.Contains("ARENA: Initializing..."));
	EXPECT_FALSE(log.Contains("ARENA: ...Done!"));
	missing.Destroy();
	EXPECT_EQ(scene.root->getNumKids(), 0);
}

TEST(Arena, WallsArePlanesFacingTheFieldWhicheverModelTheFileNames) {
	ScratchDir scratch;
	ScopedLog log;
	LinkWorldData(scratch);
	SceneWindow window;
	ASSERT_TRUE(window.IsOpen());
	PhysicsScene scene;

	// No time-of-day model at all: the walls are there all the same.
	scratch.WriteText("data/arena/square.arn", Head("-", "-") + SQUARE_WALLS + SQUARE_TAIL);
	Arena arena(scene.random);
	arena.Create(scene.root, scene.world, scene.space);
	ASSERT_TRUE(arena.Load("square", 0));
	EXPECT_EQ(arena.GetModel(), nullptr);
	EXPECT_NE(arena.GetFieldModel(), nullptr);
	ASSERT_EQ(arena.GetWallCount(), 4);
	EXPECT_EQ(dSpaceGetNumGeoms(scene.space), 4);
	const float normals[4][3] = {{1, 0, -10}, {0, -1, -10}, {-1, 0, -10}, {0, 1, -10}}; // n.x, n.y, d
	for (int i = 0; i < 4; i++) {
		SCOPED_TRACE(i);
		dVector4 plane;
		ASSERT_NE(arena.GetWall(i), nullptr);
		dGeomPlaneGetParams(arena.GetWall(i), plane);
		EXPECT_NEAR(plane[0], normals[i][0], 1e-6);
		EXPECT_NEAR(plane[1], normals[i][1], 1e-6);
		EXPECT_EQ(plane[2], 0.0);
		EXPECT_NEAR(plane[3], normals[i][2], 1e-5);
	}

	// A ball let loose inside bounces off all four walls and stays in the square.
	Ball ball;
	ball.Create(scene.root, scene.world, scene.space);
	ball.CreateGeometry();
	ball.SetPosition(0.0f, 0.0f, 0.0f);
	const sgVec3 v = {40.0f, 25.0f, 0.0f};
	ball.SetVelocity(v);
	Contacts contacts = {scene.world, dJointGroupCreate(0)};
	float seen[2] = {0.0f, 0.0f};
	for (int step = 0; step < 300; step++) {
		dJointGroupEmpty(contacts.group);
		dSpaceCollide(scene.space, &contacts, Touch);
		dWorldStep(scene.world, 0.01);
		sgVec3 p;
		ball.GetPosition(p);
		ASSERT_LT(std::fabs(p[0]), 10.0f) << "step " << step;
		ASSERT_LT(std::fabs(p[1]), 10.0f) << "step " << step;
		seen[0] = std::max(seen[0], std::fabs(p[0]));
		seen[1] = std::max(seen[1], std::fabs(p[1]));
	}
	EXPECT_GT(seen[0], 7.0f); // it did reach the walls
	EXPECT_GT(seen[1], 7.0f);
	dJointGroupDestroy(contacts.group);
	ball.Destroy();
	arena.Destroy();

	// The real arenas: every plane has a unit normal in the plane of play pointing to the right
	// of its segment, passes through both ends, and has the field centre on its free side.
	for (const char *name : {"xeno", "tris"}) {
		SCOPED_TRACE(name);
		Arena real(scene.random);
		real.Create(scene.root, scene.world, scene.space);
		ASSERT_TRUE(real.Load(name, 0));
		ASSERT_GT(real.GetWallCount(), 0);
		for (int i = 0; i < real.GetWallCount(); i++) {
			dVector4 plane;
			dGeomPlaneGetParams(real.GetWall(i), plane);
			EXPECT_NEAR(std::hypot(plane[0], plane[1]), 1.0, 1e-6);
			EXPECT_EQ(plane[2], 0.0);
			const float *s = real.GetWallSegment(i);
			EXPECT_NEAR(dGeomPlanePointDepth(real.GetWall(i), s[0], s[1], 0.0), 0.0, 1e-4);
			EXPECT_NEAR(dGeomPlanePointDepth(real.GetWall(i), s[2], s[3], 0.0), 0.0, 1e-4);
			EXPECT_LT(dGeomPlanePointDepth(real.GetWall(i), 0.0, 0.0, 0.0), 0.0);
			const double walkX = s[2] - s[0], walkY = s[3] - s[1];
			EXPECT_LT(walkX * plane[1] - walkY * plane[0], 0.0); // normal to the right of the walk
		}
		real.Destroy();
		EXPECT_EQ(dSpaceGetNumGeoms(scene.space), 1); // only the ball's sphere is left
	}
	EXPECT_EQ(scene.root->getNumKids(), 0);
}

TEST(Arena, GoalIndicesOutsideTheWallsMatchNoWall) {
	ScratchDir scratch;
	ScopedLog log;
	LinkWorldData(scratch);
	SceneWindow window;
	ASSERT_TRUE(window.IsOpen());
	PhysicsScene scene;
	scratch.WriteText("data/arena/pastwalls.arn", Head() + SQUARE_WALLS + "-1\n4\n-10.0,0.0\n10.0,0.0\n3.0\n0.5\n0.9\n");
	// The shipped credits arena has no walls and goals 0 and 0.
	for (const char *name : {"pastwalls", "credits"}) {
		SCOPED_TRACE(name);
		Arena arena(scene.random);
		arena.Create(scene.root, scene.world, scene.space);
		ASSERT_TRUE(arena.Load(name, 1)) << log.Text();
		EXPECT_EQ(arena.GetGoal1Wall(), nullptr);
		EXPECT_EQ(arena.GetGoal2Wall(), nullptr);
		EXPECT_EQ(dSpaceGetNumGeoms(scene.space), arena.GetWallCount());
		arena.Destroy();
	}
}

TEST(Arena, DayLoadReadsGoalsStartsAndBouncesAndLightsNothing) {
	ScratchDir scratch;
	ScopedLog log;
	LinkWorldData(scratch);
	SceneWindow window;
	ASSERT_TRUE(window.IsOpen());
	PhysicsScene scene;
	ssgGetLight(2)->on(); // left on by an earlier night

	Arena arena(scene.random);
	arena.Create(scene.root, scene.world, scene.space);
	EXPECT_EQ(arena.GetType(), OBJECT_ARENA);
	ASSERT_TRUE(arena.Load("xeno", 0));
	EXPECT_TRUE(log.Contains("ARENA: Initializing..."));
	EXPECT_TRUE(log.Contains("ARENA: ...Done!"));
	EXPECT_FALSE(AnyLightOn());

	sgVec3 start;
	arena.GetDisc1Start(start);
	EXPECT_FLOAT_EQ(start[0], -35.0f);
	EXPECT_FLOAT_EQ(start[2], 0.0f);
	arena.GetDisc2Start(start);
	EXPECT_FLOAT_EQ(start[0], 35.0f);
	arena.GetBallStart(start);
	EXPECT_FLOAT_EQ(start[0], 0.0f);
	EXPECT_FLOAT_EQ(start[1], 0.0f);
	EXPECT_EQ(arena.GetWallCount(), 8);
	EXPECT_EQ(arena.GetGoal1WallIndex(), 0);
	EXPECT_EQ(arena.GetGoal2WallIndex(), 4);
	EXPECT_EQ(arena.GetGoal1Wall(), arena.GetWall(0));
	EXPECT_EQ(arena.GetGoal2Wall(), arena.GetWall(4));
	EXPECT_FLOAT_EQ(arena.GetGoal1CentreX(), -70.0f);
	EXPECT_FLOAT_EQ(arena.GetGoal1CentreY(), 0.0f);
	EXPECT_FLOAT_EQ(arena.GetGoal2CentreX(), 70.0f);
	EXPECT_FLOAT_EQ(arena.GetGoal2CentreY(), 0.0f);
	EXPECT_FLOAT_EQ(arena.GetGoalHalfWidth(), 10.0f);
	EXPECT_FLOAT_EQ(arena.GetDiscWallBounce(), 0.55f);
	EXPECT_FLOAT_EQ(arena.GetBallWallBounce(), 0.75f);

	// Field and day model hang under the arena's node; the day model carries its own light.
	ASSERT_NE(arena.GetModel(), nullptr);
	EXPECT_EQ(arena.GetNode()->getNumKids(), 2);
	EXPECT_EQ(arena.GetNode()->getKid(0), arena.GetFieldModel());
	int litLeaves = 0;
	ForEachLeaf(arena.GetModel(), &litLeaves, [](void *user, ssgLeaf *leaf) {
		ssgSimpleState *state = static_cast<ssgSimpleState *>(leaf->getState());
		if (state->isEnabled(GL_LIGHTING)) {
			++*static_cast<int *>(user);
		}
	});
	EXPECT_EQ(litLeaves, 0);

	// No torches by day; the drift stands at its fixed place.
	for (int k = 0; k < Arena::TORCH_COUNT; k++) {
		EXPECT_EQ(arena.GetTorch(k), nullptr);
	}
	ASSERT_NE(arena.GetDriftEmitter(), nullptr);
	sgVec3 at;
	arena.GetDriftEmitter()->GetPosition(at);
	EXPECT_FLOAT_EQ(at[0], 91.0f);
	EXPECT_FLOAT_EQ(at[1], -95.0f);
	EXPECT_FLOAT_EQ(at[2], -2.0f);

	arena.SetPosition(0.0f, 0.0f, -2.0f);
	arena.Update(16);
	EXPECT_EQ(arena.GetLastDt(), 16);
	EXPECT_EQ(arena.GetDriftEmitter()->GetLastDt(), 16);
	sgMat4 m;
	arena.GetNode()->getTransform(m);
	EXPECT_FLOAT_EQ(m[3][2], -2.0f);

	arena.Destroy();
	EXPECT_EQ(scene.root->getNumKids(), 0);
	EXPECT_EQ(dSpaceGetNumGeoms(scene.space), 0);
}

TEST(Arena, NightLightsFourTorchesAndAFollowingDayLoadPutsThemOut) {
	ScratchDir scratch;
	ScopedLog log;
	LinkWorldData(scratch);
	SceneWindow window;
	ASSERT_TRUE(window.IsOpen());
	PhysicsScene scene;

	Arena night(scene.random);
	night.Create(scene.root, scene.world, scene.space);
	ASSERT_TRUE(night.Load("tris", 1));
	for (int k = 0; k < Arena::TORCH_COUNT; k++) {
		SCOPED_TRACE(k);
		ASSERT_NE(night.GetTorch(k), nullptr);
		ssgLight *light = ssgGetLight(k + 1);
		EXPECT_TRUE(light->isOn());
		EXPECT_TRUE(light->isSpotlight()); // w = 1: a point light
		float exponent = -1.0f, cutoff = -1.0f;
		light->getSpotDiffusion(&exponent, &cutoff);
		EXPECT_FLOAT_EQ(exponent, 0.0f);
		EXPECT_FLOAT_EQ(cutoff, 180.0f);
		float constant = -1.0f, linear = -1.0f, quadratic = -1.0f;
		light->getSpotAttenuation(&constant, &linear, &quadratic);
		EXPECT_FLOAT_EQ(constant, 0.0f);
		EXPECT_FLOAT_EQ(linear, 0.025f);
		EXPECT_FLOAT_EQ(quadratic, 0.0f);
		sgVec4 colour;
		light->getColour(GL_AMBIENT, colour);
		EXPECT_FLOAT_EQ(colour[0], 0.1f);
		EXPECT_FLOAT_EQ(colour[3], 1.0f);
		light->getColour(GL_DIFFUSE, colour);
		EXPECT_FLOAT_EQ(colour[2], 0.6f);
		EXPECT_FLOAT_EQ(colour[3], 1.0f);
	}
	// The night model is the one that was loaded, and the drift is the night's.
	EXPECT_NE(night.GetModel(), nullptr);
	ASSERT_NE(night.GetDriftEmitter(), nullptr);
	sgVec3 driftAt;
	night.GetDriftEmitter()->GetPosition(driftAt);
	EXPECT_FLOAT_EQ(driftAt[0], 91.0f);
	EXPECT_FLOAT_EQ(driftAt[1], -95.0f);
	EXPECT_FLOAT_EQ(driftAt[2], -2.0f);
	EXPECT_TRUE(log.Contains("TORCH: ...Done!"));

	// Torches stand at the arena's position plus their offsets; the lights stay where they are.
	const float torchAt[4][2] = {{-80, 60}, {-80, -60}, {80, -60}, {80, 60}};
	night.SetPosition(0.0f, 0.0f, -2.0f);
	const sgVec3 elsewhere = {10.0f, 20.0f, -2.0f};
	night.SetPosition(elsewhere);
	for (int k = 0; k < Arena::TORCH_COUNT; k++) {
		SCOPED_TRACE(k);
		sgVec3 p;
		night.GetTorch(k)->GetPosition(p);
		EXPECT_FLOAT_EQ(p[0], 10.0f + torchAt[k][0]);
		EXPECT_FLOAT_EQ(p[1], 20.0f + torchAt[k][1]);
		EXPECT_FLOAT_EQ(p[2], -7.0f);
		sgVec3 light;
		ssgGetLight(k + 1)->getPosition(light);
		EXPECT_FLOAT_EQ(light[0], torchAt[k][0]);
		EXPECT_FLOAT_EQ(light[1], torchAt[k][1]);
		EXPECT_FLOAT_EQ(light[2], 20.0f);
	}
	night.Update(33);
	for (int k = 0; k < Arena::TORCH_COUNT; k++) {
		EXPECT_EQ(night.GetTorch(k)->GetLastDt(), 33);
	}

	// A day arena loaded after it turns the lights off, even while the night one still stands.
	Arena day(scene.random);
	day.Create(scene.root, scene.world, scene.space);
	ASSERT_TRUE(day.Load("tris", 0));
	EXPECT_FALSE(AnyLightOn());
	day.Destroy();

	// Night again, then destroyed: the torches go and take their lights with them.
	night.Destroy();
	Arena again(scene.random);
	again.Create(scene.root, scene.world, scene.space);
	ASSERT_TRUE(again.Load("xeno", 1));
	EXPECT_TRUE(AnyLightOn());
	again.Destroy();
	EXPECT_FALSE(AnyLightOn());
	for (int k = 0; k < Arena::TORCH_COUNT; k++) {
		EXPECT_EQ(again.GetTorch(k), nullptr);
	}
	EXPECT_EQ(again.GetDriftEmitter(), nullptr);
	EXPECT_EQ(scene.root->getNumKids(), 0);
	EXPECT_EQ(dSpaceGetNumGeoms(scene.space), 0);
}

TEST(Arena, AMissingPartFailsTheLoadAndDestroyReleasesTheRest) {
	ScratchDir scratch;
	ScopedLog log;
	LinkWorldData(scratch);
	SceneWindow window;
	ASSERT_TRUE(window.IsOpen());
	PhysicsScene scene;

	scratch.WriteText("data/arena/nofield.arn", Head("-", "-", "nothing.3ds") + SQUARE_WALLS + SQUARE_TAIL);
	scratch.WriteText("data/arena/nonight.arn", Head("-", "nothing.3ds") + SQUARE_WALLS + SQUARE_TAIL);
	for (const char *name : {"nofield", "nonight"}) {
		SCOPED_TRACE(name);
		Arena arena(scene.random);
		arena.Create(scene.root, scene.world, scene.space);
		EXPECT_FALSE(arena.Load(name, 1));
		arena.Destroy();
		EXPECT_EQ(scene.root->getNumKids(), 0);
		EXPECT_EQ(dSpaceGetNumGeoms(scene.space), 0);
	}

	// Without the torch model the night fails; the torches made so far are released.
	std::filesystem::remove("data/misc/torch.3ds");
	Arena dark(scene.random);
	dark.Create(scene.root, scene.world, scene.space);
	EXPECT_FALSE(dark.Load("xeno", 1));
	EXPECT_NE(dark.GetTorch(0), nullptr);
	dark.Destroy();
	EXPECT_EQ(dark.GetTorch(0), nullptr);
	EXPECT_EQ(scene.root->getNumKids(), 0);

	// Without its drift the day fails too.
	std::filesystem::remove("data/misc/fall_day.spk");
	Arena still(scene.random);
	still.Create(scene.root, scene.world, scene.space);
	EXPECT_FALSE(still.Load("xeno", 0));
	EXPECT_FALSE(log.Contains("ARENA: ...Done!"));
	still.Destroy();
	EXPECT_EQ(still.GetDriftEmitter(), nullptr);
	EXPECT_EQ(scene.root->getNumKids(), 0);
	EXPECT_EQ(dSpaceGetNumGeoms(scene.space), 0);
}
