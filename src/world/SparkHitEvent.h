#ifndef TAVRO_WORLD_SPARKHITEVENT_H
#define TAVRO_WORLD_SPARKHITEVENT_H

#include "world/MatchEvent.h"

class ParticleEmitter;

// A hit that sounds soft when slow, and sounds hard and throws sparks at the contact point
// when fast; it lasts as long as its sparks.
class SparkHitEvent : public MatchEvent {
public:
	bool Update(int dt) override;
	void Finish() override {}
	bool IsSparking() const { return sparks != nullptr; }
	// Units per second of the fastest body involved, as the hit took it.
	float GetSpeed() const { return speed; }

protected:
	SparkHitEvent(MatchContext *match, int emitter, int slowSound, int fastSound, float fastSpeed);
	// speed: units per second of the fastest body involved.
	void Hit(float speed);

private:
	int emitter; // which of the match's spark emitters
	int slowSound;
	int fastSound;
	float fastSpeed; // units per second; above it the hit sparks
	float speed;     // units per second, of the hit
	ParticleEmitter *sparks;
};

#endif
