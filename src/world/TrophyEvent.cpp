#include "world/TrophyEvent.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "audio/SoundBank.h"
#include "world/Announcement.h"
#include "world/Disc.h"
#include "world/MatchContext.h"

namespace {

GL2D_SimpleBmpRect *LoadPortrait(MatchContext *match, int side) {
	std::string path = std::string("data/rects/") + match->GetCharacterName(side) + "_big.nsbr";
	return match->GetAnnouncement().LoadPicture(path.c_str());
}

} // namespace

TrophyEvent::TrophyEvent(MatchContext *match_, Disc *disc1_, Disc *disc2_)
	: MatchEvent(match_), disc1(disc1_), disc2(disc2_), trophy(nullptr), portraits(), draw(false), state(0),
	  stateTime(0) {}

TrophyEvent::~TrophyEvent() {
	DropPictures();
}

void TrophyEvent::DropPictures() {
	Announcement &announcement = match->GetAnnouncement();
	announcement.DropPicture(trophy);
	announcement.DropPicture(portraits[0]);
	announcement.DropPicture(portraits[1]);
}

void TrophyEvent::Start() {
	Announcement &announcement = match->GetAnnouncement();
	trophy = match->GetAnnouncement().LoadPicture("data/rects/trophy.nsbr");
	announcement.slots[SLOT_A] = trophy;
	announcement.slots[SLOT_B] = nullptr;
	announcement.slots[SLOT_C] = nullptr;
	draw = disc1->GetGoals() == disc2->GetGoals();
	if (draw) {
		portraits[0] = LoadPortrait(match, 1);
		portraits[1] = LoadPortrait(match, 2);
	} else {
		portraits[0] = LoadPortrait(match, disc1->GetGoals() > disc2->GetGoals() ? 1 : 2);
	}
	state = 0;
	stateTime = 0;
	announcement.Place(match->GetLayoutWidth() / 2, match->GetLayoutHeight() / 2, 0.0f);
	match->SetAnnouncementMode(ANNOUNCE_TROPHY);
	match->PlaySound(SOUND_GOAL);
}

void TrophyEvent::Slide(float f) {
	const float w = static_cast<float>(match->GetLayoutWidth());
	const float h = static_cast<float>(match->GetLayoutHeight());
	float *layout = match->GetAnnouncement().layout;
	if (draw) {
		// Both portraits come in from the screen's edges.
		layout[4] = f * (w / 2 - 50);
		layout[5] = h / 2 - 100;
		layout[6] = w - f * (w / 2 - 50);
		layout[7] = h / 2 - 100;
	} else {
		// The winner shrinks from full size to about 0.4.
		layout[4] = layout[5] = std::cos(f * 1.1635529f);
	}
}

bool TrophyEvent::Update(int dt) {
	if (state > 3) {
		return false;
	}
	Announcement &announcement = match->GetAnnouncement();
	const int w = match->GetLayoutWidth();
	const int h = match->GetLayoutHeight();
	announcement.layout[0] = w / 2;
	announcement.layout[1] = h / 2;
	if (!draw) {
		announcement.layout[6] = w / 2;
		announcement.layout[7] = h / 2 - 100;
	}
	switch (state) {
	case 0: {
		float scale = std::sin(std::min(stateTime, GROW_TIME) / static_cast<float>(GROW_TIME) * M_PI / 2);
		announcement.layout[2] = announcement.layout[3] = scale;
		if (stateTime > GROW_TIME) {
			state = 1;
			stateTime = 0;
		}
		break;
	}
	case 1:
		if (stateTime > WAIT_TIME) {
			announcement.slots[SLOT_B] = portraits[0];
			announcement.slots[SLOT_C] = draw ? portraits[1] : nullptr;
			Slide(0.0f); // so the first frame already shows the portraits where the slide begins
			state = 2;
			stateTime = 0;
		}
		break;
	case 2:
		Slide(std::min(stateTime, SLIDE_TIME) / static_cast<float>(SLIDE_TIME));
		if (stateTime > SLIDE_TIME) {
			state = 3;
			stateTime = 0;
		}
		break;
	default:
		if (stateTime > SHOW_TIME) {
			state = 4;
			stateTime = 0;
		}
		break;
	}
	stateTime += dt;
	return true;
}

void TrophyEvent::Finish() {
	DropPictures();
	match->SetAnnouncementMode(ANNOUNCE_NONE);
	match->SetPhase(PHASE_FINISHED);
}

void TrophyEvent::Abort() {
	DropPictures();
}
