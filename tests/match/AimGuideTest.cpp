#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <cmath>
#include <string>
#include <vector>

#include "GameGlobals.h"
#include "match/AimGuide.h"
#include "match/InGame.h"
#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"
#include "world/ShotTurnEvent.h"

namespace {

struct OwnScratch {
	ScratchDir scratch;
};

// Watches the match's collision passes for the first contact of one side's disc.
class FirstTouchWatch : public ContactListener {
public:
	void Arm(int side_) {
		side = side_;
		seen = ShotSimulator::FIRST_NOTHING;
	}
	void OnContact(ContactKind kind, const float at[2]) override {
		if (seen != ShotSimulator::FIRST_NOTHING) {
			return;
		}
		const bool one = side == 1;
		if (kind == TOUCH_DISC_DISC) {
			seen = ShotSimulator::FIRST_DISC;
		} else if (kind == (one ? TOUCH_BALL_DISC1 : TOUCH_BALL_DISC2)) {
			seen = ShotSimulator::FIRST_BALL;
		} else if (kind == (one ? TOUCH_DISC1_WALL : TOUCH_DISC2_WALL)) {
			seen = ShotSimulator::FIRST_WALL;
		} else {
			return;
		}
		point[0] = at[0];
		point[1] = at[1];
	}

	int side = 1;
	int seen = ShotSimulator::FIRST_NOTHING;
	float point[2] = {0.0f, 0.0f};
};

// A "PL1 vs PL2" match (or another mode) with the guide on, stepped in 16 ms frames, both
// players steering with the keys the test holds.
class GuideFixture : private OwnScratch, public GameGlobals {
public:
	explicit GuideFixture(int mode = MODE_PL1_VS_PL2, bool guide = true) : GameGlobals(scratch, 320, 240) {
		g_options.mode = mode;
		g_options.guide = guide ? 1 : 0;
		g_options.shootTime = 8;
	}
	bool Start(int arena) {
		g_options.arena = arena;
		game.SetSeed(11);
		game.SetDrawing(drawing);
		if (!game.Init()) {
			return false;
		}
		game.SetContactObserver(&watch);
		for (int i = 0; i < 1000 && (game.GetPhase() != PHASE_PLAYING || game.IsFrozen()); i++) {
			Step();
		}
		return game.GetPhase() == PHASE_PLAYING;
	}
	void Step() {
		clock.Advance(16);
		game.Frame();
	}
	int ActiveSide() const { return game.GetActiveDisc() == game.GetDisc(1) ? 1 : 2; }
	const int32_t *Keys() const { return ActiveSide() == 1 ? g_options.keys1 : g_options.keys2; }

	// Ends the running turn and puts the bodies at rest where the case wants them: the active
	// disc (whoever's turn comes), the other disc and the ball.
	void Place(const float active[2], const float other[2], const float ball[2]) {
		game.GetShotTimer()->Fire();
		Step();
		const int side = ActiveSide();
		GameObject *bodies[3] = {game.GetDisc(side), game.GetDisc(3 - side), game.GetWorld().GetBall()};
		const float *places[3] = {active, other, ball};
		const sgVec3 still = {0.0f, 0.0f, 0.0f};
		for (int i = 0; i < 3; i++) {
			bodies[i]->SetPosition(places[i][0], places[i][1], 0.0f);
			bodies[i]->SetVelocity(still);
		}
		Step();
	}
	// Holds the active player's direction keys until the aim point is at target, as a player
	// would; false when it never gets there.
	bool SteerTo(const float target[2]) {
		const Aim *aim = game.GetWorld().GetAim(ActiveSide());
		for (int frame = 0; frame < 300; frame++) {
			sgVec3 at;
			aim->GetAimPoint(at);
			const float dx = target[0] - at[0], dy = target[1] - at[1];
			const float near = Aim::SPEED * 16;
			ClearKeys();
			if (std::fabs(dx) < near && std::fabs(dy) < near) {
				Step();
				return true;
			}
			if (std::fabs(dx) >= near) {
				Hold(Keys()[dx > 0 ? KEY_RIGHT : KEY_LEFT], true);
			}
			if (std::fabs(dy) >= near) {
				Hold(Keys()[dy > 0 ? KEY_UP : KEY_DOWN], true);
			}
			Step();
		}
		ClearKeys();
		return false;
	}
	// Presses fire; the guide's trace of that frame is the one the shot starts from.
	ShotSimulator::FirstContact Fire() {
		watch.Arm(ActiveSide());
		Hold(Keys()[KEY_FIRE], true);
		Step();
		ClearKeys();
		return game.GetGuide().GetPrediction();
	}
	// Frames until the shot disc's first contact; false when it never comes.
	bool WaitForTouch() {
		for (int frame = 0; frame < 400 && watch.seen == ShotSimulator::FIRST_NOTHING; frame++) {
			Step();
		}
		return watch.seen != ShotSimulator::FIRST_NOTHING;
	}

	InGame game;
	FirstTouchWatch watch;
	bool drawing = false;
};

struct GuideCase {
	std::string name;
	float active[2], other[2], ball[2];
	float aim[2]; // the aim point
	int with;     // ShotSimulator::FirstTouch
};

// A shot at the ball, one at the other disc, and one at each wall of the arena: from a spot
// 16 units inside the wall's middle, aimed 30 units at it and 12 along it.
std::vector<GuideCase> Cases(const Arena &arena) {
	std::vector<GuideCase> cases = {
		{"ball", {-30, 8}, {40, -20}, {-5, 0}, {-2, -2}, ShotSimulator::FIRST_BALL},
		{"other disc", {-30, -10}, {0, -4}, {30, 25}, {6, -6}, ShotSimulator::FIRST_DISC},
	};
	for (int wall = 0; wall < arena.GetWallCount(); wall++) {
		const float *s = arena.GetWallSegment(wall);
		dVector4 plane;
		dGeomPlaneGetParams(arena.GetWall(wall), plane);
		const float n[2] = {static_cast<float>(plane[0]), static_cast<float>(plane[1])}; // inwards
		const float mid[2] = {(s[0] + s[2]) / 2, (s[1] + s[3]) / 2};
		GuideCase c{"wall " + std::to_string(wall), {}, {}, {}, {}, ShotSimulator::FIRST_WALL};
		for (int i = 0; i < 2; i++) {
			const float along = i == 0 ? -n[1] : n[0];
			c.active[i] = mid[i] + n[i] * 16;
			c.aim[i] = c.active[i] - n[i] * 30 + along * 12;
			c.other[i] = -c.active[i] * 0.5f; // across the middle, out of the way
			c.ball[i] = c.other[i];
		}
		c.ball[0] += c.other[0] > 0 ? -12 : 12;
		cases.push_back(c);
	}
	return cases;
}

float Distance(const float a[2], const float b[2]) {
	return std::hypot(a[0] - b[0], a[1] - b[1]);
}

} // namespace

TEST(AimGuide, TheShotTouchesFirstWhereTheGuideSaid) {
	for (int arena = 0; arena < 2; arena++) {
		GuideFixture f;
		ASSERT_TRUE(f.Start(arena));
		for (const GuideCase &c : Cases(*f.game.GetWorld().GetArena())) {
			SCOPED_TRACE("arena " + std::to_string(arena) + ", " + c.name);
			f.Place(c.active, c.other, c.ball);
			ASSERT_TRUE(f.SteerTo(c.aim));
			EXPECT_TRUE(f.game.GetGuide().IsShown());
			const ShotSimulator::FirstContact said = f.Fire();
			EXPECT_EQ(said.with, c.with);
			ASSERT_TRUE(f.WaitForTouch());
			EXPECT_EQ(f.watch.seen, said.with);
			EXPECT_LT(Distance(f.watch.point, said.point), 0.5f)
				<< "said " << said.point[0] << "," << said.point[1] << " touched " << f.watch.point[0] << ","
				<< f.watch.point[1];
		}
	}
}

// A "PL1 vs PC" match: the guide shows on the player's turns only (after the turn's first
// frame) and never without the option; on the floor it is the difference between the
// screenshots of two runs from the same seed, with and without it.
TEST(AimGuide, ShowsOnThePlayersTurnsOnlyAndDrawsDotsOnTheFloor) {
	std::vector<uint8_t> shots[2];
	int width = 0, height = 0;
	for (int guide = 0; guide < 2; guide++) {
		SCOPED_TRACE(guide);
		GuideFixture f(MODE_PL1_VS_PC, guide == 1);
		ASSERT_TRUE(f.Start(0));
		int computerFrames = 0, playerFrames = 0, turnFrames = 0, side = f.ActiveSide();
		while (computerFrames == 0 || playerFrames < 20 || f.ActiveSide() != 1 || turnFrames < 3) {
			ASSERT_LT(computerFrames, 2000);
			f.Step();
			turnFrames = f.ActiveSide() == side ? turnFrames + 1 : 0;
			side = f.ActiveSide();
			if (f.game.IsFrozen()) {
				continue;
			}
			const bool player = side == 1;
			(player ? playerFrames : computerFrames)++;
			EXPECT_EQ(f.game.GetGuide().IsShown(), guide == 1 && player && turnFrames > 0) << "side " << side;
			if (player && playerFrames == 10) {
				f.game.GetShotTimer()->Fire(); // on to the computer's turn
			}
		}
		// Aimed at the ball, 45 units: the disc's way and the ball's after it.
		sgVec3 at, ball;
		f.game.GetDisc(1)->GetPosition(at);
		f.game.GetWorld().GetBall()->GetPosition(ball);
		const float away = std::hypot(ball[0] - at[0], ball[1] - at[1]);
		const float target[2] = {at[0] + (ball[0] - at[0]) * 45 / away, at[1] + (ball[1] - at[1]) * 45 / away + 2};
		ASSERT_TRUE(f.SteerTo(target));
		f.game.SetDrawing(true);
		f.Hold(SDLK_F2, true); // the view from above
		f.Step();
		f.Hold(SDLK_F10, true);
		f.Step();
		SDL_Surface *shot = SDL_LoadBMP("screen.bmp");
		ASSERT_NE(shot, nullptr);
		ASSERT_EQ(shot->format->BytesPerPixel, 3);
		width = shot->w;
		height = shot->h;
		const uint8_t *p = static_cast<const uint8_t *>(shot->pixels);
		for (int y = 0; y < height; y++) {
			shots[guide].insert(shots[guide].end(), p + y * shot->pitch, p + y * shot->pitch + width * 3);
		}
		SDL_FreeSurface(shot);
	}
	ASSERT_EQ(shots[0].size(), shots[1].size());
	int differ = 0, warm = 0;
	for (size_t i = 0; i + 2 < shots[1].size(); i += 3) {
		const uint8_t *off = &shots[0][i], *on = &shots[1][i]; // B, G, R
		if (off[0] != on[0] || off[1] != on[1] || off[2] != on[2]) {
			differ++;
			warm += on[2] >= 150 && on[2] > on[0] + 40;
		}
	}
	EXPECT_GT(differ, 40);
	EXPECT_GT(warm, differ * 8 / 10);
}
