#include "world/PlanningComputerPlayer.h"

#include <algorithm>

#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/SearchClock.h"

namespace {

const int DEFAULT_FRAME = 16;      // ms, when a frame has no length
const int STEPS_PER_SLICE = 1400;  // simulated steps per frame, about 1.5 ms here

} // namespace

PlanningComputerPlayer::PlanningComputerPlayer(Random &random_, SearchClock &clock_, int level_)
	: ComputerPlayer(random_), clock(clock_), level(level_), turnStarting(true), frame(0), searchFrames(0),
	  steerFrames(0), aimStep(0.0f) {}

ShotPlanner::Settings PlanningComputerPlayer::SettingsFor(int level) {
	ShotPlanner::Settings settings;
	settings.fanDirections = 24;
	settings.fanStrengths = 3;
	settings.goalPoints = 3;
	settings.aimOffsets = 2;
	settings.replies = 0;
	settings.repliedCandidates = 0;
	settings.stepsPerSlice = STEPS_PER_SLICE;
	settings.sliceMicros = SLICE_MICROS;
	settings.shotCap = 4000;
	settings.replyCap = 2500;
	if (level == LEVEL_EXPERT) {
		settings.fanDirections = 36;
		settings.aimOffsets = 4;
		settings.replies = 12;
		settings.repliedCandidates = 6;
	}
	return settings;
}

float PlanningComputerPlayer::SearchShare(int level) {
	return level == LEVEL_EXPERT ? 0.45f : 0.3f;
}

bool PlanningComputerPlayer::SetUpField(const Arena &arena, int side) {
	ComputerPlayer::SetUpField(arena, side);
	return planner.SetUp(arena, side, SettingsFor(level));
}

void PlanningComputerPlayer::BeginTurn(const FieldView &view) {
	const int frameMs = view.dt > 0 ? view.dt : DEFAULT_FRAME;
	// Frames this turn has: the turn ends in the frame its time runs out, and the shot must go
	// the frame before at the latest.
	const int turnFrames = std::max(1, (view.turnLeft + frameMs - 1) / frameMs);
	searchFrames = std::min(static_cast<int>(SearchShare(level) * turnFrames), std::max(0, turnFrames - 3));
	steerFrames = std::max(0, turnFrames - 2 - searchFrames);
	aimStep = Aim::SPEED * frameMs;
	frame = 0;
	FieldView first = view;
	first.dt = frameMs;
	planner.Begin(first, searchFrames, steerFrames);
}

int PlanningComputerPlayer::Decide(const FieldView &view) {
	if (turnStarting) {
		turnStarting = false;
		BeginTurn(view);
	} else {
		frame++;
	}
	if (frame < searchFrames && !planner.IsDone()) {
		planner.Work(clock);
		return 0;
	}
	if (frame < searchFrames) {
		return 0; // the shots were tried for the field as it will be when steering is done
	}
	planner.Stop();
	const ShotPlanner::Candidate *best = planner.GetBest();
	if (!best) {
		return ComputerPlayer::Decide(view); // nothing tried: play as "NORMAL" does
	}
	// The last frame the shot can still be fired in: fire with the aim as it stands.
	if (view.turnLeft <= view.dt) {
		return THINK_FIRE;
	}
	const int bits = SteerBits(view.aim[0], view.aim[1], best->aimPoint, 0.5f * aimStep);
	return bits ? bits : THINK_FIRE;
}
