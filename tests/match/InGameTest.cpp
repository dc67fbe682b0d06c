#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <typeinfo>

#include "GameGlobals.h"
#include "core/Clock.h"
#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/VideoConfig.h"
#include "options/OptionsRecord.h"
#include "input/NoxInput.h"
#include "match/Camera.h"
#include "match/InGame.h"
#include "audio/SoundBank.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/BallWallHitEvent.h"
#include "world/CountdownEvent.h"
#include "world/Disc.h"
#include "world/DiscDiscHitEvent.h"
#include "world/GoalEvent.h"
#include "world/ShotTurnEvent.h"
#include "world/TrophyEvent.h"
#include "gui/WgItem.h"

namespace fs = std::filesystem;

namespace {

const int WIDTH = 320;
const int HEIGHT = 240;

// Everything a match needs around it, with time and keys in the test's hands.
class MatchFixture : public GameGlobals {
public:
	explicit MatchFixture(ScratchDir &dir_) : GameGlobals(dir_, WIDTH, HEIGHT) {}

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

	InGame game;
};

void Place(GameObject *object, float x, float y, float vx, float vy) {
	object->SetPosition(x, y, 0.0f);
	sgVec3 v = {vx, vy, 0.0f};
	object->SetVelocity(v);
}

} // namespace

TEST(InGame, SetsUpInOrderAndTearsDown) {
	ScratchDir dir;
	MatchFixture f(dir);
	g_options.mode = MODE_PL1_VS_PC;
	ASSERT_TRUE(f.Start());
	EXPECT_EQ(f.game.GetPhase(), PHASE_STARTING);
	EXPECT_EQ(f.game.GetPeriodIndex(), -1);
	EXPECT_EQ(f.game.GetControls().GetMainCamera(), CAMERA_BALL);
	EXPECT_FALSE(f.game.GetControls().IsMiniViewShown());
	EXPECT_EQ(f.input.GetInputMode(), NI_MODE_POLLING);
	EXPECT_EQ(f.game.GetControls().GetComputer(2) != nullptr, true);
	EXPECT_EQ(f.game.GetControls().GetComputer(1), nullptr);
	EXPECT_NE(f.game.GetWorld().GetShadow(0), nullptr); // by day
	f.game.Deinit();
	f.game.Deinit(); // twice is harmless

	std::string text = f.LogText();
	const char *order[] = {"INGAME: Initialization...", "INGAME: Random seed 7", "INGAME: World...", "INGAME: Lights...",
		"INGAME: SkyBox...", "BALL: Initializing...", "ARENA: Initializing", "DISC: Initializing...",
		"INGAME: Cameras...", "CAMERA: Initialization...", "INGAME: HUD initialization...",
		"INGAME: HUD initialization done!", "SOUND: Loading static sound...", "INGAME: ...Done!",
		"INGAME: Deinitialization...", "SKYBOX: Deinitialization...", "CAMERA: Deinitialization..."};
	size_t at = 0;
	for (const char *entry : order) {
		size_t found = text.find(entry, at);
		ASSERT_NE(found, std::string::npos) << "missing or out of order: " << entry << "\n" << text;
		at = found;
	}
	EXPECT_EQ(text.find("Error"), std::string::npos) << text;
}

TEST(InGame, MissingFilesFailTheSetUpWithTheirMessage) {
	ScratchDir dir;
	MatchFixture f(dir);
	fs::remove("data/sounds/tarzan.wav");
	ASSERT_FALSE(f.Start());
	f.game.Deinit();
	EXPECT_NE(f.LogText().find("Error: SOUND: TARZAN loading failed! \n"), std::string::npos);

	// A damaged model that loads as nothing fails like a missing one, with the loader's word.
	f.WriteData("data/misc/ball.3ds", std::string(300, 'M') + "not a model");
	InGame second;
	ASSERT_FALSE(second.Init());
	second.Deinit();
	EXPECT_NE(f.LogText().find("Error: MODEL: data/misc/ball.3ds holds no geometry \n"), std::string::npos)
		<< f.LogText();
	EXPECT_NE(f.LogText().find("Error: Ball initialization failed! \n"), std::string::npos);

	fs::remove("data/misc/ball.3ds");
	InGame third;
	ASSERT_FALSE(third.Init());
	third.Deinit();
	EXPECT_NE(f.LogText().find("Warning: MODEL: ssgLoad3ds: Failed to open 'data/misc/ball.3ds'"), std::string::npos)
		<< f.LogText();
}

TEST(InGame, NightHasNoShadowsAndPcVsPcHasTwoComputers) {
	ScratchDir dir;
	MatchFixture f(dir);
	g_options.daytime = DAYTIME_NIGHT;
	g_options.mode = MODE_PC_VS_PC;
	g_options.arena = 1;
	ASSERT_TRUE(f.Start());
	EXPECT_EQ(f.game.GetWorld().GetNight(), 1);
	EXPECT_EQ(f.game.GetWorld().GetShadow(0), nullptr);
	EXPECT_NE(f.game.GetControls().GetComputer(1), nullptr);
	EXPECT_NE(f.game.GetControls().GetComputer(2), nullptr);
}

TEST(InGame, CountdownFreezesThenTurnsAlternateEveryShootTime) {
	ScratchDir dir;
	MatchFixture f(dir);
	g_options.shootTime = 1;
	ASSERT_TRUE(f.Start());
	EXPECT_TRUE(f.Step(16)); // starting
	EXPECT_EQ(f.game.GetPhase(), PHASE_NEXT_PERIOD);
	EXPECT_TRUE(f.Step(16)); // the period begins with the countdown
	EXPECT_EQ(f.game.GetPeriodIndex(), 0);
	EXPECT_EQ(f.game.GetPhase(), PHASE_PLAYING);
	EXPECT_TRUE(f.game.IsFrozen());
	EXPECT_EQ(f.CountEvents<CountdownEvent>(), 1);
	EXPECT_EQ(f.CountEvents<ShotTurnEvent>(), 1);
	const int clockAtStart = f.game.GetPeriodTimeLeft();
	EXPECT_EQ(clockAtStart, 4 * 60000);

	// During the countdown nothing moves and no clock runs.
	int frozenFor = 0;
	while (f.game.IsFrozen() && frozenFor < 5000) {
		f.Step(20);
		frozenFor += 20;
	}
	EXPECT_GE(frozenFor, 3000);
	EXPECT_LE(frozenFor, 3200);
	EXPECT_EQ(f.game.GetPeriodTimeLeft(), clockAtStart);
	EXPECT_EQ(f.game.GetShotTimer()->GetRemaining(), 1000);

	// Nobody fires: the sides shoot in turn once a second.
	int side = f.ActiveSide();
	int changes = 0;
	int since = 0;
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
	ScratchDir dir;
	MatchFixture f(dir);
	g_options.shootTime = 5;
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	ASSERT_EQ(f.game.GetPhase(), PHASE_PLAYING);

	// Make side 1 the one to move, aiming straight at +x.
	while (f.ActiveSide() != 1) {
		f.game.GetShotTimer()->Fire();
		f.Step(16);
	}
	f.Step(16);
	sgVec3 before;
	f.game.GetDisc(1)->GetPosition(before);
	f.Hold(g_options.keys1[KEY_RIGHT], true);
	for (int i = 0; i < 20; i++) {
		f.Step(16);
	}
	f.Hold(g_options.keys1[KEY_RIGHT], false);
	EXPECT_GT(f.game.GetWorld().GetAim(1)->GetLength(), 10.0f);

	f.Hold(g_options.keys1[KEY_FIRE], true);
	f.Step(16); // the press; the turn's update in the same frame shoots, and side 2 moves at once
	EXPECT_EQ(f.ActiveSide(), 2);
	sgVec3 v;
	f.game.GetDisc(1)->GetVelocity(v);
	EXPECT_GT(v[0], 10.0f); // towards the aim point, which went right
	// Still held: side 2's turn is not fired by it.
	for (int i = 0; i < 10; i++) {
		f.Step(16);
	}
	EXPECT_EQ(f.ActiveSide(), 2);
	EXPECT_GT(f.game.GetShotTimer()->GetRemaining(), 4000);
	sgVec3 after;
	f.game.GetDisc(1)->GetPosition(after);
	EXPECT_GT(after[0], before[0] + 1.0f);
}

TEST(InGame, BallInGoalTwoMouthScoresForSideOneAndPlayRestarts) {
	ScratchDir dir;
	MatchFixture f(dir);
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	Arena *arena = f.game.GetWorld().GetArena();
	const float goalX = arena->GetGoal2CentreX();
	const float goalY = arena->GetGoal2CentreY();
	Place(f.game.GetWorld().GetBall(), goalX - 6.0f, goalY + 3.0f, 40.0f, 0.0f);
	const int clockBefore = f.game.GetPeriodTimeLeft();

	int waited = 0;
	while (f.CountEvents<GoalEvent>() == 0 && waited < 2000) {
		f.Step(16);
		waited += 16;
	}
	ASSERT_EQ(f.CountEvents<GoalEvent>(), 1);
	EXPECT_TRUE(f.game.IsFrozen());
	const int clockAtGoal = f.game.GetPeriodTimeLeft();
	EXPECT_LE(clockAtGoal, clockBefore);
	sgVec3 ballAtGoal;
	f.game.GetWorld().GetBall()->GetPosition(ballAtGoal);

	int frozen = 0;
	while (f.game.GetPhase() == PHASE_PLAYING && frozen < 5000) {
		f.Step(20);
		frozen += 20;
	}
	EXPECT_NEAR(frozen, 3000, 60);
	EXPECT_EQ(f.game.GetPeriodTimeLeft(), clockAtGoal); // the clock stood still
	sgVec3 ball;
	f.game.GetWorld().GetBall()->GetPosition(ball);
	EXPECT_FLOAT_EQ(ball[0], ballAtGoal[0]); // and so did the physics
	EXPECT_EQ(f.game.GetPhase(), PHASE_AFTER_GOAL);
	EXPECT_EQ(f.game.GetDisc(1)->GetGoals(), 1);
	EXPECT_EQ(f.game.GetDisc(2)->GetGoals(), 0);
	EXPECT_EQ(f.game.GetLastScorer(), f.game.GetDisc(1));

	f.Step(16); // restart: the side that conceded moves, everything back in place
	EXPECT_EQ(f.ActiveSide(), 2);
	sgVec3 start;
	arena->GetBallStart(start);
	f.game.GetWorld().GetBall()->GetPosition(ball);
	EXPECT_FLOAT_EQ(ball[0], start[0]);
	EXPECT_FLOAT_EQ(ball[1], start[1]);
	EXPECT_EQ(f.CountEvents<CountdownEvent>(), 1);
	EXPECT_EQ(f.CountEvents<ShotTurnEvent>(), 1);
	sgVec3 offset;
	f.game.GetWorld().GetCamera(CAMERA_XENO)->GetOffset(offset);
	EXPECT_FLOAT_EQ(offset[0], 0.0f);
	EXPECT_FLOAT_EQ(offset[1], -75.0f);
}

TEST(InGame, BallOnTheEdgeOfTheMouthBouncesOffTheWall) {
	ScratchDir dir;
	MatchFixture f(dir);
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	Arena *arena = f.game.GetWorld().GetArena();
	const float goalX = arena->GetGoal2CentreX();
	const float edgeY = arena->GetGoal2CentreY() + arena->GetGoalHalfWidth();
	Place(f.game.GetWorld().GetBall(), goalX - 6.0f, edgeY, 40.0f, 0.0f);
	bool bounced = false;
	for (int i = 0; i < 60 && !bounced; i++) {
		f.Step(16);
		sgVec3 v;
		f.game.GetWorld().GetBall()->GetVelocity(v);
		bounced = v[0] < 0.0f;
	}
	EXPECT_TRUE(bounced);
	EXPECT_EQ(f.CountEvents<GoalEvent>(), 0);
	EXPECT_EQ(f.game.GetDisc(1)->GetGoals(), 0);
	EXPECT_NE(f.game.GetPhysics().GetContactFlags() & CONTACT_BALL_WALL, 0);
}

TEST(InGame, TouchingDiscsRaiseOneEventUntilAPassSeesNoContact) {
	ScratchDir dir;
	MatchFixture f(dir);
	g_options.shootTime = 5;
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	Place(f.game.GetDisc(1), 0.0f, 20.0f, 0.0f, 0.0f);
	Place(f.game.GetDisc(2), 5.4f, 20.0f, 0.0f, 0.0f); // overlapping: in contact at every pass
	// The event itself ends at once for a slow touch; its flag shows when one was raised.
	int raised = 0;
	for (int i = 0; i < 30; i++) {
		bool before = f.game.GetPhysics().GetContactFlags() & CONTACT_DISC_DISC;
		f.Step(25);
		raised += !before && (f.game.GetPhysics().GetContactFlags() & CONTACT_DISC_DISC);
		Place(f.game.GetDisc(1), 0.0f, 20.0f, 0.0f, 0.0f);
		Place(f.game.GetDisc(2), 5.4f, 20.0f, 0.0f, 0.0f);
	}
	EXPECT_EQ(raised, 1);
	EXPECT_NE(f.game.GetPhysics().GetContactFlags() & CONTACT_DISC_DISC, 0);
	// Apart, a pass sees no contact and the flag clears.
	Place(f.game.GetDisc(2), 30.0f, 20.0f, 0.0f, 0.0f);
	for (int i = 0; i < 3; i++) {
		f.Step(25);
	}
	EXPECT_EQ(f.game.GetPhysics().GetContactFlags() & CONTACT_DISC_DISC, 0);
}

namespace {

// A point `inside` units in front of the middle of an arena wall, and the wall's plane.
void NearWall(const Arena &arena, int wall, float inside, float at[2], dVector4 plane) {
	const float *segment = arena.GetWallSegment(wall);
	dGeomPlaneGetParams(arena.GetWall(wall), plane);
	at[0] = (segment[0] + segment[2]) / 2 + static_cast<float>(plane[0]) * inside;
	at[1] = (segment[1] + segment[3]) / 2 + static_cast<float>(plane[1]) * inside;
}

float Speed(GameObject *object) {
	sgVec3 v;
	object->GetVelocity(v);
	return std::hypot(v[0], v[1]);
}

} // namespace

TEST(InGame, ContactsOfTheLastPassNeverActAfterAReset) {
	ScratchDir dir;
	MatchFixture f(dir);
	g_options.shootTime = 5;
	g_options.mode = MODE_PL1_VS_PL2;
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	Arena *arena = f.game.GetWorld().GetArena();
	Disc *disc1 = f.game.GetDisc(1);
	float at[2];
	dVector4 plane;
	NearWall(*arena, 0, 1.0f, at, plane);
	// Disc 1 into a wall and the ball into disc 2 in the last pass before the period ends.
	f.game.SetPeriodTimeLeft(40);
	for (int i = 0; i < 4 && f.game.GetPhase() == PHASE_PLAYING; i++) {
		Place(disc1, at[0], at[1], 0.0f, 0.0f);
		sgVec3 disc2At;
		f.game.GetDisc(2)->GetPosition(disc2At);
		Place(f.game.GetWorld().GetBall(), disc2At[0] + 3.0f, disc2At[1], 0.0f, 0.0f);
		f.Step(25);
	}
	ASSERT_EQ(f.game.GetPhase(), PHASE_NEXT_PERIOD);
	f.PlayUntilLive(); // the next period's countdown, then its first frame of play
	struct Body {
		GameObject *object;
		void (Arena::*start)(sgVec3) const;
	};
	for (Body body : {Body{f.game.GetWorld().GetBall(), &Arena::GetBallStart}, Body{disc1, &Arena::GetDisc1Start},
		     Body{f.game.GetDisc(2), &Arena::GetDisc2Start}}) {
		sgVec3 start, p;
		(arena->*body.start)(start);
		body.object->GetPosition(p);
		EXPECT_NEAR(p[0], start[0], 1e-3f);
		EXPECT_NEAR(p[1], start[1], 1e-3f);
		EXPECT_EQ(Speed(body.object), 0.0f);
	}
}

TEST(InGame, ALongFrameNeverCarriesADiscThroughAWall) {
	ScratchDir dir;
	MatchFixture f(dir);
	g_options.shootTime = 5;
	g_options.mode = MODE_PL1_VS_PL2;
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	Disc *disc = f.game.GetDisc(1);
	for (int wall = 0; wall < f.game.GetWorld().GetArena()->GetWallCount(); wall++) {
		SCOPED_TRACE(wall);
		float at[2];
		dVector4 plane;
		NearWall(*f.game.GetWorld().GetArena(), wall, 12.0f, at, plane);
		Place(f.game.GetWorld().GetBall(), 0.0f, 0.0f, 0.0f, 0.0f);
		Place(f.game.GetDisc(2), -at[0], -at[1], 0.0f, 0.0f);
		Place(disc, at[0], at[1], static_cast<float>(-plane[0]) * 90.0f, static_cast<float>(-plane[1]) * 90.0f);
		f.Step(300); // a stall: thirty steps in one frame
		sgVec3 p;
		disc->GetPosition(p);
		EXPECT_GT(plane[0] * p[0] + plane[1] * p[1] - plane[3], 0.0) << p[0] << ", " << p[1];
		EXPECT_LE(Speed(disc), 90.0f);
		f.Step(16);
		if (f.game.IsFrozen()) {
			break; // a goal: the walls after it are not tried
		}
	}
}

TEST(InGame, FunctionKeysPickCamerasAndTheSmallView) {
	ScratchDir dir;
	MatchFixture f(dir);
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	auto press = [&](std::initializer_list<int> keys) {
		for (int key : keys) {
			f.Hold(key, true);
		}
		f.Step(16);
		for (int key : keys) {
			f.Hold(key, false);
		}
		f.Step(16);
	};
	press({SDLK_F6});
	EXPECT_TRUE(f.game.GetControls().IsMiniViewShown());
	EXPECT_EQ(f.game.GetControls().GetMiniCamera(), CAMERA_TOP_MINI);
	press({SDLK_F6});
	EXPECT_FALSE(f.game.GetControls().IsMiniViewShown());
	press({SDLK_F6});
	press({SDLK_F7});
	EXPECT_TRUE(f.game.GetControls().IsMiniViewShown());
	EXPECT_EQ(f.game.GetControls().GetMiniCamera(), CAMERA_BALL_MINI);

	press({SDLK_F1, SDLK_F2}); // the first that applies
	EXPECT_EQ(f.game.GetControls().GetMainCamera(), CAMERA_XENO);
	// Holding F4 switches once: after F2, still held F4 does nothing more.
	f.Hold(SDLK_F4, true);
	f.Step(16);
	EXPECT_EQ(f.game.GetControls().GetMainCamera(), CAMERA_DISC);
	f.Hold(SDLK_F2, true);
	f.Step(16);
	EXPECT_EQ(f.game.GetControls().GetMainCamera(), CAMERA_TOP);
	f.Step(16);
	EXPECT_EQ(f.game.GetControls().GetMainCamera(), CAMERA_TOP);
	f.ClearKeys();

	press({SDLK_F9});
	EXPECT_TRUE(f.game.GetControls().IsFpsShown());
	press({SDLK_F10});
	EXPECT_TRUE(dir.Exists("screen.bmp"));
	SDL_Surface *shot = SDL_LoadBMP("screen.bmp");
	ASSERT_NE(shot, nullptr);
	EXPECT_EQ(shot->w, WIDTH);
	EXPECT_EQ(shot->h, HEIGHT);
	SDL_FreeSurface(shot);
}

TEST(InGame, EscapePausesNoResumesWhereItStoppedYesLeaves) {
	ScratchDir dir;
	MatchFixture f(dir);
	g_options.shootTime = 5;
	g_options.mode = MODE_PL1_VS_PL2;
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	Place(f.game.GetWorld().GetBall(), 0.0f, 0.0f, 30.0f, 0.0f);
	f.Step(16);
	f.Hold(SDLK_ESCAPE, true);
	f.Step(16);
	ASSERT_EQ(f.game.GetPhase(), PHASE_MENU_OPEN);
	EXPECT_EQ(f.input.GetInputMode(), NI_MODE_EVENTS);
	const int clock = f.game.GetPeriodTimeLeft();
	const int turn = f.game.GetShotTimer()->GetRemaining();
	sgVec3 before;
	f.game.GetWorld().GetBall()->GetPosition(before);
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
	sgVec3 after;
	f.game.GetWorld().GetBall()->GetPosition(after);
	EXPECT_LT(after[0] - before[0], 3.0f); // a few frames of rolling, not ten seconds

	// Escape resumes too, and the press that did it does not open the menu again at once.
	f.Hold(SDLK_ESCAPE, true);
	f.Step(16);
	ASSERT_EQ(f.game.GetPhase(), PHASE_MENU_OPEN);
	f.PressKey(SDLK_ESCAPE);
	f.Step(16);
	EXPECT_EQ(f.game.GetPhase(), PHASE_PLAYING);
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
	ScratchDir dir;
	MatchFixture f(dir);
	f.WriteData("data/menu_ingame.lua", "MenuButton(\"btn_yes\", \"YES\", 0, 0, 100)\nnosuch()\n");
	ASSERT_TRUE(f.Start());
	f.PlayUntilLive();
	f.Hold(SDLK_ESCAPE, true);
	f.Step(16);
	f.Hold(SDLK_ESCAPE, false);
	ASSERT_EQ(f.game.GetPhase(), PHASE_MENU_OPEN);
	EXPECT_EQ(f.game.GetMenu().GetScreen().Find(WG_TYPE_BUTTON, "btn_yes"), nullptr); // nothing half-built
	EXPECT_NE(f.LogText().find("SCRIPT:"), std::string::npos);
	EXPECT_NE(f.LogText().find("MENU: data/menu_ingame.lua makes no widget \"btn_no\""), std::string::npos);
	f.PressKey(SDLK_ESCAPE);
	f.Step(16);
	EXPECT_EQ(f.game.GetPhase(), PHASE_PLAYING);
}

TEST(InGame, PcVsPcIgnoresTheSteeringKeys) {
	ScratchDir dir;
	MatchFixture f(dir);
	g_options.mode = MODE_PC_VS_PC;
	g_options.shootTime = 5;
	// The same match twice from the same seed, once with every steering key held: the aims
	// must end up in the same places.
	sgVec3 aims[2][2];
	for (int run = 0; run < 2; run++) {
		InGame game;
		game.SetSeed(11);
		ASSERT_TRUE(game.Init());
		for (int i = 0; i < 400; i++) {
			bool held = run == 1;
			for (const int32_t *keys : {g_options.keys1, g_options.keys2}) {
				for (int k = 0; k < KEY_COUNT; k++) {
					f.Hold(keys[k], held && (i % 2 == 0 || k != KEY_FIRE));
				}
			}
			f.clock.Advance(20);
			game.Frame();
		}
		f.ClearKeys();
		game.GetWorld().GetAim(1)->GetAimPoint(aims[run][0]);
		game.GetWorld().GetAim(2)->GetAimPoint(aims[run][1]);
		game.Deinit();
	}
	for (int side = 0; side < 2; side++) {
		for (int axis = 0; axis < 2; axis++) {
			EXPECT_FLOAT_EQ(aims[0][side][axis], aims[1][side][axis]) << "side " << side + 1;
		}
	}
}

TEST(InGame, FourPeriodsThenTheTrophyThenTheEnd) {
	ScratchDir dir;
	MatchFixture f(dir);
	g_options.matchLength = 1;
	g_options.mode = MODE_PC_VS_PC;
	ASSERT_TRUE(f.Start(3));
	int periodsSeen = 0;
	int lastPeriod = -1;
	bool trophy = false;
	int frames = 0;
	while (f.Step(200) && frames < 10000) {
		frames++;
		if (f.game.GetPeriodIndex() != lastPeriod) {
			lastPeriod = f.game.GetPeriodIndex();
			periodsSeen++;
		}
		trophy = trophy || f.CountEvents<TrophyEvent>() > 0;
	}
	EXPECT_LT(frames, 10000);
	EXPECT_EQ(periodsSeen, 4);
	EXPECT_EQ(lastPeriod, 3);
	EXPECT_TRUE(trophy);
	EXPECT_EQ(f.game.GetPhase(), PHASE_FINISHED);
	EXPECT_FALSE(f.game.Frame());
}
