#ifndef TAVRO_WORLD_SHOTPLANNER_H
#define TAVRO_WORLD_SHOTPLANNER_H

#include <cstdint>

#include "world/FieldJudge.h"
#include "world/ShotSimulator.h"

class SearchClock;
struct FieldView;

// The search of the planning levels. At a turn's start it predicts how the field moves on
// while the side aims; then it makes its candidate shots (straight hits sending the ball across
// the goal mouth, hits at where a rolling ball will be, a run back to guard its own goal, a hit
// on the other disc, a fan of directions and strengths all round), tries each in a
// ShotSimulator until everything rests and judges where it leaves the ball and the discs. It
// works in slices
// of a number of simulated steps, so that it plays the same on every machine (a clock only
// caps a slice on a machine far too slow), and it allocates nothing after SetUp.
//
// The search goes on while the side steers towards the best shot found so far. The turn, as
// the planner sees it, is a run of frames as long as the first; each frame the aim point moves
// one aim step (Aim::SPEED × frame) along each axis it needs. A candidate is judged for the
// frame it is tried in: its aim point is one the steering can reach from where the aim stands
// then, and its shot goes the frame after it is reached, but not before the level's patience
// has passed (unless the ball is on its way into the own goal), and never after the turn's
// last safe frame. Time is counted in the match's physics steps: a shot goes after the steps
// that catch the physics up with its frame, and it is tried in the field predicted for that
// step, with the match's collision passes falling where they fall there. When the frames turn
// out longer or shorter than planned, or the steering stops the aim beside its point, Confirm
// tries the shot as it would really go before it goes.
class ShotPlanner {
public:
	static constexpr int MAX_CANDIDATES = 256;
	static constexpr int MAX_PREDICTED = 1201; // steps: a turn of 5 s after a 5 s freeze, and some
	static constexpr float MAX_SHOT = 59.9f;   // units of aim, just inside the aim's own limit
	static constexpr float GOAL_VALUE = FieldJudge::GOAL_VALUE;
	static constexpr int CHUNK = 8;              // steps between looks at the clock
	static constexpr int MAX_CHECKS = 4;         // failed confirmations before a shot is given up
	static constexpr float CHECK_MARGIN = 20.0f; // value a confirmed shot may lose against its plan
	static constexpr float SAME_SHOT = 0.001f;   // units of aim within which a shot is the one planned

	struct Settings {
		int fanDirections; // directions all round the disc
		int fanStrengths;  // strengths along each of them
		int goalPoints;    // points across the goal mouth the ball is sent to
		int aimOffsets;    // turns either side of each straight hit
		int leads;         // hits at where a moving ball will be, that many times ahead
		int stepsPerSlice; // simulated steps per slice at most
		int capMicros;     // µs on the search clock after which a slice is cut short (a safety cap)
		int shotCap;       // ms simulated of a candidate shot before it is judged
	};

	struct Candidate {
		int kind;          // CandidateKind
		float direction;   // radians: the turn off a straight hit, or the fan's heading
		float strength;    // units of aim wanted (shrunk when steering cannot reach it)
		float goalY;       // units: the point of the mouth a straight hit sends the ball to
		int lead;          // physics steps after the shot a lead hit meets the ball
		float aimPoint[2]; // units: where the aim point must stand when the shot goes
		float shot[2];     // units: the aim point less the disc then (the disc leaves at 1.5 ×)
		int fireFrame;     // frame of the turn the shot goes in
		int fireStep;      // physics steps from the turn's first frame to the shot
		float value;       // of where the shot leaves things, for the planning side
		float end[3][2];   // units: ball, disc 1, disc 2 where the shot left them
		int endTime;       // ms from the shot to then (at rest, a goal or the cap)
		int checks;        // failed confirmations
		float checked;     // the best value a failed confirmation found
	};

	// What a shot that goes does, as the search saw it.
	struct Forecast {
		bool goal;       // for the planning side
		int time;        // ms from the shot to the goal, to rest, or to the cap
		float end[3][2]; // units: the ball, disc 1 and disc 2 then
	};

	enum CandidateKind {
		KIND_STRAIGHT = 0,
		KIND_FAN,
		KIND_GUARD,
		KIND_DISC,
		KIND_LEAD
	};

	ShotPlanner();

	// Copies the arena for the simulations; side 1 attacks goal 2, side 2 goal 1.
	bool SetUp(const Arena &arena, int side, const Settings &settings);
	void Release();

	// A new search from what the side sees in the first frame (0) of its turn: no shot goes
	// before frame patience unless the ball is on its way into the own goal, none after frame
	// lastFire. Frames are view.dt long; the view's physics clock counts the steps.
	// fanPhase (0 to 1) turns the fan by that share of the step between its directions, so that
	// turns after turns look between them.
	void Begin(const FieldView &view, int patience, int lastFire, float fanPhase = 0.0f);
	// The frame of the turn now and what the side sees at its start; before each Work.
	void Follow(const FieldView &view, int frame);
	// Works until the search is done or the slice's steps are spent (spent of them already),
	// which gives the same search on every machine. Should capMicros pass on clock first, the
	// slice is cut short and the log says the match no longer replays from its seed. True when
	// the search is done.
	bool Work(SearchClock &clock, int spent = 0);
	// The step a shot fired in this frame goes at, counted from the turn's first frame.
	int GetShotStepNow() const;
	// Whether the best candidate's shot, fired in this frame from the aim and origin (the side's
	// disc) of the frame's view, does what it was judged to do: at once when it goes at its
	// step from its aim point, else after trying it (its steps are added to spent). A shot that
	// fails waits for another frame's step; after MAX_CHECKS failures it is worth what its best
	// check found, and the best is picked anew. Needs a best candidate.
	bool Confirm(const float aim[2], const float origin[2], int &spent);
	// What the last confirmed shot does.
	const Forecast &GetForecast() const { return forecast; }
	// Stops the search where it is; the best found so far stands.
	void Stop() { phase = PHASE_DONE; }

	bool IsDone() const { return phase == PHASE_DONE; }
	bool IsSearching() const { return phase != PHASE_IDLE && phase != PHASE_DONE; }
	// The best candidate tried, or null before the first is judged.
	const Candidate *GetBest() const { return best >= 0 ? &candidates[best] : nullptr; }
	int GetCandidateCount() const { return candidateCount; }
	int GetTried() const { return tried; }
	int64_t GetLastSliceMicros() const { return lastSliceMicros; }
	// Slices worked since SetUp.
	long GetSliceCount() const { return sliceCount; }
	// Steps simulated in the last slice's frame, a confirmation's included.
	int GetLastSliceSteps() const { return lastSliceSteps; }
	// Slices cut short by the clock since SetUp.
	int GetCutCount() const { return cutCount; }
	// The ball rolls into the own goal unless the side acts: its shots may go at once.
	bool IsUrgent() const { return urgent; }
	const Settings &GetSettings() const { return settings; }
	// How fields are judged for the planning side.
	const FieldJudge &GetJudge() const { return judge; }

private:
	enum Phase {
		PHASE_IDLE,
		PHASE_PREDICT,
		PHASE_EVALUATE,
		PHASE_DONE
	};

	void Predict(int &steps);
	void MakeCandidates();
	void AddCandidate(int kind, float direction, float strength, float goalY, int lead = 0);
	void AddLeads();
	bool Resolve(Candidate &candidate) const;
	// The step a shot fired in frame goes at, and the step the bodies stand at when that
	// frame's steering is decided; from the turn's first frame, for frames of frameMs from now.
	int ShotStep(int frame) const;
	int ViewStep(int frame) const;
	// The ms since the last collision pass at step.
	int WaitAt(int step) const;
	void Evaluate(int &steps);
	// The candidate tried has its value; on to the next.
	void Judged();
	void Pick();
	// Puts the bodies where field has them (ball, disc 1, disc 2, each x, y, vx, vy), the
	// next collision pass coming as it does wait ms after the last.
	void PlaceBodies(const float *field, int wait);
	const float *PredictedAt(int step) const;

	ShotSimulator simulator;
	FieldJudge judge;
	Settings settings;
	int side;            // 1 or 2
	const float *attack; // units, the centre of the goal this side attacks (the judge's)
	const float *defend; // units, the centre of its own goal (the judge's)
	float goalHalfWidth; // units

	Phase phase;
	// The turn.
	float aimNow[2]; // units, the aim point at the start of the frame now
	float aimStep;   // units per steering frame and axis
	int frameMs;     // ms
	int frameNow;
	int baseStep;  // the match's step count at the turn's first frame
	int startWait; // ms since the last collision pass then
	int stepNow;   // steps from the turn's first frame to where the bodies stand now
	int lagNow;    // ms the physics still runs in this frame
	int patience;  // frames before the first shot may go
	int lastFire;  // frame
	bool urgent;
	float fanPhase; // share of a fan step
	// The field at the turn's start: ball, disc 1, disc 2.
	float startAt[3][2];       // units
	float startVelocity[3][2]; // units per second
	// The field predicted for each step of the turn: x, y, vx, vy of ball, disc 1, disc 2.
	float predicted[MAX_PREDICTED][3][4];
	int predictedCount; // steps recorded
	bool simulating;    // a run is under way in the simulator

	Candidate candidates[MAX_CANDIDATES];
	int candidateCount;
	int next;  // the candidate being tried
	int tried; // simulated shots, confirmations included
	int best;  // index, -1 for none yet

	long sliceCount;
	int64_t lastSliceMicros; // µs of the last slice
	int lastSliceSteps;
	int cutCount;
	Forecast forecast;
};

#endif
