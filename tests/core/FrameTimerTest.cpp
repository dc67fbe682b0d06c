#include <gtest/gtest.h>

#include "core/Clock.h"
#include "core/FrameTimer.h"

TEST(FrameTimer, FrameTimeIsTheTimeBetweenUpdates) {
	ManualClock clock(5000);
	FrameTimer timer(&clock);
	EXPECT_EQ(timer.GetTime(), 5000u);
	clock.Advance(40); // the first frame includes all of start-up
	EXPECT_EQ(timer.Update(), 5040u);
	EXPECT_EQ(timer.GetFrameTime(), 40u);
	clock.Advance(16);
	timer.Update();
	EXPECT_EQ(timer.GetTime(), 5056u);
	EXPECT_EQ(timer.GetFrameTime(), 16u);
	timer.Update();
	EXPECT_EQ(timer.GetFrameTime(), 0u);
	// Now reads the clock without advancing the frame.
	clock.Advance(7);
	EXPECT_EQ(timer.Now(), 5063u);
	EXPECT_EQ(timer.GetTime(), 5056u);
}

TEST(FrameTimer, FrameTimeSurvivesTheClockWrapping) {
	ManualClock clock(0xFFFFFFF0u);
	FrameTimer timer(&clock);
	clock.Advance(0x20);
	timer.Update();
	EXPECT_EQ(timer.GetTime(), 0x10u);
	EXPECT_EQ(timer.GetFrameTime(), 0x20u);
}

TEST(FrameTimer, MeasuresTheRateOncePerInterval) {
	ManualClock clock(10000);
	FrameTimer timer(&clock);
	EXPECT_FLOAT_EQ(timer.GetFps(), 0.0f);
	timer.Update();
	EXPECT_FLOAT_EQ(timer.GetFps(), 0.0f); // no interval set: no measurement
	timer.SetFpsInterval(1000);

	// The first measurement divides by the whole time since the clock's origin.
	clock.Advance(10);
	timer.Update();
	EXPECT_NEAR(timer.GetFps(), 2.0f / 10.01f, 1e-4);

	// 50 frames of 20 ms: no new figure until the interval is full, then 50 per second.
	for (int i = 0; i < 49; i++) {
		clock.Advance(20);
		timer.Update();
		EXPECT_NEAR(timer.GetFps(), 2.0f / 10.01f, 1e-4);
	}
	clock.Advance(20);
	timer.Update();
	EXPECT_FLOAT_EQ(timer.GetFps(), 50.0f);

	// A slower second: 10 frames of 100 ms.
	for (int i = 0; i < 10; i++) {
		clock.Advance(100);
		timer.Update();
	}
	EXPECT_FLOAT_EQ(timer.GetFps(), 10.0f);
}

// With the game's time running 8 times as fast, frames are 8 times as long, but F9 shows how many
// the machine draws in a second.
TEST(FrameTimer, TheRateIsTheRealOneWhateverTheTimeScale) {
	ManualClock clock(10000);
	FrameTimer timer(&clock);
	timer.SetScale(8);
	timer.SetFpsInterval(1000);
	const uint32_t start = timer.GetTime();
	// The first measurement counts from the clock's origin; the second is a second of 20 ms frames.
	for (int i = 0; i < 51; i++) {
		clock.Advance(20);
		timer.Update();
	}
	EXPECT_EQ(timer.GetFrameTime(), 160u);
	EXPECT_EQ(timer.GetTime() - start, 8160u);
	EXPECT_FLOAT_EQ(timer.GetFps(), 50.0f);
}

namespace {

int64_t g_uptime; // ms, what the fake system clock reads
int64_t ReadUptime() {
	return g_uptime;
}

} // namespace

TEST(FrameTimer, RateIsMeasuredWhateverTheMachinesUptime) {
	// 30 days of uptime: the low 32 bits of the system's milliseconds read as negative.
	for (int64_t days : {0, 1, 30, 49, 60}) {
		SCOPED_TRACE(days);
		g_uptime = days * 86400000;
		MonotonicClock clock(ReadUptime);
		FrameTimer timer(&clock);
		timer.SetFpsInterval(1000);
		for (int i = 0; i < 40; i++) {
			g_uptime += 100;
			timer.Update();
		}
		EXPECT_NEAR(timer.GetFps(), 10.0f, 0.01f);
		EXPECT_EQ(timer.GetTime(), 4000u);
	}
}

TEST(FrameTimer, MonotonicClockNeverRunsBackwards) {
	MonotonicClock clock;
	FrameTimer timer(&clock);
	uint32_t first = timer.Update();
	uint32_t second = timer.Update();
	EXPECT_LE(static_cast<int32_t>(first - second), 0);
	EXPECT_LT(timer.GetFrameTime(), 1000u);
}
