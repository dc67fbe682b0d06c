#ifndef TAVRO_NET_NETDISCOVERYRESPONDER_H
#define TAVRO_NET_NETDISCOVERYRESPONDER_H

#include <cstddef>
#include <cstdint>

#include "net/NetDatagramSocket.h"
#include "net/NetDecoder.h"
#include "net/NetMessage.h"

// The host's side of the LAN discovery: on the discovery port it answers each query with its
// name, game port and version. Anything else that arrives there is read, refused and dropped.
class NetDiscoveryResponder {
public:
	static constexpr int DATAGRAMS_PER_UPDATE = 32; // a flood waits for the next frames

	explicit NetDiscoveryResponder(int version);

	// Answers on port (0: any free one) for a game on gamePort.
	bool Open(int port, int gamePort, const char *name, const char *gameVersion);
	void Close() { socket.Close(); }
	// Answers the queries waiting, without waiting for more.
	void Update();

	bool IsOpen() const { return socket.IsOpen(); }
	int GetPort() const { return socket.GetPort(); }
	int GetAnswered() const { return answered; }
	const NetDecoder &GetDecoder() const { return decoder; }

private:
	NetDatagramSocket socket;
	NetDecoder decoder;
	uint8_t answer[NET_MAX_MESSAGE]; // the same for every query
	size_t answerSize;               // bytes
	int answered;
};

#endif
