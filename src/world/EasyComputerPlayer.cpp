#include "world/EasyComputerPlayer.h"

#include <cmath>

#include "core/Random.h"
#include "options/OptionsRecord.h"

EasyComputerPlayer::EasyComputerPlayer(Random &random_)
	: ComputerPlayer(random_), angleError(0.0f), strengthFactor(1.0f), wait(MIN_WAIT), waited(0) {}

int EasyComputerPlayer::GetLevel() const {
	return LEVEL_EASY;
}

void EasyComputerPlayer::StartTurn() {
	angleError = 2.0f * MAX_ANGLE_ERROR * random.Signed();
	strengthFactor = 1.0f - MAX_WEAKNESS * random.Unit();
	wait = MIN_WAIT + static_cast<int>((MAX_WAIT - MIN_WAIT) * random.Unit());
	waited = 0;
}

int EasyComputerPlayer::Decide(const FieldView &view) {
	float strength = 0.0f;
	ChooseTarget(view.ball, view.own, view.other, strength);
	const float toTarget[2] = {target[0] - view.own[0], target[1] - view.own[1]};
	const float distance = std::sqrt(toTarget[0] * toTarget[0] + toTarget[1] * toTarget[1]);
	waited += view.dt;
	if (distance == 0.0f) {
		return waited >= wait ? THINK_FIRE : 0;
	}
	// The beginner's aim: the wanted line turned by this turn's error, and weaker.
	const float c = std::cos(angleError), s = std::sin(angleError);
	const float reach = strength * strengthFactor / distance;
	const float along[2] = {reach * (c * toTarget[0] - s * toTarget[1]), reach * (s * toTarget[0] + c * toTarget[1])};
	desiredAim[0] = view.own[0] + along[0];
	desiredAim[1] = view.own[1] + along[1];
	const int bits = SteerBits(view.aim[0], view.aim[1], desiredAim, view.dt * STEER_TOLERANCE);
	if (bits) {
		return bits;
	}
	return waited >= wait ? THINK_FIRE : 0;
}
