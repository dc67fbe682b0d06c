#ifndef TAVRO_NET_SNAPSHOTINTERPOLATOR_H
#define TAVRO_NET_SNAPSHOTINTERPOLATOR_H

#include <cstdint>

#include "net/NetMessage.h"

// The joiner's view of the host's bodies. Snapshots are kept by the host's time of sending and
// played back DELAY ms behind the host's clock as the joiner estimates it, each body between
// the two snapshots around that moment: the bodies move smoothly at 20 to 30 snapshots a second
// whatever the trips' jitter, and a lost snapshot only stretches one interval. Nothing here
// reads a clock or the network; the caller hands in its time.
class SnapshotInterpolator {
public:
	static constexpr int CAPACITY = 16;          // snapshots kept, over half a second at 25 a second
	static constexpr int DELAY = 100;            // ms behind the host: two and a half intervals at 25 a second
	static constexpr int EXTRAPOLATE_LIMIT = 50; // ms the bodies go on at their speed past the newest
	static constexpr int DRIFT = 1;              // ms per snapshot the clock estimate may rise by

	SnapshotInterpolator();

	void Clear();
	// A snapshot that arrived at now (ms of the caller's clock). Snapshots come in their
	// sending order (the decoder refuses older ones); one stamped before the newest is dropped.
	void Push(const NetSnapshot &snapshot, uint32_t now);
	// The bodies to show at now, and in state the snapshot the moment shown belongs to (the
	// older one of the pair; its clock, score and turn go with the bodies). False before the
	// first snapshot.
	bool Sample(uint32_t now, NetBody out[NET_BODY_COUNT], NetSnapshot *state = nullptr) const;

	// The moment of the host's clock that Sample shows at now; false before the first snapshot.
	bool GetShownTime(uint32_t now, uint32_t &hostTime) const;

	int GetCount() const { return count; }
	// The newest snapshot; only with a count above 0.
	const NetSnapshot &GetNewest() const;
	// ms of the caller's clock minus ms of the host's, over the fastest trip seen.
	uint32_t GetOffset() const { return offset; }

private:
	const NetSnapshot &At(int index) const; // 0 the oldest kept

	NetSnapshot kept[CAPACITY]; // a ring, oldest at first
	int first;
	int count;
	uint32_t offset; // ms, modulo 2^32
	bool timed;      // offset has a first reading
};

#endif
