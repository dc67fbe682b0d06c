#include "core/Clock.h"

#include <ctime>

MonotonicClock::MonotonicClock(RawReader reader_) : reader(reader_), origin(reader_()) {}

uint32_t MonotonicClock::Milliseconds() {
	return static_cast<uint32_t>(reader() - origin);
}

int64_t MonotonicClock::ReadSystemMilliseconds() {
	struct timespec ts;
	clock_gettime(CLOCK_MONOTONIC, &ts);
	return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}
