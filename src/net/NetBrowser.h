#ifndef TAVRO_NET_NETBROWSER_H
#define TAVRO_NET_NETBROWSER_H

#include <cstdint>

#include "net/NetDatagramSocket.h"
#include "net/NetDecoder.h"
#include "net/NetMessage.h"

class Clock;

// A game hosted on the LAN, as its answer tells it.
struct NetFoundHost {
	NetEndpoint endpoint; // where to join: the answer's sender and the game port it names
	char name[NET_NAME_SIZE];
	char version[NET_VERSION_SIZE];
	int protocol;   // the protocol version it answered in
	uint32_t heard; // ms of the browser's clock
};

// The joiner's list of games on the LAN: a query broadcast to the discovery port every
// QUERY_INTERVAL (and sent to this machine's loopback, which a broadcast does not reach
// everywhere), the answers gathered, and hosts not heard for FORGET_AFTER dropped. A host on the
// LAN answers the first query at once, so it is listed well within 2 s. Never waits; garbage
// datagrams are refused and dropped.
class NetBrowser {
public:
	static constexpr int MAX_HOSTS = 16;
	static constexpr uint32_t QUERY_INTERVAL = 500; // ms
	static constexpr uint32_t FORGET_AFTER = 3000;  // ms
	static constexpr int DATAGRAMS_PER_UPDATE = 32;

	NetBrowser(Clock &clock, int version = NET_PROTOCOL_VERSION);

	// Asks on port of the hosts; without broadcast only this machine is asked.
	bool Start(int port = NET_DISCOVERY_PORT, bool broadcast = true);
	void Stop();
	// Sends the query when due, reads the answers waiting and forgets the silent hosts.
	void Update();

	bool IsRunning() const { return socket.IsOpen(); }
	int GetCount() const { return count; }
	const NetFoundHost &Get(int index) const { return hosts[index]; }
	const NetDecoder &GetDecoder() const { return decoder; }

private:
	void Query();
	void Found(const NetEndpoint &from, const NetAnswer &answer, int protocol);

	Clock &clock;
	NetDatagramSocket socket;
	NetDecoder decoder;
	int port; // the discovery port asked
	bool broadcast;
	uint32_t lastQuery; // ms of the clock
	bool queried;
	NetFoundHost hosts[MAX_HOSTS];
	int count;
};

#endif
