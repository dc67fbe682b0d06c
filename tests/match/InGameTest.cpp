#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "FakePads.h"
#include "GameGlobals.h"
#include "gui/WgItem.h"
#include "match/Camera.h"
#include "match/GoalReplay.h"
#include "match/InGame.h"
#include "match/MatchControls.h"
#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/CountdownEvent.h"
#include "world/Disc.h"
#include "world/GoalEvent.h"
#include "world/SearchClock.h"
#include "world/ShotTurnEvent.h"
#include "world/TrophyEvent.h"

namespace fs = std::filesystem;

namespace {

const int WIDTH = 320;
const int HEIGHT = 240;

struct OwnScratch {
	ScratchDir scratch;
};

// Everything a match needs around it in a scratch dir of its own, with time and keys in the
// test's hands.
class MatchFixture : private OwnScratch, public GameGlobals {
public:
	MatchFixture() : GameGlobals(scratch, WIDTH, HEIGHT) {}

	bool Start(unsigned seed = 7) {
		game.SetSeed(seed);
		return game.Init();
	}
	// One frame of the given length.
	bool Step(int ms) {
		clock.Advance(ms);
		return game.Frame();
	}
	// Frames until play runs (past the period's start and its countdown), and the first frame of
	// play, whose steps catch up with the time the countdown stood still.
	void PlayUntilLive() {
		for (int i = 0; i < 1000 && (game.GetPhase() != PHASE_PLAYING || game.IsFrozen()); i++) {
			Step(20);
		}
		Step(20);
	}
	template <typename T>
	int CountEvents() const {
		int n = 0;
		for (int i = 0; i < game.GetEvents().GetCount(); i++) {
			n += dynamic_cast<const T *>(game.GetEvents().Get(i)) != nullptr;
		}
		return n;
	}
	int ActiveSide() const { return game.GetActiveDisc() == game.GetDisc(1) ? 1 : 2; }
	const MatchWorld &World() const { return game.GetWorld(); }
	const MatchControls &Controls() const { return game.GetControls(); }

	InGame game;
};

// A search clock that moves 1 µs a reading: the planning levels never run out of time.
class SearchCounter : public SearchClock {
public:
	int64_t Microseconds() override { return ++now; }

private:
	int64_t now = 0; // µs
};

// Every contact of a match's collision passes: kind, x, y.
class ContactRecord : public ContactListener {
public:
	void OnContact(ContactKind kind, const float at[2]) override {
		seen.push_back(static_cast<float>(kind));
		seen.push_back(at[0]);
		seen.push_back(at[1]);
	}

	std::vector<float> seen;
};

void Place(GameObject *object, float x, float y, float vx = 0.0f, float vy = 0.0f) {
	object->SetPosition(x, y, 0.0f);
	sgVec3 v = {vx, vy, 0.0f};
	object->SetVelocity(v);
}

float Speed(const GameObject *object) {
	sgVec3 v;
	object->GetVelocity(v);
	return std::hypot(v[0], v[1]);
}

// A point `inside` units in front of the middle of an arena wall, and the wall's plane.
void NearWall(const Arena &arena, int wall, float inside, float at[2], dVector4 plane) {
	const float *segment = arena.GetWallSegment(wall);
	dGeomPlaneGetParams(arena.GetWall(wall), plane);
	at[0] = (segment[0] + segment[2]) / 2 + static_cast<float>(plane[0]) * inside;
	at[1] = (segment[1] + segment[3]) / 2 + static_cast<float>(plane[1]) * inside;
}

} // namespace

TEST(InGame, SetsUpInOrderAndTearsDownInTheReverse) {
	MatchFixture f;
	g_options.mode = MODE_PL1_VS_PC;
	ASSERT_TRUE(f.Start());
	EXPECT_EQ(f.game.GetPhase(), PHASE_STARTING);
	EXPECT_EQ(f.game.GetPeriodIndex(), -1);
	EXPECT_EQ(f.Controls().GetMainCamera(), CAMERA_BALL);
	EXPECT_EQ(f.input.GetInputMode(), NI_MODE_POLLING);
	EXPECT_NE(f.Controls().GetComputer(2), nullptr); // the computer plays side 2
	EXPECT_EQ(f.Controls().GetComputer(1), nullptr);
	EXPECT_NE(f.World().GetShadow(0), nullptr); // by day
	f.game.Deinit();
	f.game.Deinit(); // twice is harmless

	const std::vector<std::string> entries = f.log.Entries();
	int at = 0;
	EXPECT_TRUE(EntriesInOrder(entries,
		{"Message: INGAME: Initialization...", "Message: INGAME: Random seed 7", "Message: INGAME: World...",
			"Message: INGAME: Lights...", "Message: INGAME: SkyBox...", "Message: BALL: Initializing...",
			"Message: ARENA: Initializing...", "Message: DISC: Initializing...", "Message: AIM: Initializing...",
			"Message: SHADOW: Initializing...", "Message: INGAME: Cameras...", "Message: CAMERA: Initialization...",
			"Message: INGAME: HUD initialization...", "Message: INGAME: HUD initialization done!",
			"Message: SOUND: Loading static sound...", "Message: INGAME: ...Done!"},
		0, &at));
	// The tear-down says exactly this, once.
	std::vector<std::string> teardown = {
		"Message: INGAME: Deinitialization...", "Message: SKYBOX: Deinitialization..."};
	teardown.insert(teardown.end(), MATCH_CAMERA_COUNT, "Message: CAMERA: Deinitialization...");
	EXPECT_EQ(std::vector<std::string>(entries.begin() + at, entries.end()), teardown);
	EXPECT_FALSE(f.log.Has("Error")) << f.LogText();
}

TEST(InGame, MissingFilesFailTheSetUpWithTheirMessage) {
	MatchFixture f;
	fs::remove("data/sounds/tarzan.wav");
	ASSERT_FALSE(f.Start());
	f.game.Deinit();
	EXPECT_TRUE(f.log.Has("Error: SOUND: TARZAN loading failed! \n"));
	// A model that loads as nothing (a main chunk and no more) fails like a missing one.
	f.WriteData("data/misc/ball.3ds", std::string("MM\x06\0\0\0", 6));
	InGame damaged;
	ASSERT_FALSE(damaged.Init());
	damaged.Deinit();
	EXPECT_TRUE(f.log.Has("Error: MODEL: data/misc/ball.3ds holds no geometry \n")) << f.LogText();
	EXPECT_TRUE(f.log.Has("Error: Ball initialization failed! \n"));
}

TEST(InGame, NightHasNoShadowsAndPcVsPcHasTwoComputers) {
	MatchFixture f;
	g_options.daytime = DAYTIME_NIGHT;
	g_options.mode = MODE_PC_VS_PC;
	g_options.arena = 1;
	ASSERT_TRUE(f.Start());
	EXPECT_EQ(f.World().GetNight(), 1);
	EXPECT_EQ(f.World().GetShadow(0), nullptr);
	EXPECT_NE(f.Controls().GetComputer(1), nullptr);
	EXPECT_NE(f.Controls().GetComputer(2), nullptr);
}

TEST(InGame, CountdownFreezesThenTurnsAlternateEveryShootTime) {
	MatchFixture f;
	g_options.shootTime = 1;
	ASSERT_TRUE(f.Start());
	EXPECT_TRUE(f.Step(16)); // starting
	EXPECT_EQ(f.game.GetPhase(), PHASE_NEXT_PERIOD);
	EXPECT_TRUE(f.Step(16)); // the period begins with the countdown
	EXPECT_EQ(f.game.GetPeriodIndex(), 0);
	EXPECT_TRUE(f.game.IsFrozen());
	EXPECT_EQ(f.CountEvents<CountdownEvent>(), 1);
	EXPECT_EQ(f.CountEvents<ShotTurnEvent>(), 1);
	const int clockAtStart = f.game.GetPeriodTimeLeft();
	EXPECT_EQ(clockAtStart, 4 * 60000);

	// During the countdown nothing moves and no clock runs.
	int frozenFor = 0;
	for (; f.game.IsFrozen() && frozenFor < 5000; frozenFor += 20) {
		f.Step(20);
	}
	EXPECT_GE(frozenFor, 3000);
	EXPECT_LE(frozenFor, 3200);
	EXPECT_EQ(f.game.GetPeriodTimeLeft(), clockAtStart);
	EXPECT_EQ(f.game.GetShotTimer()->GetRemaining(), 1000);

	// Nobody fires: the sides shoot in turn once a second.
	int side = f.ActiveSide(), changes = 0, since = 0;
	for (int t = 0; t < 5000; t += 20) {
		f.Step(20);
		since += 20;
		if (f.ActiveSide() != side) {
			side = f.ActiveSide();
			changes++;
			EXPECT_NEAR(since, 1000, 40);
			since = 0;
		}
	}
	EXPECT_GE(changes, 4);
	EXPECT_EQ(f.game.GetPeriodTimeLeft(), clockAtStart - 5000);
}

TEST(InGame, FireShootsOnTheNextUpdateAndAHeldKeyFiresOnce) {
	MatchFixture f;
	g_options.shootTime = 5;
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	while (f.ActiveSide() != 1) {
		f.game.GetShotTimer()->Fire();
		f.Step(16);
	}
	sgVec3 before;
	f.game.GetDisc(1)->GetPosition(before);
	f.Hold(g_options.keys1[KEY_RIGHT], true);
	for (int i = 0; i < 20; i++) {
		f.Step(16);
	}
	f.Hold(g_options.keys1[KEY_RIGHT], false);
	EXPECT_GT(f.World().GetAim(1)->GetLength(), 10.0f);

	f.Hold(g_options.keys1[KEY_FIRE], true);
	f.Step(16); // the press; the turn's update in the same frame shoots, and side 2 moves at once
	EXPECT_EQ(f.ActiveSide(), 2);
	sgVec3 v;
	f.game.GetDisc(1)->GetVelocity(v);
	EXPECT_GT(v[0], 10.0f);        // towards the aim point, which went right
	for (int i = 0; i < 10; i++) { // still held: side 2's turn is not fired by it
		f.Step(16);
	}
	EXPECT_EQ(f.ActiveSide(), 2);
	EXPECT_GT(f.game.GetShotTimer()->GetRemaining(), 4000);
	sgVec3 after;
	f.game.GetDisc(1)->GetPosition(after);
	EXPECT_GT(after[0], before[0] + 1.0f);
}

TEST(InGame, EachPlayerSteersWithThePadOfTheirNumberAndStartPauses) {
	MatchFixture f;
	g_options.shootTime = 5;
	g_options.mode = MODE_PL1_VS_PL2;
	FakePads pads;
	// The second pad has no hat and too few buttons for a start button.
	pads.pads = {{"pad 1", 2, 1, 10, {0, 0}, 0, {}}, {"pad 2", 2, 0, 2, {0, 0}, 0, {}}};
	pads.Rescan();
	f.input.SetJoystickDriver(&pads);
	f.input.EnableJoysticks(true);
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	while (f.ActiveSide() != 2) {
		f.game.GetShotTimer()->Fire();
		f.Step(16);
	}
	// Side 2's turn: pad 1 moves nothing, pad 2's stick pulls the aim left past the dead zone.
	pads.pads[0].axis[0] = 32000;
	pads.pads[1].axis[0] = -5000; // inside the dead zone
	sgVec3 start, at;
	f.World().GetAim(2)->GetAimPoint(start);
	f.Step(16);
	f.World().GetAim(2)->GetAimPoint(at);
	EXPECT_FLOAT_EQ(at[0], start[0]);
	pads.pads[1].axis[0] = -20000;
	for (int i = 0; i < 20; i++) {
		f.Step(16);
	}
	f.World().GetAim(2)->GetAimPoint(at);
	EXPECT_NEAR(at[0], start[0] - 20 * 16 * Aim::SPEED, 0.05f); // at the keys' speed
	pads.pads[1].axis[0] = 0;
	pads.pads[1].button[0] = 1; // fire: side 1 moves at once, and a held button fires once
	f.Step(16);
	EXPECT_EQ(f.ActiveSide(), 1);
	f.Step(16);
	EXPECT_EQ(f.ActiveSide(), 1);
	pads.pads[1].button[0] = 0;

	// The hat steers player 1; pad 1's start button opens the in-game menu.
	pads.pads[0].axis[0] = 0;
	pads.pads[0].hat = SDL_HAT_UP;
	f.World().GetAim(1)->GetAimPoint(start);
	f.Step(16);
	f.World().GetAim(1)->GetAimPoint(at);
	EXPECT_GT(at[1], start[1]);
	pads.pads[0].hat = 0;
	pads.pads[0].button[MatchControls::PAD_START] = 1;
	f.Step(16);
	EXPECT_EQ(f.game.GetPhase(), PHASE_MENU_OPEN);
	f.input.SetJoystickDriver(nullptr);
}

TEST(InGame, BallInGoalTwoMouthScoresForSideOneAndPlayRestarts) {
	MatchFixture f;
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	const Arena &arena = *f.World().GetArena();
	Ball *ball = f.World().GetBall();
	Place(ball, arena.GetGoal2CentreX() - 6.0f, arena.GetGoal2CentreY() + 3.0f, 40.0f, 0.0f);
	for (int waited = 0; f.CountEvents<GoalEvent>() == 0 && waited < 2000; waited += 16) {
		f.Step(16);
	}
	ASSERT_EQ(f.CountEvents<GoalEvent>(), 1);
	const int clockAtGoal = f.game.GetPeriodTimeLeft();
	sgVec3 ballAtGoal, p;
	ball->GetPosition(ballAtGoal);

	int frozen = 0;
	for (; f.game.GetPhase() == PHASE_PLAYING && frozen < 5000; frozen += 20) {
		EXPECT_TRUE(f.game.IsFrozen());
		f.Step(20);
	}
	EXPECT_NEAR(frozen, 3000, 60);
	EXPECT_EQ(f.game.GetPeriodTimeLeft(), clockAtGoal); // the clock stood still
	ball->GetPosition(p);
	EXPECT_FLOAT_EQ(p[0], ballAtGoal[0]); // and so did the physics
	EXPECT_EQ(f.game.GetPhase(), PHASE_AFTER_GOAL);
	EXPECT_EQ(f.game.GetDisc(1)->GetGoals(), 1);
	EXPECT_EQ(f.game.GetDisc(2)->GetGoals(), 0);
	EXPECT_EQ(f.game.GetLastScorer(), f.game.GetDisc(1));

	f.Step(16); // restart: the side that conceded moves, everything back in place
	EXPECT_EQ(f.ActiveSide(), 2);
	sgVec3 start;
	arena.GetBallStart(start);
	ball->GetPosition(p);
	EXPECT_TRUE(p[0] == start[0] && p[1] == start[1]);
	EXPECT_EQ(f.CountEvents<CountdownEvent>(), 1);
	EXPECT_EQ(f.CountEvents<ShotTurnEvent>(), 1);
	f.World().GetCamera(CAMERA_XENO)->GetOffset(p);
	EXPECT_TRUE(p[0] == 0.0f && p[1] == -75.0f);
}

TEST(InGame, WithReplaysAGoalIsShownAgainFromItsRecordedStepsAndAKeySkipsIt) {
	// Without a key, with one pressed during the replay, and with one held down from the goal's
	// celebration into the replay, then let go and pressed again.
	enum {
		NONE,
		PRESSED,
		HELD_OVER
	};
	for (int skip : {NONE, PRESSED, HELD_OVER}) {
		SCOPED_TRACE(skip);
		MatchFixture f;
		g_options.shootTime = 5;
		g_options.mode = MODE_PL1_VS_PL2;
		g_options.replay = 1;
		ASSERT_TRUE(f.Start());
		f.PlayUntilLive();
		const GoalReplay &replay = f.game.GetReplay();
		// Half a second into the period, with nothing moving yet, the ball rolls into goal 2.
		for (int i = 0; i < 25; i++) {
			f.Step(20);
		}
		const Arena &arena = *f.World().GetArena();
		Place(f.World().GetBall(), arena.GetGoal2CentreX() - 30.0f, arena.GetGoal2CentreY(), 40.0f, 0.0f);
		while (f.game.GetPhase() == PHASE_PLAYING && !f.game.IsFrozen()) {
			f.Step(16);
		}
		const int recorded = replay.GetRecordedCount();
		// The roll, about 0.9 s of steps; the time at rest before it is kept as one step.
		EXPECT_GT(recorded, 70);
		EXPECT_LT(recorded, 110);
		sgVec3 atGoal;
		f.World().GetBall()->GetPosition(atGoal);
		EXPECT_FLOAT_EQ(replay.GetRecordedPosition(recorded - 1, 0)[0], atGoal[0]);
		for (int frame = 0; f.game.GetPhase() != PHASE_REPLAY; frame++) {
			if (skip == HELD_OVER && frame == 50) {
				f.Hold(SDLK_c, true); // the scorer's fire key, pressed and held in the celebration
			}
			ASSERT_TRUE(f.Step(20)); // the goal's announcement
		}
		const int clock = f.game.GetPeriodTimeLeft();
		int frames = 0, last = -1;
		while (f.game.GetPhase() == PHASE_REPLAY && frames < 1000) {
			if (skip == PRESSED && frames == 10) {
				f.Hold(SDLK_SPACE, true);
			}
			if (skip == HELD_OVER && frames == 8) {
				f.Hold(SDLK_c, false);
			}
			if (skip == HELD_OVER && frames == 10) {
				f.Hold(SDLK_c, true);
			}
			f.Step(16);
			frames++;
			if (f.game.GetPhase() != PHASE_REPLAY) {
				break;
			}
			const int shown = replay.GetShownStep();
			EXPECT_GE(shown, last); // in order, at half speed
			last = shown;
			sgVec3 ball;
			f.World().GetBall()->GetPosition(ball);
			EXPECT_FLOAT_EQ(ball[0], replay.GetRecordedPosition(shown, 0)[0]);
			EXPECT_EQ(f.game.GetPeriodTimeLeft(), clock); // the clock stands still
		}
		if (skip != NONE) {
			EXPECT_EQ(frames, 11); // the key ends it at once
		} else {
			EXPECT_EQ(last, recorded - 1); // every step, then it ends by itself
			EXPECT_NEAR(frames * 16, recorded * PHYSICS_STEP * GoalReplay::SLOWDOWN, 32);
		}
		f.ClearKeys();
		f.Step(16); // play restarts after the goal as it would without a replay
		EXPECT_EQ(f.game.GetPhase(), PHASE_PLAYING);
		EXPECT_EQ(f.game.GetDisc(1)->GetGoals(), 1);
	}
}

TEST(InGame, BallOnTheEdgeOfTheMouthBouncesOffTheWall) {
	MatchFixture f;
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	const Arena &arena = *f.World().GetArena();
	Ball *ball = f.World().GetBall();
	Place(ball, arena.GetGoal2CentreX() - 6.0f, arena.GetGoal2CentreY() + arena.GetGoalHalfWidth(), 40.0f, 0.0f);
	bool bounced = false;
	for (int i = 0; i < 60 && !bounced; i++) {
		f.Step(16);
		sgVec3 v;
		ball->GetVelocity(v);
		bounced = v[0] < 0.0f;
	}
	EXPECT_TRUE(bounced);
	EXPECT_EQ(f.CountEvents<GoalEvent>(), 0);
	EXPECT_NE(f.game.GetPhysics().GetContactFlags() & CONTACT_BALL_WALL, 0);
}

TEST(InGame, TouchingDiscsRaiseOneEventUntilAPassSeesNoContact) {
	MatchFixture f;
	g_options.shootTime = 5;
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	Disc *disc1 = f.game.GetDisc(1), *disc2 = f.game.GetDisc(2);
	auto contact = [&] { return (f.game.GetPhysics().GetContactFlags() & CONTACT_DISC_DISC) != 0; };
	// Overlapping: in contact at every pass. The event itself ends at once for a slow touch;
	// the flag shows when one was raised.
	int raised = 0;
	for (int i = 0; i < 30; i++) {
		Place(disc1, 0.0f, 20.0f);
		Place(disc2, 5.4f, 20.0f);
		const bool before = contact();
		f.Step(25);
		raised += !before && contact();
	}
	EXPECT_EQ(raised, 1);
	EXPECT_TRUE(contact());
	// Apart, a pass sees no contact and the flag clears.
	Place(disc2, 30.0f, 20.0f);
	for (int i = 0; i < 3; i++) {
		f.Step(25);
	}
	EXPECT_FALSE(contact());
}

TEST(InGame, ContactsOfTheLastPassNeverActAfterAReset) {
	MatchFixture f;
	g_options.shootTime = 5;
	g_options.mode = MODE_PL1_VS_PL2;
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	const Arena &arena = *f.World().GetArena();
	float at[2];
	dVector4 plane;
	NearWall(arena, 0, 1.0f, at, plane);
	// Disc 1 into a wall and the ball into disc 2 in the last pass before the period ends.
	f.game.SetPeriodTimeLeft(40);
	for (int i = 0; i < 4 && f.game.GetPhase() == PHASE_PLAYING; i++) {
		Place(f.game.GetDisc(1), at[0], at[1]);
		sgVec3 disc2At;
		f.game.GetDisc(2)->GetPosition(disc2At);
		Place(f.World().GetBall(), disc2At[0] + 3.0f, disc2At[1]);
		f.Step(25);
	}
	ASSERT_EQ(f.game.GetPhase(), PHASE_NEXT_PERIOD);
	f.PlayUntilLive(); // the next period's countdown, then its first frame of play
	const struct {
		const GameObject *object;
		void (Arena::*start)(sgVec3) const;
	} bodies[] = {{f.World().GetBall(), &Arena::GetBallStart}, {f.game.GetDisc(1), &Arena::GetDisc1Start},
		{f.game.GetDisc(2), &Arena::GetDisc2Start}};
	for (const auto &body : bodies) {
		sgVec3 start, p;
		(arena.*body.start)(start);
		body.object->GetPosition(p);
		EXPECT_NEAR(p[0], start[0], 1e-3f);
		EXPECT_NEAR(p[1], start[1], 1e-3f);
		EXPECT_EQ(Speed(body.object), 0.0f);
	}
}

TEST(InGame, ALongFrameNeverCarriesADiscThroughAWall) {
	MatchFixture f;
	g_options.shootTime = 5;
	g_options.mode = MODE_PL1_VS_PL2;
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	const Arena &arena = *f.World().GetArena();
	Disc *disc = f.game.GetDisc(1);
	for (int wall = 0; wall < arena.GetWallCount() && !f.game.IsFrozen(); wall++) {
		SCOPED_TRACE(wall);
		float at[2];
		dVector4 plane;
		NearWall(arena, wall, 12.0f, at, plane);
		Place(f.World().GetBall(), 0.0f, 0.0f);
		Place(f.game.GetDisc(2), -at[0], -at[1]);
		Place(disc, at[0], at[1], static_cast<float>(-plane[0]) * 90.0f, static_cast<float>(-plane[1]) * 90.0f);
		f.Step(300); // a stall: thirty steps in one frame
		sgVec3 p;
		disc->GetPosition(p);
		EXPECT_GT(plane[0] * p[0] + plane[1] * p[1] - plane[3], 0.0) << p[0] << ", " << p[1];
		EXPECT_LE(Speed(disc), 90.0f);
		f.Step(16); // a goal freezes play: the walls after it are not tried
	}
}

TEST(InGame, FunctionKeysPickCamerasTheSmallViewTheFrameRateAndAScreenshot) {
	MatchFixture f;
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	auto press = [&](std::initializer_list<int> keys) {
		for (int key : keys) {
			f.Hold(key, true);
		}
		f.Step(16);
		f.ClearKeys();
		f.Step(16);
	};
	press({SDLK_F6});
	EXPECT_TRUE(f.Controls().IsMiniViewShown());
	EXPECT_EQ(f.Controls().GetMiniCamera(), CAMERA_TOP_MINI);
	press({SDLK_F6});
	EXPECT_FALSE(f.Controls().IsMiniViewShown());
	press({SDLK_F6});
	press({SDLK_F7});
	EXPECT_TRUE(f.Controls().IsMiniViewShown());
	EXPECT_EQ(f.Controls().GetMiniCamera(), CAMERA_BALL_MINI);
	press({SDLK_F1, SDLK_F2}); // the first that applies
	EXPECT_EQ(f.Controls().GetMainCamera(), CAMERA_XENO);
	// A held key switches once: F4 still held after F2 does nothing more.
	f.Hold(SDLK_F4, true);
	f.Step(16);
	EXPECT_EQ(f.Controls().GetMainCamera(), CAMERA_DISC);
	f.Hold(SDLK_F2, true);
	f.Step(16);
	f.Step(16);
	EXPECT_EQ(f.Controls().GetMainCamera(), CAMERA_TOP);
	f.ClearKeys();
	press({SDLK_F9});
	EXPECT_TRUE(f.Controls().IsFpsShown());
	press({SDLK_F10});
	SDL_Surface *shot = SDL_LoadBMP("screen.bmp");
	ASSERT_NE(shot, nullptr);
	EXPECT_EQ(shot->w, WIDTH);
	EXPECT_EQ(shot->h, HEIGHT);
	SDL_FreeSurface(shot);
}

TEST(InGame, EscapePausesNoResumesWhereItStoppedYesLeaves) {
	MatchFixture f;
	g_options.shootTime = 5;
	g_options.mode = MODE_PL1_VS_PL2;
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	Ball *ball = f.World().GetBall();
	Place(ball, 0.0f, 0.0f, 30.0f, 0.0f);
	f.Step(16);
	f.Hold(SDLK_ESCAPE, true);
	f.Step(16);
	ASSERT_EQ(f.game.GetPhase(), PHASE_MENU_OPEN);
	EXPECT_EQ(f.input.GetInputMode(), NI_MODE_EVENTS);
	const int clock = f.game.GetPeriodTimeLeft();
	const int turn = f.game.GetShotTimer()->GetRemaining();
	sgVec3 before, after;
	ball->GetPosition(before);
	for (int i = 0; i < 100; i++) { // ten seconds in the menu, Escape held all along
		EXPECT_TRUE(f.Step(100));
	}
	WgItem *no = f.game.GetMenu().GetScreen().Find(WG_TYPE_BUTTON, "btn_no");
	ASSERT_NE(no, nullptr);
	no->FireEvent(GI_ON_CLICK);
	EXPECT_TRUE(f.Step(16));
	EXPECT_EQ(f.game.GetPhase(), PHASE_PLAYING);
	EXPECT_EQ(f.input.GetInputMode(), NI_MODE_POLLING);
	f.Hold(SDLK_ESCAPE, false);
	f.Step(16);
	EXPECT_EQ(f.game.GetPeriodTimeLeft(), clock - 16);
	EXPECT_EQ(f.game.GetShotTimer()->GetRemaining(), turn - 16);
	ball->GetPosition(after);
	EXPECT_LT(after[0] - before[0], 3.0f); // a few frames of rolling, not ten seconds

	// Escape resumes too, and the press that did it does not open the menu again at once.
	f.Hold(SDLK_ESCAPE, true);
	f.Step(16);
	ASSERT_EQ(f.game.GetPhase(), PHASE_MENU_OPEN);
	f.PressKey(SDLK_ESCAPE);
	f.Step(16);
	f.Step(16);
	EXPECT_EQ(f.game.GetPhase(), PHASE_PLAYING);
	f.Hold(SDLK_ESCAPE, false);
	f.Step(16);
	f.Hold(SDLK_ESCAPE, true);
	f.Step(16);
	ASSERT_EQ(f.game.GetPhase(), PHASE_MENU_OPEN);
	WgItem *yes = f.game.GetMenu().GetScreen().Find(WG_TYPE_BUTTON, "btn_yes");
	ASSERT_NE(yes, nullptr);
	yes->FireEvent(GI_ON_CLICK);
	EXPECT_FALSE(f.Step(16)); // back to the main menu
}

TEST(InGame, AMenuScriptThatFailsNeverStrandsThePlayer) {
	MatchFixture f;
	f.WriteData("data/menu_ingame.lua", "MenuButton(\"btn_yes\", \"YES\", 0, 0, 100)\nnosuch()\n");
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	f.Hold(SDLK_ESCAPE, true);
	f.Step(16);
	f.Hold(SDLK_ESCAPE, false);
	ASSERT_EQ(f.game.GetPhase(), PHASE_MENU_OPEN);
	EXPECT_EQ(f.game.GetMenu().GetScreen().Find(WG_TYPE_BUTTON, "btn_yes"), nullptr); // nothing half-built
	EXPECT_TRUE(f.log.Has("SCRIPT:"));
	EXPECT_TRUE(f.log.Has("MENU: data/menu_ingame.lua makes no widget \"btn_no\""));
	f.PressKey(SDLK_ESCAPE);
	f.Step(16);
	EXPECT_EQ(f.game.GetPhase(), PHASE_PLAYING);
}

TEST(InGame, AMatchReplaysFromItsSeedAndPcVsPcIgnoresTheSteeringKeys) {
	MatchFixture f;
	g_options.mode = MODE_PC_VS_PC;
	g_options.shootTime = 5;
	g_options.daytime = DAYTIME_RANDOM;
	g_options.arena = -1;
	// The same match twice from one seed, once with every steering key held, and once from
	// another seed: the first two end with the aims and the ball in the same places.
	std::vector<float> ends[3];
	for (int run = 0; run < 3; run++) {
		InGame game;
		game.SetSeed(run == 2 ? 12 : 11);
		ASSERT_TRUE(game.Init());
		for (int i = 0; i < 400; i++) {
			for (const int32_t *keys : {g_options.keys1, g_options.keys2}) {
				for (int k = 0; k < KEY_COUNT; k++) {
					f.Hold(keys[k], run == 1 && (i % 2 == 0 || k != KEY_FIRE));
				}
			}
			f.clock.Advance(20);
			game.Frame();
		}
		f.ClearKeys();
		sgVec3 p;
		for (int side = 1; side <= 2; side++) {
			game.GetWorld().GetAim(side)->GetAimPoint(p);
			ends[run].insert(ends[run].end(), p, p + 2);
		}
		game.GetWorld().GetBall()->GetPosition(p);
		ends[run].insert(ends[run].end(), p, p + 2);
		game.Deinit();
	}
	EXPECT_EQ(ends[0], ends[1]);
	EXPECT_NE(ends[0], ends[2]);
}

// With the game's time running 8 times as fast, a frame of 16 ms is 128 ms of play: the match
// runs it as 8 frames of 16 ms, so "HARD" against "NORMAL" plays as it does at normal speed:
// every contact of the play comes in the same order at the same place. (The frame that starts
// a period, whose time goes unplayed, is 8 times as long, so the faster match has played a
// little less when both stop.)
TEST(InGame, AFasterTimeScalePlaysTheSameMatchAsNormalSpeed) {
	MatchFixture f;
	g_options.mode = MODE_PC_VS_PC;
	g_options.shootTime = 2;
	ContactRecord contacts[2];
	for (int run = 0; run < 2; run++) {
		const int scale = run == 0 ? 1 : 8;
		SearchCounter search;
		InGame game;
		game.SetSeed(31);
		game.SetComputerLevel(1, LEVEL_HARD);
		game.SetSearchClock(&search);
		game.SetDrawing(false);
		f.timer.SetScale(scale);
		ASSERT_TRUE(game.Init());
		game.SetContactObserver(&contacts[run]);
		for (int i = 0; i < 1200 / scale; i++) {
			f.clock.Advance(16);
			game.Frame();
		}
		game.Deinit();
	}
	f.timer.SetScale(1);
	const std::vector<float> &normal = contacts[0].seen, &faster = contacts[1].seen;
	const size_t common = std::min(normal.size(), faster.size());
	ASSERT_GE(common, 3u * 20);
	EXPECT_LE(faster.size(), normal.size());
	EXPECT_TRUE(std::equal(faster.begin(), faster.begin() + common, normal.begin()));
}

TEST(InGame, FourPeriodsThenTheTrophyThenTheEnd) {
	MatchFixture f;
	g_options.matchLength = 1;
	g_options.mode = MODE_PC_VS_PC;
	ASSERT_TRUE(f.Start(3));
	int periodsSeen = 0, lastPeriod = -1, frames = 0, lowest = 0;
	bool trophy = false, longFrame = false;
	for (int ms = 200; f.Step(ms) && frames < 10000; frames++) {
		if (f.game.GetPeriodIndex() != lastPeriod) {
			lastPeriod = f.game.GetPeriodIndex();
			periodsSeen++;
		}
		trophy = trophy || f.CountEvents<TrophyEvent>() > 0;
		lowest = std::min(lowest, f.game.GetPeriodTimeLeft());
		ms = 200;
		// Late in the last period, one long frame (a held-up machine) overshoots the time left.
		if (lastPeriod == 3 && !longFrame && !f.game.IsFrozen() && f.game.GetPeriodTimeLeft() < 1000) {
			f.game.SetPeriodTimeLeft(288);
			ms = 3000;
			longFrame = true;
		}
	}
	EXPECT_LT(frames, 10000);
	EXPECT_EQ(periodsSeen, 4);
	EXPECT_EQ(lastPeriod, 3);
	EXPECT_TRUE(trophy);
	EXPECT_TRUE(longFrame);
	EXPECT_EQ(lowest, 0); // the clock stops at 0, through the trophy too
	char clock[16];
	Hud::FormatClock(clock, sizeof(clock), f.game.GetPeriodTimeLeft());
	EXPECT_STREQ(clock, "0:00");
	// The result once, side 1's goals first, when the trophy comes.
	const std::string result = "INGAME: Final score " + std::to_string(f.game.GetDisc(1)->GetGoals()) + ":" +
							   std::to_string(f.game.GetDisc(2)->GetGoals()) + " \n";
	EXPECT_EQ(f.log.Count("INGAME: Final score"), 1);
	EXPECT_TRUE(f.log.Has(result)) << f.LogText();
	EXPECT_EQ(f.game.GetPhase(), PHASE_FINISHED);
	EXPECT_FALSE(f.game.Frame());
}
