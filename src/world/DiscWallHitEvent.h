#ifndef TAVRO_WORLD_DISCWALLHITEVENT_H
#define TAVRO_WORLD_DISCWALLHITEVENT_H

#include "world/SparkHitEvent.h"

class Disc;

// A disc hit a wall: sparks when it was faster than 30 units per second.
class DiscWallHitEvent : public SparkHitEvent {
public:
	static constexpr float FAST_SPEED = 30.0f; // units per second

	DiscWallHitEvent(MatchContext *match, Disc *disc);
	void Start() override;
	Disc *GetDisc() const { return disc; }

private:
	Disc *disc;
};

#endif
