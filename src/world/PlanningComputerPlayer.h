#ifndef TAVRO_WORLD_PLANNINGCOMPUTERPLAYER_H
#define TAVRO_WORLD_PLANNINGCOMPUTERPLAYER_H

#include "world/ComputerPlayer.h"
#include "world/ShotPlanner.h"

class SearchClock;

// The "HARD" and "EXPERT" levels: through each turn a ShotPlanner tries candidate shots in a
// private physics world, a slice of simulated steps per frame, while the aim point is steered
// to the best shot found so far; that shot goes when the aim point stands on it, its step has
// come and it still does what it was judged to, so before the turn runs out whatever the
// search managed. "EXPERT" searches twice as much a frame, tries more candidates and waits less
// before it shoots. The search is the same on every machine; only a machine far too slow for it
// cuts a slice short (CAP_MICROS on the search clock).
class PlanningComputerPlayer : public ComputerPlayer {
public:
	static constexpr int CAP_MICROS = 10000; // of a slice: five times what a frame may give

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
	const ShotPlanner::Forecast *GetLastForecast() const { return judged ? &planner.GetForecast() : nullptr; }

private:
	void BeginTurn(const FieldView &view);
	// THINK_FIRE, counting the shot; judged when it goes as the best candidate was judged.
	int Fire(bool planned, bool judged);

	ShotPlanner planner;
	SearchClock &clock;
	int level;         // ComputerLevel
	bool turnStarting; // the next Decide is a turn's first
	int frame;         // of the turn, 0 the first, in frames as long as the first
	int frameMs;       // ms, the turn's first frame
	int elapsed;       // ms since the turn's first frame
	int lastFire;      // the turn's last frame a shot is sure to go in
	long shots;
	bool plannedGoal; // of the last shot
	bool judged;      // the last shot went as its candidate was judged, or as it was confirmed
};

#endif
