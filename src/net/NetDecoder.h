#ifndef TAVRO_NET_NETDECODER_H
#define TAVRO_NET_NETDECODER_H

#include <cstddef>
#include <cstdint>

struct NetMessage;

enum NetRefusal {
	NET_ACCEPTED = 0,
	NET_REFUSED_SHORT,         // shorter than its header or than its type's fields
	NET_REFUSED_OVERSIZED,     // longer than any message, or than its type's fields
	NET_REFUSED_LENGTH,        // the header's length is not the payload's
	NET_REFUSED_UNKNOWN,       // a type no version has
	NET_REFUSED_OTHER_VERSION, // a type whose layout is this version's only, in another one
	NET_REFUSED_RANGE,         // a number outside its range
	NET_REFUSED_NOT_FINITE,    // a float that is infinite or not a number
	NET_REFUSED_TEXT,          // a text too long, too short or not printable ASCII
	NET_REFUSED_ORDER,         // an aim or a snapshot older than one already read
	NET_REFUSAL_COUNT
};

// Reads received messages, each checked whole before it is used: the header's type, version
// and length first, then every field for its range, then the order of sequenced messages. A
// refused message gives a "NET:" warning in the log (the first WARNING_LIMIT of them; a flood
// of garbage must not fill the disk) and changes nothing but the refusal count.
class NetDecoder {
public:
	static constexpr int WARNING_LIMIT = 20;

	// version: the protocol version this side speaks.
	explicit NetDecoder(int version);

	// True with the message in out; false when refused (out is then unspecified).
	bool Decode(const uint8_t *data, size_t size, NetMessage &out);
	// A new peer: its sequences start over.
	void ResetOrder();
	// Refuses a message that is well formed but has no place where it came (a fire before the
	// options, a snapshot from the joiner...): counted and logged as the others, "why" says where.
	void RefuseOutOfTurn(const NetMessage &message, const char *why);

	NetRefusal GetLastRefusal() const { return last; }
	int GetRefusedCount() const { return refused; }
	int GetVersion() const { return version; }

private:
	NetRefusal Read(const uint8_t *data, size_t size, NetMessage &out);
	NetRefusal CheckOrder(const NetMessage &message) const;
	void Warn(const uint8_t *data, size_t size, NetRefusal why);
	// Counts a refusal; false when the warning limit is past.
	bool Count();

	int version;
	uint32_t lastSnapshot; // sequence of the newest snapshot read
	uint32_t lastAim[2];   // by side
	NetRefusal last;
	int refused; // messages since construction
};

#endif
