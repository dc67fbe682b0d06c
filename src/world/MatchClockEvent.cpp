#include "world/MatchClockEvent.h"

#include "options/OptionsRecord.h"
#include "audio/SoundBank.h"
#include "world/MatchContext.h"

MatchClockEvent::MatchClockEvent(MatchContext *match_)
	: MatchEvent(match_), accumulator(0), hurryChannel(0), hurryStarted(false) {}

void MatchClockEvent::Start() {
	match->SetPeriodTimeLeft(match->GetOptions().matchLength * 60000);
	accumulator = 0;
	hurryStarted = false;
}

bool MatchClockEvent::Update(int dt) {
	if (match->IsFrozen()) {
		return true;
	}
	// A frame longer than the time left ends the period at 0, never below: the HUD shows the
	// clock until the next period or through the trophy.
	int left = match->GetPeriodTimeLeft() - dt;
	left = left < 0 ? 0 : left;
	match->SetPeriodTimeLeft(left);
	if (left < 1) {
		return false;
	}
	if (left >= HURRY_TIME) {
		return true;
	}
	if (accumulator >= HURRY_PERIOD) {
		hurryChannel = match->PlaySound(SOUND_HURRY_UP);
		hurryStarted = true;
		accumulator = 0;
	} else {
		accumulator += dt;
	}
	return true;
}

void MatchClockEvent::StopHurry() {
	if (hurryStarted) {
		match->StopSound(hurryChannel);
	}
}

void MatchClockEvent::Finish() {
	match->SetPhase(PHASE_NEXT_PERIOD);
	StopHurry();
}

void MatchClockEvent::Abort() {
	StopHurry();
}
