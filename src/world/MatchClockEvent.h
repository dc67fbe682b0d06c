#ifndef TAVRO_WORLD_MATCHCLOCKEVENT_H
#define TAVRO_WORLD_MATCHCLOCKEVENT_H

#include "world/MatchEvent.h"

// One period's clock, with a hurry-up signal about once a second in its last 11 seconds.
class MatchClockEvent : public MatchEvent {
public:
	static constexpr int HURRY_TIME = 11000;  // ms before the end
	static constexpr int HURRY_PERIOD = 1000; // ms between signals

	explicit MatchClockEvent(MatchContext *match);

	void Start() override;
	bool Update(int dt) override;
	void Finish() override;
	void Abort() override;

private:
	void StopHurry();

	int accumulator;  // ms since the last hurry-up signal
	int hurryChannel; // channel of the last hurry-up signal
	bool hurryStarted;
};

#endif
