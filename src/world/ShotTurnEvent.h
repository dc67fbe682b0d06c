#ifndef TAVRO_WORLD_SHOTTURNEVENT_H
#define TAVRO_WORLD_SHOTTURNEVENT_H

#include "world/MatchEvent.h"

class Aim;
class Ball;
class Disc;

// One side's turn: it lasts the shoot time unless the side fires, and ends with the shot.
class ShotTurnEvent : public MatchEvent {
public:
	static constexpr float LONG_SHOT = 55.0f; // units of aim; longer shots from afar sound a yell
	static constexpr float FAR_AWAY = 90.0f;  // units between disc and ball

	ShotTurnEvent(MatchContext *match, Disc *disc, Aim *aim, Ball *ball);

	void Start() override;
	bool Update(int dt) override;
	void Finish() override;
	void Abort() override;

	// Ends the turn at the next Update.
	void Fire() { remaining = 0; }
	// While held the turn's time stands still (a network match's joiner has yet to see it).
	void SetHeld(bool on) { held = on; }
	bool IsHeld() const { return held; }
	int GetRemaining() const { return remaining; }

private:
	Disc *disc;
	Aim *aim;
	Ball *ball;
	int remaining; // ms of the turn left
	bool held;
};

#endif
