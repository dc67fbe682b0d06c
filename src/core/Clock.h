#ifndef TAVRO_CORE_CLOCK_H
#define TAVRO_CORE_CLOCK_H

#include <cstdint>

// Where the frame timer reads time from; tests hand it a clock they advance themselves.
class Clock {
public:
	virtual ~Clock() {}
	virtual uint32_t Milliseconds() = 0; // ms since an arbitrary origin, wrapping at 2^32
};

// The operating system's monotonic clock.
class MonotonicClock : public Clock {
public:
	uint32_t Milliseconds() override;
};

// A clock that moves only when told to.
class ManualClock : public Clock {
public:
	explicit ManualClock(uint32_t start = 0) : now(start) {}
	uint32_t Milliseconds() override { return now; }
	void Advance(uint32_t ms) { now += ms; }

private:
	uint32_t now; // ms
};

#endif
