#include "world/DiscDiscHitEvent.h"

#include <algorithm>

#include "audio/SoundBank.h"
#include "world/Disc.h"
#include "world/MatchContext.h"

namespace {

float Speed(const GameObject *object) {
	sgVec3 v;
	object->GetVelocity(v);
	return sgLengthVec3(v);
}

} // namespace

DiscDiscHitEvent::DiscDiscHitEvent(MatchContext *match_, Disc *disc1_, Disc *disc2_)
	: SparkHitEvent(match_, SPARKS_DISC_DISC, SOUND_DISC_DISC_SLOW, SOUND_DISC_DISC_FAST, FAST_SPEED), disc1(disc1_),
	  disc2(disc2_) {}

void DiscDiscHitEvent::Start() {
	Hit(std::max(Speed(disc1), Speed(disc2)));
}
