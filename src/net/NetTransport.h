#ifndef TAVRO_NET_NETTRANSPORT_H
#define TAVRO_NET_NETTRANSPORT_H

#include <cstddef>
#include <cstdint>

#include "net/NetAddress.h"

typedef struct _ENetHost ENetHost;
typedef struct _ENetPacket ENetPacket;

// What a hang-up says to the other side (ENet's disconnect data); a timeout says nothing.
enum NetHangup {
	NET_HANGUP_SILENT = 0,
	NET_HANGUP_BYE = 1,
	NET_HANGUP_FULL = 2,
	NET_HANGUP_VERSION = 3,
	NET_HANGUP_OVER = 4 // the match ended with its trophy
};

struct NetTransportEvent {
	enum Kind {
		NONE = 0,
		CONNECTED,
		DISCONNECTED, // data: the NetHangup
		RECEIVED      // bytes, size: valid until the next Poll
	};
	int kind;
	int peer; // the peer's slot
	uint32_t data;
	const uint8_t *bytes;
	size_t size;
};

// ENet under the session: a host with two channels, one reliable and ordered (hello, options,
// shots, events, bye) and one unreliable and sequenced (snapshots, aims). It never waits: Poll
// services ENet with a timeout of 0. Peers are named by their slot.
class NetTransport {
public:
	enum Channel {
		CHANNEL_RELIABLE = 0,
		CHANNEL_SEQUENCED = 1,
		CHANNEL_COUNT = 2
	};
	static constexpr int PEER_SLOTS = 4;         // a player, and room to refuse others politely
	static constexpr size_t MAX_PACKET = 1024;   // bytes ENet takes in one packet from a peer
	static constexpr size_t MAX_WAITING = 65536; // bytes a peer may hold in ENet's queues
	static constexpr int SERVICE_TRIES = 8;      // of ENet's service in one Poll, past unreadable datagrams

	NetTransport();
	~NetTransport();
	NetTransport(const NetTransport &) = delete;
	NetTransport &operator=(const NetTransport &) = delete;

	// A host on port of every local address (0: any free port).
	bool Listen(int port);
	// A host of one peer that connects to endpoint; the peer's slot, or -1.
	int Connect(const NetEndpoint &endpoint);
	void Close();

	// The next event without waiting; false when there is none.
	bool Poll(NetTransportEvent &out);
	bool Send(int peer, const uint8_t *bytes, size_t size, bool reliable);
	// Sends what was queued now rather than at the next Poll.
	void Flush();
	// Hangs up once the queued packets are out; the peer then reports DISCONNECTED.
	void Disconnect(int peer, uint32_t hangup);
	// Hangs up at once, telling the other side without waiting for its answer.
	void DisconnectNow(int peer, uint32_t hangup);
	// Forgets the peer without a word.
	void Reset(int peer);
	// ENet drops a peer whose acknowledgements stay away this long (ms of real time).
	void SetTimeout(int peer, uint32_t ms);

	bool IsOpen() const { return host != nullptr; }
	bool IsConnected(int peer) const;
	// Neither connected nor connecting nor hanging up: nothing more will come from it.
	bool IsIdle(int peer) const;
	int GetPort() const;
	NetEndpoint GetPeerEndpoint(int peer) const;
	uint32_t GetBytesSent() const;     // UDP payload bytes since Listen or Connect
	uint32_t GetBytesReceived() const; // the same
	uint32_t GetPacketsSent() const;   // UDP datagrams
	uint32_t GetPacketsReceived() const;

private:
	bool Create(const NetEndpoint *bind, size_t peers);
	void DropHeld();

	ENetHost *host;
	ENetPacket *held;   // the last packet Poll handed out
	bool serviceFailed; // and logged, once
};

#endif
