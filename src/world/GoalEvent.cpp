#include "world/GoalEvent.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "audio/SoundBank.h"
#include "world/Announcement.h"
#include "world/MatchContext.h"

namespace {

// The portrait's bounces: how long each lasts, and the scale it reaches from the one it began with.
const int BOUNCE_TIMES[] = {500, 300, 200, 150, 100}; // ms
const int BOUNCE_COUNT = 5;

float BounceScale(int state, int t, float base) {
	const float pi = static_cast<float>(M_PI);
	switch (state) {
	case 0: return std::sin(t * 0.002f * pi / 2.0f);
	case 1: return base - std::sin(t / 300.0f * pi / 3.0f);
	case 2: return base + std::sin(t * 0.005f * pi / 4.0f);
	case 3: return base - std::sin(t / 150.0f * pi / 5.0f);
	default: return base + std::sin(t * 0.01f * pi / 6.0f);
	}
}

} // namespace

GoalEvent::GoalEvent(MatchContext *match_, Disc *scorer_)
	: MatchEvent(match_), scorer(scorer_), portrait(nullptr), yeah(nullptr), total(0), state(0), stateTime(0),
	  scale(0.0f), baseScale(0.0f) {}

GoalEvent::~GoalEvent() {
	DropPictures();
}

void GoalEvent::DropPictures() {
	Announcement &announcement = match->GetAnnouncement();
	announcement.DropPicture(portrait);
	announcement.DropPicture(yeah);
}

void GoalEvent::Start() {
	int side = scorer == match->GetDisc(1) ? 1 : 2;
	std::string path = std::string("data/rects/") + match->GetCharacterName(side) + "_big.nsbr";
	portrait = match->GetAnnouncement().LoadPicture(path.c_str());
	yeah = match->GetAnnouncement().LoadPicture("data/rects/yeah.nsbr"); // shown after the bounces
	Announcement &announcement = match->GetAnnouncement();
	announcement.slots[SLOT_A] = portrait;
	announcement.slots[SLOT_B] = nullptr;
	total = 0;
	stateTime = 0;
	state = 0;
	scale = baseScale = 0.0f;
	announcement.Place(match->GetLayoutWidth() / 2 - 120, match->GetLayoutHeight() / 2, scale);
	match->SetAnnouncementMode(ANNOUNCE_GOAL);
	match->SetBallHidden(true);
	match->PlaySound(SOUND_GOAL);
}

bool GoalEvent::Update(int dt) {
	total += dt;
	if (total > DURATION) {
		return false;
	}
	if (state < BOUNCE_COUNT) {
		const int duration = BOUNCE_TIMES[state];
		scale = BounceScale(state, std::min(stateTime, duration), baseScale);
		if (stateTime > duration) {
			if (state == BOUNCE_COUNT - 1) {
				match->GetAnnouncement().slots[SLOT_B] = yeah;
			}
			state++;
			stateTime = 0;
			baseScale = scale;
		}
	}
	match->GetAnnouncement().Place(match->GetLayoutWidth() / 2 - 120, match->GetLayoutHeight() / 2, scale);
	stateTime += dt;
	return true;
}

void GoalEvent::Finish() {
	DropPictures();
	match->SetBallHidden(false);
	match->SetAnnouncementMode(ANNOUNCE_NONE);
	match->RecordGoal(scorer);
	match->SetPhase(PHASE_AFTER_GOAL);
}

void GoalEvent::Abort() {
	DropPictures();
}
