#ifndef TAVRO_MATCH_NETHOSTMATCH_H
#define TAVRO_MATCH_NETHOSTMATCH_H

#include <cstdint>

#include "core/GameState.h"
#include "match/InGame.h"
#include "match/MatchObserver.h"
#include "net/NetMessage.h"

class NetPlay;
class NetSession;

// The host's side of a network match: the match itself, run here with the host's options, side
// 1 steered by this machine's player and side 2 by the joiner's aims and shots as they arrive.
// Each frame the session is serviced first, the joiner's steering applied, the match's frame
// run, and then this side's aim, a snapshot when one is due, and what the match did (its
// events, hits and sounds, and where the bodies stood when each turn ended) go out. The joiner
// sees everything a trip and its playback's delay late, so its turn's time stands still here
// until its first aim of the turn says it shows it (HOLD_LIMIT at most): it gets the whole shoot
// time to aim. Escape does not pause the match; a session that ends ends the match, with the
// score so far in the log.
class NetHostMatch : public GameStateObject, private MatchObserver {
public:
	// ms of real time the joiner's turn waits at most for the joiner to show it.
	static constexpr uint32_t HOLD_LIMIT = 1000;

	explicit NetHostMatch(NetPlay &net);
	~NetHostMatch() override;

	bool Enter() override;
	bool Frame() override;
	void Leave() override;

	InGame &GetGame() { return game; }
	// The running turn's number, from 1; 0 before the first.
	int GetTurn() const { return turn; }

private:
	void EventStarted(const MatchEvent &event) override;
	void EventEnded(const MatchEvent &event, bool finished) override;
	void SoundPlayed(int slot) override;

	int ActiveSide() const;
	// The joiner's aim and shots, for its turn only.
	void TakeSteering(NetSession &session);
	// This side's aim while it steers, and a snapshot when one is due.
	void SendState(NetSession &session);
	void MakeSnapshot(NetSnapshot &out);
	void SendEvent(NetEvent &event);
	// Where the bodies stand as the turn ends, in the log and to the joiner.
	void EndTurn();
	// "NET: ..." with the score so far.
	// The online screen shows the score too.
	void LogEnd(const char *how);

	NetPlay &net;
	InGame game;
	int turn;
	bool turnOpen;                // the turn numbered turn runs
	bool lastShot;                // the last turn ended with its shot (no reset followed)
	bool resetSent;               // the bodies went back on their spots since the last snapshot
	bool ballHidden;              // a goal is being celebrated
	NetBody held[NET_BODY_COUNT]; // the bodies as last sent, held while a replay moves them
	float aimSent[2];             // units: this side's aim as last sent
	uint16_t aimTurn;             // the turn of the aim last sent
	int snapshotTurn;             // the turn of the snapshot last sent
	int heardTurn;                // the last turn of the joiner's that its aim came for
	uint32_t turnStarted;         // ms of the session's clock when the turn's time could first run
	bool holdCounted;             // turnStarted is set
	bool trophyShown;             // the match's end has begun
	bool ended;
};

#endif
