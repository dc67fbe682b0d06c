// The match's frames against the floor (FrameFloor.h) at 640×480 and 1920×1080: "PC vs PC" with
// the small view on, then the in-game menu open over it. Then, at 640×480, a "PC vs PC" match
// of 4 × 1 minute with the clock advancing 16 ms a frame, as fast as the machine runs it; the
// same match again without drawing, for the cost of the rules; "PL1 vs PC" with the aim guide,
// the player steering all the time so the guide is traced again every frame of their turns;
// then "PC vs PC" at each computer level, for the time its thinking takes per frame.
// Run under Xvfb from the build directory:
//   xvfb-run -a -s "-screen 0 1920x1080x24" bench/bench_match [frames [WIDTHxHEIGHT ...]|match|guide|levels]
// (all four without an argument).
#include <sys/resource.h>

#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <vector>

#include "FrameFloor.h"
#include "MatchRig.h"
#include "core/Clock.h"
#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/VideoConfig.h"
#include "options/OptionsRecord.h"
#include "input/NoxInput.h"
#include "match/InGame.h"
#include "match/MatchControls.h"
#include "audio/SoundBank.h"
#include "world/PlanningComputerPlayer.h"

namespace {

std::atomic<long> g_allocations{0};
uint8_t g_keys[SDLK_LAST]; // what the input library polls

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
	double maxSliceMs = 0.0; // the longest slice a planning computer worked in a frame, processor time
	bool finished = false;
};

// Player 1's keys for a frame: the aim swings right, up, left and down in turn, never still, and
// fires every 3 s.
void Steer(int frame) {
	memset(g_keys, 0, sizeof(g_keys));
	static const int swing[4] = {KEY_RIGHT, KEY_UP, KEY_LEFT, KEY_DOWN};
	g_keys[g_options.keys1[swing[frame / 40 % 4]]] = 1;
	g_keys[g_options.keys1[KEY_FIRE]] = frame % 190 == 189;
}

RunFigures PlayMatch(bool drawing, bool steering = false) {
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
		if (steering) {
			Steer(frame);
		}
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
		for (int side = 1; side <= 2; side++) {
			const auto *planning = dynamic_cast<const PlanningComputerPlayer *>(game.GetControls().GetComputer(side));
			if (planning) {
				figures.maxSliceMs = std::max(figures.maxSliceMs, planning->GetPlanner().GetLastSliceMicros() / 1000.0);
			}
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
	memset(g_keys, 0, sizeof(g_keys));
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

// PC vs PC drawn, then the rules alone, then with goal replays; false when the match did not end.
bool BenchMatch() {
	g_options.mode = MODE_PC_VS_PC;
	auto wallStart = std::chrono::steady_clock::now();
	RunFigures drawn = PlayMatch(true);
	double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
	RunFigures rules = PlayMatch(false);

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
	g_options.replay = 0;
	return drawn.finished;
}

// The aim guide: a steering player against the computer, with and without the guide.
void BenchGuide() {
	g_options.mode = MODE_PL1_VS_PC;
	g_options.guide = 1;
	RunFigures guided = PlayMatch(true, true);
	RunFigures guidedRules = PlayMatch(false, true);
	g_options.guide = 0;
	RunFigures unguidedRules = PlayMatch(false, true);
	printf("PL1 vs PC, player 1 steering all the time\n");
	printf("  frame time with the aim guide: mean %.3f ms, 99th percentile %.3f ms (aim: mean under 8 ms)\n",
		Mean(guided.frameMs), Percentile(guided.frameMs, 0.99));
	printf("  rules without drawing: mean %.4f ms per frame with the guide, %.4f ms without; 99th percentile "
		   "%.3f ms with\n",
		Mean(guidedRules.frameMs), Mean(unguidedRules.frameMs), Percentile(guidedRules.frameMs, 0.99));
	printf("  heap allocations in quiet play frames with the guide: %ld in %ld frames\n", guidedRules.quietAllocations,
		guidedRules.quietFrames);
}

// Both sides at one level, without drawing: the rules' frame time holds the computers' thinking.
bool BenchLevels() {
	bool finished = true;
	g_options.mode = MODE_PC_VS_PC;
	printf("PC vs PC without drawing, both sides at one level\n");
	static const char *const names[4] = {"NORMAL", "EASY", "HARD", "EXPERT"};
	static const int order[4] = {LEVEL_EASY, LEVEL_NORMAL, LEVEL_HARD, LEVEL_EXPERT};
	for (int level : order) {
		g_options.level = static_cast<uint8_t>(level);
		RunFigures figures = PlayMatch(false);
		printf("  %-6s frame: mean %.4f ms, 99th percentile %.3f ms, max %.3f ms", names[level], Mean(figures.frameMs),
			Percentile(figures.frameMs, 0.99), Percentile(figures.frameMs, 1.0));
		if (level == LEVEL_HARD || level == LEVEL_EXPERT) {
			printf("; longest planner slice %.3f ms of processor time (aim: 2 ms at most)", figures.maxSliceMs);
		}
		printf("; allocations in quiet frames %ld in %ld\n", figures.quietAllocations, figures.quietFrames);
		finished = finished && figures.finished;
	}
	g_options.level = LEVEL_NORMAL;
	return finished;
}

// Holds key for one frame at a time until done() or tries frames have passed.
bool PressUntil(int key, const std::function<void()> &frame, const std::function<bool()> &done, int tries) {
	for (int i = 0; i < tries && !done(); i++) {
		g_keys[key] = i % 2 == 0; // pressed, let go, pressed...: each press is new
		frame();
	}
	g_keys[key] = 0;
	return done();
}

// "PC vs PC" with the small view, then the in-game menu over it, in a window of the size.
int MatchFrames(const floorbench::Size &size) {
	MatchRig rig("bench_match.log", size.width, size.height);
	if (!rig.IsReady()) {
		return 1;
	}
	rig.GetInput().SetKeyStateSource(g_keys, SDLK_LAST);
	ManualClock clock(1000);
	FrameTimer timer(&clock);
	g_timer = &timer;
	InGame game;
	game.SetSeed(12345);
	if (!game.Init()) {
		fprintf(stderr, "match set-up failed; run from the build directory\n");
		return 1;
	}
	auto frame = [&] {
		clock.Advance(16);
		if (!game.Frame()) { // a match that ended starts again
			game.Deinit();
			game.Init();
		}
	};
	const bool mini = PressUntil(
		SDLK_F5, frame, [&] { return game.GetControls().IsMiniViewShown(); }, 2000);
	if (!mini) {
		fprintf(stderr, "the small view never showed\n");
	}
	floorbench::Print("PC vs PC match, small view on", size, floorbench::Measure(frame));
	const bool menu = PressUntil(
		SDLK_ESCAPE, frame, [&] { return game.GetPhase() == PHASE_MENU_OPEN; }, 2000);
	if (!menu) {
		fprintf(stderr, "the in-game menu never opened\n");
	}
	floorbench::Print("in-game menu over the match", size, floorbench::Measure(frame));
	game.Deinit();
	g_timer = nullptr;
	return mini && menu ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
	const char *only = argc > 1 ? argv[1] : nullptr;
	auto section = [only](const char *name) { return !only || strcmp(only, name) == 0; };
	setvbuf(stdout, nullptr, _IOLBF, 0); // figures show as they come
	bool finished = true;
	// Before this process opens a window of its own: each size runs in a child.
	if (section("frames")) {
		finished = floorbench::RunAtSizes(floorbench::SizesFrom(argc, argv, 2), MatchFrames);
		if (only) {
			return finished ? 0 : 1;
		}
	}
	MatchRig rig("bench_match.log", 640, 480);
	if (!rig.IsReady()) {
		return 1;
	}
	rig.GetInput().SetKeyStateSource(g_keys, SDLK_LAST);

	if (section("match")) {
		finished = BenchMatch() && finished;
	}
	if (section("guide")) {
		BenchGuide();
	}
	if (section("levels")) {
		finished = BenchLevels() && finished;
	}
	struct rusage usage;
	getrusage(RUSAGE_SELF, &usage);
	printf("peak resident memory: %.1f MB (aim: under 150 MB)\n", usage.ru_maxrss / 1024.0);

	return finished ? 0 : 1;
}
