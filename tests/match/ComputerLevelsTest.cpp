#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "GameGlobals.h"
#include "core/Random.h"
#include "match/InGame.h"
#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/Ball.h"
#include "world/Disc.h"
#include "world/PhysicsStep.h"
#include "world/EasyComputerPlayer.h"
#include "world/PlanningComputerPlayer.h"
#include "world/SearchClock.h"
#include "world/ShotTurnEvent.h"

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

// A match in a scratch dir of its own, drawing off, with the planning levels' search on a clock
// of the test's.
class PlayFixture : private OwnScratch, public GameGlobals {
public:
	explicit PlayFixture(int64_t searchStep = 1) : GameGlobals(scratch, 320, 240), searchClock(searchStep) {
		game.SetDrawing(false);
		game.SetSearchClock(&searchClock);
	}
	// Where the ball, disc 1 and disc 2 are.
	void ReadPlaces(float at[3][2]) const {
		const GameObject *bodies[3] = {game.GetWorld().GetBall(), game.GetDisc(1), game.GetDisc(2)};
		for (int b = 0; b < 3; b++) {
			sgVec3 p;
			bodies[b]->GetPosition(p);
			at[b][0] = p[0];
			at[b][1] = p[1];
		}
	}

	SteppingClock searchClock;
	InGame game;
};

// The match's physics clock as a computer player sees it: before a frame's steering the view
// gets the steps taken, the wait since the last collision pass and the lag; then the frame's
// steps run.
struct PhysicsClock {
	void See(FieldView &view) {
		now += view.dt;
		view.step = step;
		view.collisionWait = wait;
		view.physicsLag = now - physicsTime;
	}
	void Run() {
		const int steps = StepsFor(now - physicsTime);
		wait = CollisionWaitAfter(wait, steps);
		step += steps;
		physicsTime += steps * PHYSICS_STEP;
	}

	int now = 0;         // ms
	int physicsTime = 0; // ms
	int step = 0;
	int wait = 0; // ms
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
// a reading: every slice keeps to its steps and, should the machine be far too slow, stops at
// the first look that finds its cap passed (the slice's own measure reads the clock once
// more), and the shot goes before the turn's last frame.
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
			PhysicsClock physics;
			int fired = -1;
			for (int frame = 0; view.turnLeft > 0 && fired < 0; frame++, view.turnLeft -= view.dt) {
				const long slices = player.GetPlanner().GetSliceCount();
				physics.See(view);
				const int bits = player.Decide(view);
				physics.Run();
				if (player.GetPlanner().GetSliceCount() != slices) {
					EXPECT_LE(player.GetPlanner().GetLastSliceSteps(), settings.stepsPerSlice + ShotPlanner::CHUNK + 1);
					EXPECT_LE(player.GetPlanner().GetLastSliceMicros(), settings.capMicros + 2 * step);
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

// Fields for the computer's side 2, which attacks the goal at x < 0: the ball, disc 1, disc 2
// and the ball's speed.
struct PlannedField {
	float places[3][2];    // units
	float ballVelocity[2]; // units per second
};

const PlannedField PLANNED_FIELDS[] = {
	{{{-30, 5}, {-10, 25}, {10, 0}}, {0, 0}},
	{{{-20, -15}, {-40, 20}, {15, 10}}, {0, 0}},
	{{{0, -10}, {-30, 0}, {30, 0}}, {0, 20}},
	{{{-42, 18}, {10, -20}, {0, 0}}, {0, 0}},
	{{{-10, 0}, {-35, 5}, {25, -20}}, {0, 0}},
	{{{-25, -5}, {5, 30}, {20, 8}}, {-15, 10}},
	{{{50, -5}, {-20, 0}, {30, 25}}, {0, 0}},
	{{{40, 30}, {-50, 0}, {20, -30}}, {0, 0}},
	{{{52, 25}, {-55, 0}, {35, -25}}, {5, 0}},
};

// "HARD" plays "PL1 vs PC" against an idle player 1 on each field, put in place at the start of
// its turn, with steady 16 ms frames and with frames of 8 to 26 ms: every shot it fires as
// judged ends where its search saw it end (or scores as it saw it score), whichever step the
// shot goes at and wherever the steering left the aim.
TEST(ComputerLevels, APlannedShotGoesWhereTheSearchSawItGoWithSteadyOrIrregularFrames) {
	for (bool irregular : {false, true}) {
		PlayFixture f;
		g_options.mode = MODE_PL1_VS_PC;
		g_options.shootTime = 5;
		g_options.arena = 0;
		f.game.SetComputerLevel(2, LEVEL_HARD);
		f.game.SetSeed(5);
		ASSERT_TRUE(f.game.Init());
		const auto *player = dynamic_cast<const PlanningComputerPlayer *>(f.game.GetControls().GetComputer(2));
		ASSERT_NE(player, nullptr);
		Random frames(17);
		int judged = 0;
		for (const PlannedField &field : PLANNED_FIELDS) {
			SCOPED_TRACE(testing::Message()
						 << (irregular ? "irregular" : "steady") << " frames, field " << &field - PLANNED_FIELDS);
			// On to the computer's next turn, then the field in place before its first frame.
			for (int side : {1, 2}) {
				for (int i = 0; i < 2000 && f.game.GetActiveDisc() != f.game.GetDisc(side); i++) {
					f.Advance(16);
					f.game.Frame();
				}
			}
			ASSERT_EQ(f.game.GetActiveDisc(), f.game.GetDisc(2));
			GameObject *bodies[3] = {f.game.GetWorld().GetBall(), f.game.GetDisc(1), f.game.GetDisc(2)};
			for (int b = 0; b < 3; b++) {
				bodies[b]->SetPosition(field.places[b][0], field.places[b][1], 0.0f);
				const sgVec3 v = {b == 0 ? field.ballVelocity[0] : 0.0f, b == 0 ? field.ballVelocity[1] : 0.0f, 0.0f};
				bodies[b]->SetVelocity(v);
			}
			const long shots = player->GetShotCount();
			for (int i = 0; i < 1000 && player->GetShotCount() == shots; i++) {
				f.Advance(irregular ? 8 + frames.Below(19) : 16);
				f.game.Frame();
			}
			ASSERT_NE(player->GetShotCount(), shots);
			const ShotPlanner::Forecast *forecast = player->GetLastForecast();
			if (!forecast) {
				continue;
			}
			judged++;
			// One physics step a frame from here up to the moment the search saw the shot end.
			const int goals = f.game.GetDisc(2)->GetGoals();
			for (int t = 0; t < forecast->time && !f.game.IsFrozen(); t += PHYSICS_STEP) {
				f.Advance(PHYSICS_STEP);
				f.game.Frame();
			}
			float at[3][2];
			f.ReadPlaces(at);
			for (int b = 0; b < 3 && !forecast->goal; b++) {
				EXPECT_NEAR(at[b][0], forecast->end[b][0], 0.01f) << "body " << b;
				EXPECT_NEAR(at[b][1], forecast->end[b][1], 0.01f) << "body " << b;
			}
			// A goal counts once its celebration is over.
			for (int t = 0; t < 6000 && f.game.IsFrozen(); t += 16) {
				f.Advance(16);
				f.game.Frame();
			}
			EXPECT_EQ(f.game.GetDisc(2)->GetGoals() > goals, forecast->goal);
		}
		EXPECT_GE(judged, 5);
		f.game.Deinit();
	}
}

// The same seed twice, "HARD" against "EXPERT", once on a quick machine and once on a busy one
// (the search's clock runs 1 or 30 µs a reading): the same play, bit for bit. On a crawling
// machine (2 ms a reading) the search is cut short, and the log says the match no longer
// replays from its seed.
TEST(ComputerLevels, HardAgainstExpertReplaysFromItsSeedBitForBitOnAQuickOrABusyMachine) {
	const int64_t readings[3] = {1, 30, 2000};
	std::vector<float> ends[3];
	int cutLines[3] = {0, 0, 0};
	for (int run = 0; run < 3; run++) {
		PlayFixture f(readings[run]);
		g_options.mode = MODE_PC_VS_PC;
		g_options.shootTime = 2;
		g_options.arena = -1;
		f.game.SetComputerLevel(1, LEVEL_HARD);
		f.game.SetComputerLevel(2, LEVEL_EXPERT);
		f.game.SetSeed(23);
		ASSERT_TRUE(f.game.Init());
		for (int i = 0; i < 600; i++) {
			f.Advance(16);
			f.game.Frame();
		}
		float at[3][2];
		f.ReadPlaces(at);
		ends[run].assign(&at[0][0], &at[0][0] + 6);
		ends[run].push_back(static_cast<float>(f.game.GetDisc(1)->GetGoals()));
		ends[run].push_back(static_cast<float>(f.game.GetDisc(2)->GetGoals()));
		f.game.Deinit();
		cutLines[run] = f.log.Count("no longer replays from its seed");
	}
	EXPECT_EQ(ends[0], ends[1]);
	EXPECT_EQ(cutLines[0], 0);
	EXPECT_EQ(cutLines[1], 0);
	EXPECT_EQ(cutLines[2], 2); // once for each side
}
