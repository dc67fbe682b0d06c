#ifndef TAVRO_WORLD_BALLWALLHITEVENT_H
#define TAVRO_WORLD_BALLWALLHITEVENT_H

#include "world/MatchEvent.h"

class Ball;

// The ball bounced off a wall: nothing to show or play; it only marks the contact.
class BallWallHitEvent : public MatchEvent {
public:
	BallWallHitEvent(MatchContext *match, Ball *ball) : MatchEvent(match), ball(ball) {}
	void Start() override {}
	bool Update(int) override { return false; }
	void Finish() override {}
	Ball *GetBall() const { return ball; }

private:
	Ball *ball;
};

#endif
