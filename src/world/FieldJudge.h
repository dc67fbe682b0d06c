#ifndef TAVRO_WORLD_FIELDJUDGE_H
#define TAVRO_WORLD_FIELDJUDGE_H

#include "world/ShotSimulator.h"

class Arena;

// How good a field is for one side, with the other side to move: the ball's way up the field,
// the danger before the own goal, the other disc lined up behind the ball, the own disc's cover
// and its chance. A goal outweighs everything.
class FieldJudge {
public:
	static constexpr float GOAL_VALUE = 1000.0f;

	FieldJudge();

	// Side 1 attacks goal 2, side 2 goal 1, of arena.
	void SetUp(const Arena &arena, int side);

	float Judge(const float ball[2], const float own[2], const float other[2]) const;
	// The value of a shot's outcome; what still moves rolls on, braked, within the walls.
	float JudgeOutcome(const ShotSimulator::Outcome &outcome) const;

	int GetSide() const { return side; }
	const float *GetAttack() const { return attack; }
	const float *GetDefend() const { return defend; }
	float GetGoalHalfWidth() const { return goalHalfWidth; }

private:
	int side;            // 1 or 2
	float attack[2];     // units, the centre of the goal this side attacks
	float defend[2];     // units, the centre of its own goal
	float goalHalfWidth; // units
	float bounds[4];     // units: the walls' extent, min x, min y, max x, max y
};

#endif
