#ifndef TAVRO_WORLD_DISCDISCHITEVENT_H
#define TAVRO_WORLD_DISCDISCHITEVENT_H

#include "world/SparkHitEvent.h"

class Disc;

// The two discs collided: sparks when either was faster than 25 units per second.
class DiscDiscHitEvent : public SparkHitEvent {
public:
	static constexpr float FAST_SPEED = 25.0f; // units per second

	DiscDiscHitEvent(MatchContext *match, Disc *disc1, Disc *disc2);
	void Start() override;

private:
	Disc *disc1;
	Disc *disc2;
};

#endif
