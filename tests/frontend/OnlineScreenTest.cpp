#include <gtest/gtest.h>

#include <SDL/SDL_keysym.h>

#include <string>

#include "GameGlobals.h"
#include "frontend/MenuState.h"
#include "frontend/OnlineScreen.h"
#include "gl2d/GL2D_Font.h"
#include "gui/WgItem.h"
#include "gui/WgLabel_GL2D.h"
#include "match/NetPlay.h"
#include "net/NetDatagramSocket.h"
#include "net/NetSession.h"
#include "options/OptionsRecord.h"

namespace {

int FreePort() {
	NetDatagramSocket socket;
	return socket.Open(0, false) ? socket.GetPort() : 0;
}

// The online screen with its real script, on a network clock of the test's, discovery on a
// port of the test's own.
class OnlineRig : public GameGlobals {
public:
	explicit OnlineRig(ScratchDir &dir) : GameGlobals(dir, 640, 480), netClock(1000), menu(&net) {
		net.SetClock(&netClock);
		net.GetConfig().discoveryPort = FreePort();
		input.EnableMouse(0, false); // a late pointer move would hover over a button
	}
	bool Enter() { return menu.MenuEnter(640, 480) && menu.ShowScreen(MenuState::SCREEN_ONLINE); }
	bool Frame(int ms = 16) {
		netClock.Advance(ms);
		if (other) {
			other->Update();
			other->Flush();
		}
		Advance(ms);
		return menu.Frame();
	}
	OnlineScreen &Screen() { return *static_cast<OnlineScreen *>(menu.GetScreen()); }
	// The note's lines joined again.
	std::string Note() {
		std::string note = Screen().GetNote();
		for (char &c : note) {
			c = c == '\n' ? ' ' : c;
		}
		return note;
	}
	WgItem *Widget(int type, const char *name) { return menu.GetScreen()->GetScreen().Find(type, name); }
	// Every line of the note fits the note's box.
	::testing::AssertionResult NoteFits() {
		WgLabel_GL2D *note = dynamic_cast<WgLabel_GL2D *>(Widget(WG_TYPE_LABEL, "lbl_status"));
		if (!note) {
			return ::testing::AssertionFailure() << "no note";
		}
		int w = 0, h = 0;
		note->GetDim(&w, &h);
		for (int i = 0; i < note->GetLineCount(); i++) {
			const int width = note->GetFont(GI_ISTATE_DEFAULT)->GetTextWidth(note->GetLine(i));
			if (width > w) {
				return ::testing::AssertionFailure() << note->GetLine(i) << ": " << width << " > " << w;
			}
		}
		return ::testing::AssertionSuccess();
	}

	ManualClock netClock;
	NetPlay net;
	MenuState menu;
	NetSession *other = nullptr; // a host elsewhere on this machine, serviced each frame
};

} // namespace

// HOST waits in plain words on its own lines, and its own game is not listed; Escape gives it up
// and goes back; JOIN without an address asks for one; an address nobody answers at is given up
// after 5 s.
TEST(OnlineScreen, HostJoinAndBackSayWhatHappensInPlainWords) {
	ScratchDir dir;
	OnlineRig rig(dir);
	ASSERT_TRUE(rig.Enter());
	EXPECT_EQ(rig.Note(), OnlineScreen::IDLE_TEXT);
	EXPECT_NE(std::string(rig.Screen().GetNote()).find('\n'), std::string::npos); // on two lines
	EXPECT_TRUE(rig.NoteFits());
	rig.Widget(WG_TYPE_BUTTON, "btn_join")->FireEvent(GI_ON_ACTIVATE);
	rig.Frame();
	EXPECT_EQ(rig.Note(), "Type the name or address of the host first");

	const int port = FreePort();
	rig.Screen().Host(port);
	const std::string waiting = "Waiting for a player on port " + std::to_string(port) + " - your addresses: ";
	EXPECT_EQ(std::string(rig.net.GetStatusText()).rfind(waiting, 0), 0u) << rig.net.GetStatusText();
	EXPECT_TRUE(rig.NoteFits());
	for (int i = 0; i < 40; i++) { // 2 s: queries answered
		EXPECT_TRUE(rig.Frame(50));
	}
	EXPECT_EQ(rig.Screen().GetListedCount(), 0); // answered, but this machine's own
	EXPECT_TRUE(rig.log.Has("NET: Answering LAN queries on port " + std::to_string(rig.net.GetConfig().discoveryPort)));
	rig.PressKey(SDLK_ESCAPE);
	rig.Frame();
	EXPECT_EQ(rig.menu.GetCurrentScreen(), MenuState::SCREEN_MAIN);
	EXPECT_TRUE(rig.log.Has("Message: NET: Cancelled"));

	rig.menu.ShowScreen(MenuState::SCREEN_ONLINE);
	const std::string nobody = "127.0.0.1:" + std::to_string(FreePort());
	rig.Screen().Join(nobody.c_str());
	rig.Frame();
	EXPECT_EQ(rig.Note(), "Connecting to " + nobody);
	for (int i = 0; i < 120 && !rig.log.Has("No answer"); i++) {
		rig.Frame(50);
	}
	EXPECT_EQ(rig.Note(), "No answer from " + nobody + " after 5 seconds");
	EXPECT_TRUE(rig.NoteFits());
	rig.menu.MenuLeave();
}

// A game hosted on this machine is listed within 2 s; a click on it joins, and the menu hands
// over to the match.
TEST(OnlineScreen, AGameOnThisNetworkIsListedAndAClickJoinsIt) {
	ScratchDir dir;
	OnlineRig rig(dir);
	NetConfig config;
	config.port = 0;
	config.discoveryPort = rig.net.GetConfig().discoveryPort;
	NetSession host(rig.netClock, config);
	ASSERT_TRUE(host.Host(NetWelcome{1, 3, DAYTIME_DAY, 0, 5u, {1, 0}}));
	rig.other = &host;
	ASSERT_TRUE(rig.Enter());
	const uint32_t start = rig.netClock.Milliseconds();
	while (rig.Screen().GetListedCount() == 0 && rig.netClock.Milliseconds() - start < 2000) {
		rig.Frame();
	}
	ASSERT_EQ(rig.Screen().GetListedCount(), 1);
	const std::string entry = rig.Screen().GetListed(0);
	EXPECT_NE(entry.find(":" + std::to_string(host.GetTransport().GetPort())), std::string::npos) << entry;
	EXPECT_TRUE(rig.log.Has("NET: Found a game: " + entry));

	rig.Widget(WG_TYPE_LISTBOX, "lst_games")->FireEvent(GI_ON_ACTIVATE);
	bool going = true;
	for (int i = 0; i < 100 && going; i++) {
		going = rig.Frame();
	}
	EXPECT_FALSE(going);
	EXPECT_EQ(rig.menu.NextState(), STATE_MATCH);
	EXPECT_TRUE(rig.net.IsInMatch());
	EXPECT_EQ(host.GetState(), NET_SESSION_IN_MATCH);
	EXPECT_EQ(host.GetOptions().character[1], g_options.character[0]); // player 1's, at the joiner
	rig.menu.MenuLeave();
}
