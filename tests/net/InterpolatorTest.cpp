#include <gtest/gtest.h>

#include <cmath>

#include "net/SnapshotInterpolator.h"

namespace {

const uint32_t HOST_START = 500000; // ms of the host's clock; the joiner's starts elsewhere
const uint32_t INTERVAL = 40;       // ms: 25 snapshots a second

// The ball rolling along x at 50 units per second from x = -20.
NetSnapshot Rolling(int index) {
	NetSnapshot s = {};
	s.sequence = static_cast<uint32_t>(index + 1);
	s.time = HOST_START + index * INTERVAL;
	s.phase = 4;
	s.turn = static_cast<uint16_t>(index);
	const float t = index * INTERVAL / 1000.0f;
	s.bodies[0] = {-20.0f + 50.0f * t, 3.0f, 50.0f, 0.0f};
	s.bodies[1] = {-35.0f, 0.0f, 0.0f, 0.0f};
	return s;
}

float BallX(const SnapshotInterpolator &view, uint32_t now, NetSnapshot *state = nullptr) {
	NetBody bodies[NET_BODY_COUNT];
	EXPECT_TRUE(view.Sample(now, bodies, state));
	return bodies[0].x;
}

} // namespace

TEST(SnapshotInterpolator, MovesSmoothlyBetweenSnapshotsWhateverTheTripsJitter) {
	SnapshotInterpolator view;
	NetBody bodies[NET_BODY_COUNT];
	EXPECT_FALSE(view.Sample(0, bodies));
	// Trips of 20 ms and more: the fastest sets the clock, the others arrive up to 30 ms late.
	const uint32_t lateness[] = {20, 45, 22, 50, 20, 38, 31, 20, 49, 27, 20, 35};
	const uint32_t joinerStart = 7000;
	for (int i = 0; i < 12; i++) {
		view.Push(Rolling(i), joinerStart + i * INTERVAL + lateness[i]);
	}
	// Shown DELAY behind the host: at the joiner's time T the host's T - offset - DELAY.
	const uint32_t offset = joinerStart + 20 - HOST_START;
	EXPECT_EQ(view.GetOffset(), offset + 1); // a slower trip moves it up 1 ms, a fastest one back
	// Every ms between two snapshots: on the straight line, moving forward at the ball's speed.
	float previous = -1e9f;
	for (uint32_t host = HOST_START + 100; host <= HOST_START + 300; host++) {
		const float x = BallX(view, host + view.GetOffset() + SnapshotInterpolator::DELAY);
		EXPECT_NEAR(x, -20.0f + 50.0f * (host - HOST_START) / 1000.0f, 1e-3f) << host;
		EXPECT_GT(x, previous);
		previous = x;
	}
	// The match state goes with the older snapshot of the pair shown.
	NetSnapshot state;
	BallX(view, HOST_START + 130 + view.GetOffset() + SnapshotInterpolator::DELAY, &state);
	EXPECT_EQ(state.turn, 3);
}

TEST(SnapshotInterpolator, LostSnapshotsStretchAnIntervalAndTheEndIsHeldNearby) {
	SnapshotInterpolator view;
	const uint32_t trip = 10;
	for (int i : {0, 1, 4, 5}) { // 2 and 3 lost
		view.Push(Rolling(i), HOST_START + i * INTERVAL + trip);
	}
	const uint32_t shownAt = trip + SnapshotInterpolator::DELAY;         // joiner ms minus host ms
	EXPECT_NEAR(BallX(view, HOST_START + 100 + shownAt), -15.0f, 1e-3f); // between 1 and 4
	// Past the newest the ball goes on at its speed for EXTRAPOLATE_LIMIT ms, then waits.
	EXPECT_NEAR(BallX(view, HOST_START + 200 + 30 + shownAt), -10.0f + 1.5f, 1e-3f);
	EXPECT_NEAR(BallX(view, HOST_START + 200 + 900 + shownAt), -10.0f + 2.5f, 1e-3f);
	// Before the oldest kept it stands on the oldest.
	EXPECT_NEAR(BallX(view, HOST_START - 500 + shownAt), -20.0f, 1e-3f);
	// A snapshot stamped before the newest is dropped; the ring keeps CAPACITY.
	NetSnapshot stale = Rolling(3);
	stale.sequence = 99;
	view.Push(stale, HOST_START + 400);
	EXPECT_EQ(view.GetCount(), 4);
	for (int i = 6; i < 40; i++) {
		view.Push(Rolling(i), HOST_START + i * INTERVAL + trip);
	}
	EXPECT_EQ(view.GetCount(), SnapshotInterpolator::CAPACITY);
	EXPECT_EQ(view.GetNewest().sequence, 40u);
}

TEST(SnapshotInterpolator, BodiesPutBackOnTheirSpotsJumpRatherThanSlide) {
	SnapshotInterpolator view;
	NetSnapshot before = Rolling(0);
	NetSnapshot after = Rolling(1);
	after.bodies[0] = {0.0f, 0.0f, 0.0f, 0.0f}; // the ball back on its spot after a goal
	after.flags = NET_SNAP_RESET;
	view.Push(before, HOST_START);
	view.Push(after, HOST_START + INTERVAL);
	const uint32_t shownAt = SnapshotInterpolator::DELAY;
	EXPECT_NEAR(BallX(view, HOST_START + 20 + shownAt), -20.0f, 1e-3f);
	EXPECT_NEAR(BallX(view, HOST_START + 40 + shownAt), 0.0f, 1e-3f);
	view.Clear();
	NetBody bodies[NET_BODY_COUNT];
	EXPECT_FALSE(view.Sample(HOST_START, bodies));
}
