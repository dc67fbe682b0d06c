#ifndef TAVRO_WORLD_SEARCHCLOCK_H
#define TAVRO_WORLD_SEARCHCLOCK_H

#include <cstdint>

// Where a computer player's search reads the time it has spent in a frame; tests hand it a
// clock of their own.
class SearchClock {
public:
	virtual ~SearchClock() {}
	virtual int64_t Microseconds() = 0; // since an arbitrary origin
};

// The operating system's monotonic clock.
class SystemSearchClock : public SearchClock {
public:
	int64_t Microseconds() override;
};

#endif
