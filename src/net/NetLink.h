#ifndef TAVRO_NET_NETLINK_H
#define TAVRO_NET_NETLINK_H

#include <cstdint>

#include "net/NetDecoder.h"
#include "net/NetMessage.h"

class Clock;
class NetTransport;
struct NetTransportEvent;

// The session's one peer over the transport: messages go out through the encoder on the
// channel their type needs and come in through the decoder; the times of the last message each
// way give the keep-alive and the silence timeout.
class NetLink {
public:
	NetLink(NetTransport &transport, Clock &clock, int version);

	// Talks to peer from now on: its sequences start over and it counts as just heard.
	void Attach(int peer);
	void Detach() { peer = -1; }
	int GetPeer() const { return peer; }
	bool IsAttached() const { return peer >= 0; }

	// Sends message to the peer; false when there is no connected peer.
	bool Send(const NetMessage &message);
	// The same to any peer of transport (a refusal to one that is not ours).
	static bool SendTo(NetTransport &transport, int peer, const NetMessage &message);
	// Decodes what event received; true with the message, which counts as hearing from the
	// sender when it is our peer.
	bool Receive(const NetTransportEvent &event, NetMessage &out);
	// A keep-alive when nothing has gone to the peer for interval ms.
	void KeepAlive(uint32_t interval);
	// ms since the peer was last heard.
	uint32_t GetSilence() const;

	// Messages of a type read from the peer since construction.
	int GetReceived(int type) const { return type > 0 && type < NET_MSG_TYPE_COUNT ? received[type] : 0; }

	NetDecoder &GetDecoder() { return decoder; }
	const NetDecoder &GetDecoder() const { return decoder; }

private:
	NetTransport &transport;
	Clock &clock;
	NetDecoder decoder;
	int peer;       // slot, -1 for none
	uint32_t heard; // ms of the clock
	uint32_t sent;  // ms of the clock
	int received[NET_MSG_TYPE_COUNT];
};

#endif
