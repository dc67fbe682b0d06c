#ifndef TAVRO_WORLD_GOALEVENT_H
#define TAVRO_WORLD_GOALEVENT_H

#include "world/MatchEvent.h"

class Disc;
class GL2D_SimpleBmpRect;

// A goal: the scorer's portrait pops up and bounces for 3000 ms while play stands still; the
// goal counts at the end.
class GoalEvent : public MatchEvent {
public:
	static constexpr int DURATION = 3000; // ms

	GoalEvent(MatchContext *match, Disc *scorer);
	~GoalEvent() override;

	void Start() override;
	bool Update(int dt) override;
	void Finish() override;
	void Abort() override;

	Disc *GetScorer() const { return scorer; }
	int GetState() const { return state; }
	float GetScale() const { return scale; }

private:
	void DropPictures();

	Disc *scorer;
	GL2D_SimpleBmpRect *portrait;
	GL2D_SimpleBmpRect *yeah;
	int total;     // ms since Start
	int state;     // 0..5, the bounces of the portrait
	int stateTime; // ms in the current state
	float scale;
	float baseScale; // scale when the current state began
};

#endif
