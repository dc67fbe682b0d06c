#ifndef TAVRO_WORLD_PLANNINGCOMPUTERPLAYER_H
#define TAVRO_WORLD_PLANNINGCOMPUTERPLAYER_H

#include "world/ComputerPlayer.h"
#include "world/ShotPlanner.h"

class SearchClock;

// The "HARD" and "EXPERT" levels: through each turn a ShotPlanner tries candidate shots in a
// private physics world, a slice per frame, while the aim point is steered to the best shot
// found so far; that shot goes when the aim point stands on it and its frame has come, so
// before the turn runs out whatever the search managed. "EXPERT" tries more candidates and
// weighs the other side's best reply to its best ones.
class PlanningComputerPlayer : public ComputerPlayer {
public:
	static constexpr int SLICE_MICROS = 1800; // per frame, under the 2 ms a frame may give

	// level is LEVEL_HARD or LEVEL_EXPERT; clock must outlive the player.
	PlanningComputerPlayer(Random &random, SearchClock &clock, int level);

	int GetLevel() const override { return level; }
	bool SetUpField(const Arena &arena, int side) override;
	void StartTurn() override { turnStarting = true; }
	int Decide(const FieldView &view) override;

	// The planner's settings for a level, and the share of a turn before which its shot goes
	// only to save the own goal (the field settles, the search looks further).
	static ShotPlanner::Settings SettingsFor(int level);
	static float PatienceShare(int level);

	const ShotPlanner &GetPlanner() const { return planner; }
	int GetFrame() const { return frame; }
	int GetLastFire() const { return lastFire; }
	// Shots this player has fired, and whether the last one went as a shot its search had seen
	// score (the benchmark sets that against the goals that followed).
	long GetShotCount() const { return shots; }
	bool WasLastShotAPlannedGoal() const { return plannedGoal; }
	// What the search saw the last shot do; null when that shot went unjudged (at the turn's
	// end with the aim off its point, or played as "NORMAL").
	struct Forecast {
		bool goal;       // for this side
		int time;        // ms from the shot to the goal, to rest, or to the search's cap
		float end[3][2]; // units: the ball, disc 1 and disc 2 then
	};
	const Forecast *GetLastForecast() const { return judged ? &forecast : nullptr; }

private:
	void BeginTurn(const FieldView &view);
	// THINK_FIRE, counting the shot; judged when it goes as the best candidate was judged.
	int Fire(bool planned, bool judged);

	ShotPlanner planner;
	SearchClock &clock;
	int level;         // ComputerLevel
	bool turnStarting; // the next Decide is a turn's first
	int frame;         // of the turn, 0 the first
	int lastFire;      // the turn's last frame a shot is sure to go in
	float aimStep;     // units per frame and axis this turn
	long shots;
	bool plannedGoal; // of the last shot
	bool judged;      // the last shot went as its candidate was judged
	Forecast forecast;
};

#endif
