#ifndef TAVRO_FRONTEND_SCRIPTTRYOUT_H
#define TAVRO_FRONTEND_SCRIPTTRYOUT_H

#include <string>

#include "core/GameState.h"
#include "script/ScriptScreen.h"

// "tavro --script FILE": one empty screen, built as the menu screens build theirs, over a plain
// background, with FILE run as its screen script. It takes the input events and draws every
// frame until Escape or the window is closed. A script error is logged and the screen stays
// empty.
class ScriptTryout : public GameStateObject {
public:
	ScriptTryout(const char *file, int width, int height);

	bool Enter() override;
	bool Frame() override;
	void Leave() override;
	GameState NextState() const override { return STATE_QUIT; }

	const ScriptScreen &GetScreen() const { return screen; }

private:
	std::string file;
	int width, height; // pixels
	ScriptScreen screen;
};

// Makes the tryout in place of the menu; every other state is none, so the program ends after it.
class ScriptTryoutFactory : public GameStateFactory {
public:
	explicit ScriptTryoutFactory(const char *file);
	GameStateObject *Create(GameState state) override;

private:
	std::string file;
};

#endif
