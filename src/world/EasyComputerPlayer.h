#ifndef TAVRO_WORLD_EASYCOMPUTERPLAYER_H
#define TAVRO_WORLD_EASYCOMPUTERPLAYER_H

#include "world/ComputerPlayer.h"

// The "EASY" level: it picks its target as "NORMAL" does but, as a beginner, aims off by a
// random angle and strength drawn at each turn's start, and waits a random while before it
// fires.
class EasyComputerPlayer : public ComputerPlayer {
public:
	static constexpr float MAX_ANGLE_ERROR = 0.35f; // radians either way
	static constexpr float MAX_WEAKNESS = 0.4f;     // the strength falls short by up to this share
	static constexpr int MIN_WAIT = 300;            // ms before a turn's shot
	static constexpr int MAX_WAIT = 1000;           // ms

	explicit EasyComputerPlayer(Random &random);

	int GetLevel() const override;
	void StartTurn() override;
	int Decide(const FieldView &view) override;

	float GetAngleError() const { return angleError; }
	float GetStrengthFactor() const { return strengthFactor; }
	int GetWait() const { return wait; }

private:
	float angleError;     // radians, this turn's
	float strengthFactor; // this turn's share of the strength wanted
	int wait;             // ms, this turn's
	int waited;           // ms of this turn so far
};

#endif
