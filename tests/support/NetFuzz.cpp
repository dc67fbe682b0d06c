#include "NetFuzz.h"

#include <cstdlib>
#include <cstring>

#include "net/NetDecoder.h"
#include "net/NetEncoder.h"
#include "net/NetMessage.h"
#include "net/SnapshotInterpolator.h"

namespace {

void Check(bool condition) {
	if (!condition) {
		abort();
	}
}

// What was read must be what gets written: the encoding has one form per message.
void RoundTrip(const uint8_t *data, size_t size, const NetMessage &message) {
	uint8_t again[NET_MAX_MESSAGE];
	const size_t written = NetEncoder::Encode(message, again, sizeof(again));
	Check(written == size && memcmp(again, data, size) == 0);
}

} // namespace

int NetFuzzOne(const uint8_t *data, size_t size) {
	NetMessage message;
	NetDecoder single(NET_PROTOCOL_VERSION);
	if (single.Decode(data, size, message)) {
		RoundTrip(data, size, message);
	}

	NetDecoder stream(NET_PROTOCOL_VERSION);
	SnapshotInterpolator snapshots;
	uint32_t now = 0;
	for (size_t at = 0; at < size;) {
		const size_t length = data[at++];
		const size_t take = length < size - at ? length : size - at;
		if (stream.Decode(data + at, take, message)) {
			RoundTrip(data + at, take, message);
			if (message.type == NET_MSG_SNAPSHOT) {
				now += 40;
				snapshots.Push(message.snapshot, now);
				NetBody bodies[NET_BODY_COUNT];
				Check(snapshots.Sample(now, bodies));
				for (const NetBody &body : bodies) {
					Check(body.x == body.x && body.y == body.y); // never NaN
				}
			}
		}
		at += take;
	}
	return 0;
}
