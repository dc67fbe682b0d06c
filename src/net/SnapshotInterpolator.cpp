#include "net/SnapshotInterpolator.h"

#include <cassert>

namespace {

// b - a for ms readings of one clock, across its wrap.
int32_t Since(uint32_t a, uint32_t b) {
	return static_cast<int32_t>(b - a);
}

void Lerp(const NetBody &a, const NetBody &b, float f, NetBody &out) {
	out.x = a.x + (b.x - a.x) * f;
	out.y = a.y + (b.y - a.y) * f;
	out.vx = a.vx + (b.vx - a.vx) * f;
	out.vy = a.vy + (b.vy - a.vy) * f;
}

} // namespace

SnapshotInterpolator::SnapshotInterpolator() : kept(), first(0), count(0), offset(0), timed(false) {}

void SnapshotInterpolator::Clear() {
	first = 0;
	count = 0;
	timed = false;
}

const NetSnapshot &SnapshotInterpolator::At(int index) const {
	return kept[(first + index) % CAPACITY];
}

const NetSnapshot &SnapshotInterpolator::GetNewest() const {
	assert(count > 0);
	return At(count - 1);
}

void SnapshotInterpolator::Push(const NetSnapshot &snapshot, uint32_t now) {
	if (count > 0 && Since(GetNewest().time, snapshot.time) < 0) {
		return;
	}
	// A faster trip than any before shows the offset at once; a slower one moves it up slowly,
	// so one late snapshot does not shift the view but a longer route does in time.
	const uint32_t sample = now - snapshot.time;
	if (!timed) {
		offset = sample;
		timed = true;
	} else if (Since(offset, sample) < 0) {
		offset = sample;
	} else {
		offset += Since(offset, sample) < DRIFT ? static_cast<uint32_t>(Since(offset, sample)) : DRIFT;
	}
	if (count == CAPACITY) {
		first = (first + 1) % CAPACITY;
		count--;
	}
	kept[(first + count) % CAPACITY] = snapshot;
	count++;
}

bool SnapshotInterpolator::GetShownTime(uint32_t now, uint32_t &hostTime) const {
	hostTime = now - offset - DELAY;
	return count > 0;
}

bool SnapshotInterpolator::Sample(uint32_t now, NetBody out[NET_BODY_COUNT], NetSnapshot *state) const {
	uint32_t shown = 0; // ms of the host's clock
	if (!GetShownTime(now, shown)) {
		return false;
	}
	int older = 0;
	while (older + 1 < count && Since(At(older + 1).time, shown) >= 0) {
		older++;
	}
	const NetSnapshot &a = At(older);
	if (state) {
		*state = a;
	}
	const int32_t into = Since(a.time, shown);
	if (older + 1 < count && into > 0) {
		const NetSnapshot &b = At(older + 1);
		// After a reset the bodies jump at b's time rather than slide across the field.
		const float f = (b.flags & NET_SNAP_RESET) ? 0.0f : static_cast<float>(into) / Since(a.time, b.time);
		for (int i = 0; i < NET_BODY_COUNT; i++) {
			Lerp(a.bodies[i], b.bodies[i], f, out[i]);
		}
		return true;
	}
	// Before the oldest kept, or past the newest: the bodies go on at their speed a little way.
	const float ahead = into <= 0 ? 0.0f : (into < EXTRAPOLATE_LIMIT ? into : EXTRAPOLATE_LIMIT) / 1000.0f;
	for (int i = 0; i < NET_BODY_COUNT; i++) {
		out[i] = a.bodies[i];
		out[i].x += a.bodies[i].vx * ahead;
		out[i].y += a.bodies[i].vy * ahead;
	}
	return true;
}
