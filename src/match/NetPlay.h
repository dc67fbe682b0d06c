#ifndef TAVRO_MATCH_NETPLAY_H
#define TAVRO_MATCH_NETPLAY_H

#include <memory>

#include "core/Clock.h"
#include "net/NetConfig.h"
#include "net/NetSession.h"

struct OptionsRecord;

// Network play from the menu to the end of a match and back: the one session, on a clock of
// real time (a time scale must not shorten the network's timeouts), the start the command line
// asked for, and the match options both sides build from the host's. It lives as long as the
// program, so the session outlives the state that set it up.
class NetPlay {
public:
	enum Start {
		START_NONE = 0,
		START_HOST = 1,
		START_JOIN = 2
	};
	static constexpr int STATUS_SIZE = 256; // characters, terminator included

	NetPlay();
	~NetPlay();
	NetPlay(const NetPlay &) = delete;
	NetPlay &operator=(const NetPlay &) = delete;

	// What the command line asks for once the menu shows: hosting on port, or joining address.
	void RequestStart(int what, int port, const char *address);
	// START_*, once; then START_NONE.
	int TakeStartRequest();
	bool HasStartRequest() const { return start != START_NONE; }
	int GetStartPort() const { return startPort; }
	const char *GetStartAddress() const { return startAddress; }

	// A new session in place of any other: hosting a match of options on port, with the time
	// of day and the arena drawn here when the options leave them to chance, so both sides
	// build the same world. False (the reason in the status) when the port cannot be had.
	bool Host(const OptionsRecord &options, int port);
	// A new session joining address ("name[:port]") with player 1's character of options.
	bool Join(const char *address, const OptionsRecord &options);
	// Says goodbye; the session is kept, and serviced, until the goodbye went through.
	void Leave();
	// The session's Update and Flush, once a frame by whichever state shows it; an ended session
	// whose peer is gone is dropped, its last words kept for the status line.
	void Service();
	// Hangs up at once without waiting.
	void Drop();
	// Hangs up at once, with words of the caller's for the status line.
	void Drop(const char *status);

	NetSession *GetSession() const { return session.get(); }
	bool IsInMatch() const { return session && session->GetState() == NET_SESSION_IN_MATCH; }
	// Under way: hosting and waiting, or connecting.
	bool IsBusy() const;
	// The session's status, or the last one of a session dropped, with the score of the match
	// that ended; "" before any.
	const char *GetStatusText() const;
	Clock &GetClock() { return *clock; }
	// Ports and timeouts of the sessions made from now on (tests shorten them).
	NetConfig &GetConfig() { return config; }
	// The seed of the matches hosted from now on (tests); 0 draws one from the clock.
	void SetSeed(uint32_t value) { seed = value; }
	// The session's clock from now on (tests hand in their own); it must outlive every session.
	void SetClock(Clock *other) { clock = other ? other : &realClock; }

	// A network match just ended at goals1:goals2: the menu shows the online screen with how it
	// ended and the score.
	void EndOfMatch(int goals1, int goals2);
	bool TakeShowAfterMatch();

	// The options a side plays the match with: its own (keys, guide, replay, music) with the
	// host's length, shoot time, time of day and arena, the two characters, both sides human;
	// the joiner steers side 2 with its player 1 keys.
	static OptionsRecord MatchOptions(const OptionsRecord &own, const NetWelcome &welcome, int side);

private:
	void KeepStatus();

	MonotonicClock realClock;
	Clock *clock;
	NetConfig config;
	std::unique_ptr<NetSession> session;
	char status[STATUS_SIZE];
	int score[2]; // of the match that ended, -1 for none
	mutable char shown[STATUS_SIZE + 32];
	uint32_t seed; // 0: the clock's
	int start;
	int startPort;
	char startAddress[STATUS_SIZE];
	bool showAfterMatch;
};

#endif
