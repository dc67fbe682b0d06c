#include <gtest/gtest.h>

#include <cmath>

#include "GameGlobals.h"
#include "match/InGame.h"
#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"
#include "world/ShotSimulator.h"
#include "world/ShotTurnEvent.h"

namespace {

struct OwnScratch {
	ScratchDir scratch;
};

// A "PL1 vs PL2" match in its own scratch dir, stepped in 10 ms frames (one physics step each)
// without drawing, nobody steering; and a shot simulator set up from its arena.
class ShotFixture : private OwnScratch, public GameGlobals {
public:
	ShotFixture() : GameGlobals(scratch, 320, 240) {}

	bool Start(int arena) {
		g_options.mode = MODE_PL1_VS_PL2;
		g_options.shootTime = 5;
		g_options.arena = arena;
		game.SetDrawing(false);
		if (!game.Init()) {
			return false;
		}
		for (int i = 0; i < 1000 && (game.GetPhase() != PHASE_PLAYING || game.IsFrozen()); i++) {
			Step();
		}
		return simulator.SetUp(*game.GetWorld().GetArena());
	}
	void Step() {
		clock.Advance(PHYSICS_STEP);
		game.Frame();
	}
	// Ends the running turn, so a whole quiet turn follows, and puts the bodies where the case
	// wants them, here and in the simulator: the discs at rest, the ball perhaps rolling.
	void PlaceAll(const float places[3][2], const float ballVelocity[2]) {
		game.GetShotTimer()->Fire();
		Step();
		GameObject *bodies[3] = {game.GetWorld().GetBall(), game.GetDisc(1), game.GetDisc(2)};
		const float still[2] = {0.0f, 0.0f};
		const float *velocities[3] = {ballVelocity, still, still};
		for (int i = 0; i < 3; i++) {
			bodies[i]->SetPosition(places[i][0], places[i][1], 0.0f);
			const sgVec3 v = {velocities[i][0], velocities[i][1], 0.0f};
			bodies[i]->SetVelocity(v);
		}
		simulator.Place(places[0], places[1], places[2], game.GetPhysics().GetCollisionWait());
		simulator.SetStartVelocities(ballVelocity, still, still);
	}
	float Distance(const GameObject *object, const float at[2]) const {
		sgVec3 p;
		object->GetPosition(p);
		return std::hypot(p[0] - at[0], p[1] - at[1]);
	}

	InGame game;
	ShotSimulator simulator;
};

struct ShotCase {
	const char *name;
	int arena;
	float places[3][2]; // ball, disc 1, disc 2
	float ballVelocity[2];
	int side;
	float towards[2]; // the aim point less the disc's place
	int firstTouch;   // ShotSimulator::FirstTouch
	int goalFor;
};

const ShotCase CASES[] = {
	{"ball hit", 0, {{0, 0}, {-20, 5}, {35, 0}}, {0, 0}, 1, {30, -6}, ShotSimulator::FIRST_BALL, 0},
	{"wall bounce", 0, {{0, 0}, {-35, 0}, {40, 20}}, {0, 0}, 2, {12, 40}, ShotSimulator::FIRST_WALL, 0},
	{"disc hit", 0, {{0, 30}, {-30, -20}, {0, -19}}, {0, 0}, 1, {45, 2}, ShotSimulator::FIRST_DISC, 0},
	{"goal", 0, {{58, 3}, {46, 3}, {-35, 0}}, {0, 0}, 1, {20, 0}, ShotSimulator::FIRST_BALL, 1},
	{"bank on tris", 1, {{-20, 30}, {-40, 0}, {40, 0}}, {0, 0}, 1, {50, 40}, ShotSimulator::FIRST_WALL, 0},
	{"rolling ball", 0, {{10, -20}, {-20, 0}, {35, 0}}, {0, 40}, 1, {40, 0}, ShotSimulator::FIRST_BALL, 0},
};

// The aim vector that sends the disc towards the aim point: the origin less the point.
void AimVector(const ShotCase &c, sgVec3 aim) {
	sgSetVec3(aim, -c.towards[0], -c.towards[1], -Aim::HEIGHT);
}

} // namespace

TEST(ShotSimulator, ASimulatedShotEndsWhereTheMatchPutsTheBodies) {
	for (const ShotCase &c : CASES) {
		SCOPED_TRACE(c.name);
		ShotFixture f;
		ASSERT_TRUE(f.Start(c.arena));
		f.PlaceAll(c.places, c.ballVelocity);
		sgVec3 aim;
		AimVector(c, aim);
		f.game.GetDisc(c.side)->Shoot(aim);
		f.simulator.Shoot(c.side, aim);
		const ShotSimulator::Outcome &outcome = f.simulator.Run();
		ASSERT_TRUE(outcome.resting || outcome.goalFor);
		ASSERT_LT(outcome.time, 4800); // within the quiet turn

		for (int t = 0; t < outcome.time; t += PHYSICS_STEP) {
			f.Step();
		}
		EXPECT_EQ(f.game.IsFrozen(), outcome.goalFor != 0); // a goal's announcement
		EXPECT_LT(f.Distance(f.game.GetWorld().GetBall(), outcome.ball), 0.01f);
		EXPECT_LT(f.Distance(f.game.GetDisc(1), outcome.disc[0]), 0.01f);
		EXPECT_LT(f.Distance(f.game.GetDisc(2), outcome.disc[1]), 0.01f);
		for (int t = 0; t < 3500 && f.game.IsFrozen(); t += PHYSICS_STEP) {
			f.Step();
		}
		EXPECT_EQ(outcome.goalFor, c.goalFor);
		for (int side = 1; side <= 2; side++) {
			EXPECT_EQ(f.game.GetDisc(side)->GetGoals(), outcome.goalFor == side ? 1 : 0);
		}
	}
}

TEST(ShotSimulator, TheTraceFollowsTheDiscStepByStepToItsFirstContact) {
	for (const ShotCase &c : CASES) {
		SCOPED_TRACE(c.name);
		ShotFixture f;
		ASSERT_TRUE(f.Start(c.arena));
		f.PlaceAll(c.places, c.ballVelocity);
		sgVec3 aim;
		AimVector(c, aim);
		float path[512][2];
		const ShotSimulator::FirstContact first = f.simulator.TraceFirstContact(c.side, aim, path, 512);
		ASSERT_EQ(first.with, c.firstTouch);
		ASSERT_EQ(first.time, (first.pathCount - 1) * PHYSICS_STEP);

		const Disc *disc = f.game.GetDisc(c.side);
		f.game.GetDisc(c.side)->Shoot(aim);
		EXPECT_EQ(f.Distance(disc, path[0]), 0.0f);
		for (int i = 1; i < first.pathCount; i++) {
			f.Step();
			ASSERT_LT(f.Distance(disc, path[i]), 1e-4f) << "step " << i;
		}
		// The match's next pass finds the same contact, on the disc's rim.
		const int flags[4] = {0, c.side == 1 ? CONTACT_DISC1_WALL : CONTACT_DISC2_WALL,
			c.side == 1 ? CONTACT_BALL_DISC1 : CONTACT_BALL_DISC2, CONTACT_DISC_DISC};
		EXPECT_EQ(f.game.GetPhysics().GetContactFlags() & flags[first.with], 0);
		f.Step();
		EXPECT_NE(f.game.GetPhysics().GetContactFlags() & flags[first.with], 0);
		const float *last = path[first.pathCount - 1];
		EXPECT_NEAR(std::hypot(first.point[0] - last[0], first.point[1] - last[1]), Disc::RADIUS, 1.0f);
		if (first.with == ShotSimulator::FIRST_BALL) {
			sgVec3 v;
			f.game.GetWorld().GetBall()->GetVelocity(v);
			EXPECT_NEAR(v[0], first.ballVelocity[0], 1e-3f);
			EXPECT_NEAR(v[1], first.ballVelocity[1], 1e-3f);
			EXPECT_GT(std::hypot(v[0], v[1]), 10.0f);
		}
	}
}
