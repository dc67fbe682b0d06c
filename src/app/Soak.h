#ifndef TAVRO_APP_SOAK_H
#define TAVRO_APP_SOAK_H

#include "app/Program.h"
#include "match/NetPlay.h"

// "tavro --soak N": the game plays N computer matches back to back in one process, to watch its
// memory and files over many. The menu starts a PC vs PC match as soon as it is set up (as its
// START button would), each match runs to its trophy and back to the menu, and after the Nth the
// menu ends the program. Each time the menu is back, the resident memory and the open file
// descriptors go to the log and to the standard output. The options file is left as it was.
class SoakFactory : public GameStateFactory {
public:
	static constexpr int MAX_MATCHES = 1000;

	explicit SoakFactory(int matches);
	GameStateObject *Create(GameState state) override;

	// Called by the menu once it is set up: reports a finished match, then says what follows.
	GameState NextAfterMenu();

private:
	NetPlay net; // never started: the soak plays at this machine
	DefaultStateFactory game;
	int matches; // to play
	int started; // so far
};

#endif
