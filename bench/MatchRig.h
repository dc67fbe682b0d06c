#ifndef TAVRO_BENCH_MATCHRIG_H
#define TAVRO_BENCH_MATCHRIG_H

#include <unistd.h>

#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <cstdio>
#include <cstdlib>

#include "audio/SoundBank.h"
#include "core/LogFile.h"
#include "core/VideoConfig.h"
#include "input/NoxInput.h"
#include "options/OptionsRecord.h"

// What a match benchmark runs its matches in: the log, an OpenGL window, the scene graph, the
// input library with the keyboard on, the sound bank on SDL's dummy driver and "PC vs PC"
// options of 4 × 1 minute without music. Run from the build directory, under Xvfb.
class MatchRig {
public:
	MatchRig(const char *logName, int width, int height) : ready(false) {
		log.Open(logName, "Kelvane");
		g_log = &log;
		// Without a display SDL sets up no video, and asking for GL attributes then crashes.
		// xvfb-run may start the program a moment before its server takes connections.
		for (int attempt = 0; SDL_Init(SDL_INIT_VIDEO) != 0; attempt++) {
			if (attempt == 20) {
				fprintf(stderr, "no video (%s): run under Xvfb\n", SDL_GetError());
				return;
			}
			usleep(100000);
		}
		SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
		SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
		if (!SDL_SetVideoMode(width, height, 32, SDL_OPENGL)) {
			fprintf(stderr, "no OpenGL window: run under Xvfb\n");
			return;
		}
		ssgInit();
		video.SetScreenSize(width, height); // the match lays itself out for the window
		g_videoConfig = &video;
		input.Init();
		input.EnableKeyboard(0, true); // the computer sides steer through the match's key reading too
		g_input = &input;
		setenv("SDL_AUDIODRIVER", "dummy", 1);
		sound.Init();
		g_sound = &sound;
		g_options.SetDefaults();
		g_options.mode = MODE_PC_VS_PC;
		g_options.matchLength = 1;
		g_options.music = 0;
		ready = true;
	}
	~MatchRig() {
		if (ready) {
			sound.Deinit();
		}
		g_sound = nullptr;
		g_input = nullptr;
		g_videoConfig = nullptr;
		g_log = nullptr;
		log.Close();
		SDL_Quit();
	}
	MatchRig(const MatchRig &) = delete;
	MatchRig &operator=(const MatchRig &) = delete;

	bool IsReady() const { return ready; }
	NoxInput &GetInput() { return input; }

private:
	LogFile log;
	VideoConfig video;
	NoxInput input;
	SoundBank sound;
	bool ready;
};

#endif
