#ifndef TAVRO_MATCH_INGAME_H
#define TAVRO_MATCH_INGAME_H

#include <cstdint>
#include <memory>

#include "core/GameState.h"
#include "core/Random.h"
#include "match/AimGuide.h"
#include "match/Hud.h"
#include "match/GoalReplay.h"
#include "match/InGameMenu.h"
#include "match/MatchControls.h"
#include "match/MatchEvents.h"
#include "match/MatchView.h"
#include "match/MatchObserver.h"
#include "match/MatchPhysics.h"
#include "match/MatchWorld.h"
#include "world/Announcement.h"
#include "world/MatchContext.h"

// One match: it sets up the world, the physics, the controls and the HUD, and runs the frame's
// phase machine: the periods, the turns, the goals, the countdown and the trophy as match
// events, the in-game menu, and the drawing.
class InGame : public GameStateObject, public MatchContext {
public:
	static constexpr int PERIOD_COUNT = 4;

	InGame();
	~InGame() override;

	bool Enter() override { return Init(); }
	bool Frame() override;
	void Leave() override { Deinit(); }

	// Stops at the first failure with its message in the log; Deinit releases what was made.
	bool Init();
	void Deinit();
	// The match draws everything random (time of day, arena, first turn, sky, particles, the
	// computer players) from this seed; the clock's by default.
	void SetSeed(uint32_t value) { seed = value; }
	// Without drawing the match runs its rules only (benchmarks, headless runs).
	void SetDrawing(bool on) { drawing = on; }
	// A computer side plays at its own level (ComputerLevel) instead of the options' one, from
	// the next set-up on; -1 goes back to the options'.
	void SetComputerLevel(int side, int level) { controls.SetLevel(side, level); }
	// The clock the planning levels' search reads, from the next set-up on (null: the system's);
	// it must outlive the match.
	void SetSearchClock(SearchClock *clock) { controls.SetSearchClock(clock); }
	// The options this match is played with instead of the process-wide ones (a network
	// match's), from the next set-up on.
	void SetMatchOptions(const OptionsRecord &options);
	// A side steered on another machine: no keys, pads or computer here move it, and its turns
	// get no aim guide.
	void SetRemoteSide(int side) { controls.SetRemote(side, true); }
	// Whether Escape stops the match (it does not in a network match: the menu then opens over
	// play going on, and this machine's player steers nothing while it is open).
	void SetPausable(bool on) { pausable = on; }
	// Told of the events and sounds of the match (null for none).
	void SetObserver(MatchObserver *observer_);

	// What the events see.
	bool IsFrozen() const override { return announcementMode != ANNOUNCE_NONE; }
	void SetAnnouncementMode(int mode) override { announcementMode = mode; }
	Announcement &GetAnnouncement() override { return announcement; }
	void SetPhase(int value) override { phase = value; }
	int GetPeriodTimeLeft() const override { return periodTimeLeft; }
	void SetPeriodTimeLeft(int ms) override { periodTimeLeft = ms; }
	int GetPeriodIndex() const override { return periodIndex; }
	void SetTurnOver(bool over) override { turnOver = over; }
	void SetShotTimer(ShotTurnEvent *timer) override { shotTimer = timer; }
	void RecordGoal(Disc *disc) override;
	int GetLayoutWidth() const override { return LayoutLength(screenWidth, screenWidth, screenHeight); }
	int GetLayoutHeight() const override { return LayoutLength(screenHeight, screenWidth, screenHeight); }
	const OptionsRecord &GetOptions() const override;
	Disc *GetDisc(int side) const override { return world->GetDisc(side); }
	void SetBallHidden(bool hidden) override;
	ParticleEmitter *GetSparks(int which) const override { return world->GetSparks(which); }
	const char *GetCharacterName(int side) const override;
	int PlaySound(int slot) override;
	void StopSound(int channel) override;

	// For the tests and the benchmarks; the world, physics and controls exist once set up.
	int GetPhase() const { return phase; }
	int GetAnnouncementMode() const { return announcementMode; }
	const MatchWorld &GetWorld() const { return *world; }
	const MatchPhysics &GetPhysics() const { return *physics; }
	const MatchControls &GetControls() const { return controls; }
	const MatchEvents &GetEvents() const { return events; }
	Disc *GetActiveDisc() const { return activeSide ? world->GetDisc(activeSide) : nullptr; }
	Disc *GetLastScorer() const { return lastScorer; }
	ShotTurnEvent *GetShotTimer() const { return shotTimer; }
	InGameMenu &GetMenu() { return menu; }
	const GoalReplay &GetReplay() const { return replay; }
	const AimGuide &GetGuide() const { return guide; }
	// Told of every contact of the match's collision passes (null for none).
	void SetContactObserver(ContactListener *observer) { physics->SetObserver(observer); }

private:
	// Frame parts.
	void AdvanceTimer();
	bool MenuFrame();
	// The menu's answer: false when the match is to be left.
	bool AnswerMenu();
	void ReplayFrame();
	void HoldInputOver();
	void PlayFrame();
	// A part of a play frame ending at now (ms of the frame timer), with the frame's key states
	// (null without a keyboard) and pads; false when it opened the in-game menu.
	bool PlayPart(const uint8_t *keys, int keyCount, const NI_Joystick *const pads[2], uint32_t now, bool last);
	void ReadInput(const uint8_t *keys, int keyCount, const NI_Joystick *const pads[2], uint32_t now);
	void StepPhysics(uint32_t now);
	void UpdateGuide();
	void UpdateEvents();
	void Draw();

	// Rules.
	void GiveTurn(int side);
	void StartTurn(int side);
	void NextTurn();
	void StartPeriod();
	void RestartAfterGoal();
	void ResetPositions();
	void ResetPhysicsClock();
	void DropShotTimer(bool abort);
	void StartEvent(MatchEvent *event);

	int phase;          // MatchPhase
	int frameTime;      // ms, never negative
	uint32_t pauseTime; // ms of the frame timer when play was paused, 0 when not
	int periodTimeLeft; // ms
	int periodIndex;    // -1 before the first period
	int activeSide;     // whose turn it is, 0 before the first
	bool turnOver;
	ShotTurnEvent *shotTimer; // the running turn, in events
	Disc *lastScorer;
	Announcement announcement;
	int announcementMode; // AnnouncementMode
	int screenWidth;      // pixels
	int screenHeight;     // pixels
	bool musicOn;
	bool drawing;
	bool pausable;
	std::unique_ptr<OptionsRecord> matchOptions; // null: the process-wide ones
	MatchObserver *observer;                     // not owned
	uint32_t seed;
	Random random; // seeded at set-up; everything below draws from it
	// Made by Init in this order and released by Deinit in the reverse one.
	std::unique_ptr<MatchWorld> world;
	std::unique_ptr<MatchPhysics> physics;
	MatchControls controls;
	Hud hud;
	MatchEvents events;
	InGameMenu menu;
	GoalReplay replay; // set up when the options ask for replays
	AimGuide guide;    // set up when the options ask for the guide
	bool replayShown;  // of the goal being restarted from
};

#endif
