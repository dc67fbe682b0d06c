// The front end's frames against the floor (FrameFloor.h): the main menu over its flying
// background, then the credits, the clock advancing 16 ms a frame and no input; for the menu
// also the heap allocations per frame (aim: 0 of our own).
// Run under Xvfb from the build directory:
//   xvfb-run -a -s "-screen 0 1920x1080x24" bench/bench_menu [WIDTHxHEIGHT ...]
// (640x480 and 1920x1080 without sizes).
#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <cstdio>
#include <cstdlib>

#include "FrameFloor.h"
#include "HeapCounter.h"
#include "core/Clock.h"
#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/VideoConfig.h"
#include "frontend/Credits.h"
#include "frontend/MenuState.h"
#include "options/OptionsRecord.h"
#include "input/NoxInput.h"
#include "audio/SoundBank.h"
#include "script/LuaScriptRunner.h"
#include "gui/WgScriptRunner.h"

namespace {

void DropWindowEvents() {
	SDL_Event drop;
	while (SDL_PollEvent(&drop)) { // no input: what the window system sends is dropped
	}
}

int RunAt(const floorbench::Size &size) {
	LogFile log;
	log.Open("bench_menu.log", "Kelvane");
	g_log = &log;
	if (!floorbench::OpenWindow(size)) {
		return 1;
	}
	ssgInit();
	ManualClock clock(1000);
	FrameTimer timer(&clock);
	g_timer = &timer;
	VideoConfig video;
	video.SetScreenSize(size.width, size.height);
	g_videoConfig = &video;
	NoxInput input;
	input.Init();
	input.EnableKeyboard(0, true);
	input.EnableMouse(0, true);
	g_input = &input;
	setenv("SDL_AUDIODRIVER", "dummy", 1);
	SoundBank sound;
	sound.Init();
	g_sound = &sound;
	LuaScriptRunner scripts;
	g_scriptRunner = &scripts;
	g_options.SetDefaults();

	int code = 0;
	MenuState menu;
	if (menu.MenuEnter(size.width, size.height) && menu.ShowScreen(MenuState::SCREEN_MAIN)) {
		long frames = 0, all = 0, own = 0;
		floorbench::Ratio ratio = floorbench::Measure([&] {
			clock.Advance(16);
			DropWindowEvents();
			const long allBefore = allocations, ownBefore = newAllocations;
			counting = true;
			menu.Frame();
			counting = false;
			all += allocations - allBefore;
			own += newAllocations - ownBefore;
			frames++;
		});
		floorbench::Print("main menu, background flying", size, ratio);
		// Mesa's software renderer is C++ too: when it compiles a shader, its news count here.
		printf("  heap allocations per frame: %.2f by new (ours, aim 0, and the GL driver's), %.2f in all\n",
			static_cast<double>(own) / frames, static_cast<double>(all) / frames);
	} else {
		fprintf(stderr, "menu set-up failed; run from the build directory\n");
		code = 1;
	}
	menu.MenuLeave();

	Credits credits;
	if (credits.Init()) {
		floorbench::Ratio ratio = floorbench::Measure([&] {
			clock.Advance(16);
			DropWindowEvents();
			if (!credits.Frame()) { // at their end they start again
				credits.Deinit();
				credits.Init();
			}
		});
		floorbench::Print("credits", size, ratio);
	} else {
		fprintf(stderr, "credits set-up failed; run from the build directory\n");
		code = 1;
	}
	credits.Deinit();

	g_scriptRunner = nullptr;
	sound.Deinit();
	g_sound = nullptr;
	g_input = nullptr;
	g_videoConfig = nullptr;
	g_timer = nullptr;
	g_log = nullptr;
	log.Close();
	SDL_Quit();
	return code;
}

} // namespace

int main(int argc, char **argv) {
	setvbuf(stdout, nullptr, _IOLBF, 0); // figures show as they come
	return floorbench::RunAtSizes(floorbench::SizesFrom(argc, argv, 1), RunAt) ? 0 : 1;
}
