#ifndef TAVRO_WORLD_SHOTPLANNER_H
#define TAVRO_WORLD_SHOTPLANNER_H

#include <cstdint>

#include "world/ShotSimulator.h"

class SearchClock;
struct FieldView;

// The search of the planning levels. At a turn's start it predicts how the field moves on while
// the side aims, makes its candidate shots (straight hits sending the ball across the goal
// mouth, a fan of directions and strengths all round, a run back to guard its own goal, a hit
// on the other disc), tries each in a ShotSimulator until everything rests and scores where it
// leaves the ball and the discs. It can also try the other side's best replies to its best
// candidates. It works in slices that keep to a number of simulated steps and to a time on a
// clock, and it never allocates after SetUp.
//
// A turn as the planner sees it, in frames of the first frame's length: searchFrames frames of
// search with the aim held still, then steering frames in which the aim point moves one aim
// step (Aim::SPEED × frame) along each axis it needs, then the frame that fires. Every
// candidate's aim point is one such steering can reach, and it is tried from the field as the
// prediction says it will be when that frame's shot goes.
class ShotPlanner {
public:
	static constexpr int MAX_CANDIDATES = 256;
	static constexpr int MAX_REPLIES = 32;
	static constexpr int MAX_PREDICTED = 601;    // steps: a 5 s turn and some
	static constexpr float MAX_SHOT = 59.9f;     // units of aim, just inside the aim's own limit
	static constexpr float GOAL_VALUE = 1000.0f;

	struct Settings {
		int fanDirections;      // directions all round the disc
		int fanStrengths;       // strengths along each of them
		int goalPoints;         // points across the goal mouth the ball is sent to
		int aimOffsets;         // turns either side of each straight hit
		int replies;            // the other side's replies tried per candidate; 0 tries none
		int repliedCandidates;  // how many of the best candidates get replies
		int stepsPerSlice;      // simulated steps per slice at most
		int sliceMicros;        // µs per slice at most
		int shotCap;            // ms simulated of a candidate shot before it is judged
		int replyCap;           // ms simulated of a reply
	};

	struct Candidate {
		int kind;               // CandidateKind
		float direction;        // radians: the turn off a straight hit, or the fan's heading
		float strength;         // units of aim wanted (shrunk when steering cannot reach it)
		float goalY;            // units: the point of the mouth a straight hit sends the ball to
		float aimPoint[2];      // units: where the aim point must stand when the shot goes
		float shot[2];          // units: the aim point less the disc then (the disc leaves at 1.5 ×)
		int frames;             // steering frames from the search's end
		int fireStep;           // physics steps from the turn's start to the shot
		float value;            // of where the shot leaves things, for the planning side
		float replied;          // value after the other side's best reply (when tried)
		float end[3][2];        // units: ball, disc 1, disc 2 where the shot left them
	};

	enum CandidateKind { KIND_STRAIGHT = 0, KIND_FAN, KIND_GUARD, KIND_DISC };

	ShotPlanner();

	// Copies the arena for the simulations; side 1 attacks goal 2, side 2 goal 1.
	bool SetUp(const Arena &arena, int side, const Settings &settings);
	void Release();

	// A new search from what the side sees in the first frame of its turn: searchFrames frames
	// of search, then at most steerFrames frames to steer (view.dt long each).
	void Begin(const FieldView &view, int searchFrames, int steerFrames);
	// Works until the search is done, the slice's steps are spent or sliceMicros have passed on
	// clock. True when the search is done.
	bool Work(SearchClock &clock);
	// Stops the search where it is; the best found so far stands.
	void Stop() { phase = PHASE_DONE; }

	bool IsDone() const { return phase == PHASE_DONE; }
	bool IsSearching() const { return phase != PHASE_IDLE && phase != PHASE_DONE; }
	// The best candidate tried, or null before the first is judged.
	const Candidate *GetBest() const { return best >= 0 ? &candidates[best] : nullptr; }
	int GetCandidateCount() const { return candidateCount; }
	int GetTried() const { return tried; }
	int64_t GetLastSliceMicros() const { return lastSliceMicros; }
	int GetLastSliceSteps() const { return lastSliceSteps; }
	const Settings &GetSettings() const { return settings; }
	// How good a field is for the planning side, with the other side to move.
	float Judge(const float ball[2], const float own[2], const float other[2]) const;
	// The value of a shot's outcome for the planning side.
	float JudgeOutcome(const ShotSimulator::Outcome &outcome) const;

private:
	enum Phase { PHASE_IDLE, PHASE_PREDICT, PHASE_EVALUATE, PHASE_REPLY, PHASE_DONE };
	static constexpr int CHUNK = 8; // steps between looks at the clock

	void Predict(int &steps);
	void MakeCandidates();
	void AddCandidate(int kind, float direction, float strength, float goalY);
	bool Resolve(Candidate &candidate) const;
	void Evaluate(int &steps);
	void ChooseReplied();
	void MakeReplies(const Candidate &candidate);
	void Reply(int &steps);
	const float *PredictedAt(int step) const;
	void Pick();

	ShotSimulator simulator;
	Settings settings;
	int side;                 // 1 or 2
	float attack[2];          // units, the centre of the goal this side attacks
	float defend[2];          // units, the centre of its own goal
	float goalHalfWidth;      // units
	float bounds[4];          // units: the walls' extent, min x, min y, max x, max y

	Phase phase;
	// The turn.
	float aimStart[2];        // units, the aim point while the search runs
	float aimStep;            // units per steering frame and axis
	int frameMs;              // ms
	int searchFrames;
	int steerFrames;
	// The field at the turn's start: ball, disc 1, disc 2.
	float startAt[3][2];      // units
	float startVelocity[3][2];// units per second
	// The field predicted for each step of the turn: x, y, vx, vy of ball, disc 1, disc 2.
	float predicted[MAX_PREDICTED][3][4];
	int predictedCount;       // steps recorded
	bool simulating;          // a run is under way in the simulator

	Candidate candidates[MAX_CANDIDATES];
	int candidateCount;
	int next;                 // the candidate (or replied candidate) being tried
	int tried;
	int best;                 // index, -1 for none yet
	// The replies of the other side to the candidate being replied to.
	int replied[MAX_CANDIDATES];   // indices of the candidates that get replies, best first
	int repliedCount;
	float replyShots[MAX_REPLIES][2];
	int replyCount;
	int nextReply;
	float worstReply;         // the lowest value a reply has left so far

	int64_t lastSliceMicros;  // µs of the last slice
	int lastSliceSteps;
};

#endif
