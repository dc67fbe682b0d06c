#include "GameGlobals.h"

#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "options/OptionsRecord.h"
#include "gui/WgScriptRunner.h"

namespace fs = std::filesystem;

namespace {

// A copy of the tree made of links, so a test can replace any file without touching the build's.
void LinkTree(const fs::path &from, const fs::path &to) {
	fs::create_directories(to);
	for (const fs::directory_entry &entry : fs::directory_iterator(from)) {
		fs::path target = to / entry.path().filename();
		if (entry.is_directory()) {
			LinkTree(entry.path(), target);
		} else {
			fs::create_symlink(entry.path(), target);
		}
	}
}

} // namespace

GameGlobals::GameGlobals(ScratchDir &dir_, int width, int height)
	: dir(dir_), window(width, height), clock(100000), timer(&clock), keys() {
	LinkTree(BuildDataDir(), "data");
	dir.WriteText("video.cfg", std::to_string(width) + " " + std::to_string(height) + " 32 0");
	videoConfig.Load("video.cfg");
	log.Open("Log.txt", "Kelvane");
	g_log = &log;
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
	g_log = nullptr;
}

void GameGlobals::ClearKeys() {
	memset(keys, 0, sizeof(keys));
}

void GameGlobals::WriteData(const std::string &path, const std::string &text) const {
	fs::remove(path); // a link into the build's tree
	dir.WriteText(path, text);
}

void GameGlobals::PressKey(int key, int unicode) const {
	SDL_Event event = {};
	event.type = SDL_KEYDOWN;
	event.key.state = SDL_PRESSED;
	event.key.keysym.sym = static_cast<SDLKey>(key);
	event.key.keysym.unicode = static_cast<Uint16>(unicode);
	SDL_PushEvent(&event);
	event.type = SDL_KEYUP;
	event.key.state = SDL_RELEASED;
	SDL_PushEvent(&event);
}
