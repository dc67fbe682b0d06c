#include <gtest/gtest.h>

#include <cmath>

#include "ScratchDir.h"
#include "core/Random.h"
#include "world/Aim.h"
#include "world/ComputerPlayer.h"
#include "world/Disc.h"

namespace {

bool IsFire(int bits) {
	return bits == ComputerPlayer::THINK_FIRE;
}

// Fire never comes with a move bit, and only the five signals exist.
void ExpectValidDecision(int bits) {
	EXPECT_EQ(bits & ~31, 0);
	if (bits & ComputerPlayer::THINK_FIRE) {
		EXPECT_EQ(bits, ComputerPlayer::THINK_FIRE);
	}
	EXPECT_FALSE((bits & ComputerPlayer::THINK_LEFT) && (bits & ComputerPlayer::THINK_RIGHT));
	EXPECT_FALSE((bits & ComputerPlayer::THINK_UP) && (bits & ComputerPlayer::THINK_DOWN));
}

void ExpectFiniteDesire(const ComputerPlayer &player) {
	EXPECT_TRUE(std::isfinite(player.GetDesiredAim()[0]));
	EXPECT_TRUE(std::isfinite(player.GetDesiredAim()[1]));
	EXPECT_TRUE(std::isfinite(player.GetTarget()[0]));
	EXPECT_TRUE(std::isfinite(player.GetTarget()[1]));
}

float Distance(const float *a, float x, float y) {
	return std::hypot(a[0] - x, a[1] - y);
}

} // namespace

TEST(ComputerPlayer, StartsClearedAndKeepsItsGoal) {
	ScratchDir scratch;
	Random random(1);
	ComputerPlayer player(random);
	EXPECT_EQ(player.GetGoal()[0], 0.0f);
	EXPECT_EQ(player.GetGoal()[1], 0.0f);
	EXPECT_EQ(player.GetDesiredAim()[0], 0.0f);
	EXPECT_EQ(player.GetDesiredAim()[1], 0.0f);
	EXPECT_EQ(player.GetMode(), ComputerPlayer::MODE_ATTACK);
	player.SetGoal(-70.0f, 0.0f);
	EXPECT_EQ(player.GetGoal()[0], -70.0f);
}

TEST(ComputerPlayer, BallOnTheLineToTheGoalIsHitWithARandomOffsetOfAtMostOne) {
	ScratchDir scratch;
	Random random(1);
	ComputerPlayer player(random);
	player.SetGoal(64.0f, 0.0f);
	// The first draw goes to y, the second to x.
	Random same(1);
	const float y = 2.0f * same.Signed(), x = 2.0f * same.Signed();
	player.Think(16.0f, 0.0f, 2.0f, 0.0f, 0.0f, 0.0f, -30.0f, 20.0f, 16);
	EXPECT_EQ(random.Draw15(), same.Draw15()); // two draws, no more
	EXPECT_EQ(player.GetMode(), ComputerPlayer::MODE_ATTACK);
	EXPECT_FLOAT_EQ(player.GetTarget()[0], 16.0f + x);
	EXPECT_FLOAT_EQ(player.GetTarget()[1], y);

	// Whatever the draws, the shift stays within 1 on each axis.
	for (int i = 0; i < 200; i++) {
		player.Think(16.0f, 0.0f, 2.0f, 0.0f, 0.0f, 0.0f, -30.0f, 20.0f, 16);
		EXPECT_LE(std::fabs(player.GetTarget()[0] - 16.0f), 1.0001f);
		EXPECT_LE(std::fabs(player.GetTarget()[1]), 1.0001f);
	}
}

TEST(ComputerPlayer, BallInFrontButOffTheLineIsHitFromTheSide) {
	ScratchDir scratch;
	Random random(1);
	ComputerPlayer player(random);
	player.SetGoal(60.0f, 0.0f);
	const float ball[2] = {20.0f, 4.0f};
	player.Think(ball[0], ball[1], 2.0f, 0.0f, 0.0f, 0.0f, -30.0f, 20.0f, 16);
	EXPECT_EQ(random.Draw15(), Random(1).Draw15()); // nothing drawn
	EXPECT_EQ(player.GetMode(), ComputerPlayer::MODE_ATTACK);

	// The same steps worked through in double precision.
	const double B[2] = {20.0, 4.0}, G[2] = {60.0, 0.0};
	const double lengthB = std::hypot(B[0], B[1]), lengthG = 60.0;
	const double c = (B[0] * G[0] + B[1] * G[1]) / (lengthB * lengthG);
	const double along = lengthB / c / lengthG;
	const double P[2] = {along * G[0], along * G[1]};
	const double D[2] = {B[0] - P[0], B[1] - P[1]};
	const double toGoal[2] = {ball[0] - 60.0, ball[1]};
	const double c2 = (P[0] * toGoal[0] + P[1] * toGoal[1]) / (std::hypot(P[0], P[1]) * std::hypot(toGoal[0], toGoal[1]));
	const double scale = -(3.556 * c2 / std::hypot(D[0], D[1]));
	const double T[2] = {ball[0] + scale * D[0], ball[1] + scale * D[1]};
	EXPECT_NEAR(player.GetTarget()[0], T[0], 1e-4);
	EXPECT_NEAR(player.GetTarget()[1], T[1], 1e-4);
	// Strength |B| + |ball − goal| is over the cap here: the aim wants the full 60.
	EXPECT_NEAR(Distance(player.GetDesiredAim(), 0.0f, 0.0f), 60.0f, 1e-4);
	const double toT = std::hypot(T[0], T[1]);
	EXPECT_NEAR(player.GetDesiredAim()[0], 60.0 * T[0] / toT, 1e-4);
	EXPECT_NEAR(player.GetDesiredAim()[1], 60.0 * T[1] / toT, 1e-4);
}

TEST(ComputerPlayer, CloseBallAndGoalMakeAShortShot) {
	ScratchDir scratch;
	Random random(1);
	ComputerPlayer player(random);
	player.SetGoal(10.0f, 0.0f);
	player.Think(5.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f, -30.0f, 20.0f, 16);
	EXPECT_EQ(player.GetMode(), ComputerPlayer::MODE_ATTACK);
	const float expected = std::hypot(5.0f, 1.0f) + std::hypot(-5.0f, 1.0f);
	EXPECT_NEAR(Distance(player.GetDesiredAim(), 0.0f, 0.0f), expected, 1e-4);
}

TEST(ComputerPlayer, BallBehindTheDiscMakesItDefend) {
	ScratchDir scratch;
	Random random(1);
	// Goal to the right, ball to the left of the disc: c ≤ 0.
	ComputerPlayer player(random);
	player.SetGoal(60.0f, 0.0f);
	// The other disc farther than a third of the ball's distance: go below the ball.
	player.Think(-30.0f, 10.0f, 2.0f, 0.0f, 0.0f, 0.0f, 0.0f, 20.0f, 16);
	EXPECT_EQ(player.GetMode(), ComputerPlayer::MODE_BELOW_BALL);
	EXPECT_FLOAT_EQ(player.GetTarget()[0], -30.0f);
	EXPECT_FLOAT_EQ(player.GetTarget()[1], 5.0f);
	EXPECT_NEAR(Distance(player.GetDesiredAim(), 0.0f, 0.0f), 60.0f, 1e-4);

	// The mode stays while defending, even when the other disc comes close.
	player.Think(-30.0f, 10.0f, 2.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 16);
	EXPECT_EQ(player.GetMode(), ComputerPlayer::MODE_BELOW_BALL);

	// An attacking position resets it; defending again then chooses afresh.
	player.Think(30.0f, 0.5f, 2.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 16);
	EXPECT_EQ(player.GetMode(), ComputerPlayer::MODE_ATTACK);

	// Other disc exactly three times closer than the ball (|ball| = 30, |other| = 10): go for it.
	player.Think(-30.0f, 0.0f, 2.0f, 0.0f, 0.0f, 0.0f, 0.0f, -10.0f, 16);
	EXPECT_EQ(player.GetMode(), ComputerPlayer::MODE_OTHER_DISC);
	EXPECT_FLOAT_EQ(player.GetTarget()[0], 0.0f);
	EXPECT_FLOAT_EQ(player.GetTarget()[1], -10.0f);
	EXPECT_FLOAT_EQ(player.GetDesiredAim()[0], 0.0f);
	EXPECT_FLOAT_EQ(player.GetDesiredAim()[1], -60.0f);

	// A ball straight beside the disc (c = 0) is not in front either.
	ComputerPlayer side(random);
	side.SetGoal(60.0f, 0.0f);
	side.Think(0.0f, 20.0f, 2.0f, 0.0f, 0.0f, 0.0f, 50.0f, 50.0f, 16);
	EXPECT_EQ(side.GetMode(), ComputerPlayer::MODE_BELOW_BALL);
}

TEST(ComputerPlayer, SteersTheAimPointTowardsTheDesiredPoint) {
	ScratchDir scratch;
	Random random(1);
	ComputerPlayer player(random);
	player.SetGoal(60.0f, 0.0f);
	// Defending below a ball at (-30, 35): target (-30, 30), desired 60 along it.
	const int dt = 10;
	int bits = player.Think(-30.0f, 35.0f, 2.0f, 0.0f, 0.0f, 0.0f, 50.0f, 50.0f, dt);
	ExpectValidDecision(bits);
	const float *want = player.GetDesiredAim();
	EXPECT_NEAR(want[0], -42.4264f, 1e-3);
	EXPECT_NEAR(want[1], 42.4264f, 1e-3);
	EXPECT_EQ(bits, ComputerPlayer::THINK_LEFT | ComputerPlayer::THINK_UP);

	// Beyond the desired point and off the line to the target.
	bits = player.Think(-30.0f, 35.0f, -50.0f, 45.0f, 0.0f, 0.0f, 50.0f, 50.0f, dt);
	EXPECT_EQ(bits, ComputerPlayer::THINK_RIGHT | ComputerPlayer::THINK_DOWN);
	// Within the tolerance on x only: move on y only.
	bits = player.Think(-30.0f, 35.0f, want[0] + 0.15f, 0.0f, 0.0f, 0.0f, 50.0f, 50.0f, dt);
	EXPECT_EQ(bits, ComputerPlayer::THINK_UP);
}

TEST(ComputerPlayer, FiresWhenAlignedAndLongEnoughOrWhenNothingIsLeftToSteer) {
	ScratchDir scratch;
	Random random(1);
	ComputerPlayer player(random);
	player.SetGoal(10.0f, 0.0f);
	// Close ball and goal: strength about 10.2. An aim twice that long on the line to the
	// target is far from the desired point but aligned: fire. Each think replays the same
	// jitter.
	player.Think(5.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, -30.0f, 20.0f, 16);
	const float *target = player.GetTarget();
	const float toTarget = std::hypot(target[0], target[1]);
	const float far[2] = {20.0f * target[0] / toTarget, 20.0f * target[1] / toTarget};
	random.Seed(1);
	EXPECT_TRUE(IsFire(player.Think(5.0f, 0.0f, far[0], far[1], 0.0f, 0.0f, -30.0f, 20.0f, 16)));
	// Aligned but too short: steer outwards.
	random.Seed(1);
	const int bits = player.Think(5.0f, 0.0f, far[0] / 5, far[1] / 5, 0.0f, 0.0f, -30.0f, 20.0f, 16);
	EXPECT_NE(bits & ComputerPlayer::THINK_RIGHT, 0);
	EXPECT_EQ(bits & ComputerPlayer::THINK_FIRE, 0);

	// Just short of the desired point, within 0.045 × dt on both axes: the alignment test fails
	// on the length, yet there is nothing left to steer, so it fires.
	ComputerPlayer defender(random);
	defender.SetGoal(60.0f, 0.0f);
	defender.Think(-30.0f, 0.0f, 2.0f, 0.0f, 0.0f, 0.0f, 50.0f, 50.0f, 100);
	const float want[2] = {defender.GetDesiredAim()[0], defender.GetDesiredAim()[1]};
	EXPECT_NEAR(std::hypot(want[0], want[1]), 60.0f, 1e-4);
	const int dt = 100; // tolerance 4.5 units
	const float shortBy = 4.0f / 60.0f;
	EXPECT_TRUE(IsFire(defender.Think(-30.0f, 0.0f, want[0] * (1 - shortBy), want[1] * (1 - shortBy), 0.0f, 0.0f,
	                                  50.0f, 50.0f, dt)));
	const float tooShort = 5.0f / 60.0f;
	EXPECT_EQ(defender.Think(-30.0f, 0.0f, want[0] * (1 - tooShort), want[1] * (1 - tooShort), 0.0f, 0.0f, 50.0f,
	                         50.0f, dt),
	          ComputerPlayer::THINK_LEFT);
}

TEST(ComputerPlayer, CoincidingPointsGiveASafeDecision) {
	ScratchDir scratch;
	Random random(1);
	// Ball on the disc: no direction to the ball. It defends below the ball.
	ComputerPlayer ballOnDisc(random);
	ballOnDisc.SetGoal(60.0f, 0.0f);
	int bits = ballOnDisc.Think(5.0f, 5.0f, 7.0f, 5.0f, 5.0f, 5.0f, 40.0f, 40.0f, 16);
	ExpectValidDecision(bits);
	ExpectFiniteDesire(ballOnDisc);
	EXPECT_EQ(ballOnDisc.GetMode(), ComputerPlayer::MODE_BELOW_BALL);

	// Disc on its goal: no direction to the goal.
	ComputerPlayer discOnGoal(random);
	discOnGoal.SetGoal(-70.0f, 0.0f);
	bits = discOnGoal.Think(-50.0f, 3.0f, -68.0f, 0.0f, -70.0f, 0.0f, 0.0f, 0.0f, 16);
	ExpectValidDecision(bits);
	ExpectFiniteDesire(discOnGoal);

	// Target on the disc (the other disc sits exactly on it): no move, no shot.
	ComputerPlayer targetOnDisc(random);
	targetOnDisc.SetGoal(60.0f, 0.0f);
	bits = targetOnDisc.Think(-30.0f, 0.0f, 2.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 16);
	EXPECT_EQ(targetOnDisc.GetMode(), ComputerPlayer::MODE_OTHER_DISC);
	EXPECT_EQ(bits, 0);
	ExpectFiniteDesire(targetOnDisc);
	EXPECT_FLOAT_EQ(targetOnDisc.GetDesiredAim()[0], 2.0f);

	// Target on the disc in the other defence: the ball 5 straight above, beside the goal line.
	ComputerPlayer belowBall(random);
	belowBall.SetGoal(60.0f, 0.0f);
	bits = belowBall.Think(0.0f, 5.0f, 2.0f, 0.0f, 0.0f, 0.0f, 40.0f, 40.0f, 16);
	EXPECT_EQ(belowBall.GetMode(), ComputerPlayer::MODE_BELOW_BALL);
	EXPECT_EQ(bits, 0);
	ExpectFiniteDesire(belowBall);

	// Aim point on the disc: there is no aim line to test, so it steers out.
	ComputerPlayer aimOnDisc(random);
	aimOnDisc.SetGoal(60.0f, 0.0f);
	bits = aimOnDisc.Think(-30.0f, 10.0f, 0.0f, 0.0f, 0.0f, 0.0f, 50.0f, 50.0f, 16);
	ExpectFiniteDesire(aimOnDisc);
	EXPECT_EQ(bits, ComputerPlayer::THINK_LEFT | ComputerPlayer::THINK_UP);

	// Everything on one point at once.
	ComputerPlayer all(random);
	bits = all.Think(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0);
	ExpectValidDecision(bits);
	ExpectFiniteDesire(all);
}

TEST(ComputerPlayer, EveryTurnFiresByItselfWhateverTheFrameTime) {
	ScratchDir scratch;
	Random random(5);
	auto x = [&random] { return 130.0f * random.Unit() - 65.0f; };
	auto y = [&random] { return 80.0f * random.Unit() - 40.0f; };
	for (int dt : {10, 16, 33}) {
		int silent = 0;
		for (int turn = 0; turn < 300; turn++) {
			Disc disc;
			disc.Create(nullptr, nullptr, nullptr);
			const float own[2] = {x(), y()}, ball[2] = {x(), y()}, other[2] = {x(), y()};
			disc.SetPosition(own[0], own[1], 0.0f);
			Aim aim;
			aim.Init(nullptr, &disc);
			aim.Reset(turn % 2 ? Aim::START_OFFSET : -Aim::START_OFFSET);
			aim.Update(dt);
			ComputerPlayer player(random);
			player.SetGoal(turn % 2 ? 70.0f : -70.0f, 0.0f);
			bool fired = false;
			// A turn of the longest shoot time.
			for (int t = 0; t < 5000 && !fired; t += dt) {
				sgVec3 at;
				aim.GetAimPoint(at);
				fired = aim.ApplyDecision(player.Think(ball[0], ball[1], at[0], at[1], own[0], own[1], other[0], other[1], dt));
				aim.Update(dt);
			}
			silent += !fired;
		}
		EXPECT_EQ(silent, 0) << "frame time " << dt;
	}
}
