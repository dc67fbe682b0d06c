#include "GameGlobals.h"

#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <cstdlib>
#include <cstring>

#include "options/OptionsRecord.h"
#include "gui/WgScriptRunner.h"

GameGlobals::GameGlobals(ScratchDir &dir_, int width, int height)
	: dir(dir_), window(width, height), clock(100000), timer(&clock), log("Kelvane"), keys() {
	dir.LinkDataFiles();
	dir.WriteText("video.cfg", std::to_string(width) + " " + std::to_string(height) + " 32 0");
	videoConfig.Load("video.cfg");
	g_timer = &timer;
	g_videoConfig = &videoConfig;
	ssgInit();
	input.Init();
	input.EnableKeyboard(0, true);
	input.EnableMouse(0, true);
	input.SetKeyStateSource(keys, SDLK_LAST);
	g_input = &input;
	setenv("SDL_AUDIODRIVER", "dummy", 1);
	sound.Init();
	g_sound = &sound;
	g_options.SetDefaults();
	g_options.music = 0;
	g_scriptRunner = &scriptRunner;
}

GameGlobals::~GameGlobals() {
	ClearKeys();
	g_scriptRunner = nullptr;
	sound.Deinit();
	g_sound = nullptr;
	g_input = nullptr;
	g_videoConfig = nullptr;
	g_timer = nullptr;
}

void GameGlobals::ClearKeys() {
	memset(keys, 0, sizeof(keys));
}

void GameGlobals::PressKey(int key, int unicode) const {
	SDL_Event down = KeyEvent(true, key, unicode), up = KeyEvent(false, key, unicode);
	SDL_PushEvent(&down);
	SDL_PushEvent(&up);
}
