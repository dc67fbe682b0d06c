#include "world/SearchClock.h"

#include <time.h>

int64_t SystemSearchClock::Microseconds() {
	timespec now;
	clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
	return static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}
