#ifndef TAVRO_WORLD_MATCHEVENT_H
#define TAVRO_WORLD_MATCHEVENT_H

class MatchContext;

// Something in a match that runs for a while and then ends. Protocol: construct with its
// arguments, SetParams (contact events), Start, Update every frame until it returns false,
// then Finish and delete. An event removed early gets Abort instead of Finish.
class MatchEvent {
public:
	static constexpr int PARAM_COUNT = 19;

	explicit MatchEvent(MatchContext *match);
	virtual ~MatchEvent() {}

	void SetParams(const float *values, int count);

	virtual void Start() = 0;
	virtual bool Update(int dt) = 0;
	virtual void Finish() = 0;
	virtual void Abort() {}

	// What SetParams gave (PARAM_COUNT values).
	const float *GetParams() const { return params; }

protected:
	MatchContext *match;
	float params[PARAM_COUNT]; // contact events: contact x, y and one more value
};

#endif
