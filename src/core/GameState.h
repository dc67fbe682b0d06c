#ifndef TAVRO_CORE_GAMESTATE_H
#define TAVRO_CORE_GAMESTATE_H

enum GameState {
	STATE_NONE = 0,
	STATE_MENU = 2,
	STATE_MATCH = 3,
	STATE_CREDITS = 4,
	STATE_QUIT = 5
};

// What the state machine runs: the menu, a match or the credits. Set-up and frame return
// false on failure or when the state is finished; tear-down releases whatever exists, so a
// half-built state can always be torn down.
class GameStateObject {
public:
	virtual ~GameStateObject() {}
	virtual bool Enter() = 0;
	virtual bool Frame() = 0;
	virtual void Leave() = 0;
	// The state to go to once Frame has returned false.
	virtual GameState NextState() const { return STATE_MENU; }
};

// Makes the object of a state; tests hand the machine their own.
class GameStateFactory {
public:
	virtual ~GameStateFactory() {}
	virtual GameStateObject *Create(GameState state) = 0;
};

#endif
