#include "world/ComputerPlayer.h"

#include <plib/sg.h>

#include <algorithm>
#include <cmath>

#include "core/Random.h"
#include "options/OptionsRecord.h"
#include "world/Arena.h"
#include "world/EasyComputerPlayer.h"
#include "world/PlanningComputerPlayer.h"

namespace {

float Length(float x, float y) {
	return std::sqrt(x * x + y * y);
}

} // namespace

ComputerPlayer::ComputerPlayer(Random &random_) : mode(MODE_ATTACK), random(random_) {
	goal[0] = goal[1] = 0.0f;
	desiredAim[0] = desiredAim[1] = 0.0f;
	target[0] = target[1] = 0.0f;
}

std::unique_ptr<ComputerPlayer> MakeComputerPlayer(int level, Random &random, SearchClock &clock) {
	switch (level) {
	case LEVEL_EASY: return std::unique_ptr<ComputerPlayer>(new EasyComputerPlayer(random));
	case LEVEL_HARD:
	case LEVEL_EXPERT: return std::unique_ptr<ComputerPlayer>(new PlanningComputerPlayer(random, clock, level));
	default: return std::unique_ptr<ComputerPlayer>(new ComputerPlayer(random));
	}
}

int ComputerPlayer::GetLevel() const {
	return LEVEL_NORMAL;
}

bool ComputerPlayer::SetUpField(const Arena &arena, int side) {
	if (side == 2) {
		SetGoal(arena.GetGoal1CentreX(), arena.GetGoal1CentreY());
	} else {
		SetGoal(arena.GetGoal2CentreX(), arena.GetGoal2CentreY());
	}
	return true;
}

int ComputerPlayer::Decide(const FieldView &view) {
	return Think(view.ball[0], view.ball[1], view.aim[0], view.aim[1], view.own[0], view.own[1], view.other[0],
		view.other[1], view.dt);
}

void ComputerPlayer::SetGoal(float x, float y) {
	goal[0] = x;
	goal[1] = y;
}

void ComputerPlayer::ChooseTarget(const float ball[2], const float own[2], const float other[2], float &strength) {
	const float B[2] = {ball[0] - own[0], ball[1] - own[1]};
	const float G[2] = {goal[0] - own[0], goal[1] - own[1]};
	const float lengthB = Length(B[0], B[1]);
	const float lengthG = Length(G[0], G[1]);
	const float toGoal[2] = {ball[0] - goal[0], ball[1] - goal[1]};
	const float ballToGoal = Length(toGoal[0], toGoal[1]);

	// With the ball or the goal on the disc there is no direction to compare: defend.
	float c = 0.0f;
	if (lengthB > 0.0f && lengthG > 0.0f) {
		c = (B[0] * G[0] + B[1] * G[1]) / (lengthG * lengthB);
	}

	if (c > 0.0f && lengthB / c < lengthG) {
		// The ball lies between the disc and the goal: hit it so that it runs to the goal.
		const float along = (lengthB / c) / lengthG;
		const float P[2] = {along * G[0], along * G[1]};
		const float D[2] = {B[0] - P[0], B[1] - P[1]};
		const float lengthD = Length(D[0], D[1]);
		float offset[2];
		if (D[0] == 0.0f && D[1] == 0.0f) {
			// At most 1 unit either way, y drawn first.
			offset[1] = 2.0f * random.Signed();
			offset[0] = 2.0f * random.Signed();
		} else {
			const float lengthP = Length(P[0], P[1]);
			float c2 = 0.0f;
			if (lengthP > 0.0f && ballToGoal > 0.0f) {
				c2 = (P[0] * toGoal[0] + P[1] * toGoal[1]) / (lengthP * ballToGoal);
			}
			const float scale = -(SIDE_OFFSET * c2 / lengthD);
			offset[0] = scale * D[0];
			offset[1] = scale * D[1];
		}
		target[0] = ball[0] + offset[0];
		target[1] = ball[1] + offset[1];
		mode = MODE_ATTACK;
		strength = lengthB + ballToGoal;
		if (strength > MAX_STRENGTH) {
			strength = MAX_STRENGTH;
		}
		return;
	}

	if (mode == MODE_ATTACK) {
		const float toOther = Length(own[0] - other[0], own[1] - other[1]);
		mode = OTHER_DISC_RATIO * toOther <= lengthB ? MODE_OTHER_DISC : MODE_BELOW_BALL;
	}
	if (mode == MODE_BELOW_BALL) {
		target[0] = ball[0];
		target[1] = ball[1] - DEFENCE_OFFSET;
	} else {
		target[0] = other[0];
		target[1] = other[1];
	}
	strength = MAX_STRENGTH;
}

int ComputerPlayer::Think(
	float ballX, float ballY, float aimX, float aimY, float ownX, float ownY, float otherX, float otherY, int dt) {
	const float ball[2] = {ballX, ballY};
	const float own[2] = {ownX, ownY};
	const float other[2] = {otherX, otherY};
	float strength = 0.0f;
	ChooseTarget(ball, own, other, strength);

	const float toTarget[2] = {target[0] - ownX, target[1] - ownY};
	const float targetDistance = Length(toTarget[0], toTarget[1]);
	if (targetDistance == 0.0f) {
		// The target is the disc itself: no direction to aim in, so hold the aim still.
		desiredAim[0] = aimX;
		desiredAim[1] = aimY;
		return 0;
	}
	desiredAim[0] = ownX + strength * toTarget[0] / targetDistance;
	desiredAim[1] = ownY + strength * toTarget[1] / targetDistance;

	// With the aim point on the disc there is no aim line yet; steering will make one.
	const float aimLength = Length(aimX - ownX, aimY - ownY);
	if (aimLength > 0.0f) {
		sgLine3 line;
		sgSetVec3(line.point_on_line, ownX, ownY, 0.0f);
		sgSetVec3(line.direction_vector, (aimX - ownX) / aimLength, (aimY - ownY) / aimLength, 0.0f);
		const sgVec3 point = {target[0], target[1], 0.0f};
		// Rounding can make the squared distance of a point on the line a hair below zero.
		const float offLine = std::sqrt(std::max(0.0f, sgDistSquaredToLineVec3(line, point)));
		if (offLine <= ALIGNMENT && aimLength >= std::min(strength, MAX_REACH)) {
			return THINK_FIRE;
		}
	}

	const int bits = SteerBits(aimX, aimY, desiredAim, dt * STEER_TOLERANCE);
	return bits ? bits : THINK_FIRE;
}

int ComputerPlayer::SteerBits(float aimX, float aimY, const float desired[2], float tolerance) {
	int bits = 0;
	if (aimX < desired[0] - tolerance) {
		bits |= THINK_RIGHT;
	} else if (aimX > desired[0] + tolerance) {
		bits |= THINK_LEFT;
	}
	if (aimY < desired[1] - tolerance) {
		bits |= THINK_UP;
	} else if (aimY > desired[1] + tolerance) {
		bits |= THINK_DOWN;
	}
	return bits;
}
