#ifndef TAVRO_TESTS_WIDGETRIG_H
#define TAVRO_TESTS_WIDGETRIG_H

#include <SDL/SDL.h>

#include <cstdint>
#include <string>

#include "GLWindow.h"
#include "LogCapture.h"
#include "ScratchDir.h"
#include "input/NoxInput.h"
#include "script/LuaScriptRunner.h"
#include "script/ScriptScreen.h"

// A scripted screen as the menus build theirs, in a real window under Xvfb: the game's data
// tree, a log, the input library in event mode and the Lua script runner. Input goes in as SDL
// events through the input library; drawing is read back pixel by pixel.
class WidgetRig {
public:
	explicit WidgetRig(int width = 640, int height = 480);
	~WidgetRig();

	bool Ready() const { return ready; }
	// Writes the text as a file and runs it as the screen's script.
	bool Run(const std::string &script);
	void Write(const std::string &name, const std::string &text) const { dir.WriteText(name, text); }
	std::string LogText() const { return log.Text(); }

	// deliver false leaves the key press in SDL's queue for another reader.
	void Key(SDLKey key, Uint16 unicode = 0, SDLMod modifiers = KMOD_NONE, bool deliver = true);
	void Type(const std::string &text);
	void Move(int x, int y);
	void Press(int x, int y);
	void Release(int x, int y);
	// Press and release without a motion before, so hover focus stays out of it.
	void Click(int x, int y);

	// Draws the widgets into a cleared frame (background 0x000000) and reads it back.
	void Draw(int frameTime);
	uint32_t Pixel(int x, int y) const { return window.At(x, y); }

	WgItem *Find(int type, const char *name) const { return screen.Find(type, name); }

	ScratchDir dir;
	LogCapture log;
	ScriptScreen screen;
	NoxInput input;

private:
	void Push(SDL_Event &event);

	GLWindow window;
	LuaScriptRunner runner;
	bool ready;
};

#endif
