#ifndef TAVRO_WORLD_SEARCHCLOCK_H
#define TAVRO_WORLD_SEARCHCLOCK_H

#include <cstdint>

// Where a computer player's search reads the time it has spent in a frame, which only guards
// against a machine far too slow for it; tests hand it a clock of their own.
class SearchClock {
public:
	virtual ~SearchClock() {}
	virtual int64_t Microseconds() = 0; // since an arbitrary origin
};

// The processor time the calling thread has used: time the machine gave to other programs does
// not count, so a busy machine plays as a quiet one.
class SystemSearchClock : public SearchClock {
public:
	int64_t Microseconds() override;
};

#endif
