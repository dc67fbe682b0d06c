#include "world/SparkHitEvent.h"

#include "world/MatchContext.h"
#include "world/ParticleEmitter.h"

SparkHitEvent::SparkHitEvent(MatchContext *match_, int emitter_, int slowSound_, int fastSound_, float fastSpeed_)
	: MatchEvent(match_), emitter(emitter_), slowSound(slowSound_), fastSound(fastSound_), fastSpeed(fastSpeed_),
	  speed(0.0f), sparks(nullptr) {}

void SparkHitEvent::Hit(float speed_) {
	speed = speed_;
	if (speed <= fastSpeed) {
		match->PlaySound(slowSound);
		return;
	}
	sparks = match->GetSparks(emitter);
	if (sparks) {
		sparks->Build();
		sparks->SetPosition(params[0], params[1], params[2]);
	}
	match->PlaySound(fastSound);
}

bool SparkHitEvent::Update(int dt) {
	if (!sparks) {
		return false;
	}
	sparks->Update(dt);
	return sparks->GetLiveCount() > 0;
}
