#include "world/DiscWallHitEvent.h"

#include "audio/SoundBank.h"
#include "world/Disc.h"
#include "world/MatchContext.h"

DiscWallHitEvent::DiscWallHitEvent(MatchContext *match_, Disc *disc_)
	: SparkHitEvent(match_, SPARKS_DISC_WALL, SOUND_DISC_WALL_SLOW, SOUND_DISC_WALL_FAST, FAST_SPEED), disc(disc_) {}

void DiscWallHitEvent::Start() {
	sgVec3 v;
	disc->GetVelocity(v);
	Hit(sgLengthVec3(v));
}
