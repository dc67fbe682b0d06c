// Do the computer's levels really differ? Seeded "PC vs PC" matches of 4 × 1 minute, each run
// in-process with the clock advancing 16 ms a frame and drawing off, for the pairings HARD vs
// NORMAL, EXPERT vs HARD and NORMAL vs EASY; each seed is played twice with the sides swapped.
// Reports goals per match and the first level's wins, draws and losses, the planner's time per
// frame at each planning level (its slices are held under 2 ms), and the heap allocations of a
// planner's frames once its match is set up (the aim is none).
// Do the planning levels score the goals they plan? "PL1 vs PC" matches against an idle player
// 1, the ball and the discs put at random places (the ball rolling in half of them) at each of
// the computer's turns, with steady 16 ms frames and with frames of 8 to 26 ms drawn at random:
// of the shots the search had seen score, how many did (aims: 90% and 75%).
// Run under Xvfb from the build directory (where data/ is):
//   xvfb-run -a -s "-screen 0 1024x768x24" bench/bench_levels [matches per pairing] [first seed] [parts]
// where parts picks some by number, e.g. "02": 0 HARD vs NORMAL, 1 EXPERT vs HARD, 2 NORMAL vs
// EASY, 3 planned and scored goals (all four when left out).
#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <time.h>
#include <vector>

#include "HeapCounter.h"
#include "MatchRig.h"
#include "audio/SoundBank.h"
#include "core/Clock.h"
#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/Random.h"
#include "core/VideoConfig.h"
#include "input/NoxInput.h"
#include "match/InGame.h"
#include "options/OptionsRecord.h"
#include "match/MatchWorld.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"
#include "world/ShotTurnEvent.h"
#include "world/PlanningComputerPlayer.h"
#include "world/SearchClock.h"

namespace {

const int FRAME_MS = 16;
const int SHORTEST_FRAME = 8; // ms, of the irregular frames
const int LONGEST_FRAME = 26; // ms
const char *const LEVEL_NAMES[4] = {"NORMAL", "EASY", "HARD", "EXPERT"};

struct PlannerTimes {
	long frames = 0; // frames in which a planner worked a slice
	double totalMs = 0.0;
	double maxMs = 0.0;
	double maxFrameMs = 0.0; // the whole match frame around the slice, for comparison
	long over2Ms = 0;
	long heldUp = 0;      // frames with a slice over 2 ms of wall time but under 2 ms of processor time
	long steps = 0;       // simulated steps of all slices
	int overMaxSteps = 0; // the most steps a slice over 2 ms did
	int cuts = 0;         // slices the safety cap cut short
};

struct Pairing {
	int first; // the level whose wins are counted
	int second;
	int wins = 0, draws = 0, losses = 0;
	long goals = 0;
	int matches = 0;
	int unfinished = 0;
};

PlannerTimes g_times[4];

// Processor time this thread has used, ms: a slice that took long on the wall clock but not
// here was held up by the machine, not by its own work.
double ThreadCpuMs() {
	timespec now;
	clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
	return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// The planner of a side, or null when that side does not plan.
const ShotPlanner *PlannerOf(const InGame &game, int side) {
	const auto *planning = dynamic_cast<const PlanningComputerPlayer *>(game.GetControls().GetComputer(side));
	return planning ? &planning->GetPlanner() : nullptr;
}

// Plays one match; returns false when it did not run to its end.
bool PlayMatch(uint32_t seed, int level1, int level2, int goals[2]) {
	ManualClock clock(1000);
	FrameTimer timer(&clock);
	g_timer = &timer;
	InGame game;
	game.SetSeed(seed);
	game.SetDrawing(false);
	game.SetComputerLevel(1, level1);
	game.SetComputerLevel(2, level2);
	if (!game.Init()) {
		fprintf(stderr, "match set-up failed; run from the build directory\n");
		g_timer = nullptr;
		return false;
	}
	const int levels[2] = {level1, level2};
	bool finished = false;
	for (int frame = 0; frame < 200000; frame++) {
		clock.Advance(FRAME_MS);
		long slices[2];
		for (int side = 1; side <= 2; side++) {
			const ShotPlanner *planner = PlannerOf(game, side);
			slices[side - 1] = planner ? planner->GetSliceCount() : 0;
		}
		const auto start = std::chrono::steady_clock::now();
		const double cpuStart = ThreadCpuMs();
		const bool running = game.Frame();
		const double frameCpuMs = ThreadCpuMs() - cpuStart;
		const double frameMs =
			std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
		for (int side = 1; side <= 2 && running; side++) {
			const ShotPlanner *planner = PlannerOf(game, side);
			if (planner && planner->GetSliceCount() != slices[side - 1]) {
				PlannerTimes &t = g_times[levels[side - 1]];
				const double ms = planner->GetLastSliceMicros() / 1000.0;
				t.frames++;
				t.totalMs += ms;
				t.maxMs = std::max(t.maxMs, ms);
				t.maxFrameMs = std::max(t.maxFrameMs, frameMs);
				const bool over = ms > 2.0;
				t.over2Ms += over;
				t.heldUp += frameMs > 2.0 && frameCpuMs < 2.0;
				t.steps += planner->GetLastSliceSteps();
				if (over) {
					t.overMaxSteps = std::max(t.overMaxSteps, planner->GetLastSliceSteps());
				}
			}
		}
		if (!running) {
			finished = true;
			break;
		}
	}
	goals[0] = game.GetDisc(1)->GetGoals();
	goals[1] = game.GetDisc(2)->GetGoals();
	for (int side = 1; side <= 2; side++) {
		if (const ShotPlanner *planner = PlannerOf(game, side)) {
			g_times[levels[side - 1]].cuts += planner->GetCutCount();
		}
	}
	game.Deinit();
	g_timer = nullptr;
	return finished;
}

struct Conversion {
	long planned = 0;   // shots fired as goals in the search
	long converted = 0; // of those, the ones that scored before the side's next shot
	long shots = 0;
	long goals = 0; // all the side's goals
};

// A random field for the computer's turn: the bodies at rest (the ball rolling in half the
// turns) at least MARGIN inside every wall and clear of each other.
void PlaceAtRandom(const InGame &game, Random &random) {
	const float MARGIN = 8.0f; // units
	const Arena &arena = *game.GetWorld().GetArena();
	GameObject *bodies[3] = {game.GetWorld().GetBall(), game.GetDisc(1), game.GetDisc(2)};
	float at[3][2];
	for (int b = 0; b < 3; b++) {
		for (int attempt = 0; attempt < 1000; attempt++) {
			at[b][0] = 140.0f * random.Unit() - 70.0f;
			at[b][1] = 100.0f * random.Unit() - 50.0f;
			bool fits = true;
			for (int w = 0; w < arena.GetWallCount() && fits; w++) {
				dVector4 plane;
				dGeomPlaneGetParams(arena.GetWall(w), plane);
				fits = plane[0] * at[b][0] + plane[1] * at[b][1] - plane[3] >= MARGIN;
			}
			for (int o = 0; o < b && fits; o++) {
				fits = std::hypot(at[b][0] - at[o][0], at[b][1] - at[o][1]) >= 2.0f * Disc::RADIUS + 1.0f;
			}
			if (fits) {
				break;
			}
		}
		bodies[b]->SetPosition(at[b][0], at[b][1], 0.0f);
		const bool rolls = b == 0 && random.Below(2);
		const float heading = 6.2831853f * random.Unit(), speed = 10.0f + 30.0f * random.Unit();
		const sgVec3 v = {rolls ? speed * std::cos(heading) : 0.0f, rolls ? speed * std::sin(heading) : 0.0f, 0.0f};
		bodies[b]->SetVelocity(v);
	}
	// The last collision pass's joints would push the bodies off their new places.
	dJointGroupEmpty(game.GetWorld().GetContactGroup());
}

// One "PL1 vs PC" match with player 1 idle, the computer at level on a random field each turn:
// its shots planned as goals and the goals that followed them before its next shot. Frames last
// FRAME_MS, or SHORTEST_FRAME to LONGEST_FRAME drawn from the seed when irregular.
void MeasureConversion(uint32_t seed, int level, bool irregular, Conversion &c) {
	ManualClock clock(1000);
	FrameTimer timer(&clock);
	g_timer = &timer;
	const int shootTime = g_options.shootTime;
	// Player 1's idle turns outlast the longest shot the search follows (4 s).
	g_options.mode = MODE_PL1_VS_PC;
	g_options.shootTime = 5;
	InGame game;
	game.SetSeed(seed);
	game.SetDrawing(false);
	game.SetComputerLevel(2, level);
	if (!game.Init()) {
		fprintf(stderr, "match set-up failed; run from the build directory\n");
		g_options.mode = MODE_PC_VS_PC;
		g_options.shootTime = shootTime;
		g_timer = nullptr;
		return;
	}
	const auto *player = dynamic_cast<const PlanningComputerPlayer *>(game.GetControls().GetComputer(2));
	Random frames(seed * 7919u + 1), fields(seed * 104729u + 3);
	bool pending = false; // a planned goal waits to be scored
	int goalsBefore = 0;
	long placed = -1; // the computer's shots before the last turn given a random field
	for (int frame = 0; frame < 400000; frame++) {
		clock.Advance(irregular ? SHORTEST_FRAME + frames.Below(LONGEST_FRAME - SHORTEST_FRAME + 1) : FRAME_MS);
		const long shots = player ? player->GetShotCount() : 0;
		const int goals = game.GetDisc(2)->GetGoals();
		const bool running = game.Frame();
		if (player && player->GetShotCount() != shots) {
			c.shots++;
			pending = player->WasLastShotAPlannedGoal();

			c.planned += pending;
			goalsBefore = goals;
		}
		if (pending && game.GetDisc(2)->GetGoals() > goalsBefore) {
			c.converted++;
			pending = false;
		}
		if (!running) {
			break;
		}
		// Each of the computer's turns ends in its shot.
		if (player && game.GetActiveDisc() == game.GetDisc(2) && game.GetShotTimer() &&
			player->GetShotCount() != placed) {
			placed = player->GetShotCount();
			PlaceAtRandom(game, fields);
		}
	}
	c.goals += game.GetDisc(2)->GetGoals();
	game.Deinit();
	g_options.mode = MODE_PC_VS_PC;
	g_options.shootTime = shootTime;
	g_timer = nullptr;
}

// A planner's turns on random fields of the match's arena, counting the heap allocations of
// every frame after the first turn's.
void CountPlannerAllocations(int level) {
	ManualClock clock(1000);
	FrameTimer timer(&clock);
	g_timer = &timer;
	InGame game;
	game.SetSeed(5);
	game.SetDrawing(false);
	if (!game.Init()) {
		g_timer = nullptr;
		return;
	}
	Random random(9);
	SystemSearchClock searchClock;
	// Made after the match, so it goes before the match's physics library closes.
	std::unique_ptr<PlanningComputerPlayer> player(new PlanningComputerPlayer(random, searchClock, level));
	player->SetUpField(*game.GetWorld().GetArena(), 1);
	long frames = 0, counted = 0;
	for (int turn = 0; turn < 20; turn++) {
		FieldView view = {};
		float *places[3] = {view.ball, view.own, view.other};
		for (float *p : places) {
			p[0] = 100.0f * random.Unit() - 50.0f;
			p[1] = 60.0f * random.Unit() - 30.0f;
		}
		view.ballVelocity[0] = 40.0f * random.Signed();
		view.aim[0] = view.own[0] + 2.0f;
		view.aim[1] = view.own[1];
		view.dt = FRAME_MS;
		view.physicsLag = FRAME_MS;
		player->StartTurn();
		for (view.turnLeft = 2000; view.turnLeft > 0; view.turnLeft -= FRAME_MS) {
			const long before = allocations;
			counting = turn > 0;
			const int bits = player->Decide(view);
			counting = false;
			// The physics and the aim move on as the match's would.
			view.step += StepsFor(FRAME_MS);
			const float move = Aim::SPEED * FRAME_MS;
			view.aim[0] +=
				(bits & ComputerPlayer::THINK_RIGHT ? move : 0.0f) - (bits & ComputerPlayer::THINK_LEFT ? move : 0.0f);
			view.aim[1] +=
				(bits & ComputerPlayer::THINK_UP ? move : 0.0f) - (bits & ComputerPlayer::THINK_DOWN ? move : 0.0f);
			if (turn > 0) {
				frames++;
				counted += allocations - before;
			}
		}
	}
	printf("  %s: %ld heap allocations in %ld planner frames after the first turn (aim 0)\n", LEVEL_NAMES[level],
		counted, frames);
	player.reset();
	game.Deinit();
	g_timer = nullptr;
}

} // namespace

int main(int argc, char **argv) {
	const int perPairing = argc > 1 ? std::max(2, atoi(argv[1])) : 20;
	const uint32_t firstSeed = argc > 2 ? static_cast<uint32_t>(atoi(argv[2])) : 1000;
	MatchRig rig("bench_levels.log", 320, 240);
	if (!rig.IsReady()) {
		return 1;
	}
	g_options.arena = -1; // both arenas, by the seed

	Pairing pairings[3] = {{LEVEL_HARD, LEVEL_NORMAL}, {LEVEL_EXPERT, LEVEL_HARD}, {LEVEL_NORMAL, LEVEL_EASY}};
	const auto wallStart = std::chrono::steady_clock::now();
	const char *chosen = argc > 3 ? argv[3] : "0123";
	for (Pairing &p : pairings) {
		if (!strchr(chosen, '0' + static_cast<int>(&p - pairings))) {
			continue;
		}
		for (int i = 0; i < perPairing; i++) {
			const uint32_t seed = firstSeed + i / 2;
			const bool swapped = i % 2 == 1;
			int goals[2] = {0, 0};
			const bool finished =
				swapped ? PlayMatch(seed, p.second, p.first, goals) : PlayMatch(seed, p.first, p.second, goals);
			const int mine = goals[swapped ? 1 : 0], theirs = goals[swapped ? 0 : 1];
			p.matches++;
			p.unfinished += !finished;
			p.goals += mine + theirs;
			p.wins += mine > theirs;
			p.draws += mine == theirs;
			p.losses += mine < theirs;
			printf("  %s vs %s, seed %u, %s on side %d: %d:%d\n", LEVEL_NAMES[p.first], LEVEL_NAMES[p.second], seed,
				LEVEL_NAMES[p.first], swapped ? 2 : 1, mine, theirs);
			fflush(stdout);
		}
	}
	Conversion conversions[2][2]; // HARD, EXPERT; steady, irregular
	const int conversionMatches = std::max(2, perPairing / 2);
	if (strchr(chosen, '3')) {
		for (int l = 0; l < 2; l++) {
			for (int irregular = 0; irregular < 2; irregular++) {
				for (int i = 0; i < conversionMatches; i++) {
					MeasureConversion(
						firstSeed + i, l ? LEVEL_EXPERT : LEVEL_HARD, irregular, conversions[l][irregular]);
				}
			}
		}
	}
	const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();

	printf("\n\"PC vs PC\", 4 x 1 minute, shoot time %d s, 16 ms per frame, drawing off, %d matches per pairing\n",
		g_options.shootTime, perPairing);
	static const double aims[3] = {0.75, 0.60, 0.75};
	for (int i = 0; i < 3; i++) {
		const Pairing &p = pairings[i];
		if (p.matches == 0) {
			continue;
		}
		const int decided = p.wins + p.losses;
		printf("  %-6s vs %-6s: wins %2d, draws %2d, losses %2d (win %.0f%%, draw %.0f%%, loss %.0f%%); "
			   "wins of the decided %.0f%% (aim %.0f%%); goals per match %.1f%s\n",
			LEVEL_NAMES[p.first], LEVEL_NAMES[p.second], p.wins, p.draws, p.losses, 100.0 * p.wins / p.matches,
			100.0 * p.draws / p.matches, 100.0 * p.losses / p.matches, decided ? 100.0 * p.wins / decided : 0.0,
			100.0 * aims[i], static_cast<double>(p.goals) / p.matches, p.unfinished ? " (some did not finish)" : "");
	}
	if (strchr(chosen, '3')) {
		printf("goals planned and scored, \"PL1 vs PC\" with player 1 idle, shoot time 5 s, a random field at each of "
			   "the computer's turns, %d matches each (aims: 90%% with steady frames, 75%% with irregular ones)\n",
			conversionMatches);
		for (int l = 0; l < 2; l++) {
			for (int irregular = 0; irregular < 2; irregular++) {
				const Conversion &c = conversions[l][irregular];
				char frames[32];
				snprintf(frames, sizeof(frames), irregular ? "%d-%d ms frames" : "%d ms frames",
					irregular ? SHORTEST_FRAME : FRAME_MS, LONGEST_FRAME);
				printf("  %-6s, %-14s: %ld of %ld planned goals scored (%.0f%%); %ld shots, %ld goals\n",
					LEVEL_NAMES[l ? LEVEL_EXPERT : LEVEL_HARD], frames, c.converted, c.planned,
					c.planned ? 100.0 * c.converted / c.planned : 0.0, c.shots, c.goals);
			}
		}
	}
	printf("planner processor time per frame it works in (aim: never over 2 ms)\n");
	for (int level : {LEVEL_HARD, LEVEL_EXPERT}) {
		const PlannerTimes &t = g_times[level];
		printf("  %-6s: %ld frames, mean %.3f ms, max %.3f ms, %ld over 2 ms; the longest whole match frame with a "
			   "slice %.3f ms on the wall clock (%ld frames over 2 ms there used under 2 ms of processor time)\n",
			LEVEL_NAMES[level], t.frames, t.frames ? t.totalMs / t.frames : 0.0, t.maxMs, t.over2Ms, t.maxFrameMs,
			t.heldUp);
		printf(
			"          %.0f simulated steps per slice on average; the slices over 2 ms did %d at most; %d slices cut "
			"short by the safety cap\n",
			t.frames ? static_cast<double>(t.steps) / t.frames : 0.0, t.overMaxSteps, t.cuts);
	}
	printf("heap allocations of the planners\n");
	CountPlannerAllocations(LEVEL_HARD);
	CountPlannerAllocations(LEVEL_EXPERT);
	printf("wall time %.1f s\n", wallSeconds);

	return 0;
}
