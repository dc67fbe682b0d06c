#include <gtest/gtest.h>

#include <algorithm>

#include "GameGlobals.h"
#include "core/Random.h"
#include "match/InGame.h"
#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/EasyComputerPlayer.h"
#include "world/PlanningComputerPlayer.h"
#include "world/SearchClock.h"

namespace {

// A clock that moves on by a fixed step each time it is read.
class SteppingClock : public SearchClock {
public:
	explicit SteppingClock(int64_t step_) : now(0), step(step_) {}
	int64_t Microseconds() override { return now += step; }

	int64_t now;  // µs
	int64_t step; // µs per reading
};

struct OwnScratch {
	ScratchDir scratch;
};

// A match set up without drawing, only for its arena.
class ArenaFixture : private OwnScratch, public GameGlobals {
public:
	ArenaFixture() : GameGlobals(scratch, 320, 240) {
		game.SetDrawing(false);
		started = game.Init();
	}

	InGame game;
	bool started;
};

// A field with the ball rolling across the middle and the side's aim at its turn's start.
FieldView RollingField(int turnLeft) {
	FieldView view = {};
	view.ball[0] = 5.0f;
	view.ball[1] = -10.0f;
	view.ballVelocity[1] = 30.0f;
	view.own[0] = -25.0f;
	view.own[1] = 4.0f;
	view.other[0] = 35.0f;
	view.aim[0] = view.own[0] + 2.0f;
	view.aim[1] = view.own[1];
	view.dt = 16;
	view.turnLeft = turnLeft;
	return view;
}

} // namespace

TEST(ComputerLevels, EasyDrawsItsErrorAndWaitFromTheSeededRandom) {
	ScratchDir scratch;
	Random a(7), b(7), c(8);
	EasyComputerPlayer first(a), same(b), other(c);
	bool differs = false;
	for (int turn = 0; turn < 20; turn++) {
		first.StartTurn();
		same.StartTurn();
		other.StartTurn();
		EXPECT_EQ(first.GetAngleError(), same.GetAngleError());
		EXPECT_EQ(first.GetStrengthFactor(), same.GetStrengthFactor());
		EXPECT_EQ(first.GetWait(), same.GetWait());
		EXPECT_LE(std::abs(first.GetAngleError()), 2.0f * EasyComputerPlayer::MAX_ANGLE_ERROR);
		EXPECT_GE(first.GetStrengthFactor(), 1.0f - EasyComputerPlayer::MAX_WEAKNESS);
		EXPECT_GE(first.GetWait(), EasyComputerPlayer::MIN_WAIT);
		EXPECT_LE(first.GetWait(), EasyComputerPlayer::MAX_WAIT);
		differs = differs || first.GetAngleError() != other.GetAngleError();
	}
	EXPECT_TRUE(differs);
}

// Each level on a turn of one second, its slices timed by a clock that moves 40 µs or 700 µs
// a reading: every slice keeps to its steps and stops at the first look that finds its time
// spent (the slice's own measure reads the clock once more), and the shot goes before the
// turn's last frame.
TEST(ComputerLevels, PlannerSlicesKeepToTheirBoundsAndTheShotBeatsAOneSecondTurn) {
	ArenaFixture fixture;
	ASSERT_TRUE(fixture.started);
	const Arena &arena = *fixture.game.GetWorld().GetArena();
	for (int level : {LEVEL_HARD, LEVEL_EXPERT}) {
		for (int64_t step : {40, 700}) {
			SCOPED_TRACE(testing::Message() << "level " << level << ", " << step << " us a reading");
			Random random(3);
			SteppingClock clock(step);
			PlanningComputerPlayer player(random, clock, level);
			ASSERT_TRUE(player.SetUpField(arena, 1));
			const ShotPlanner::Settings &settings = player.GetPlanner().GetSettings();
			FieldView view = RollingField(1000);
			player.StartTurn();
			int fired = -1;
			for (int frame = 0; view.turnLeft > 0 && fired < 0; frame++, view.turnLeft -= view.dt) {
				const long slices = player.GetPlanner().GetSliceCount();
				const int bits = player.Decide(view);
				if (player.GetPlanner().GetSliceCount() != slices) {
					EXPECT_LE(player.GetPlanner().GetLastSliceSteps(), settings.stepsPerSlice + ShotPlanner::CHUNK + 1);
					EXPECT_LE(player.GetPlanner().GetLastSliceMicros(), settings.sliceMicros + 2 * step);
				}
				if (bits == ComputerPlayer::THINK_FIRE) {
					fired = frame;
				}
				// The aim point follows the steering as the match's would.
				const float move = Aim::SPEED * view.dt;
				view.aim[0] += (bits & ComputerPlayer::THINK_RIGHT ? move : 0.0f) -
							   (bits & ComputerPlayer::THINK_LEFT ? move : 0.0f);
				view.aim[1] +=
					(bits & ComputerPlayer::THINK_UP ? move : 0.0f) - (bits & ComputerPlayer::THINK_DOWN ? move : 0.0f);
			}
			EXPECT_GE(fired, 0);
			EXPECT_LE(fired, 1000 / view.dt - 1);
			EXPECT_GT(player.GetPlanner().GetTried(), 0);
		}
	}
}
