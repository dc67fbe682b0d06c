#include "core/Clock.h"

#include <ctime>

uint32_t MonotonicClock::Milliseconds() {
	struct timespec ts;
	clock_gettime(CLOCK_MONOTONIC, &ts);
	int64_t ms = static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
	return static_cast<uint32_t>(ms);
}
