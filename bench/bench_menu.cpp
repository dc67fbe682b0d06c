// The main menu at 640×480 over its flying background for 2000 frames, the clock advancing 16 ms
// a frame and no input: time per frame and heap allocations per frame (aim: 0).
// Run under Xvfb from the build directory: xvfb-run -a -s "-screen 0 1024x768x24" bench/bench_menu
#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "HeapCounter.h"
#include "core/Clock.h"
#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/VideoConfig.h"
#include "frontend/MenuState.h"
#include "options/OptionsRecord.h"
#include "input/NoxInput.h"
#include "audio/SoundBank.h"
#include "script/LuaScriptRunner.h"
#include "gui/WgScriptRunner.h"

int main() {
	LogFile log;
	log.Open("bench_menu.log", "Kelvane");
	g_log = &log;
	SDL_Init(SDL_INIT_VIDEO);
	SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
	SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
	if (!SDL_SetVideoMode(640, 480, 32, SDL_OPENGL)) {
		fprintf(stderr, "no OpenGL window: run under Xvfb\n");
		return 1;
	}
	ssgInit();
	ManualClock clock(1000);
	FrameTimer timer(&clock);
	g_timer = &timer;
	VideoConfig video;
	g_videoConfig = &video; // 640 × 480
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

	MenuState menu;
	if (!menu.MenuEnter(640, 480) || !menu.ShowScreen(MenuState::SCREEN_MAIN)) {
		fprintf(stderr, "menu set-up failed; run from the build directory\n");
		return 1;
	}
	const int warmUp = 100, frames = 2000;
	std::vector<double> frameMs;
	long all = 0, own = 0;
	for (int frame = 0; frame < warmUp + frames; frame++) {
		clock.Advance(16);
		SDL_Event drop;
		while (SDL_PollEvent(&drop)) { // no input: what the window system sends is dropped
		}
		const bool measured = frame >= warmUp;
		const long allBefore = allocations, ownBefore = newAllocations;
		counting = measured;
		auto start = std::chrono::steady_clock::now();
		menu.Frame();
		auto end = std::chrono::steady_clock::now();
		counting = false;
		if (measured) {
			frameMs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
			all += allocations - allBefore;
			own += newAllocations - ownBefore;
		}
	}
	menu.MenuLeave();

	double sum = 0;
	for (double ms : frameMs) {
		sum += ms;
	}
	std::vector<double> sorted = frameMs;
	std::sort(sorted.begin(), sorted.end());
	printf("main menu at 640x480, %d frames of 16 ms, the background flying, no input\n", frames);
	printf("  frame time: mean %.2f ms, median %.2f ms, 99th percentile %.2f ms\n", sum / frames,
		sorted[sorted.size() / 2], sorted[sorted.size() * 99 / 100]);
	// Mesa's software renderer is C++ too: when it compiles a shader, its news count here.
	printf("  heap allocations per frame: %.2f by new (ours, aim 0, and the GL driver's), %.2f in all\n",
		static_cast<double>(own) / frames, static_cast<double>(all) / frames);

	g_scriptRunner = nullptr;
	sound.Deinit();
	g_log = nullptr;
	log.Close();
	SDL_Quit();
	return 0;
}
