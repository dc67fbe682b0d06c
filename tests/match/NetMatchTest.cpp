#include <gtest/gtest.h>

#include <SDL/SDL_keysym.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "GameGlobals.h"
#include "gui/WgItem.h"
#include "match/NetHostMatch.h"
#include "match/NetJoinMatch.h"
#include "match/NetPlay.h"
#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"
#include "world/ShotTurnEvent.h"

namespace {

const int FRAME = 16; // ms of the game's clock and of the network's, per frame of each side

struct OwnScratch {
	ScratchDir scratch;
};

// A network match in one process on 127.0.0.1: the host's state and the joiner's, a frame of
// each in turn, keys held by the test for each side's frame (one keyboard: a side only reads
// it in its own frame).
class NetMatchRig : private OwnScratch, public GameGlobals {
public:
	NetMatchRig() : GameGlobals(scratch, 320, 240), netClock(5000) {
		for (NetPlay *net : {&hostNet, &joinNet}) {
			net->SetClock(&netClock);
			net->GetConfig().discoveryPort = -1;
		}
		hostNet.SetSeed(7);
		g_options.matchLength = 1;
		g_options.shootTime = 1;
		g_options.daytime = DAYTIME_RANDOM;
		g_options.arena = -1;
	}
	~NetMatchRig() {
		host.reset();
		joiner.reset();
	}

	// The sessions met and both sides set up.
	::testing::AssertionResult Begin() {
		if (!hostNet.Host(g_options, 0)) {
			return ::testing::AssertionFailure() << hostNet.GetStatusText();
		}
		const int port = hostNet.GetSession()->GetTransport().GetPort();
		joinNet.Join(("127.0.0.1:" + std::to_string(port)).c_str(), g_options);
		for (int i = 0; i < 300 && !(hostNet.IsInMatch() && joinNet.IsInMatch()); i++) {
			netClock.Advance(10);
			hostNet.Service();
			joinNet.Service();
		}
		if (!hostNet.IsInMatch() || !joinNet.IsInMatch()) {
			return ::testing::AssertionFailure() << "no match: " << LogText();
		}
		host.reset(new NetHostMatch(hostNet));
		joiner.reset(new NetJoinMatch(joinNet));
		host->GetGame().SetDrawing(false);
		joiner->SetDrawing(false);
		if (!host->Enter() || !joiner->Enter()) {
			return ::testing::AssertionFailure() << LogText();
		}
		return ::testing::AssertionSuccess();
	}
	// A frame of each side that still runs, with the keys given held for it.
	void Round(const std::vector<int> &hostKeys = {}, const std::vector<int> &joinKeys = {}) {
		netClock.Advance(FRAME);
		for (int side = 1; side <= 2; side++) {
			ClearKeys();
			for (int key : side == 1 ? hostKeys : joinKeys) {
				Hold(key, true);
			}
			Advance(FRAME);
			bool &going = side == 1 ? hostGoing : joinGoing;
			if (going) {
				going = side == 1 ? host->Frame() : joiner->Frame();
			}
		}
		ClearKeys();
	}
	template <typename Done>
	bool RunUntil(Done done, int limit = 3000) {
		for (int i = 0; i < limit && !done(); i++) {
			Round();
		}
		return done();
	}
	InGame &Game() { return host->GetGame(); }
	// "NET: turn N ball X Y" lines of the log, by turn, in the order written.
	std::map<int, std::vector<std::pair<float, float>>> TurnLines() const {
		std::map<int, std::vector<std::pair<float, float>>> lines;
		for (const std::string &entry : log.Entries()) {
			int turn = 0;
			float x = 0, y = 0;
			if (sscanf(entry.c_str(), "Message: NET: turn %d ball %f %f", &turn, &x, &y) == 3) {
				lines[turn].push_back({x, y});
			}
		}
		return lines;
	}

	ManualClock netClock;
	NetPlay hostNet;
	NetPlay joinNet;
	std::unique_ptr<NetHostMatch> host;
	std::unique_ptr<NetJoinMatch> joiner;
	bool hostGoing = true;
	bool joinGoing = true;
};

void Offset(const Aim *aim, float out[2]) {
	aim->GetOffset(&out[0], &out[1]);
}

} // namespace

// Turn by turn both sides show one match: the joiner's aim moves on the host's screen and its
// shot is the host's to fire, the host's aim moves on the joiner's; the joiner's turn waits on
// the host until the joiner shows it; where the bodies stood as each turn ended is logged alike
// on both sides; a goal counts on both; Escape on the host opens its menu over play that goes
// on; the joiner leaves and the host ends the match in plain words with the score so far.
TEST(NetMatch, BothSidesShowOneMatchTurnByTurn) {
	NetMatchRig rig;
	ASSERT_TRUE(rig.Begin());
	const NetWelcome &welcome = rig.joinNet.GetSession()->GetOptions();
	EXPECT_LE(welcome.daytime, DAYTIME_NIGHT); // drawn by the host, not left to chance
	EXPECT_GE(welcome.arena, 0);
	EXPECT_EQ(rig.host->GetGame().GetOptions().daytime, rig.joiner->GetOptions().daytime);
	// The joiner steers side 2 with its player 1 keys.
	EXPECT_EQ(rig.joiner->GetOptions().keys2[KEY_FIRE], g_options.keys1[KEY_FIRE]);

	// Side 2's turn: held on the host until the joiner's aim comes; the joiner steers right,
	// the host sees the aim follow, then the joiner fires.
	ASSERT_TRUE(rig.RunUntil([&] { return rig.joiner->GetSide() == 2 && !rig.joiner->IsFrozen(); }));
	ASSERT_EQ(rig.host->GetTurn(), rig.joiner->GetTurn());
	const int turn = rig.joiner->GetTurn();
	bool held = false;
	for (int i = 0; i < 20; i++) {
		held = held || (rig.Game().GetShotTimer() && rig.Game().GetShotTimer()->IsHeld());
		rig.Round({}, {SDLK_x});
	}
	EXPECT_TRUE(held);
	float mine[2], seen[2];
	Offset(rig.joiner->GetWorld().GetAim(2), mine);
	rig.Round();
	rig.Round();
	Offset(rig.Game().GetWorld().GetAim(2), seen);
	EXPECT_GT(mine[0], 10.0f);
	EXPECT_NEAR(seen[0], mine[0], 0.01f);
	EXPECT_NEAR(seen[1], mine[1], 0.01f);
	rig.Round({}, {SDLK_c});
	ASSERT_TRUE(rig.RunUntil([&] { return rig.log.Has("NET: The joiner fires on turn " + std::to_string(turn)); }, 50));
	EXPECT_TRUE(rig.log.Has("NET: Fired on turn " + std::to_string(turn)));

	// The host's turn: its aim moves on the joiner's screen.
	ASSERT_TRUE(rig.RunUntil([&] { return rig.joiner->GetSide() == 1 && rig.joiner->GetTurn() > turn; }));
	for (int i = 0; i < 15; i++) {
		rig.Round({SDLK_q});
	}
	Offset(rig.Game().GetWorld().GetAim(1), mine);
	rig.Round();
	Offset(rig.joiner->GetWorld().GetAim(1), seen);
	EXPECT_GT(mine[1], 5.0f);
	EXPECT_NEAR(seen[1], mine[1], 1.0f); // the host's aim goes on moving meanwhile

	// A goal for side 1, counted on both sides once the celebration has been shown.
	const Arena &arena = *rig.Game().GetWorld().GetArena();
	Ball *ball = rig.Game().GetWorld().GetBall();
	ball->SetPosition(arena.GetGoal2CentreX() - 6.0f, arena.GetGoal2CentreY(), 0.0f);
	const sgVec3 towards = {40.0f, 0.0f, 0.0f};
	ball->SetVelocity(towards);
	ASSERT_TRUE(rig.RunUntil([&] { return rig.joiner->GetWorld().GetDisc(1)->GetGoals() == 1; })) << rig.LogText();
	EXPECT_EQ(rig.log.Count("NET: Goal for side 1, 1:0"), 2);

	// Escape on the host: its menu opens, play goes on.
	ASSERT_TRUE(rig.RunUntil([&] { return rig.host->GetTurn() >= 6 && !rig.Game().IsFrozen(); }));
	const int clock = rig.Game().GetPeriodTimeLeft();
	rig.Round({SDLK_ESCAPE});
	ASSERT_TRUE(rig.Game().GetMenu().IsOpen());
	for (int i = 0; i < 10; i++) {
		rig.Round();
	}
	EXPECT_LT(rig.Game().GetPeriodTimeLeft(), clock - 5 * FRAME);
	EXPECT_TRUE(rig.log.Has("INGAME: The menu is open; play goes on"));

	// Every turn ended is logged on both sides at the same place.
	const auto lines = rig.TurnLines();
	ASSERT_GE(lines.size(), 5u) << rig.LogText();
	for (const auto &line : lines) {
		if (line.first == rig.host->GetTurn() - 1 && line.second.size() == 1) {
			continue; // the joiner may not show the last turn's end yet
		}
		ASSERT_EQ(line.second.size(), 2u) << "turn " << line.first;
		EXPECT_NEAR(line.second[0].first, line.second[1].first, 0.05f) << "turn " << line.first;
		EXPECT_NEAR(line.second[0].second, line.second[1].second, 0.05f) << "turn " << line.first;
	}

	// The joiner leaves: the host ends the match in plain words, the score so far logged.
	rig.Round({}, {SDLK_ESCAPE});
	ASSERT_TRUE(rig.joiner->GetMenu().IsOpen());
	WgItem *yes = rig.joiner->GetMenu().GetScreen().Find(WG_TYPE_BUTTON, "btn_yes");
	ASSERT_NE(yes, nullptr);
	yes->FireEvent(GI_ON_ACTIVATE);
	rig.Round();
	EXPECT_FALSE(rig.joinGoing);
	ASSERT_TRUE(rig.RunUntil([&] { return !rig.hostGoing; }, 100));
	EXPECT_TRUE(rig.log.Has("Message: NET: Your opponent left"));
	EXPECT_TRUE(rig.log.Has("Message: NET: The match ended at 1:0"));
	EXPECT_TRUE(rig.log.Has("Message: NET: Left the match at 1:0"));
	EXPECT_STREQ(rig.hostNet.GetStatusText(), "Your opponent left - the score was 1:0");
}

// Periods cut short: after the fourth, both sides show the trophy with the same final score and
// end the match; the joiner goes back after showing it.
TEST(NetMatch, TheTrophyEndsTheMatchOnBothSides) {
	NetMatchRig rig;
	ASSERT_TRUE(rig.Begin());
	int cut = -1;
	ASSERT_TRUE(rig.RunUntil(
		[&] {
			if (rig.Game().GetPeriodIndex() != cut && rig.Game().GetPeriodTimeLeft() > 2000) {
				cut = rig.Game().GetPeriodIndex();
				rig.Game().SetPeriodTimeLeft(2000);
			}
			return !rig.hostGoing && !rig.joinGoing;
		},
		6000))
		<< rig.LogText();
	EXPECT_EQ(rig.log.Count("INGAME: Final score 0:0"), 2);
	EXPECT_EQ(rig.log.Count("Message: NET: The match is over at 0:0"), 2);
	EXPECT_STREQ(rig.joinNet.GetStatusText(), "The match is over - the score was 0:0");
}

// The host leaves through its menu: the joiner is told; a joiner gone silent ends the host's
// match after the silence limit with "Connection lost".
TEST(NetMatch, ALeavingOrSilentPeerEndsTheMatchOnTheOtherSide) {
	{
		NetMatchRig rig;
		ASSERT_TRUE(rig.Begin());
		ASSERT_TRUE(rig.RunUntil([&] { return rig.Game().GetShotTimer() && !rig.Game().IsFrozen(); }));
		rig.Round({SDLK_ESCAPE});
		WgItem *yes = rig.Game().GetMenu().GetScreen().Find(WG_TYPE_BUTTON, "btn_yes");
		ASSERT_NE(yes, nullptr);
		yes->FireEvent(GI_ON_ACTIVATE);
		rig.Round();
		EXPECT_FALSE(rig.hostGoing);
		ASSERT_TRUE(rig.RunUntil([&] { return !rig.joinGoing; }, 100));
		EXPECT_STREQ(rig.joinNet.GetStatusText(), "Your opponent left - the score was 0:0");
		EXPECT_STREQ(rig.hostNet.GetStatusText(), "You left the match - the score was 0:0");
	}
	NetMatchRig rig;
	ASSERT_TRUE(rig.Begin());
	rig.Round();
	rig.joinGoing = false; // its frames stop: nothing more comes from it
	const uint32_t silent = rig.netClock.Milliseconds();
	ASSERT_TRUE(rig.RunUntil([&] { return !rig.hostGoing; }, 2000));
	const uint32_t waited = rig.netClock.Milliseconds() - silent;
	EXPECT_GE(waited + FRAME, 10000u); // from its last frame
	EXPECT_LE(waited, 10200u);
	EXPECT_TRUE(rig.log.Has("Warning: NET: Connection lost"));
	EXPECT_TRUE(rig.log.Has("Message: NET: The match ended at 0:0"));
}
