#include "world/ShotPlanner.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>

#include "core/LogFile.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/ComputerPlayer.h"
#include "world/Disc.h"
#include "world/SearchClock.h"

namespace {

const float PI = 3.14159265f;
const float CONTACT_DISTANCE = Ball::RADIUS + Disc::RADIUS; // units between centres at a hit
const float GRAVITY = 9.81f;
const float AIM_OFFSET_STEP = 0.006f; // radians between the turns of a straight hit
const float MOUTH_SPREAD = 0.55f;     // share of the half-width the ball is sent across
const float GUARD_DEPTH = 0.22f;      // share of the way from the own goal to the ball
// Disc braking: stopping distance = DISC_STOP × aim² for a shot of that aim length.
const float DISC_DECELERATION = Disc::FRICTION * GRAVITY / Disc::MASS;
const float DISC_STOP = Disc::SHOT_FACTOR * Disc::SHOT_FACTOR / (2.0f * DISC_DECELERATION);
const int LEAD_STEPS = 20;     // physics steps between the times a lead hit looks ahead
const float LEAD_SPEED = 5.0f; // units per second the ball must roll for lead hits

float Length(float x, float y) {
	return std::sqrt(x * x + y * y);
}

} // namespace

ShotPlanner::ShotPlanner()
	: settings(), side(1), attack(nullptr), defend(nullptr), goalHalfWidth(0.0f), phase(PHASE_IDLE), aimNow(),
	  aimStep(0.0f), frameMs(16), frameNow(0), baseStep(0), startWait(COLLISION_WAIT), stepNow(0), lagNow(0),
	  patience(0), lastFire(0), urgent(false), fanPhase(0.0f), startAt(), startVelocity(), predicted(),
	  predictedCount(0), simulating(false), candidates(), candidateCount(0), next(0), tried(0), best(-1), sliceCount(0),
	  lastSliceMicros(0), lastSliceSteps(0), cutCount(0), forecast() {}

bool ShotPlanner::SetUp(const Arena &arena, int side_, const Settings &settings_) {
	if (!simulator.SetUp(arena)) {
		return false;
	}
	settings = settings_;
	judge.SetUp(arena, side_);
	side = side_;
	attack = judge.GetAttack();
	defend = judge.GetDefend();
	goalHalfWidth = judge.GetGoalHalfWidth();
	cutCount = 0;
	phase = PHASE_IDLE;
	return true;
}

void ShotPlanner::Release() {
	simulator.Release();
	phase = PHASE_IDLE;
	best = -1;
}

void ShotPlanner::Begin(const FieldView &view, int patience_, int lastFire_, float fanPhase_) {
	const float *own = view.own, *other = view.other;
	const float *ownV = view.ownVelocity, *otherV = view.otherVelocity;
	const float *discs[2] = {side == 1 ? own : other, side == 1 ? other : own};
	const float *discVelocities[2] = {side == 1 ? ownV : otherV, side == 1 ? otherV : ownV};
	const float *places[3] = {view.ball, discs[0], discs[1]};
	const float *velocities[3] = {view.ballVelocity, discVelocities[0], discVelocities[1]};
	for (int i = 0; i < 3; i++) {
		for (int k = 0; k < 2; k++) {
			startAt[i][k] = places[i][k];
			startVelocity[i][k] = velocities[i][k];
		}
	}
	frameMs = view.dt > 0 ? view.dt : 16;
	aimStep = Aim::SPEED * frameMs;
	lastFire = std::max(0, lastFire_);
	patience = std::min(std::max(0, patience_), lastFire);
	urgent = false;
	fanPhase = fanPhase_;
	baseStep = view.step;
	startWait = view.collisionWait;
	Follow(view, 0);
	predictedCount = 0;
	candidateCount = 0;
	next = 0;
	tried = 0;
	best = -1;
	simulating = false;
	phase = simulator.IsSetUp() ? PHASE_PREDICT : PHASE_DONE;
}

void ShotPlanner::Follow(const FieldView &view, int frame) {
	frameNow = frame;
	aimNow[0] = view.aim[0];
	aimNow[1] = view.aim[1];
	stepNow = view.step - baseStep;
	lagNow = view.physicsLag;
}

int ShotPlanner::GetShotStepNow() const {
	return stepNow + StepsFor(lagNow);
}

int ShotPlanner::ShotStep(int frame) const {
	return stepNow + StepsFor(lagNow + (frame - frameNow) * frameMs);
}

int ShotPlanner::ViewStep(int frame) const {
	return frame <= frameNow ? stepNow : ShotStep(frame - 1);
}

int ShotPlanner::WaitAt(int step) const {
	return CollisionWaitAfter(startWait, step);
}

bool ShotPlanner::Work(SearchClock &clock, int spent) {
	const int64_t start = clock.Microseconds();
	int steps = spent;
	while (phase != PHASE_DONE && phase != PHASE_IDLE && steps < settings.stepsPerSlice) {
		const int64_t used = clock.Microseconds() - start;
		if (used >= settings.capMicros) {
			// The machine cannot do the slice's steps in time: play goes on, but the search now
			// depends on the machine.
			if (cutCount++ == 0) {
				Log(LOG_WARNING,
					"INGAME: The computer's search for side %d was cut short after %.1f ms; this match no longer "
					"replays from its seed",
					side, used / 1000.0);
			}
			break;
		}
		switch (phase) {
		case PHASE_PREDICT: Predict(steps); break;
		case PHASE_EVALUATE: Evaluate(steps); break;
		default: break;
		}
	}
	sliceCount++;
	lastSliceMicros = clock.Microseconds() - start;
	lastSliceSteps = steps;
	return phase == PHASE_DONE;
}

// ---------------------------------------------------------------------------------------------
// Predicting the field while the side aims

void ShotPlanner::Predict(int &steps) {
	// The latest shot goes at the end of the last frame it may be fired in; lead hits look
	// further ahead.
	const int horizon = std::min(MAX_PREDICTED, ShotStep(lastFire) + 2 + settings.leads * LEAD_STEPS);
	if (!simulating) {
		simulator.SetTimeCap(horizon * PHYSICS_STEP);
		simulator.Place(startAt[0], startAt[1], startAt[2], startWait);
		simulator.SetStartVelocities(startVelocity[0], startVelocity[1], startVelocity[2]);
		simulator.Coast();
		simulating = true;
	}
	for (int i = 0; i < CHUNK && predictedCount < horizon; i++) {
		float at[3][2], velocity[3][2];
		simulator.ReadBodies(at, velocity);
		for (int b = 0; b < 3; b++) {
			float *record = predicted[predictedCount][b];
			record[0] = at[b][0];
			record[1] = at[b][1];
			record[2] = velocity[b][0];
			record[3] = velocity[b][1];
		}
		predictedCount++;
		if (simulator.IsOver()) {
			break; // at rest (or a goal): the field stays as it is
		}
		simulator.Advance(1);
		steps++;
	}
	if (predictedCount >= horizon || simulator.IsOver()) {
		simulating = false;
		urgent = simulator.GetOutcome().goalFor == 3 - side;
		MakeCandidates();
		phase = candidateCount > 0 ? PHASE_EVALUATE : PHASE_DONE;
	}
}

const float *ShotPlanner::PredictedAt(int step) const {
	step = std::max(0, std::min(step, predictedCount - 1));
	return &predicted[step][0][0];
}

// ---------------------------------------------------------------------------------------------
// Candidates

void ShotPlanner::AddCandidate(int kind, float direction, float strength, float goalY, int lead) {
	if (candidateCount >= MAX_CANDIDATES) {
		return;
	}
	Candidate &c = candidates[candidateCount++];
	memset(&c, 0, sizeof(c));
	c.kind = kind;
	c.direction = direction;
	c.strength = strength;
	c.goalY = goalY;
	c.lead = lead;
}

void ShotPlanner::AddLeads() {
	// Only a rolling ball is worth meeting further on.
	const float *ball = PredictedAt(0);
	if (Length(ball[2], ball[3]) < LEAD_SPEED) {
		return;
	}
	for (int k = 1; k <= settings.leads; k++) {
		AddCandidate(KIND_LEAD, 0.0f, MAX_SHOT, 0.0f, k * LEAD_STEPS);
		AddCandidate(KIND_LEAD, 0.0f, 0.6f * MAX_SHOT, 0.0f, k * LEAD_STEPS);
	}
}

void ShotPlanner::MakeCandidates() {
	candidateCount = 0;
	// With the ball on its way into the own goal, meeting it comes first.
	if (urgent) {
		AddLeads();
	}
	// Straight hits next, the likeliest goals, so that a cut-short search has tried them.
	const int points = std::max(1, settings.goalPoints);
	for (int offset = 0; offset <= settings.aimOffsets; offset++) {
		for (int sign = offset == 0 ? 1 : -1; sign <= 1; sign += 2) {
			for (int p = 0; p < points; p++) {
				const float across = points > 1 ? 2.0f * p / (points - 1) - 1.0f : 0.0f;
				const float goalY = attack[1] + MOUTH_SPREAD * goalHalfWidth * across;
				const float turn = sign * AIM_OFFSET_STEP * offset * (1.0f + 0.5f * offset);
				AddCandidate(KIND_STRAIGHT, turn, MAX_SHOT, goalY);
				AddCandidate(KIND_STRAIGHT, turn, 0.7f * MAX_SHOT, goalY);
			}
		}
	}
	if (!urgent) {
		AddLeads();
	}
	AddCandidate(KIND_GUARD, 0.0f, 1.0f, 0.0f);
	AddCandidate(KIND_GUARD, 0.0f, 1.3f, 0.0f);
	AddCandidate(KIND_DISC, 0.0f, MAX_SHOT, 0.0f);
	for (int d = 0; d < settings.fanDirections; d++) {
		for (int s = 1; s <= settings.fanStrengths; s++) {
			const float heading = 2.0f * PI * (d + fanPhase) / settings.fanDirections;
			AddCandidate(KIND_FAN, heading, MAX_SHOT * s / settings.fanStrengths, 0.0f);
		}
	}
}

bool ShotPlanner::Resolve(Candidate &c) const {
	const int ownIndex = side == 1 ? 1 : 2;
	const int otherIndex = 3 - ownIndex;
	const int earliest = urgent ? 0 : patience;
	int fireFrame = std::max(frameNow, earliest);
	int di = 0, dj = 0;
	float own[2] = {0.0f, 0.0f};
	// The disc and the ball move on while the side steers: settle on the shot for the frame it
	// goes in.
	for (int pass = 0; pass < 3; pass++) {
		const float *field = PredictedAt(ShotStep(fireFrame));
		const float *ball = field;
		own[0] = field[4 * ownIndex];
		own[1] = field[4 * ownIndex + 1];
		float heading = c.direction;
		float strength = c.strength;
		switch (c.kind) {
		case KIND_STRAIGHT: {
			const float u[2] = {attack[0] - ball[0], c.goalY - ball[1]};
			const float l = Length(u[0], u[1]);
			if (l <= 0.0f) {
				return false;
			}
			const float ghost[2] = {ball[0] - CONTACT_DISTANCE * u[0] / l, ball[1] - CONTACT_DISTANCE * u[1] / l};
			heading += std::atan2(ghost[1] - own[1], ghost[0] - own[0]);
			break;
		}
		case KIND_GUARD: {
			// A spot between the own goal and the ball; the shot stops the disc there.
			const float spot[2] = {
				defend[0] + GUARD_DEPTH * (ball[0] - defend[0]), defend[1] + GUARD_DEPTH * (ball[1] - defend[1])};
			heading = std::atan2(spot[1] - own[1], spot[0] - own[0]);
			strength =
				std::min(MAX_SHOT, c.strength * std::sqrt(Length(spot[0] - own[0], spot[1] - own[1]) / DISC_STOP));
			break;
		}
		case KIND_DISC: heading = std::atan2(field[4 * otherIndex + 1] - own[1], field[4 * otherIndex] - own[0]); break;
		case KIND_LEAD: {
			const float *later = PredictedAt(ShotStep(fireFrame) + c.lead);
			heading = std::atan2(later[1] - own[1], later[0] - own[0]);
			break;
		}
		default: break;
		}
		// A step's rounding must leave the aim inside the reach the match holds it to.
		strength = std::min(strength, Aim::MAX_LENGTH - aimStep);
		// The steering reaches only so far in the turn: shorten the shot until it does.
		int frames = 0;
		for (;; strength *= 0.85f) {
			if (strength < 2.0f) {
				return false;
			}
			const float want[2] = {own[0] + strength * std::cos(heading), own[1] + strength * std::sin(heading)};
			di = static_cast<int>(std::lround((want[0] - aimNow[0]) / aimStep));
			dj = static_cast<int>(std::lround((want[1] - aimNow[1]) / aimStep));
			frames = std::max(std::abs(di), std::abs(dj));
			if (frameNow + frames <= lastFire) {
				break;
			}
		}
		fireFrame = std::max(frameNow + frames, earliest);
	}
	c.fireFrame = fireFrame;
	c.fireStep = ShotStep(fireFrame);
	c.aimPoint[0] = aimNow[0] + di * aimStep;
	c.aimPoint[1] = aimNow[1] + dj * aimStep;
	// The aim's line runs from where the disc stands as the shot's frame steers.
	const float *origin = PredictedAt(ViewStep(fireFrame));
	c.shot[0] = c.aimPoint[0] - origin[4 * ownIndex];
	c.shot[1] = c.aimPoint[1] - origin[4 * ownIndex + 1];
	const float length = Length(c.shot[0], c.shot[1]);
	return length >= 1.0f && length <= Aim::MAX_LENGTH;
}

// ---------------------------------------------------------------------------------------------
// Trying them

void ShotPlanner::Evaluate(int &steps) {
	if (!simulating) {
		while (next < candidateCount && !Resolve(candidates[next])) {
			candidates[next].value = -2.0f * GOAL_VALUE;
			next++;
		}
		if (next >= candidateCount) {
			phase = PHASE_DONE;
			return;
		}
		const Candidate &c = candidates[next];
		simulator.SetTimeCap(settings.shotCap);
		PlaceBodies(PredictedAt(c.fireStep), WaitAt(c.fireStep));
		const sgVec3 aim = {-c.shot[0], -c.shot[1], 0.0f};
		simulator.Shoot(side, aim);
		simulating = true;
	}
	const int before = simulator.GetOutcome().time;
	const bool over = simulator.Advance(CHUNK);
	steps += (simulator.GetOutcome().time - before) / PHYSICS_STEP + 1;
	if (!over) {
		return;
	}
	simulating = false;
	tried++;
	Candidate &c = candidates[next];
	const ShotSimulator::Outcome &outcome = simulator.GetOutcome();
	c.value = judge.JudgeOutcome(outcome);
	c.endTime = outcome.time;
	c.end[0][0] = outcome.ball[0];
	c.end[0][1] = outcome.ball[1];
	for (int d = 0; d < 2; d++) {
		c.end[1 + d][0] = outcome.disc[d][0];
		c.end[1 + d][1] = outcome.disc[d][1];
	}
	Judged();
}

void ShotPlanner::PlaceBodies(const float *field, int wait) {
	const float at[3][2] = {{field[0], field[1]}, {field[4], field[5]}, {field[8], field[9]}};
	const float velocity[3][2] = {{field[2], field[3]}, {field[6], field[7]}, {field[10], field[11]}};
	simulator.Place(at[0], at[1], at[2], wait);
	simulator.SetStartVelocities(velocity[0], velocity[1], velocity[2]);
}

void ShotPlanner::Pick() {
	// Only what has been tried and the steering can still reach from where the aim stands now.
	const int framesLeft = lastFire - frameNow;
	for (int i = 0; i < next; i++) {
		const Candidate &c = candidates[i];
		const float way = std::max(std::fabs(c.aimPoint[0] - aimNow[0]), std::fabs(c.aimPoint[1] - aimNow[1]));
		if (c.value > -GOAL_VALUE * 2.0f && way <= (framesLeft + 0.5f) * aimStep &&
			(best < 0 || c.value > candidates[best].value)) {
			best = i;
		}
	}
}

bool ShotPlanner::Confirm(const float aim[2], const float origin[2], int &spent) {
	assert(best >= 0);
	Candidate &c = candidates[best];
	const int step = GetShotStepNow();
	const float shot[2] = {aim[0] - origin[0], aim[1] - origin[1]};
	if (step == c.fireStep && std::fabs(shot[0] - c.shot[0]) < SAME_SHOT &&
		std::fabs(shot[1] - c.shot[1]) < SAME_SHOT) {
		forecast.goal = c.value >= GOAL_VALUE / 2;
		forecast.time = c.endTime;
		memcpy(forecast.end, c.end, sizeof(forecast.end));
		return true;
	}
	// The frames or the steering have left the plan: try the shot as it would go now.
	simulator.SetTimeCap(settings.shotCap);
	PlaceBodies(PredictedAt(step), WaitAt(step));
	const sgVec3 vector = {-shot[0], -shot[1], 0.0f};
	simulator.Shoot(side, vector);
	const ShotSimulator::Outcome &outcome = simulator.Run();
	spent += outcome.time / PHYSICS_STEP + 1;
	simulating = false; // a run this one broke into starts again from its start
	tried++;
	const float value = judge.JudgeOutcome(outcome);
	const bool goal = value >= GOAL_VALUE / 2;
	if (c.value >= GOAL_VALUE / 2 ? goal : value >= c.value - CHECK_MARGIN) {
		forecast.goal = goal;
		forecast.time = outcome.time;
		memcpy(forecast.end[0], outcome.ball, sizeof(outcome.ball));
		memcpy(forecast.end[1], outcome.disc, sizeof(outcome.disc));
		return true;
	}
	c.checked = c.checks == 0 ? value : std::max(c.checked, value);
	c.fireStep = step + 1; // another frame's step may go better
	if (++c.checks >= MAX_CHECKS) {
		c.value = c.checked;
		const int given = best;
		best = -1;
		Pick();
		if (best < 0) {
			best = given; // nothing else within reach
		}
	}
	return false;
}

void ShotPlanner::Judged() {
	if (best < 0 || candidates[next].value > candidates[best].value) {
		best = next;
	}
	next++;
	phase = PHASE_EVALUATE;
}
