#ifndef TAVRO_NET_NETSESSION_H
#define TAVRO_NET_NETSESSION_H

#include <cstdint>

#include "net/NetAddress.h"
#include "net/NetConfig.h"
#include "net/NetDiscoveryResponder.h"
#include "net/NetLink.h"
#include "net/NetMessage.h"
#include "net/NetQueue.h"
#include "net/NetTransport.h"
#include "net/SnapshotInterpolator.h"

class Clock;

enum NetSessionState {
	NET_SESSION_IDLE = 0,
	NET_SESSION_CONNECTING = 1, // joiner: until the host's options arrive
	NET_SESSION_WAITING = 2,    // host: until a player's hello
	NET_SESSION_IN_MATCH = 3,
	NET_SESSION_ENDED = 4 // for the reason GetEndReason gives
};

enum NetEndReason {
	NET_END_NONE = 0,
	NET_END_LEFT,          // "You left the match"
	NET_END_CANCELLED,     // "Cancelled": left before a match began
	NET_END_OPPONENT_LEFT, // "Your opponent left"
	NET_END_OVER,          // "The match is over"
	NET_END_LOST,          // "Connection lost"
	NET_END_NO_ANSWER,     // "No answer from ADDRESS after 5 seconds"
	NET_END_FULL,          // "That game is full"
	NET_END_VERSION,       // "That player runs version X"
	NET_END_FAILED         // "Cannot host on port N", "Cannot find ADDRESS"
};

// One side of a network match, host or joiner, polled once a frame. The host is side 1 and the
// authority: its options rule the match, it runs the physics and the rules and sends snapshots,
// events and rest reports; the joiner, side 2, sends its aim and its shots and shows what the
// host sends. Nothing waits: Update services the network with a timeout of 0. Time comes from
// the clock handed in, which must run in real time (a time scale would shorten the timeouts).
//
// Per frame: Update first, then read what arrived and send this frame's messages, then Flush.
class NetSession {
public:
	static constexpr int EVENTS_PER_UPDATE = 64; // network events handled in one Update at most

	NetSession(Clock &clock, const NetConfig &config = NetConfig());
	~NetSession();
	NetSession(const NetSession &) = delete;
	NetSession &operator=(const NetSession &) = delete;

	// Hosts a match of options (its second character is the joiner's, filled in from its hello)
	// and answers LAN queries. False, ended, when the port cannot be had.
	bool Host(const NetWelcome &options);
	// Joins the host at address ("name[:port]") with character. False, ended, for an address
	// that cannot be read or found.
	bool Join(const char *address, int character);
	// Services the network, handles what arrived and checks the timeouts.
	void Update();
	// Sends what this frame queued.
	void Flush() { transport.Flush(); }
	// Says goodbye and hangs up: the other side ends with "Your opponent left"; this one with
	// "You left the match" (or "Cancelled" before the match). Keep calling Update until
	// IsClosed for the goodbye to be acknowledged, or destroy the session at once.
	void Leave();
	// The match ended with its trophy: the other side ends with "The match is over", as this.
	void EndMatch();

	NetSessionState GetState() const { return state; }
	bool IsHost() const { return role == ROLE_HOST; }
	int GetSide() const { return role == ROLE_HOST ? 1 : 2; }
	NetEndReason GetEndReason() const { return endReason; }
	// In plain words for the player's status line: waiting, connecting, playing, or why it ended.
	const char *GetStatusText() const { return status; }
	// The options that rule the match, once in it; both characters are known then.
	const NetWelcome &GetOptions() const { return options; }
	// No peer is connected any more (a goodbye went through or timed out).
	bool IsClosed() const;

	// Both sides, in a match: this side's aim as it steers it, and the other side's newest.
	void SendAim(uint16_t turn, float x, float y);
	bool GetPeerAim(NetAim &out) const;
	// Joiner: fires on the turn with the aim x, y from the disc.
	void SendFire(uint16_t turn, float x, float y);
	// Host: the joiner's shots in the order they came.
	bool TakeFire(NetFire &out) { return fires.Take(out); }
	// Host: a snapshot is due (every snapshotInterval ms); the session stamps its sequence and time.
	bool IsSnapshotDue() const;
	void SendSnapshot(const NetSnapshot &snapshot);
	// The session stamps their time.
	void SendEvent(const NetEvent &event);
	void SendRest(const NetRest &rest);
	// Joiner: what the host sent, in order.
	bool TakeEvent(NetEvent &out) { return events.Take(out); }
	bool TakeRest(NetRest &out) { return rests.Take(out); }
	// Joiner: the host's snapshots, to sample with the session's clock.
	const SnapshotInterpolator &GetSnapshots() const { return snapshots; }
	bool SampleBodies(NetBody out[NET_BODY_COUNT], NetSnapshot *state = nullptr) const;
	// Joiner: the moment of the host's clock the bodies are shown at now; false before the
	// first snapshot. Events and rest reports are due when it reaches their time.
	bool GetShownTime(uint32_t &hostTime) const;

	// For the tests and the benchmark.
	const NetTransport &GetTransport() const { return transport; }
	const NetLink &GetLink() const { return link; }
	int GetDiscoveryPort() const { return responder.IsOpen() ? responder.GetPort() : 0; }

private:
	enum Role {
		ROLE_NONE = 0,
		ROLE_HOST = 1,
		ROLE_JOINER = 2
	};

	void Handle(const NetTransportEvent &event);
	void Connected(int peer);
	void Disconnected(int peer, uint32_t hangup);
	void Received(const NetTransportEvent &event);
	void Hello(int peer, const NetMessage &message);
	void Welcome(const NetMessage &message);
	void Refused(const NetMessage &message);
	void MatchMessage(const NetMessage &message);
	// Queues what the match is to take; a full queue drops it with a warning.
	template <typename Queue, typename Item>
	static void Keep(Queue &queue, const Item &item, const char *what);
	void CheckTimers();
	void Refuse(int peer, int reason);
	void Ended(NetEndReason reason);
	bool SendToPeer(const NetMessage &message);
	void SetStatus(const char *format, ...) __attribute__((format(printf, 2, 3)));
	const char *PeerText(int peer) const;

	Clock &clock;
	NetConfig config;
	NetTransport transport;
	NetLink link;
	NetDiscoveryResponder responder;
	Role role;
	NetSessionState state;
	NetEndReason endReason;
	char status[256];
	NetAddress target;     // joiner: where to
	bool connected;        // joiner: ENet connected, before the options
	int pending;           // host: a peer connected that has not said hello, -1 for none
	uint32_t pendingSince; // ms of the clock
	uint32_t started;      // ms of the clock when hosting or joining began
	NetWelcome options;
	int character; // joiner: its own
	NetQueue<NetEvent, 256> events;
	NetQueue<NetRest, 32> rests;
	NetQueue<NetFire, 16> fires;
	NetAim peerAim;
	bool hasPeerAim;
	SnapshotInterpolator snapshots;
	uint32_t aimSequence;
	uint32_t snapshotSequence;
	uint32_t nextSnapshot; // ms of the clock when the next is due
	mutable char peerText[32];
};

#endif
