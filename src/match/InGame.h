#ifndef TAVRO_MATCH_INGAME_H
#define TAVRO_MATCH_INGAME_H

#include <ode/ode.h>

#include <cstdint>
#include <vector>

#include "core/GameState.h"
#include "core/Random.h"
#include "match/Hud.h"
#include "match/InGameMenu.h"
#include "match/MatchCameras.h"
#include "world/Announcement.h"
#include "world/ComputerPlayer.h"
#include "world/MatchContext.h"

class Aim;
class Arena;
class Ball;
class Camera;
class Disc;
class MatchEvent;
class ParticleEmitter;
class Shadow;
class SkyBox;
class ssgRoot;

// Contacts already announced; each is raised once until a collision pass sees no contact.
enum ContactFlag {
	CONTACT_DISC_DISC = 1,
	CONTACT_BALL_DISC1 = 2,
	CONTACT_BALL_DISC2 = 4,
	CONTACT_DISC1_WALL = 8,
	CONTACT_DISC2_WALL = 16,
	CONTACT_BALL_WALL = 32
};

// One match: it builds the world, the physics, the cameras and the HUD, runs the rules frame by
// frame (turns, periods, goals, the countdown and the trophy as match events) and draws it.
class InGame : public GameStateObject, public MatchContext {
public:
	static constexpr int PERIOD_COUNT = 4;
	static constexpr int PHYSICS_STEP = 10;    // ms per world step
	static constexpr int COLLISION_WAIT = 20;  // ms of simulated time between collision passes
	static constexpr int KEY_STATES = 512;     // remembered key codes, more than SDL has

	InGame();
	~InGame() override;

	bool Enter() override { return Init(); }
	bool Frame() override;
	void Leave() override { Deinit(); }

	// Stops at the first failure with its message in the log; Deinit releases what was made.
	bool Init();
	void Deinit();
	// The match owns the event from here on; it must be started.
	void AddEvent(MatchEvent *event);
	// The match draws everything random (time of day, arena, first turn, sky, particles, the
	// computer players) from this seed; the clock's by default.
	void SetSeed(uint32_t value) { seed = value; }
	// Without drawing the match runs its rules only (benchmarks, headless runs).
	void SetDrawing(bool on) { drawing = on; }

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
	int GetScreenWidth() const override { return screenWidth; }
	int GetScreenHeight() const override { return screenHeight; }
	const OptionsRecord &GetOptions() const override;
	Disc *GetDisc(int side) const override { return side == 1 ? disc1 : disc2; }
	Ball *GetBall() const { return ball; }
	void SetBallHidden(bool hidden) override;
	ParticleEmitter *GetSparks(int which) const override;
	const char *GetCharacterName(int side) const override;
	int PlaySound(int slot) override;
	void StopSound(int channel) override;

	// For the tests and the drawing code.
	int GetPhase() const { return phase; }
	int GetAnnouncementMode() const { return announcementMode; }
	int GetNight() const { return night; }
	Arena *GetArena() const { return arena; }
	Aim *GetAim(int side) const { return side == 1 ? aim1 : aim2; }
	Aim *GetActiveAim() const { return activeAim; }
	Disc *GetActiveDisc() const { return activeDisc; }
	Disc *GetLastScorer() const { return lastScorer; }
	ShotTurnEvent *GetShotTimer() const { return shotTimer; }
	Camera *GetCamera(int index) const;
	int GetMainCamera() const { return mainCamera; }
	int GetMiniCamera() const { return miniCamera; }
	bool IsMiniViewShown() const { return miniViewShown; }
	bool IsFpsShown() const { return showFps; }
	bool IsMenuRequested() const { return menuRequested; }
	InGameMenu &GetMenu() { return menu; }
	Shadow *GetShadow(int index) const { return shadows[index]; }
	const ComputerPlayer *GetComputer(int side) const;
	int GetContactFlags() const { return contactFlags; }
	int GetEventCount() const { return static_cast<int>(events.size()); }
	int GetEventsAdded() const { return eventsAdded; }
	const MatchEvent *GetEvent(int index) const { return events[index]; }
	uint32_t GetPhysicsTime() const { return physicsTime; }
	dWorldID GetWorld() const { return world; }
	dJointGroupID GetContactGroup() const { return contactGroup; }

private:
	enum ShadowIndex { SHADOW_DISC1 = 0, SHADOW_DISC2 = 1, SHADOW_BALL = 2, SHADOW_COUNT = 3 };

	bool SetUpShadows();
	bool LoadSounds();

	// Frame parts.
	void AdvanceTimer();
	bool MenuFrame();
	void PlayFrame();
	void ReadInput();
	void Steer(const uint8_t *keys, int keyCount);
	void SteerWithComputer(Aim *aim, ComputerPlayer &computer, Disc *own, Disc *other);
	void CollisionPass();
	void Collide(dGeomID g1, dGeomID g2);
	static void NearCallback(void *data, dGeomID g1, dGeomID g2);
	void StepPhysics();
	void UpdateObjects(int dt);
	void UpdateEvents();
	void Draw();
	void DrawView(Camera *camera, int cameraIndex, int dt);
	void DrawAnnouncement() const;

	// Rules.
	void GiveTurn(int side);
	void StartTurn(int side);
	void NextTurn();
	void StartPeriod();
	void RestartAfterGoal();
	void ResetPositions();
	void ResetPhysicsClock();
	void DropShotTimer(bool abort);
	void StartCountdown();
	bool KeyPressed(const uint8_t *keys, int keyCount, int key) const;

	int phase;                       // MatchPhase
	bool menuRequested;
	int frameTime;                   // ms, never negative
	uint8_t previousKeys[KEY_STATES];
	std::vector<MatchEvent *> events; // owned
	ssgRoot *sceneRoot;
	ssgRoot *skyRoot;
	bool odeStarted;                 // dInitODE was called for this match
	dWorldID world;
	dSpaceID space;
	dJointGroupID contactGroup;
	Camera *cameras[MATCH_CAMERA_COUNT];
	int mainCamera;                  // 0 to 3
	int miniCamera;                  // 4 to 7
	SkyBox *skyBox;
	Ball *ball;
	Disc *disc1;
	Disc *disc2;
	Disc *activeDisc;
	Aim *aim1;
	Aim *aim2;
	Aim *activeAim;
	Shadow *shadows[SHADOW_COUNT];   // day only
	bool turnOver;
	ShotTurnEvent *shotTimer;        // the running turn, in events
	Disc *lastScorer;
	int periodTimeLeft;              // ms
	int periodIndex;                 // -1 before the first period
	uint32_t physicsTime;            // ms of the frame timer up to which the world has been stepped
	int collisionWait;               // ms of simulated time since the last collision pass
	bool miniViewShown;
	int night;                       // 0 day, 1 night
	Announcement announcement;
	int announcementMode;            // AnnouncementMode
	uint32_t pauseTime;              // ms of the frame timer when play was paused, 0 when not
	bool showFps;
	bool screenshotRequested;        // taken once the frame is drawn, before it is shown
	Random random;                   // seeded at set-up; everything below draws from it
	ComputerPlayer computer1;        // plays side 2
	ComputerPlayer computer2;        // plays side 1
	bool hasComputer1;
	bool hasComputer2;
	Arena *arena;
	ParticleEmitter *sparks[2];      // disc against disc, disc against wall
	Hud hud;
	int screenWidth;                 // pixels
	int screenHeight;                // pixels
	int contactFlags;                // ContactFlag bits
	bool contactSeen;                // in the running collision pass
	bool musicOn;
	uint32_t seed;
	bool drawing;
	int eventsAdded;                 // since set-up
	InGameMenu menu;
	bool escapeHeldOver;             // Escape closed the menu and has not been let go since
};

#endif
