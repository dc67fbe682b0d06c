#ifndef TAVRO_WORLD_TROPHYEVENT_H
#define TAVRO_WORLD_TROPHYEVENT_H

#include "world/MatchEvent.h"

class Disc;
class GL2D_SimpleBmpRect;

// The end of the match: the trophy grows, then the winner's portrait shrinks into place beside
// it, or on a draw both portraits slide in from the sides.
class TrophyEvent : public MatchEvent {
public:
	static constexpr int GROW_TIME = 750;  // ms
	static constexpr int WAIT_TIME = 500;  // ms
	static constexpr int SLIDE_TIME = 750; // ms
	static constexpr int SHOW_TIME = 6000; // ms

	TrophyEvent(MatchContext *match, Disc *disc1, Disc *disc2);
	~TrophyEvent() override;

	void Start() override;
	bool Update(int dt) override;
	void Finish() override;
	void Abort() override;

	bool IsDraw() const { return draw; }
	int GetState() const { return state; }

private:
	void DropPictures();
	// Layout values 5..8 for a point of the slide, f from 0 to 1.
	void Slide(float f);

	Disc *disc1;
	Disc *disc2;
	GL2D_SimpleBmpRect *trophy;
	GL2D_SimpleBmpRect *portraits[2]; // the winner only, or both sides on a draw
	bool draw;
	int state;     // 0 grow, 1 wait, 2 slide, 3 show, 4 done
	int stateTime; // ms in the current state
};

#endif
