#ifndef TAVRO_TESTS_GAMEGLOBALS_H
#define TAVRO_TESTS_GAMEGLOBALS_H

#include <SDL/SDL_keysym.h>

#include <cstdint>
#include <string>

#include "GLWindow.h"
#include "LogCapture.h"
#include "ScratchDir.h"
#include "core/Clock.h"
#include "core/FrameTimer.h"
#include "core/VideoConfig.h"
#include "input/NoxInput.h"
#include "script/LuaScriptRunner.h"
#include "audio/SoundBank.h"

// What start-up makes for the game's states, made for one test in its scratch dir: a window of
// the given size, the log "Log.txt", a frame timer on a clock the test advances, the video
// configuration, the input library reading keys the test holds, silent sound and the default
// options (music off). The build's data tree is linked in as "data", file by file, so a test
// can put its own files in place of any.
class GameGlobals {
public:
	GameGlobals(ScratchDir &dir, int width, int height);
	~GameGlobals();

	void Advance(int ms) { clock.Advance(ms); }
	void Hold(int key, bool held) { keys[key] = held ? 1 : 0; }
	// Queues a key press and its release in SDL's queue, for states reading events.
	void PressKey(int key, int unicode = 0) const;
	void ClearKeys();
	// Puts a file of the test's own in the data tree (the path starts with "data/").
	void WriteData(const std::string &path, const std::string &text) const { dir.WriteText(path, text); }
	std::string LogText() const { return log.Text(); }

	ScratchDir &dir;
	GLWindow window;
	ManualClock clock;
	FrameTimer timer;
	LogCapture log;
	VideoConfig videoConfig;
	NoxInput input;
	uint8_t keys[SDLK_LAST]; // what the input library polls, held by the test
	SoundBank sound;
	LuaScriptRunner scriptRunner;
};

#endif
