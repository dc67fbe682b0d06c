#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogCapture.h"
#include "ScratchDir.h"
#include "core/StateMachine.h"

namespace {

// Records every call, so the tests can check order and ownership.
struct Journal {
	std::vector<std::string> calls;
	int alive = 0;
};

class FakeState : public GameStateObject {
public:
	FakeState(Journal &journal_, std::string name_, bool enterOk_, int framesToRun_, GameState next_)
		: journal(journal_), name(std::move(name_)), enterOk(enterOk_), framesLeft(framesToRun_), next(next_) {
		journal.alive++;
	}
	~FakeState() override { journal.alive--; }
	bool Enter() override {
		journal.calls.push_back(name + ".Enter");
		return enterOk;
	}
	bool Frame() override {
		journal.calls.push_back(name + ".Frame");
		return framesLeft-- > 0;
	}
	void Leave() override { journal.calls.push_back(name + ".Leave"); }
	GameState NextState() const override { return next; }

private:
	Journal &journal;
	std::string name;
	bool enterOk;
	int framesLeft;
	GameState next;
};

class FakeFactory : public GameStateFactory {
public:
	explicit FakeFactory(Journal &journal_) : journal(journal_) {}
	GameStateObject *Create(GameState state) override {
		switch (state) {
		case STATE_MENU: return new FakeState(journal, "menu", menuOk, menuFrames, menuNext);
		case STATE_MATCH: return new FakeState(journal, "match", matchOk, 1, STATE_MENU);
		case STATE_CREDITS: return new FakeState(journal, "credits", true, 0, STATE_MENU);
		default: return nullptr;
		}
	}
	bool menuOk = true;
	bool matchOk = true;
	int menuFrames = 1;
	GameState menuNext = STATE_MATCH;

private:
	Journal &journal;
};

} // namespace

TEST(StateMachine, MenuMatchMenuQuitRunsEachStateInTurn) {
	ScratchDir dir;
	LogCapture log;
	Journal journal;
	FakeFactory factory(journal);
	StateMachine machine(&factory);

	ASSERT_TRUE(machine.SetGameState(STATE_MENU));
	EXPECT_TRUE(machine.RunGameStateFrame()); // menu frame 1
	EXPECT_TRUE(machine.RunGameStateFrame()); // menu finishes: to the match
	EXPECT_EQ(machine.GetCurrentState(), STATE_MATCH);
	EXPECT_TRUE(machine.RunGameStateFrame()); // match frame 1
	factory.menuNext = STATE_QUIT;
	factory.menuFrames = 0;
	EXPECT_TRUE(machine.RunGameStateFrame()); // match finishes: back to the menu
	EXPECT_EQ(machine.GetCurrentState(), STATE_MENU);
	EXPECT_TRUE(machine.RunGameStateFrame()); // menu chooses to quit
	EXPECT_EQ(machine.GetCurrentState(), STATE_QUIT);
	EXPECT_FALSE(machine.RunGameStateFrame());     // the loop ends on the next frame
	EXPECT_TRUE(machine.SetGameState(STATE_NONE)); // nothing left to tear down
	EXPECT_EQ(journal.alive, 0);

	std::vector<std::string> expected = {"menu.Enter", "menu.Frame", "menu.Frame", "menu.Leave", "match.Enter",
		"match.Frame", "match.Frame", "match.Leave", "menu.Enter", "menu.Frame", "menu.Leave"};
	EXPECT_EQ(journal.calls, expected);
	EXPECT_EQ(log.Count("MAIN: Changing game state..."), 5);
	EXPECT_EQ(log.Count("MAIN: ...Done!"), 5);
}

TEST(StateMachine, FailedMatchSetUpIsKeptForTheFinalTearDown) {
	ScratchDir dir;
	LogCapture log;
	Journal journal;
	FakeFactory factory(journal);
	factory.matchOk = false;
	factory.menuFrames = 0;
	StateMachine machine(&factory);

	ASSERT_TRUE(machine.SetGameState(STATE_MENU));
	EXPECT_FALSE(machine.RunGameStateFrame()); // the failed set-up ends the loop
	EXPECT_EQ(machine.GetCurrentState(), STATE_MATCH);
	EXPECT_EQ(journal.alive, 1);
	EXPECT_TRUE(machine.SetGameState(STATE_NONE));
	EXPECT_EQ(journal.alive, 0);
	EXPECT_EQ(journal.calls.back(), "match.Leave");
	EXPECT_EQ(log.Count(" - Error: INGAME: ...Failed! \n"), 1);
	// "Changing" is logged for every change, "Done" only for those that worked.
	EXPECT_EQ(log.Count("MAIN: Changing game state..."), 3);
	EXPECT_EQ(log.Count("MAIN: ...Done!"), 2);
}

TEST(StateMachine, FailedMenuSetUpLeavesTheOldStateTornDown) {
	ScratchDir dir;
	LogCapture log;
	Journal journal;
	FakeFactory factory(journal);
	StateMachine machine(&factory);

	ASSERT_TRUE(machine.SetGameState(STATE_CREDITS));
	factory.menuOk = false;
	EXPECT_FALSE(machine.RunGameStateFrame()); // credits finish at once; the menu fails
	EXPECT_EQ(machine.GetCurrentState(), STATE_CREDITS);
	EXPECT_EQ(journal.alive, 0);
	EXPECT_TRUE(machine.SetGameState(STATE_NONE));
	std::vector<std::string> expected = {"credits.Enter", "credits.Frame", "credits.Leave", "menu.Enter", "menu.Leave"};
	EXPECT_EQ(journal.calls, expected);
	EXPECT_EQ(log.Count("INGAME: ...Failed!"), 0);
}

TEST(StateMachine, NoneAndUnknownStatesKeepTheLoopRunning) {
	ScratchDir dir;
	Journal journal;
	FakeFactory factory(journal);
	StateMachine machine(&factory);
	EXPECT_EQ(machine.GetCurrentState(), STATE_NONE);
	EXPECT_TRUE(machine.RunGameStateFrame());
	EXPECT_TRUE(machine.SetGameState(static_cast<GameState>(1)));
	EXPECT_TRUE(machine.RunGameStateFrame());
	EXPECT_TRUE(machine.SetGameState(STATE_QUIT));
	EXPECT_FALSE(machine.RunGameStateFrame());
	EXPECT_EQ(journal.alive, 0);
}
