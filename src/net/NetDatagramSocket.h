#ifndef TAVRO_NET_NETDATAGRAMSOCKET_H
#define TAVRO_NET_NETDATAGRAMSOCKET_H

#include <cstddef>
#include <cstdint>

#include "net/NetAddress.h"

class NetDecoder;
struct NetMessage;

// A non-blocking UDP socket of ENet's, for the LAN discovery beside the game's own host.
class NetDatagramSocket {
public:
	NetDatagramSocket();
	~NetDatagramSocket();
	NetDatagramSocket(const NetDatagramSocket &) = delete;
	NetDatagramSocket &operator=(const NetDatagramSocket &) = delete;

	// Bound to port (0: any free one) of every local address; broadcast lets it send to the
	// whole LAN.
	bool Open(int port, bool broadcast);
	void Close();
	bool IsOpen() const { return open; }
	int GetPort() const;

	bool SendTo(const NetEndpoint &to, const uint8_t *bytes, size_t size);
	// One waiting datagram into buffer: its size, 0 when none waits, -1 for one that could not
	// be read whole (longer than capacity) or an error. Never waits.
	int Receive(NetEndpoint &from, uint8_t *buffer, size_t capacity);
	// One waiting datagram read by decoder: 1 with the message, 0 when none waits, -1 for one
	// refused (the decoder has said why) or unreadable.
	int ReceiveMessage(NetDecoder &decoder, NetEndpoint &from, NetMessage &out);

private:
	int socket; // ENet's socket, valid while open
	bool open;
};

#endif
