#ifndef TAVRO_MATCH_INGAME_H
#define TAVRO_MATCH_INGAME_H

#include "core/GameState.h"

// The match state. No match is played yet: it finishes on its first frame.
class InGame : public GameStateObject {
public:
	bool Enter() override { return true; }
	bool Frame() override { return false; }
	void Leave() override {}
};

#endif
