#ifndef TAVRO_FRONTEND_CREDITS_H
#define TAVRO_FRONTEND_CREDITS_H

#include "core/GameState.h"

// The credits state. The sequence is not there yet: it finishes on its first frame.
class Credits : public GameStateObject {
public:
	bool Enter() override { return true; }
	bool Frame() override { return false; }
	void Leave() override {}
};

#endif
