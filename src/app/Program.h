#ifndef TAVRO_APP_PROGRAM_H
#define TAVRO_APP_PROGRAM_H

#include "core/GameState.h"

// The game's own states: the menu, a match and the credits.
class DefaultStateFactory : public GameStateFactory {
public:
	GameStateObject *Create(GameState state) override;
};

// Drains the quit requests from SDL's queue and reports whether there was one. Window-manager
// events that no state reads are dropped too, so they never fill the queue and crowd out a quit.
bool TakeQuitRequests();
// Whether a quit request waits in SDL's queue, which is left as it is; asked while scripts run.
bool QuitRequested();

// The program: log, start-up, the main loop over the game states, shut-down. The factory makes
// the states, starting with the menu; null for the game's own. timeScale makes the game's clock
// run that many times as fast as the real one (physics, turns and announcements included).
// Always returns 0.
int RunProgram(GameStateFactory *factory = nullptr, int timeScale = 1);

#endif
