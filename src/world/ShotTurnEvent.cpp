#include "world/ShotTurnEvent.h"

#include "options/OptionsRecord.h"
#include "audio/SoundBank.h"
#include "world/Aim.h"
#include "world/Ball.h"
#include "world/Disc.h"
#include "world/MatchContext.h"

ShotTurnEvent::ShotTurnEvent(MatchContext *match_, Disc *disc_, Aim *aim_, Ball *ball_)
	: MatchEvent(match_), disc(disc_), aim(aim_), ball(ball_), remaining(0), held(false) {}

void ShotTurnEvent::Start() {
	remaining = match->GetOptions().shootTime * 1000;
	match->SetShotTimer(this);
}

bool ShotTurnEvent::Update(int dt) {
	if (remaining < 1) {
		return false;
	}
	if (!match->IsFrozen() && !held) {
		remaining -= dt;
	}
	return true;
}

void ShotTurnEvent::Finish() {
	match->SetTurnOver(true);
	sgVec3 direction;
	aim->GetDirection(direction);
	disc->Shoot(direction);
	sgVec3 discAt, ballAt;
	disc->GetPosition(discAt);
	ball->GetPosition(ballAt);
	bool yell = sgLengthVec3(direction) > LONG_SHOT && sgDistanceVec3(discAt, ballAt) > FAR_AWAY;
	match->PlaySound(yell ? SOUND_TARZAN : SOUND_SHOT);
}

void ShotTurnEvent::Abort() {
	match->SetTurnOver(false);
}
