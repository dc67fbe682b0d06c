#ifndef TAVRO_MATCH_NETJOINMATCH_H
#define TAVRO_MATCH_NETJOINMATCH_H

#include <cstdint>
#include <memory>

#include "core/GameState.h"
#include "core/Random.h"
#include "match/AimGuide.h"
#include "match/GoalReplay.h"
#include "match/Hud.h"
#include "match/InGameMenu.h"
#include "match/MatchControls.h"
#include "match/MatchEvents.h"
#include "match/MatchView.h"
#include "match/MatchWorld.h"
#include "net/NetMessage.h"
#include "net/NetQueue.h"
#include "options/OptionsRecord.h"
#include "world/Announcement.h"
#include "world/MatchContext.h"

class NetPlay;
class NetSession;
struct NI_Joystick;

// The joiner's side of a network match: the host's match shown, never simulated. The bodies,
// the clocks, the score and whose turn it is come from the host's snapshots, played back a
// little behind; the countdown, goals, trophy, sparks and sounds from its events, each started
// when the playback reaches the moment it happened; where the bodies stood as each turn ended
// from its rest reports. This machine's player steers side 2 with their player 1 keys or pad:
// their aim moves here at once and goes to the host with their shot; the host's aim shows as it
// arrives. The aim guide, the replay and the music follow this player's own options. Escape
// opens the menu over play, which goes on.
class NetJoinMatch : public GameStateObject, public MatchContext {
public:
	explicit NetJoinMatch(NetPlay &net);
	~NetJoinMatch() override;

	bool Enter() override { return Init(); }
	bool Frame() override;
	void Leave() override;

	bool Init();
	void Deinit();
	// Without drawing (tests, benchmarks).
	void SetDrawing(bool on) { drawing = on; }

	// What the events it plays see.
	bool IsFrozen() const override { return announcementMode != ANNOUNCE_NONE; }
	void SetAnnouncementMode(int mode) override { announcementMode = mode; }
	Announcement &GetAnnouncement() override { return announcement; }
	void SetPhase(int phase) override;
	int GetPeriodTimeLeft() const override { return periodTimeLeft; }
	void SetPeriodTimeLeft(int ms) override { periodTimeLeft = ms; }
	int GetPeriodIndex() const override { return periodIndex; }
	void SetTurnOver(bool) override {}
	void SetShotTimer(ShotTurnEvent *) override {}
	void RecordGoal(Disc *) override {} // the host counts the goals
	int GetLayoutWidth() const override { return LayoutLength(screenWidth, screenWidth, screenHeight); }
	int GetLayoutHeight() const override { return LayoutLength(screenHeight, screenWidth, screenHeight); }
	const OptionsRecord &GetOptions() const override { return options; }
	Disc *GetDisc(int side) const override { return world->GetDisc(side); }
	void SetBallHidden(bool hidden) override;
	ParticleEmitter *GetSparks(int which) const override { return world->GetSparks(which); }
	const char *GetCharacterName(int side) const override;
	// The host's sounds arrive as events: the events played here stay silent.
	int PlaySound(int) override { return 0; }
	void StopSound(int) override {}

	// For the tests and the benchmark.
	const MatchWorld &GetWorld() const { return *world; }
	int GetTurn() const { return turn; }
	int GetSide() const { return side; }
	bool IsReplaying() const { return replaying; }
	InGameMenu &GetMenu() { return menu; }
	const MatchEvents &GetEvents() const { return events; }

private:
	void AdvanceTimer();
	bool TakeInput(const uint8_t **keys, int *keyCount, const NI_Joystick *pads[2]) const;
	void AnswerMenu(NetSession &session);
	// Events and rest reports wait here until the playback reaches them.
	void Receive(NetSession &session);
	// The bodies (unless a replay moves them), the clocks, the score and the turn as the
	// playback shows them.
	void Show(NetSession &session);
	void ShowTurn(int newTurn, int newSide);
	void PlayDue(NetSession &session);
	void Play(const NetEvent &event);
	void Rest(const NetRest &rest);
	void StopHurry();
	// This player's keys: the menu, the cameras, and side 2's aim and shot in its turn.
	void Steer(NetSession &session);
	bool IsOurTurn() const;
	void Replay();
	void Record();
	void UpdateGuide();
	void Draw();
	// "NET: ..." with the score shown.
	// The online screen shows the score too.
	void LogEnd(const char *how);

	NetPlay &net;
	OptionsRecord options;
	Random random;
	int frameTime;      // ms
	int periodTimeLeft; // ms, as shown
	int periodIndex;    // as shown, -1 before the first period
	int turn;           // as shown, 0 before the first
	int side;           // whose turn is shown, 0 before the first
	int newestTurn;     // the turn of the host's newest snapshot
	int shownPhase;     // MatchPhase of the host, as shown
	int shownAnnouncement;
	int firedTurn;      // the last turn this player fired on
	int goalTurn;       // the turn a replayed goal ended
	float aimSent[2];   // units: side 2's aim as last sent
	int aimTurn;        // the turn of the aim last sent
	uint32_t aimSentAt; // ms of the session's clock
	int recordWait;     // ms of play not yet recorded for a replay
	int hurryChannel;   // of the last hurry-up signal, 0 for none
	bool replaying;
	bool trophyShown; // the trophy started
	bool finished;    // and ended
	bool done;        // left, or the session ended
	Announcement announcement;
	int announcementMode; // AnnouncementMode
	int screenWidth;      // pixels
	int screenHeight;     // pixels
	bool musicOn;
	bool drawing;
	NetQueue<NetEvent, 256> waiting;
	NetQueue<NetRest, 32> rests;
	std::unique_ptr<MatchWorld> world;
	MatchControls controls;
	Hud hud;
	MatchEvents events;
	InGameMenu menu;
	GoalReplay replay;
	AimGuide guide;
};

#endif
