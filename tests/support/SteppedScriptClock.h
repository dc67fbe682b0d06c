#ifndef TAVRO_TESTS_STEPPEDSCRIPTCLOCK_H
#define TAVRO_TESTS_STEPPEDSCRIPTCLOCK_H

#include <cstdint>

#include "script/ScriptBudget.h"

// Script time in the test's hands: every reading moves it on by step microseconds (0: it stands
// still, and no run ever runs out of time). The budget reads it while it lives.
class SteppedScriptClock : public ScriptClock {
public:
	explicit SteppedScriptClock(uint64_t step_) : now(0), step(step_) { ScriptBudget::SetClock(this); }
	~SteppedScriptClock() override { ScriptBudget::SetClock(nullptr); }

	uint64_t Now() override { return now += step; }
	uint64_t Used() override { return now; }

	uint64_t now;  // microseconds
	uint64_t step; // microseconds a reading
};

#endif
