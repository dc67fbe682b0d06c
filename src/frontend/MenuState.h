#ifndef TAVRO_FRONTEND_MENUSTATE_H
#define TAVRO_FRONTEND_MENUSTATE_H

#include "core/GameState.h"

// The menu state. Until the screens exist it takes the input events (so the queue never fills),
// starts a match on Return, quits on Escape, and otherwise clears and presents a frame.
class MenuState : public GameStateObject {
public:
	MenuState();

	bool Enter() override;
	bool Frame() override;
	void Leave() override;
	GameState NextState() const override { return nextState; }

private:
	GameState nextState;
};

#endif
