#include <gtest/gtest.h>

#include <cmath>

#include "ScratchDir.h"
#include "core/Random.h"
#include "world/Aim.h"
#include "world/ComputerPlayer.h"
#include "world/Disc.h"

namespace {

using CP = ComputerPlayer;

// Fire never comes with a move bit, and only the five signals exist.
void ExpectValidDecision(int bits) {
	EXPECT_EQ(bits & ~31, 0);
	EXPECT_TRUE(!(bits & CP::THINK_FIRE) || bits == CP::THINK_FIRE);
	EXPECT_FALSE((bits & CP::THINK_LEFT) && (bits & CP::THINK_RIGHT));
	EXPECT_FALSE((bits & CP::THINK_UP) && (bits & CP::THINK_DOWN));
}

float Distance(const float *a, float x, float y) {
	return std::hypot(a[0] - x, a[1] - y);
}

} // namespace

TEST(ComputerPlayer, AttacksABallInFrontFromTheSideOrWithAJitterWhenItIsOnTheLine) {
	ScratchDir scratch;
	Random random(1);
	CP player(random);
	player.SetGoal(64.0f, 0.0f);
	// On the line: the ball shifted by two draws of at most 1, the first for y, the second for x.
	Random same(1);
	const float y = 2.0f * same.Signed(), x = 2.0f * same.Signed();
	player.Think(16.0f, 0.0f, 2.0f, 0.0f, 0.0f, 0.0f, -30.0f, 20.0f, 16);
	EXPECT_EQ(random.Draw15(), same.Draw15()); // two draws, no more
	EXPECT_EQ(player.GetMode(), CP::MODE_ATTACK);
	EXPECT_FLOAT_EQ(player.GetTarget()[0], 16.0f + x);
	EXPECT_FLOAT_EQ(player.GetTarget()[1], y);
	for (int i = 0; i < 200; i++) {
		player.Think(16.0f, 0.0f, 2.0f, 0.0f, 0.0f, 0.0f, -30.0f, 20.0f, 16);
		EXPECT_LE(Distance(player.GetTarget(), 16.0f, 0.0f), 1.0001f * std::sqrt(2.0f));
	}

	// Off the line: no draw; the target lies beside the ball on the side away from the line,
	// at most the side offset from it, and the strength is capped.
	player.SetGoal(60.0f, 0.0f);
	random.Seed(1);
	player.Think(20.0f, 4.0f, 2.0f, 0.0f, 0.0f, 0.0f, -30.0f, 20.0f, 16);
	EXPECT_EQ(random.Draw15(), Random(1).Draw15());
	EXPECT_GT(player.GetTarget()[1], 4.0f);
	EXPECT_LE(Distance(player.GetTarget(), 20.0f, 4.0f), CP::SIDE_OFFSET + 1e-4f);
	EXPECT_NEAR(Distance(player.GetDesiredAim(), 0.0f, 0.0f), CP::MAX_STRENGTH, 1e-4);

	// Ball and goal close by: the strength is the two distances added, a short shot.
	player.SetGoal(10.0f, 0.0f);
	player.Think(5.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f, -30.0f, 20.0f, 16);
	EXPECT_NEAR(Distance(player.GetDesiredAim(), 0.0f, 0.0f), std::hypot(5.0f, 1.0f) * 2, 1e-4);
}

TEST(ComputerPlayer, DefendsBelowTheBallOrAtTheOtherDiscAndKeepsThatChoice) {
	ScratchDir scratch;
	Random random(1);
	CP player(random);
	player.SetGoal(60.0f, 0.0f);
	// The ball behind the disc, the other disc farther than a third of its distance.
	player.Think(-30.0f, 10.0f, 2.0f, 0.0f, 0.0f, 0.0f, 0.0f, 20.0f, 16);
	EXPECT_EQ(player.GetMode(), CP::MODE_BELOW_BALL);
	EXPECT_FLOAT_EQ(player.GetTarget()[0], -30.0f);
	EXPECT_FLOAT_EQ(player.GetTarget()[1], 10.0f - CP::DEFENCE_OFFSET);
	// The choice stays while defending, even with the other disc close; attacking resets it.
	player.Think(-30.0f, 10.0f, 2.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 16);
	EXPECT_EQ(player.GetMode(), CP::MODE_BELOW_BALL);
	player.Think(30.0f, 0.5f, 2.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 16);
	EXPECT_EQ(player.GetMode(), CP::MODE_ATTACK);
	// The other disc exactly three times closer than the ball: go for it.
	player.Think(-30.0f, 0.0f, 2.0f, 0.0f, 0.0f, 0.0f, 0.0f, -10.0f, 16);
	EXPECT_EQ(player.GetMode(), CP::MODE_OTHER_DISC);
	EXPECT_FLOAT_EQ(player.GetDesiredAim()[0], 0.0f);
	EXPECT_FLOAT_EQ(player.GetDesiredAim()[1], -CP::MAX_STRENGTH);
	// A ball straight beside the disc is not in front either.
	CP side(random);
	side.SetGoal(60.0f, 0.0f);
	side.Think(0.0f, 20.0f, 2.0f, 0.0f, 0.0f, 0.0f, 50.0f, 50.0f, 16);
	EXPECT_EQ(side.GetMode(), CP::MODE_BELOW_BALL);
}

TEST(ComputerPlayer, SteersTowardsTheDesiredPointAndFiresWhenAlignedOrWhenNothingIsLeft) {
	ScratchDir scratch;
	Random random(1);
	CP player(random);
	player.SetGoal(60.0f, 0.0f);
	// Defending below a ball at (-30, 35): the desired point lies 60 towards (-30, 30).
	const int dt = 10; // tolerance 0.45 units
	EXPECT_EQ(player.Think(-30.0f, 35.0f, 2.0f, 0.0f, 0.0f, 0.0f, 50.0f, 50.0f, dt), CP::THINK_LEFT | CP::THINK_UP);
	const float want[2] = {player.GetDesiredAim()[0], player.GetDesiredAim()[1]};
	EXPECT_NEAR(want[0], -60.0f / std::sqrt(2.0f), 1e-3);
	EXPECT_EQ(
		player.Think(-30.0f, 35.0f, -50.0f, 45.0f, 0.0f, 0.0f, 50.0f, 50.0f, dt), CP::THINK_RIGHT | CP::THINK_DOWN);
	EXPECT_EQ(player.Think(-30.0f, 35.0f, want[0] + 0.4f, 0.0f, 0.0f, 0.0f, 50.0f, 50.0f, dt), CP::THINK_UP);
	// Within the tolerance on both axes, though short of the length: nothing left to steer, fire.
	const int far = 100; // tolerance 4.5 units
	EXPECT_EQ(
		player.Think(-30.0f, 35.0f, want[0] + 3.0f, want[1] - 3.0f, 0.0f, 0.0f, 50.0f, 50.0f, far), CP::THINK_FIRE);
	EXPECT_EQ(player.Think(-30.0f, 35.0f, want[0] + 5.0f, want[1], 0.0f, 0.0f, 50.0f, 50.0f, far), CP::THINK_LEFT);

	// Aligned with the target and at least as long as the strength, however far from the
	// desired point: fire. Aligned but too short: steer outwards.
	player.SetGoal(10.0f, 0.0f);
	random.Seed(1);
	player.Think(5.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, -30.0f, 20.0f, 16);
	const float *target = player.GetTarget();
	const float toTarget = std::hypot(target[0], target[1]);
	const float aligned[2] = {20.0f * target[0] / toTarget, 20.0f * target[1] / toTarget};
	random.Seed(1); // the same jitter again
	EXPECT_EQ(player.Think(5.0f, 0.0f, aligned[0], aligned[1], 0.0f, 0.0f, -30.0f, 20.0f, 16), CP::THINK_FIRE);
	random.Seed(1);
	const int bits = player.Think(5.0f, 0.0f, aligned[0] / 5, aligned[1] / 5, 0.0f, 0.0f, -30.0f, 20.0f, 16);
	EXPECT_TRUE((bits & CP::THINK_RIGHT) && !(bits & CP::THINK_FIRE));
}

TEST(ComputerPlayer, CoincidingPointsGiveASafeDecision) {
	ScratchDir scratch;
	Random random(1);
	// ball, aim, own and other points and the goal x; the expected bits, or -1 for any valid.
	const struct {
		float points[8];
		float goalX;
		int bits;
	} cases[] = {
		{{5, 5, 7, 5, 5, 5, 40, 40}, 60, -1},                               // ball on the disc
		{{-50, 3, -68, 0, -70, 0, 0, 0}, -70, -1},                          // disc on its goal
		{{-30, 0, 2, 0, 0, 0, 0, 0}, 60, 0},                                // the other disc on it, the target
		{{0, 5, 2, 0, 0, 0, 40, 40}, 60, 0},                                // the point below the ball on it
		{{-30, 10, 0, 0, 0, 0, 50, 50}, 60, CP::THINK_LEFT | CP::THINK_UP}, // aim point on it
		{{0, 0, 0, 0, 0, 0, 0, 0}, 0, -1},                                  // everything on one point
	};
	for (const auto &c : cases) {
		CP player(random);
		player.SetGoal(c.goalX, 0.0f);
		const float *p = c.points;
		const int bits = player.Think(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], 16);
		ExpectValidDecision(bits);
		if (c.bits >= 0) {
			EXPECT_EQ(bits, c.bits);
		}
		for (const float v :
			{player.GetDesiredAim()[0], player.GetDesiredAim()[1], player.GetTarget()[0], player.GetTarget()[1]}) {
			EXPECT_TRUE(std::isfinite(v));
		}
	}
}

TEST(ComputerPlayer, EveryTurnFiresByItselfWhateverTheFrameTime) {
	ScratchDir scratch;
	Random random(5);
	auto x = [&random] { return 130.0f * random.Unit() - 65.0f; };
	auto y = [&random] { return 80.0f * random.Unit() - 40.0f; };
	for (int dt : {10, 16, 33}) {
		int silent = 0;
		for (int turn = 0; turn < 300; turn++) {
			const float own[2] = {x(), y()}, ball[2] = {x(), y()}, other[2] = {x(), y()};
			Disc disc;
			disc.Create(nullptr, nullptr, nullptr);
			disc.SetPosition(own[0], own[1], 0.0f);
			Aim aim;
			aim.Init(nullptr, &disc);
			aim.Reset(turn % 2 ? Aim::START_OFFSET : -Aim::START_OFFSET);
			aim.Update(dt);
			CP player(random);
			player.SetGoal(turn % 2 ? 70.0f : -70.0f, 0.0f);
			bool fired = false;
			for (int t = 0; t < 5000 && !fired; t += dt) { // a turn of the longest shoot time
				sgVec3 at;
				aim.GetAimPoint(at);
				fired = aim.ApplyDecision(
					player.Think(ball[0], ball[1], at[0], at[1], own[0], own[1], other[0], other[1], dt));
				aim.Update(dt);
			}
			silent += !fired;
		}
		EXPECT_EQ(silent, 0) << "frame time " << dt;
	}
}
