#include "world/MatchEvent.h"

#include <cassert>

MatchEvent::MatchEvent(MatchContext *match_) : match(match_), params() {
	assert(match);
}

void MatchEvent::SetParams(const float *values, int count) {
	for (int i = 0; i < count && i < PARAM_COUNT; i++) {
		params[i] = values[i];
	}
}
