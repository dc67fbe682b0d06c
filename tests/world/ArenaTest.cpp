#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "WorldTestKit.h"
#include "core/SceneWalk.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/DriftEmitter.h"
#include "world/Torch.h"

namespace {

// Head of an arena file: models and starts (disc 1, disc 2, ball).
std::string Head(
	const std::string &day = "-", const std::string &night = "-", const std::string &field = "xeno_field.3ds") {
	return day + "\n" + night + "\n" + field + "\n-5.0,0.0\n5.0,0.0\n0.0,1.0\n";
}

// A square of side 20 round the origin, walked clockwise; goals on walls 0 and 2 at (∓10, 0),
// half-width 3, bounces 0.5 for discs and 0.9 for the ball.
const char *SQUARE_WALLS =
	"4\n-10.0,-10.0 -10.0,10.0\n-10.0,10.0 10.0,10.0\n10.0,10.0 10.0,-10.0\n10.0,-10.0 -10.0,-10.0\n";
const char *SQUARE_TAIL = "0\n2\n-10.0,0.0\n10.0,0.0\n3.0\n0.5\n0.9\n";

int LightsOn() {
	int on = 0;
	for (int k = 1; k <= Arena::TORCH_COUNT; k++) {
		on += ssgGetLight(k)->isOn();
	}
	return on;
}

// Contacts reduced to bounces: enough to see which side of a wall is free.
struct Contacts {
	dWorldID world;
	dJointGroupID group;
};

void Touch(void *data, dGeomID a, dGeomID b) {
	const Contacts *contacts = static_cast<const Contacts *>(data);
	dContact contact[6];
	int n = dCollide(a, b, 6, &contact[0].geom, sizeof(dContact));
	for (int i = 0; i < n; i++) {
		contact[i].surface.mode = dContactBounce;
		contact[i].surface.mu = 0.0;
		contact[i].surface.bounce = 0.9;
		contact[i].surface.bounce_vel = 0.001;
		dJointAttach(
			dJointCreateContact(contacts->world, contacts->group, &contact[i]), dGeomGetBody(a), dGeomGetBody(b));
	}
}

} // namespace

TEST(Arena, TheReaderRefusesFilesOutsideItsRules) {
	WorldScene scene;
	std::string tooMany = "33\n";
	for (int i = 0; i < 33; i++) {
		tooMany += std::to_string(i) + ".0,0.0 " + std::to_string(i) + ".0,5.0\n";
	}
	const struct {
		const char *name;
		std::string text;
		const char *logLine;
	} cases[] = {
		{"toomany", Head() + tooMany + SQUARE_TAIL, "33 walls, at most 32"},
		{"negative", Head() + "-1\n0\n1\n", "-1 walls, at most 32"},
		{"shortwalls", Head() + "4\n-10.0,-10.0 -10.0,10.0\n", "item 8 is missing or malformed"},
		{"nobounce", Head() + SQUARE_WALLS + "0\n2\n-10.0,0.0\n10.0,0.0\n3.0\n0.5\n",
			"item 15 is missing or malformed"},
		{"badstart", "-\n-\nxeno_field.3ds\n-5.0,zero\n", "item 4 is missing or malformed"},
		{"pointwall", Head() + "2\n1.0,1.0 1.0,1.0\n1.0,1.0 1.0,5.0\n" + SQUARE_TAIL, "wall 0 has no length"},
		// "nan" and "inf" read as numbers; neither they nor absurd sizes may reach the physics.
		{"nanstart", "-\n-\nxeno_field.3ds\nnan,nan\n", "item 4 is missing or malformed"},
		{"infball", "-\n-\nxeno_field.3ds\n-5.0,0.0\n5.0,0.0\ninf,0.0\n", "item 6 is missing or malformed"},
		{"farstart", "-\n-\nxeno_field.3ds\n-5.0,0.0\n5.0,-1e30\n", "item 5 is out of range"},
		{"farwall", Head() + "1\n-10.0,-10.0 -10.0,20000.0\n" + SQUARE_TAIL, "item 8 is out of range"},
		{"nanwall", Head() + "1\n-10.0,-10.0 nan,10.0\n" + SQUARE_TAIL, "item 8 is missing or malformed"},
		{"nangoal", Head() + SQUARE_WALLS + "0\n2\n-nan,0.0\n", "item 11 is missing or malformed"},
		{"widegoal", Head() + SQUARE_WALLS + "0\n2\n-10.0,0.0\n10.0,0.0\n-3.0\n", "item 13 is out of range"},
		{"bouncy", Head() + SQUARE_WALLS + "0\n2\n-10.0,0.0\n10.0,0.0\n3.0\n0.5\n1.5\n", "item 15 is out of range"},
		{"infbounce", Head() + SQUARE_WALLS + "0\n2\n-10.0,0.0\n10.0,0.0\n3.0\ninf\n",
			"item 14 is missing or malformed"},
		{"nowhere", "", "ARENA: Initializing..."},
	};
	for (const auto &c : cases) {
		SCOPED_TRACE(c.name);
		if (!c.text.empty()) {
			scene.dir.WriteText(std::string("data/arena/") + c.name + ".arn", c.text);
		}
		Arena arena(scene.random);
		arena.Create(scene.root, scene.world, scene.space);
		EXPECT_FALSE(arena.Load(c.name, 0));
		EXPECT_TRUE(scene.log.Has(c.logLine)) << scene.log.Text();
		EXPECT_EQ(arena.GetWallCount(), 0);
		EXPECT_EQ(arena.GetGoal1Wall(), nullptr);
		EXPECT_EQ(arena.GetWallSegment(0), nullptr);
		EXPECT_EQ(dSpaceGetNumGeoms(scene.space), 0);
		arena.Destroy();
	}
	Arena unnamed(scene.random);
	unnamed.Create(scene.root, scene.world, scene.space);
	EXPECT_FALSE(unnamed.Load(nullptr, 0));
	unnamed.Destroy();
	EXPECT_FALSE(scene.log.Has("ARENA: ...Done!"));
	EXPECT_EQ(scene.root->getNumKids(), 0);
}

TEST(Arena, ReadsGoalsStartsAndBouncesAndItsWallsArePlanesFacingTheField) {
	WorldScene scene;
	// No time-of-day model at all: the walls are there all the same.
	scene.dir.WriteText("data/arena/square.arn", Head() + SQUARE_WALLS + SQUARE_TAIL);
	Arena arena(scene.random);
	arena.Create(scene.root, scene.world, scene.space);
	ASSERT_TRUE(arena.Load("square", 0));
	EXPECT_EQ(arena.GetModel(), nullptr);
	EXPECT_EQ(arena.GetNode()->getKid(0), arena.GetFieldModel());
	sgVec3 start;
	arena.GetDisc1Start(start);
	EXPECT_TRUE(VecIs(start, -5.0f, 0.0f, 0.0f));
	arena.GetBallStart(start);
	EXPECT_TRUE(VecIs(start, 0.0f, 1.0f, 0.0f));
	EXPECT_EQ(arena.GetGoal1Wall(), arena.GetWall(0));
	EXPECT_EQ(arena.GetGoal2Wall(), arena.GetWall(2));
	EXPECT_EQ(std::vector<float>({arena.GetGoal1CentreX(), arena.GetGoal2CentreX(), arena.GetGoalHalfWidth(),
				  arena.GetDiscWallBounce(), arena.GetBallWallBounce()}),
		std::vector<float>({-10.0f, 10.0f, 3.0f, 0.5f, 0.9f}));
	ASSERT_EQ(arena.GetWallCount(), 4);
	EXPECT_EQ(dSpaceGetNumGeoms(scene.space), 4);

	// A ball let loose inside bounces off all four walls and stays in the square.
	Ball ball;
	ball.Create(scene.root, scene.world, scene.space);
	ball.CreateGeometry();
	const sgVec3 v = {40.0f, 25.0f, 0.0f};
	ball.SetVelocity(v);
	float reach[2] = {0.0f, 0.0f};
	Contacts contacts = {scene.world, dJointGroupCreate(0)};
	for (int step = 0; step < 300; step++) {
		dJointGroupEmpty(contacts.group);
		dSpaceCollide(scene.space, &contacts, Touch);
		dWorldStep(scene.world, 0.01);
		sgVec3 p;
		ball.GetPosition(p);
		ASSERT_LT(std::fabs(p[0]), 10.0f) << "step " << step;
		ASSERT_LT(std::fabs(p[1]), 10.0f) << "step " << step;
		reach[0] = std::max(reach[0], std::fabs(p[0]));
		reach[1] = std::max(reach[1], std::fabs(p[1]));
	}
	EXPECT_GT(std::min(reach[0], reach[1]), 7.0f); // it did reach the walls
	dJointGroupDestroy(contacts.group);
	ball.Destroy();
	arena.Destroy();

	// The shipped arenas: every plane has a unit normal in the plane of play, passes through
	// both ends of its segment and has the field centre on its free side.
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
		}
		real.Destroy();
	}

	// Goal indices past the walls match no wall (the shipped credits arena has no walls).
	scene.dir.WriteText(
		"data/arena/pastwalls.arn", Head() + SQUARE_WALLS + "-1\n4\n-10.0,0.0\n10.0,0.0\n3.0\n0.5\n0.9\n");
	for (const char *name : {"pastwalls", "credits"}) {
		SCOPED_TRACE(name);
		Arena odd(scene.random);
		odd.Create(scene.root, scene.world, scene.space);
		ASSERT_TRUE(odd.Load(name, 1));
		EXPECT_EQ(odd.GetGoal1Wall(), nullptr);
		EXPECT_EQ(odd.GetGoal2Wall(), nullptr);
		odd.Destroy();
	}
	EXPECT_EQ(scene.root->getNumKids(), 0);
	EXPECT_EQ(dSpaceGetNumGeoms(scene.space), 1); // only the ball's sphere, which the space owns
}

TEST(Arena, NightLightsFourTorchesThatFollowTheArenaAndADayPutsThemOut) {
	WorldScene scene;
	Arena night(scene.random);
	night.Create(scene.root, scene.world, scene.space);
	ASSERT_TRUE(night.Load("tris", 1));
	EXPECT_NE(night.GetModel(), nullptr);
	EXPECT_EQ(LightsOn(), Arena::TORCH_COUNT);
	// The surroundings carry their own painted light.
	int litLeaves = 0;
	ForEachLeaf(night.GetModel(), &litLeaves, [](void *user, ssgLeaf *leaf) {
		*static_cast<int *>(user) += static_cast<ssgSimpleState *>(leaf->getState())->isEnabled(GL_LIGHTING) ? 1 : 0;
	});
	EXPECT_EQ(litLeaves, 0);

	// Torches stand at the arena's position plus their offsets; their lights stay where they are.
	sgVec3 torchBefore[Arena::TORCH_COUNT], lightBefore[Arena::TORCH_COUNT];
	night.SetPosition(0.0f, 0.0f, -2.0f);
	for (int k = 0; k < Arena::TORCH_COUNT; k++) {
		night.GetTorch(k)->GetPosition(torchBefore[k]);
		ssgGetLight(k + 1)->getPosition(lightBefore[k]);
	}
	night.SetPosition(10.0f, 20.0f, -2.0f);
	night.Update(33);
	for (int k = 0; k < Arena::TORCH_COUNT; k++) {
		SCOPED_TRACE(k);
		sgVec3 p;
		night.GetTorch(k)->GetPosition(p);
		EXPECT_TRUE(VecIs(p, torchBefore[k][0] + 10.0f, torchBefore[k][1] + 20.0f, torchBefore[k][2]));
		ssgGetLight(k + 1)->getPosition(p);
		EXPECT_TRUE(sgEqualVec3(p, lightBefore[k]));
		EXPECT_EQ(night.GetTorch(k)->GetLastDt(), 33);
	}
	EXPECT_EQ(night.GetDriftEmitter()->GetLastDt(), 33);

	// A day arena loaded after it puts the lights out, even while the night one still stands.
	Arena day(scene.random);
	day.Create(scene.root, scene.world, scene.space);
	ASSERT_TRUE(day.Load("tris", 0));
	EXPECT_EQ(LightsOn(), 0);
	EXPECT_EQ(day.GetTorch(0), nullptr);
	ASSERT_NE(day.GetDriftEmitter(), nullptr);
	day.Destroy();
	// Night again, then destroyed: the torches go and take their lights with them.
	night.Destroy();
	Arena again(scene.random);
	again.Create(scene.root, scene.world, scene.space);
	ASSERT_TRUE(again.Load("xeno", 1));
	again.Destroy();
	EXPECT_EQ(LightsOn(), 0);
	EXPECT_EQ(again.GetTorch(0), nullptr);
	EXPECT_EQ(again.GetDriftEmitter(), nullptr);
	EXPECT_EQ(scene.root->getNumKids(), 0);
	EXPECT_EQ(dSpaceGetNumGeoms(scene.space), 0);
}

TEST(Arena, AMissingPartFailsTheLoadAndDestroyReleasesTheRest) {
	WorldScene scene;
	scene.dir.WriteText("data/arena/nofield.arn", Head("-", "-", "nothing.3ds") + SQUARE_WALLS + SQUARE_TAIL);
	scene.dir.WriteText("data/arena/nonight.arn", Head("-", "nothing.3ds") + SQUARE_WALLS + SQUARE_TAIL);
	for (const char *name : {"nofield", "nonight"}) {
		Arena arena(scene.random);
		arena.Create(scene.root, scene.world, scene.space);
		EXPECT_FALSE(arena.Load(name, 1)) << name;
		arena.Destroy();
	}
	// Without the torch model the night fails, without its drift the day.
	std::filesystem::remove("data/misc/torch.3ds");
	std::filesystem::remove("data/misc/fall_day.spk");
	for (int night : {1, 0}) {
		Arena arena(scene.random);
		arena.Create(scene.root, scene.world, scene.space);
		EXPECT_FALSE(arena.Load("xeno", night));
		EXPECT_EQ(arena.GetTorch(0) != nullptr, night == 1); // made before the failure
		arena.Destroy();
		EXPECT_EQ(arena.GetTorch(0), nullptr);
		EXPECT_EQ(arena.GetDriftEmitter(), nullptr);
	}
	EXPECT_FALSE(scene.log.Has("ARENA: ...Done!"));
	EXPECT_EQ(scene.root->getNumKids(), 0);
	EXPECT_EQ(dSpaceGetNumGeoms(scene.space), 0);
}
