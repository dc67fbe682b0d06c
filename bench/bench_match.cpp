// A "PC vs PC" match of 4 × 1 minute at 640×480 with the clock advancing 16 ms a frame, as fast
// as the machine runs it; then the same match again without drawing, for the cost of the rules.
// Run under Xvfb from the build directory: xvfb-run -a -s "-screen 0 1024x768x24" bench/bench_match
#include <sys/resource.h>

#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "core/Clock.h"
#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/VideoConfig.h"
#include "options/OptionsRecord.h"
#include "input/NoxInput.h"
#include "match/InGame.h"
#include "audio/SoundBank.h"

namespace {

std::atomic<long> g_allocations{0};

} // namespace

void *operator new(size_t size) {
	g_allocations++;
	if (void *p = malloc(size ? size : 1)) {
		return p;
	}
	throw std::bad_alloc();
}

void operator delete(void *p) noexcept {
	free(p);
}

void operator delete(void *p, size_t) noexcept {
	free(p);
}

namespace {

struct RunFigures {
	std::vector<double> frameMs;
	long quietFrames = 0;      // play frames in which no event was added
	long quietAllocations = 0; // heap allocations in those frames
	long replayFrames = 0;     // frames that showed a goal again
	long replayAllocations = 0;
	bool finished = false;
};

RunFigures PlayMatch(bool drawing) {
	RunFigures figures;
	ManualClock clock(1000);
	FrameTimer timer(&clock);
	g_timer = &timer;
	InGame game;
	game.SetSeed(12345);
	game.SetDrawing(drawing);
	if (!game.Init()) {
		fprintf(stderr, "match set-up failed; run from the build directory\n");
		return figures;
	}
	for (int frame = 0; frame < 100000; frame++) {
		clock.Advance(16);
		int addedBefore = game.GetEvents().GetStarted();
		long allocationsBefore = g_allocations;
		bool playing = game.GetPhase() == PHASE_PLAYING;
		bool replaying = game.GetPhase() == PHASE_REPLAY;
		auto start = std::chrono::steady_clock::now();
		bool running = game.Frame();
		auto end = std::chrono::steady_clock::now();
		figures.frameMs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
		if (playing && game.GetEvents().GetStarted() == addedBefore) {
			figures.quietFrames++;
			figures.quietAllocations += g_allocations - allocationsBefore;
		}
		if (replaying) {
			figures.replayFrames++;
			figures.replayAllocations += g_allocations - allocationsBefore;
		}
		if (!running) {
			figures.finished = true;
			break;
		}
	}
	game.Deinit();
	g_timer = nullptr;
	return figures;
}

double Mean(const std::vector<double> &v) {
	double sum = 0;
	for (double x : v) {
		sum += x;
	}
	return v.empty() ? 0 : sum / v.size();
}

double Percentile(std::vector<double> v, double p) {
	if (v.empty()) {
		return 0;
	}
	std::sort(v.begin(), v.end());
	return v[std::min(v.size() - 1, static_cast<size_t>(p * v.size()))];
}

} // namespace

int main() {
	LogFile log;
	log.Open("bench_match.log", "Kelvane");
	g_log = &log;
	SDL_Init(SDL_INIT_VIDEO);
	SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
	SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
	if (!SDL_SetVideoMode(640, 480, 32, SDL_OPENGL)) {
		fprintf(stderr, "no OpenGL window: run under Xvfb\n");
		return 1;
	}
	ssgInit();
	VideoConfig video;
	g_videoConfig = &video; // 640 × 480
	NoxInput input;
	input.Init();
	input.EnableKeyboard(0, true);
	g_input = &input;
	setenv("SDL_AUDIODRIVER", "dummy", 1);
	SoundBank sound;
	sound.Init();
	g_sound = &sound;
	g_options.SetDefaults();
	g_options.mode = MODE_PC_VS_PC;
	g_options.matchLength = 1;
	g_options.music = 0;

	auto wallStart = std::chrono::steady_clock::now();
	RunFigures drawn = PlayMatch(true);
	double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
	RunFigures rules = PlayMatch(false);

	struct rusage usage;
	getrusage(RUSAGE_SELF, &usage);
	printf("match of 4 x 1 minute, PC vs PC, 640x480, 16 ms per frame\n");
	printf("  frames: %zu (%s)\n", drawn.frameMs.size(), drawn.finished ? "ran to the end" : "did not finish");
	printf("  frames per second of wall time: %.1f\n", drawn.frameMs.size() / wallSeconds);
	printf("  frame time: mean %.3f ms, 99th percentile %.3f ms (aim: mean under 8 ms)\n", Mean(drawn.frameMs),
		Percentile(drawn.frameMs, 0.99));
	printf("  rules without drawing: mean %.4f ms per frame, %.1f%% of a drawn frame (aim: under 0.2 ms)\n",
		Mean(rules.frameMs), 100.0 * Mean(rules.frameMs) / std::max(1e-9, Mean(drawn.frameMs)));
	printf("  heap allocations in play frames without new events: %ld in %ld frames (%.3f per frame, aim 0)\n",
		drawn.quietAllocations, drawn.quietFrames,
		drawn.quietFrames ? static_cast<double>(drawn.quietAllocations) / drawn.quietFrames : 0.0);
	printf("  of them in the rules alone: %ld in %ld frames\n", rules.quietAllocations, rules.quietFrames);
	// The same match with goal replays, without drawing: the replays must not allocate.
	g_options.replay = 1;
	RunFigures replays = PlayMatch(false);
	printf("  goal replays: %ld frames, %ld heap allocations in them (aim 0)\n", replays.replayFrames,
		replays.replayAllocations);
	printf("  peak resident memory: %.1f MB (aim: under 150 MB)\n", usage.ru_maxrss / 1024.0);

	sound.Deinit();
	g_log = nullptr;
	log.Close();
	SDL_Quit();
	return drawn.finished ? 0 : 1;
}
