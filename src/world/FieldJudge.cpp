#include "world/FieldJudge.h"

#include <algorithm>
#include <cmath>

#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"

namespace {

const float GRAVITY = 9.81f;
const float DISC_DECELERATION = Disc::FRICTION * GRAVITY / Disc::MASS;
const float BALL_DECELERATION = Ball::FRICTION * GRAVITY / Ball::MASS;

// How a field is judged (values per full effect).
const float PROGRESS_VALUE = 100.0f; // the ball from the own goal line to the other
const float DANGER_VALUE = 160.0f;   // the ball right before the own goal
const float DANGER_REACH = 45.0f;    // units from the own goal where danger begins
const float THREAT_VALUE = 120.0f;   // the other disc lined up behind the ball at the own goal
const float THREAT_REACH = 80.0f;    // units between the other disc and the ball
const float COVER_VALUE = 40.0f;     // the own disc off the line from the ball to the own goal
const float COVER_REACH = 30.0f;     // units off that line where cover counts as lost
const float CHANCE_VALUE = 30.0f;    // the own disc lined up behind the ball at the other goal

float Length(float x, float y) {
	return std::sqrt(x * x + y * y);
}

// The cosine between a and b, 0 when either has no length.
float Cosine(float ax, float ay, float bx, float by) {
	const float la = Length(ax, ay), lb = Length(bx, by);
	return la > 0.0f && lb > 0.0f ? (ax * bx + ay * by) / (la * lb) : 0.0f;
}

// Distance of p from the segment a–b.
float SegmentDistance(const float p[2], const float a[2], const float b[2]) {
	const float ab[2] = {b[0] - a[0], b[1] - a[1]};
	const float ap[2] = {p[0] - a[0], p[1] - a[1]};
	const float l2 = ab[0] * ab[0] + ab[1] * ab[1];
	float t = l2 > 0.0f ? (ap[0] * ab[0] + ap[1] * ab[1]) / l2 : 0.0f;
	t = std::min(1.0f, std::max(0.0f, t));
	return Length(ap[0] - t * ab[0], ap[1] - t * ab[1]);
}

float Square(float x) {
	return x * x;
}

} // namespace

FieldJudge::FieldJudge() : side(1), attack(), defend(), goalHalfWidth(0.0f), bounds() {}

void FieldJudge::SetUp(const Arena &arena, int side_) {
	side = side_;
	const bool attacksGoal2 = side == 1;
	attack[0] = attacksGoal2 ? arena.GetGoal2CentreX() : arena.GetGoal1CentreX();
	attack[1] = attacksGoal2 ? arena.GetGoal2CentreY() : arena.GetGoal1CentreY();
	defend[0] = attacksGoal2 ? arena.GetGoal1CentreX() : arena.GetGoal2CentreX();
	defend[1] = attacksGoal2 ? arena.GetGoal1CentreY() : arena.GetGoal2CentreY();
	goalHalfWidth = arena.GetGoalHalfWidth();
	bounds[0] = bounds[1] = 1e9f;
	bounds[2] = bounds[3] = -1e9f;
	for (int i = 0; i < arena.GetWallCount(); i++) {
		const float *s = arena.GetWallSegment(i);
		for (int end = 0; end < 2; end++) {
			bounds[0] = std::min(bounds[0], s[2 * end]);
			bounds[1] = std::min(bounds[1], s[2 * end + 1]);
			bounds[2] = std::max(bounds[2], s[2 * end]);
			bounds[3] = std::max(bounds[3], s[2 * end + 1]);
		}
	}
	if (arena.GetWallCount() == 0) {
		bounds[0] = bounds[1] = -1e3f;
		bounds[2] = bounds[3] = 1e3f;
	}
}

float FieldJudge::JudgeOutcome(const ShotSimulator::Outcome &o) const {
	if (o.goalFor == side) {
		return GOAL_VALUE - 0.01f * o.time; // sooner is surer
	}
	if (o.goalFor) {
		return -GOAL_VALUE;
	}
	// What still moves at the cap rolls on, braked, to about here.
	float ends[3][2];
	const float *places[3] = {o.ball, o.disc[0], o.disc[1]};
	const float *velocities[3] = {o.ballVelocity, o.discVelocity[0], o.discVelocity[1]};
	for (int b = 0; b < 3; b++) {
		const float speed = Length(velocities[b][0], velocities[b][1]);
		const float deceleration = b == 0 ? BALL_DECELERATION : DISC_DECELERATION;
		const float further = speed > 0.0f ? speed / (2.0f * deceleration) : 0.0f; // distance / speed
		ends[b][0] = std::min(bounds[2], std::max(bounds[0], places[b][0] + further * velocities[b][0]));
		ends[b][1] = std::min(bounds[3], std::max(bounds[1], places[b][1] + further * velocities[b][1]));
	}
	return Judge(ends[0], ends[side == 1 ? 1 : 2], ends[side == 1 ? 2 : 1]);
}

float FieldJudge::Judge(const float ball[2], const float own[2], const float other[2]) const {
	const float span = attack[0] - defend[0];
	const float progress = span != 0.0f ? (ball[0] - defend[0]) / span : 0.5f;
	float value = PROGRESS_VALUE * progress;
	// The ball before the own goal.
	const float fromGoal = Length(ball[0] - defend[0], ball[1] - defend[1]);
	value -= DANGER_VALUE * Square(std::max(0.0f, 1.0f - fromGoal / DANGER_REACH));
	// The other disc behind the ball, lined up with the own goal, and near enough to hit it.
	const float lined = Cosine(ball[0] - other[0], ball[1] - other[1], defend[0] - ball[0], defend[1] - ball[1]);
	const float near = std::max(0.0f, 1.0f - Length(ball[0] - other[0], ball[1] - other[1]) / THREAT_REACH);
	value -= THREAT_VALUE * std::max(0.0f, lined) * near;
	// The own disc on the way from the ball to the own goal.
	value -= COVER_VALUE * std::min(SegmentDistance(own, ball, defend), COVER_REACH) / COVER_REACH;
	// The own disc behind the ball, lined up with the other goal.
	const float chance = Cosine(ball[0] - own[0], ball[1] - own[1], attack[0] - ball[0], attack[1] - ball[1]);
	value += CHANCE_VALUE * std::max(0.0f, chance);
	return value;
}
