#include "match/MatchEvents.h"

#include <algorithm>

namespace {

// Room for every event a match runs at once, so starting one does not allocate the list.
const size_t RESERVED = 64;

} // namespace

MatchEvents::MatchEvents() : started(0), observer(nullptr) {
	events.reserve(RESERVED);
}

MatchEvents::~MatchEvents() {
	AbortAll();
}

void MatchEvents::Start(std::unique_ptr<MatchEvent> event) {
	event->Start();
	events.push_back(std::move(event));
	started++;
	if (observer) {
		observer->EventStarted(*events.back());
	}
}

void MatchEvents::Remove(const MatchEvent *event, bool abort) {
	auto found = std::find_if(events.begin(), events.end(),
		[event](const std::unique_ptr<MatchEvent> &owned) { return owned.get() == event; });
	if (found == events.end()) {
		return;
	}
	if (abort) {
		(*found)->Abort();
	}
	if (observer) {
		observer->EventEnded(**found, false);
	}
	events.erase(found);
}

void MatchEvents::AbortAll() {
	for (const std::unique_ptr<MatchEvent> &event : events) {
		event->Abort();
	}
	events.clear();
}
