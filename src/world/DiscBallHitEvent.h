#ifndef TAVRO_WORLD_DISCBALLHITEVENT_H
#define TAVRO_WORLD_DISCBALLHITEVENT_H

#include "world/MatchEvent.h"

class Ball;
class Disc;

// A disc struck the ball: one knock.
class DiscBallHitEvent : public MatchEvent {
public:
	DiscBallHitEvent(MatchContext *match, Disc *disc, Ball *ball) : MatchEvent(match), disc(disc), ball(ball) {}
	void Start() override;
	bool Update(int) override { return false; }
	void Finish() override {}

private:
	Disc *disc;
	Ball *ball;
};

#endif
