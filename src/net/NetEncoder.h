#ifndef TAVRO_NET_NETENCODER_H
#define TAVRO_NET_NETENCODER_H

#include <cstddef>
#include <cstdint>

struct NetMessage;

// Writes a message as it goes on the wire (the layout is in NetMessage.h), in the protocol
// version the message names. It checks no ranges: the receiving decoder does.
class NetEncoder {
public:
	// The message's bytes in out; their count, or 0 when they do not fit in capacity or the
	// type is unknown.
	static size_t Encode(const NetMessage &message, uint8_t *out, size_t capacity);
};

#endif
