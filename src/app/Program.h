#ifndef TAVRO_APP_PROGRAM_H
#define TAVRO_APP_PROGRAM_H

#include <string>

#include "core/GameState.h"

class NetPlay;

// The game's own states: the menu, a match and the credits. A match is a network match, the
// host's or the joiner's, when net has just begun one.
class DefaultStateFactory : public GameStateFactory {
public:
	explicit DefaultStateFactory(NetPlay &net) : net(net) {}
	GameStateObject *Create(GameState state) override;

private:
	NetPlay &net;
};

// What the command line asks of network play.
struct NetStartRequest {
	int what = 0;          // NetPlay::Start
	int port = 24780;      // to host on
	std::string address;   // to join
	int discoveryPort = 0; // LAN discovery's port instead of the game's (tests), 0 for the game's
};

// Drains the quit requests from SDL's queue and reports whether there was one. Window-manager
// events that no state reads are dropped too, so they never fill the queue and crowd out a quit.
bool TakeQuitRequests();
// Whether a quit request waits in SDL's queue, which is left as it is; asked while scripts run.
bool QuitRequested();

// The program: log, start-up, the main loop over the game states, shut-down. The factory makes
// the states, starting with the menu; null for the game's own. timeScale makes the game's clock
// run that many times as fast as the real one (physics, turns and announcements included); the
// network's timeouts keep to real time. Always returns 0.
int RunProgram(GameStateFactory *factory = nullptr, int timeScale = 1, const NetStartRequest &net = NetStartRequest());

#endif
