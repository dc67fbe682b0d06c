#include <gtest/gtest.h>

#include <plib/ssg.h>

#include <memory>
#include <string>
#include <vector>

#include "GLWindow.h"
#include "ScratchDir.h"
#include "core/Random.h"
#include "options/OptionsRecord.h"
#include "audio/SoundBank.h"
#include "match/MatchWorld.h"
#include "world/Aim.h"
#include "world/Announcement.h"
#include "world/Ball.h"
#include "world/CountdownEvent.h"
#include "world/Disc.h"
#include "world/DiscBallHitEvent.h"
#include "world/DiscDiscHitEvent.h"
#include "world/DiscWallHitEvent.h"
#include "world/GoalEvent.h"
#include "world/MatchClockEvent.h"
#include "world/MatchContext.h"
#include "world/ParticleEmitter.h"
#include "world/ShotTurnEvent.h"
#include "world/SparkHitEvent.h"
#include "world/TrophyEvent.h"

namespace {

// A match that only records what the events do to it, around the real world of a match with
// the default options, in a scratch dir of its own.
class FakeMatch : public MatchContext {
public:
	FakeMatch() : window(64, 64) {
		options.SetDefaults();
		dir.LinkData();
		if (window.IsOpen()) {
			ssgInit();
		}
		built = window.IsOpen() && world.Build(options, 640, 480, random);
		disc1 = world.GetDisc(1);
		disc2 = world.GetDisc(2);
		ball = world.GetBall();
	}

	bool IsFrozen() const override { return mode != ANNOUNCE_NONE; }
	void SetAnnouncementMode(int m) override { mode = m; }
	Announcement &GetAnnouncement() override { return announcement; }
	void SetPhase(int p) override { phase = p; }
	int GetPeriodTimeLeft() const override { return timeLeft; }
	void SetPeriodTimeLeft(int ms) override { timeLeft = ms; }
	int GetPeriodIndex() const override { return 0; }
	void SetTurnOver(bool over) override { turnOver = over; }
	void SetShotTimer(ShotTurnEvent *timer) override { shotTimer = timer; }
	void RecordGoal(Disc *disc) override {
		lastScorer = disc;
		disc->AddGoal();
	}
	int GetLayoutWidth() const override { return 640; }
	int GetLayoutHeight() const override { return 480; }
	const OptionsRecord &GetOptions() const override { return options; }
	Disc *GetDisc(int side) const override { return world.GetDisc(side); }
	void SetBallHidden(bool hidden) override { ballHidden = hidden; }
	ParticleEmitter *GetSparks(int which) const override { return world.GetSparks(which); }
	const char *GetCharacterName(int side) const override { return side == 1 ? "hippy" : "babe"; }
	int PlaySound(int slot) override {
		sounds.push_back(slot);
		return 7;
	}
	void StopSound(int channel) override { stopped.push_back(channel); }

	int Count(int slot) const {
		int n = 0;
		for (int s : sounds) {
			n += s == slot;
		}
		return n;
	}

	ScratchDir dir;
	GLWindow window;
	OptionsRecord options;
	Random random;
	MatchWorld world;
	bool built;
	Disc *disc1;
	Disc *disc2;
	Ball *ball;
	Announcement announcement;
	int mode = ANNOUNCE_NONE;
	int phase = PHASE_PLAYING;
	int timeLeft = 0;
	bool turnOver = false;
	bool ballHidden = false;
	ShotTurnEvent *shotTimer = nullptr;
	Disc *lastScorer = nullptr;
	std::vector<int> sounds;
	std::vector<int> stopped;
};

void SetSpeed(GameObject *object, float vx, float vy) {
	sgVec3 v = {vx, vy, 0};
	object->SetVelocity(v);
}

// Runs an event to its end with fixed steps; returns the number of updates it ran.
int RunToEnd(MatchEvent &event, int dt, int limit = 100000) {
	int updates = 0;
	while (event.Update(dt) && updates < limit) {
		updates++;
	}
	return updates;
}

} // namespace

TEST(MatchEvent, HitsSoundByKindAndSparkOnlyWhenFast) {
	FakeMatch match;
	ASSERT_TRUE(match.built);
	const float contact[3] = {12.0f, -4.0f, 2.0f};
	// The fastest body's speed against the limit (exactly at it is still slow).
	const struct {
		bool discs;  // else disc against wall
		float speed; // units per second
		int sound;
	} cases[] = {
		{true, 25.0f, SOUND_DISC_DISC_SLOW},
		{true, 25.5f, SOUND_DISC_DISC_FAST},
		{false, 30.0f, SOUND_DISC_WALL_SLOW},
		{false, 31.0f, SOUND_DISC_WALL_FAST},
	};
	for (const auto &c : cases) {
		SCOPED_TRACE(c.speed);
		SetSpeed(match.disc1, 0.0f, 10.0f);
		SetSpeed(match.disc2, 0.0f, 0.0f);
		SetSpeed(c.discs ? match.disc2 : match.disc1, c.speed, 0.0f);
		std::unique_ptr<SparkHitEvent> hit;
		if (c.discs) {
			hit.reset(new DiscDiscHitEvent(&match, match.disc1, match.disc2));
		} else {
			hit.reset(new DiscWallHitEvent(&match, match.disc1));
		}
		hit->SetParams(contact, 3);
		hit->Start();
		EXPECT_EQ(match.sounds.back(), c.sound);
		const bool fast = c.sound == SOUND_DISC_DISC_FAST || c.sound == SOUND_DISC_WALL_FAST;
		EXPECT_EQ(hit->IsSparking(), fast);
		if (!fast) {
			EXPECT_FALSE(hit->Update(16));
			continue;
		}
		// At the contact, lasting as long as its sparks live and no longer than their life.
		const ParticleEmitter &sparks = *match.world.GetSparks(c.discs ? SPARKS_DISC_DISC : SPARKS_DISC_WALL);
		float x, y, z;
		sparks.GetPosition(x, y, z);
		EXPECT_TRUE(x == 12.0f && y == -4.0f);
		const int updates = RunToEnd(*hit, 16);
		EXPECT_GT(updates, 0);
		EXPECT_LE(updates * 16, sparks.GetSettings().life * 2 + 100);
	}
	DiscBallHitEvent knock(&match, match.disc1, match.ball);
	knock.Start();
	EXPECT_FALSE(knock.Update(16));
	EXPECT_EQ(match.sounds.back(), SOUND_DISC_BALL);
}

TEST(MatchEvent, TurnEndsAfterTheShootTimeOrOnFireAndShoots) {
	FakeMatch match;
	ASSERT_TRUE(match.built);
	match.options.shootTime = 1;
	Aim &aim = *match.world.GetAim(1);
	match.disc1->SetPosition(-20.0f, 0.0f, 0.0f);
	match.ball->SetPosition(0.0f, 0.0f, 0.0f);
	aim.Reset(2.0f);
	aim.Update(0);

	ShotTurnEvent turn(&match, match.disc1, &aim, match.ball);
	turn.Start();
	EXPECT_EQ(match.shotTimer, &turn);
	EXPECT_EQ(turn.GetRemaining(), 1000);
	int updates = 0;
	while (turn.Update(100)) {
		updates++;
	}
	EXPECT_EQ(updates, 10); // 1000 ms in steps of 100, then the ending update
	turn.Finish();
	EXPECT_TRUE(match.turnOver);
	EXPECT_EQ(match.sounds.back(), SOUND_SHOT);
	sgVec3 v;
	match.disc1->GetVelocity(v);
	EXPECT_FLOAT_EQ(v[0], 3.0f); // 1.5 times the way from the disc to the aim point
	EXPECT_FLOAT_EQ(v[1], 0.0f);

	// A long shot from far away gets the yell.
	match.disc1->SetPosition(-100.0f, 0.0f, 0.0f);
	aim.Reset(58.0f);
	aim.Update(0);
	ShotTurnEvent yell(&match, match.disc1, &aim, match.ball);
	yell.Start();
	yell.Fire();
	EXPECT_FALSE(yell.Update(16));
	yell.Finish();
	EXPECT_EQ(match.sounds.back(), SOUND_TARZAN);

	// Fired in the first frame: over at the next update. Frozen play stops the turn's clock.
	ShotTurnEvent second(&match, match.disc1, &aim, match.ball);
	second.Start();
	match.mode = ANNOUNCE_GOAL;
	EXPECT_TRUE(second.Update(500));
	EXPECT_EQ(second.GetRemaining(), 1000);
	match.mode = ANNOUNCE_NONE;
	second.Fire();
	EXPECT_FALSE(second.Update(16));
	match.turnOver = true;
	second.Abort();
	EXPECT_FALSE(match.turnOver);
}

TEST(MatchEvent, ClockRunsOnlyWhilePlayMovesAndHurriesAtTheEnd) {
	FakeMatch match;
	ASSERT_TRUE(match.built);
	match.options.matchLength = 1;
	MatchClockEvent clock(&match);
	clock.Start();
	EXPECT_EQ(match.timeLeft, 60000);
	match.mode = ANNOUNCE_COUNTDOWN;
	EXPECT_TRUE(clock.Update(3000));
	EXPECT_EQ(match.timeLeft, 60000);
	match.mode = ANNOUNCE_NONE;
	int frames = 0;
	while (clock.Update(16)) {
		frames++;
	}
	EXPECT_LT(match.timeLeft, 1);
	EXPECT_EQ(frames, 60000 / 16 - 1); // the update that reaches 0 ends it
	// About one hurry-up a second in the last eleven seconds.
	int hurries = match.Count(SOUND_HURRY_UP);
	EXPECT_GE(hurries, 9);
	EXPECT_LE(hurries, 11);
	clock.Finish();
	EXPECT_EQ(match.phase, PHASE_NEXT_PERIOD);
	EXPECT_EQ(match.stopped, (std::vector<int>{7}));

	MatchClockEvent early(&match);
	early.Start();
	early.Update(16);
	early.Abort(); // no hurry-up yet: nothing to stop
	EXPECT_EQ(match.stopped.size(), 1u);
}

TEST(MatchEvent, CountdownFreezesPlayForThreeSecondsWithThreeNumerals) {
	FakeMatch match;
	ASSERT_TRUE(match.built);
	match.phase = PHASE_NEXT_PERIOD;
	{
		CountdownEvent countdown(&match);
		countdown.Start();
		EXPECT_EQ(match.mode, ANNOUNCE_COUNTDOWN);
		EXPECT_NE(match.announcement.slots[SLOT_A], nullptr);
		int elapsed = 0;
		float maxScale = 0;
		int states = 0;
		int lastState = 0;
		while (countdown.Update(10)) {
			elapsed += 10;
			maxScale = std::max(maxScale, match.announcement.layout[2]);
			EXPECT_FLOAT_EQ(match.announcement.layout[2], match.announcement.layout[3]);
			EXPECT_FLOAT_EQ(match.announcement.layout[0], 320.0f);
			EXPECT_FLOAT_EQ(match.announcement.layout[1], 240.0f);
			EXPECT_NE(match.announcement.slots[SLOT_A], nullptr) << "state " << countdown.GetState();
			if (countdown.GetState() != lastState) {
				states++;
				lastState = countdown.GetState();
			}
		}
		EXPECT_NEAR(elapsed, 3000, 9 * 10 + 20); // each of nine steps ends one frame past its time
		EXPECT_FLOAT_EQ(maxScale, 1.0f);
		EXPECT_EQ(states, 9);
		EXPECT_EQ(match.Count(SOUND_START), 3);
		countdown.Finish();
		EXPECT_EQ(match.mode, ANNOUNCE_NONE);
		EXPECT_EQ(match.phase, PHASE_PLAYING);
		EXPECT_EQ(match.announcement.slots[SLOT_A], nullptr);
	}
}

TEST(MatchEvent, GoalBouncesThePortraitAndCountsAtTheEnd) {
	FakeMatch match;
	ASSERT_TRUE(match.built);
	GoalEvent goal(&match, match.disc2);
	goal.Start();
	EXPECT_EQ(match.mode, ANNOUNCE_GOAL);
	EXPECT_TRUE(match.ballHidden);
	EXPECT_EQ(match.sounds, (std::vector<int>{SOUND_GOAL}));
	EXPECT_NE(match.announcement.slots[SLOT_A], nullptr);
	EXPECT_EQ(match.announcement.slots[SLOT_B], nullptr);
	EXPECT_EQ(match.disc2->GetGoals(), 0);

	std::vector<float> stateEnds;
	int lastState = 0;
	float lastScale = 0;
	while (goal.Update(1)) {
		if (goal.GetState() != lastState) {
			stateEnds.push_back(lastScale);
			lastState = goal.GetState();
		}
		lastScale = goal.GetScale();
		EXPECT_FLOAT_EQ(match.announcement.layout[0], 200.0f);
	}
	ASSERT_EQ(stateEnds.size(), 5u);
	EXPECT_NEAR(stateEnds[0], 1.0f, 0.01f);
	EXPECT_NEAR(stateEnds[1], 0.134f, 0.01f);
	EXPECT_NEAR(stateEnds[2], 0.841f, 0.01f);
	EXPECT_NEAR(stateEnds[3], 0.253f, 0.01f);
	EXPECT_NEAR(stateEnds[4], 0.753f, 0.01f);
	EXPECT_NE(match.announcement.slots[SLOT_B], nullptr); // "yeah"
	goal.Finish();
	EXPECT_FALSE(match.ballHidden);
	EXPECT_EQ(match.mode, ANNOUNCE_NONE);
	EXPECT_EQ(match.disc2->GetGoals(), 1);
	EXPECT_EQ(match.lastScorer, match.disc2);
	EXPECT_EQ(match.phase, PHASE_AFTER_GOAL);
	EXPECT_EQ(match.announcement.slots[SLOT_A], nullptr);
	EXPECT_EQ(match.announcement.slots[SLOT_B], nullptr);
}

TEST(MatchEvent, TrophyShowsTheWinnerOrBothSides) {
	FakeMatch match;
	ASSERT_TRUE(match.built);
	match.disc1->AddGoal();
	{
		TrophyEvent won(&match, match.disc1, match.disc2);
		won.Start();
		EXPECT_FALSE(won.IsDraw());
		EXPECT_EQ(match.mode, ANNOUNCE_TROPHY);
		EXPECT_EQ(match.sounds, (std::vector<int>{SOUND_GOAL}));
		int elapsed = 0;
		while (won.Update(10)) {
			elapsed += 10;
			if (won.GetState() == 3) {
				break;
			}
		}
		EXPECT_NE(match.announcement.slots[SLOT_B], nullptr);
		EXPECT_EQ(match.announcement.slots[SLOT_C], nullptr);
		EXPECT_NEAR(match.announcement.layout[4], 0.396f, 0.01f); // shrunk to about 0.4
		EXPECT_FLOAT_EQ(match.announcement.layout[6], 320.0f);
		EXPECT_FLOAT_EQ(match.announcement.layout[7], 140.0f);
		elapsed += 10 * RunToEnd(won, 10);
		EXPECT_NEAR(elapsed, 750 + 500 + 750 + 6000, 60);
		won.Finish();
		EXPECT_EQ(match.phase, PHASE_FINISHED);
		EXPECT_EQ(match.mode, ANNOUNCE_NONE);
		EXPECT_EQ(match.announcement.slots[SLOT_A], nullptr);
		EXPECT_EQ(match.announcement.slots[SLOT_B], nullptr);
	}
	match.disc2->AddGoal();
	TrophyEvent drawn(&match, match.disc1, match.disc2);
	drawn.Start();
	EXPECT_TRUE(drawn.IsDraw());
	while (drawn.Update(10) && drawn.GetState() < 3) {
	}
	EXPECT_NE(match.announcement.slots[SLOT_B], nullptr);
	EXPECT_NE(match.announcement.slots[SLOT_C], nullptr);
	EXPECT_FLOAT_EQ(match.announcement.layout[4], 270.0f); // both slid in beside the middle
	EXPECT_FLOAT_EQ(match.announcement.layout[6], 370.0f);
	drawn.Abort();
	EXPECT_EQ(match.announcement.slots[SLOT_B], nullptr);
}
