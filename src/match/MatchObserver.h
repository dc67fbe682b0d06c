#ifndef TAVRO_MATCH_MATCHOBSERVER_H
#define TAVRO_MATCH_MATCHOBSERVER_H

class MatchEvent;

// Told what a match does as it runs, for a network host to pass it on: the events it starts and
// ends, and the sounds it plays.
class MatchObserver {
public:
	virtual ~MatchObserver() {}
	// After the event's Start.
	virtual void EventStarted(const MatchEvent &event) = 0;
	// After the event's Finish (finished) or, taken out early, after its Abort if any; before it
	// is deleted. Not told when the match's tear-down aborts what still runs.
	virtual void EventEnded(const MatchEvent &event, bool finished) = 0;
	virtual void SoundPlayed(int slot) = 0;
};

#endif
