#include "world/CountdownEvent.h"

#include <algorithm>
#include <cmath>

#include "audio/SoundBank.h"
#include "world/Announcement.h"
#include "world/MatchContext.h"

CountdownEvent::CountdownEvent(MatchContext *match_)
	: MatchEvent(match_), numerals(), state(0), stateTime(0), scale(0.0f) {}

CountdownEvent::~CountdownEvent() {
	DropPictures();
}

void CountdownEvent::DropPictures() {
	for (GL2D_SimpleBmpRect *&numeral : numerals) {
		match->GetAnnouncement().DropPicture(numeral);
	}
}

void CountdownEvent::ShowNumeral(int index) {
	match->GetAnnouncement().slots[SLOT_A] = numerals[index];
}

void CountdownEvent::Start() {
	// All three now, so the frames of the countdown read no files.
	static const char *const files[NUMERAL_COUNT] = {
		"data/rects/three.nsbr", "data/rects/two.nsbr", "data/rects/one.nsbr"};
	for (int i = 0; i < NUMERAL_COUNT; i++) {
		numerals[i] = match->GetAnnouncement().LoadPicture(files[i]);
	}
	ShowNumeral(0);
	state = 0;
	stateTime = 0;
	scale = 0.0f;
	match->GetAnnouncement().Place(match->GetLayoutWidth() / 2, match->GetLayoutHeight() / 2, scale);
	match->SetAnnouncementMode(ANNOUNCE_COUNTDOWN);
}

void CountdownEvent::NextState() {
	state++;
	stateTime = 0;
}

bool CountdownEvent::Update(int dt) {
	if (state >= 9) {
		return false;
	}
	const float halfPi = static_cast<float>(M_PI) / 2.0f;
	// Past a phase's end the curve stays at its end value.
	switch (state % 3) {
	case 0: // grow
		scale = std::sin(std::min(stateTime, GROW_TIME) * 0.004f * halfPi);
		if (stateTime > GROW_TIME) {
			match->PlaySound(SOUND_START);
			NextState();
		}
		break;
	case 1: // hold
		if (stateTime > HOLD_TIME) {
			NextState();
		}
		break;
	default: // shrink
		scale = std::sin((std::min(stateTime, SHRINK_TIME) * 0.004f + 1.0f) * halfPi);
		if (stateTime > SHRINK_TIME) {
			if (state < 8) {
				ShowNumeral(state / 3 + 1);
			}
			NextState();
		}
		break;
	}
	match->GetAnnouncement().Place(match->GetLayoutWidth() / 2, match->GetLayoutHeight() / 2, scale);
	stateTime += dt;
	return true;
}

void CountdownEvent::Finish() {
	DropPictures();
	match->SetAnnouncementMode(ANNOUNCE_NONE);
	match->SetPhase(PHASE_PLAYING);
}

void CountdownEvent::Abort() {
	DropPictures();
}
