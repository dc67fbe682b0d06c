#include "core/StateMachine.h"

#include <cassert>

#include "core/LogFile.h"

StateMachine::StateMachine(GameStateFactory *factory_) : factory(factory_), current(STATE_NONE), object(nullptr) {
	assert(factory);
}

StateMachine::~StateMachine() {
	TearDownCurrent();
}

void StateMachine::TearDownCurrent() {
	if (object) {
		// Forget it before anything else, so no later change tears it down twice.
		GameStateObject *old = object;
		object = nullptr;
		old->Leave();
		delete old;
	}
}

bool StateMachine::SetGameState(GameState state) {
	Log(LOG_MESSAGE, "MAIN: Changing game state...");
	TearDownCurrent();

	if (state == STATE_MENU || state == STATE_MATCH || state == STATE_CREDITS) {
		GameStateObject *created = factory->Create(state);
		if (!created || !created->Enter()) {
			if (state == STATE_MENU) {
				// The state stays as it was; its object is already gone.
				if (created) {
					created->Leave();
					delete created;
				}
				return false;
			}
			Log(LOG_ERROR, "INGAME: ...Failed!");
			// Kept current, so the next change tears the half-built state down.
			object = created;
			current = state;
			return false;
		}
		object = created;
	}

	Log(LOG_MESSAGE, "MAIN: ...Done!");
	current = state;
	return true;
}

bool StateMachine::RunGameStateFrame() {
	switch (current) {
	case STATE_MENU:
	case STATE_MATCH:
	case STATE_CREDITS:
		if (!object) {
			return false;
		}
		if (object->Frame()) {
			return true;
		}
		return SetGameState(current == STATE_MENU ? object->NextState() : STATE_MENU);
	case STATE_QUIT: return false;
	default: return true;
	}
}
