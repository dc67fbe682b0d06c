// Lua scripts as the screens run them, in a screen's state with the game's whole surface and
// the widget runner for ExecuteLua: after the menus' shared style for inputs of even length, on
// their own as "tavro --script" runs them for odd ones. Under the time budget and the memory
// cap; the widgets it made are then drawn for a few frames. The budget reads a clock that
// moves 250 us at every look, so a run ends after the same work on every run of the input
// (1,000 looks: calls, or thousands of instructions), whatever the machine's load.
#include "FuzzKit.h"
#include "SteppedScriptClock.h"
#include "core/Overlay2D.h"
#include "match/MenuKit.h"
#include "script/LuaScriptRunner.h"
#include "script/ScriptScreen.h"

namespace {

void Prepare() {
	static LuaScriptRunner runner;
	static SteppedScriptClock clock(250);
	g_scriptRunner = &runner;
}

void Load(const char *file, const uint8_t *, size_t size) {
	ScriptScreen screen;
	FuzzCheck(screen.Build(640, 480), "the screen's Lua state opens");
	if (size % 2 == 0) {
		RunMenuScript(screen, file);
	} else {
		screen.RunScript(file);
	}
	Begin2D(64, 64);
	for (int frame = 0; frame < 3; frame++) {
		screen.DrawWidgets(frame * 500);
		screen.DrawCursor(frame * 500);
	}
	End2D();
	screen.TearDown();
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"data/fuzz.lua", true, Prepare, Load};
