#ifndef TAVRO_CORE_STATEMACHINE_H
#define TAVRO_CORE_STATEMACHINE_H

#include "core/GameState.h"

// Decides which state runs each frame and owns that state's object from its set-up to its
// tear-down.
class StateMachine {
public:
	explicit StateMachine(GameStateFactory *factory);
	~StateMachine();

	// True when the new state is set up and current.
	bool SetGameState(GameState state);
	// False means: leave the main loop.
	bool RunGameStateFrame();

	GameState GetCurrentState() const { return current; }

private:
	void TearDownCurrent();

	GameStateFactory *factory; // not owned
	GameState current;
	GameStateObject *object; // the current state's object, owned
};

#endif
