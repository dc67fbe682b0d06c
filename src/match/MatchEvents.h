#ifndef TAVRO_MATCH_MATCHEVENTS_H
#define TAVRO_MATCH_MATCHEVENTS_H

#include <memory>
#include <vector>

#include "match/MatchObserver.h"
#include "world/MatchEvent.h"

// The running events of a match, owned here in the order they were started. One that ends is
// finished and deleted; one taken out early, or still running when the match ends, is aborted.
class MatchEvents {
public:
	MatchEvents();
	~MatchEvents();
	MatchEvents(const MatchEvents &) = delete;
	MatchEvents &operator=(const MatchEvents &) = delete;

	// Starts the event and keeps it until it ends.
	void Start(std::unique_ptr<MatchEvent> event);
	// Updates every event by dt ms in order. Those that end are finished, handed to ended (which
	// must not keep them) and deleted; the others keep their order.
	template <typename Ended>
	void Update(int dt, Ended ended);
	// Takes event out early, aborting it first when abort is set.
	void Remove(const MatchEvent *event, bool abort);
	// Aborts and deletes every event.
	void AbortAll();

	// Told of every event started and ended from now on (null for none).
	void SetObserver(MatchObserver *observer_) { observer = observer_; }

	int GetCount() const { return static_cast<int>(events.size()); }
	const MatchEvent *Get(int index) const { return events[index].get(); }
	int GetStarted() const { return started; }

private:
	std::vector<std::unique_ptr<MatchEvent>> events;
	int started;             // since construction
	MatchObserver *observer; // not owned
};

template <typename Ended>
void MatchEvents::Update(int dt, Ended ended) {
	for (size_t i = 0; i < events.size();) {
		MatchEvent *event = events[i].get();
		if (event->Update(dt)) {
			i++;
			continue;
		}
		event->Finish();
		if (observer) {
			observer->EventEnded(*event, true);
		}
		ended(event);
		events.erase(events.begin() + i);
	}
}

#endif
