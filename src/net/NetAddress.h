#ifndef TAVRO_NET_NETADDRESS_H
#define TAVRO_NET_NETADDRESS_H

#include <cstddef>
#include <cstdint>

// An IPv4 address and port as ENet takes them: the address in network byte order, the port in
// the machine's.
struct NetEndpoint {
	uint32_t host;
	uint16_t port;
};

// A place to join as a player types it: a name or an IPv4 address, with an optional ":port".
class NetAddress {
public:
	static constexpr int NAME_SIZE = 254; // characters of a name, terminator included
	static constexpr int TEXT_SIZE = NAME_SIZE + 6;

	NetAddress();

	// "name", "name:port" or "a.b.c.d:port"; spaces around are dropped and defaultPort stands
	// for a missing port. False for an empty or bad name or a port outside 1 to 65535.
	bool Parse(const char *text, int defaultPort);
	// The endpoint to connect to: an address at once, a name through the system's resolver
	// (which answers names from /etc/hosts at once but may wait for a name server). False when
	// the name is unknown.
	bool Resolve(NetEndpoint &out) const;

	const char *GetName() const { return name; }
	int GetPort() const { return port; }
	// "name:port", for the player's status line.
	const char *GetText() const { return text; }

	// "a.b.c.d:port".
	static void Format(const NetEndpoint &endpoint, char *out, size_t size);
	// This machine's IPv4 addresses but loopback's, ", " between them; "127.0.0.1" when there is
	// no other.
	static void LocalAddresses(char *out, size_t size);

private:
	char name[NAME_SIZE];
	char text[TEXT_SIZE];
	int port;
};

#endif
