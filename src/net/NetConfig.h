#ifndef TAVRO_NET_NETCONFIG_H
#define TAVRO_NET_NETCONFIG_H

#include <cstdint>

#include "net/NetMessage.h"

// How a network session runs: its ports, its timeouts and what it tells the other side it runs.
// The defaults are the game's; tests shorten the times and take any free port.
struct NetConfig {
	int port;                       // host: the game port, 0 for any free one
	int discoveryPort;              // host: where LAN queries are answered, 0 for any free one, -1 for none
	uint32_t connectTimeout;        // ms of the session's clock: no answer, or no hello, by then ends it
	uint32_t silenceTimeout;        // ms of the session's clock without a message from the peer
	uint32_t keepAliveInterval;     // ms with nothing sent before a keep-alive goes
	uint32_t snapshotInterval;      // ms between the host's snapshots: 40 is 25 a second
	uint32_t enetTimeout;           // ms of real time ENet waits for acknowledgements before it drops a peer
	int protocolVersion;            // 1 to 255
	char version[NET_VERSION_SIZE]; // the game's version, as players read it
	char name[NET_NAME_SIZE];       // host: how LAN browsers list it

	// The game's: the default ports, 5 s to connect, 10 s of silence, this build's version and
	// the machine's name.
	NetConfig();
};

#endif
