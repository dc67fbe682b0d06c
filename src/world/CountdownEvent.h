#ifndef TAVRO_WORLD_COUNTDOWNEVENT_H
#define TAVRO_WORLD_COUNTDOWNEVENT_H

#include "world/MatchEvent.h"

class GL2D_SimpleBmpRect;

// Three, two, one: each numeral grows, holds and shrinks in the middle of the screen while play
// stands still, 3000 ms in all; play resumes at its end.
class CountdownEvent : public MatchEvent {
public:
	static constexpr int GROW_TIME = 250;   // ms
	static constexpr int HOLD_TIME = 500;   // ms
	static constexpr int SHRINK_TIME = 250; // ms

	explicit CountdownEvent(MatchContext *match);
	~CountdownEvent() override;

	void Start() override;
	bool Update(int dt) override;
	void Finish() override;
	void Abort() override;

	int GetState() const { return state; }

private:
	static constexpr int NUMERAL_COUNT = 3;

	void ShowNumeral(int index);
	void NextState();
	void DropPictures();

	GL2D_SimpleBmpRect *numerals[NUMERAL_COUNT]; // three, two, one; loaded at Start
	int state;                                   // 0..9: grow, hold, shrink for each numeral, then done
	int stateTime;                               // ms in the current state
	float scale;
};

#endif
