#ifndef TAVRO_CORE_CLOCK_H
#define TAVRO_CORE_CLOCK_H

#include <cstdint>

// Where the frame timer reads time from; tests hand it a clock they advance themselves.
class Clock {
public:
	virtual ~Clock() {}
	virtual uint32_t Milliseconds() = 0; // ms since an arbitrary origin, wrapping at 2^32
};

// The operating system's monotonic clock, counted from the clock's construction. The system's
// clock counts from boot; its low 32 bits read as negative for half of every 49.7 days, which
// would keep the frame rate from ever being measured.
class MonotonicClock : public Clock {
public:
	using RawReader = int64_t (*)(); // ms since an origin of the reader's own

	explicit MonotonicClock(RawReader reader = ReadSystemMilliseconds);
	uint32_t Milliseconds() override;

	static int64_t ReadSystemMilliseconds();

private:
	RawReader reader;
	int64_t origin; // ms of the reader at construction
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
