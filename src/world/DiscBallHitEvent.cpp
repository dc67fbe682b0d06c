#include "world/DiscBallHitEvent.h"

#include "audio/SoundBank.h"
#include "world/MatchContext.h"

void DiscBallHitEvent::Start() {
	match->PlaySound(SOUND_DISC_BALL);
}
