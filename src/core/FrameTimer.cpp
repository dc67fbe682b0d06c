#include "core/FrameTimer.h"

#include <cassert>

#include "core/Clock.h"

FrameTimer *g_timer = nullptr;

FrameTimer::FrameTimer(Clock *clock_)
	: clock(clock_), scale(1), currentTime(0), previousTime(0), lastFpsTime(0), fpsInterval(0), framesCounted(0),
	  fps(0.0f) {
	assert(clock);
	currentTime = previousTime = Now();
}

uint32_t FrameTimer::Now() {
	return clock->Milliseconds() * static_cast<uint32_t>(scale);
}

void FrameTimer::SetScale(int factor) {
	assert(factor >= 1);
	scale = factor;
	currentTime = previousTime = Now();
}

void FrameTimer::SetClock(Clock *newClock) {
	assert(newClock);
	clock = newClock;
	currentTime = previousTime = Now();
}

uint32_t FrameTimer::Update() {
	previousTime = currentTime;
	// The rate counts the frames the machine draws in a second of real time.
	const uint32_t real = clock->Milliseconds();
	currentTime = real * static_cast<uint32_t>(scale);
	framesCounted++;
	if (fpsInterval == 0) {
		return currentTime;
	}
	int32_t sinceLast = static_cast<int32_t>(real - lastFpsTime);
	if (sinceLast < static_cast<int32_t>(fpsInterval)) {
		return currentTime;
	}
	fps = framesCounted / (static_cast<float>(sinceLast) * 0.001f);
	lastFpsTime = real;
	framesCounted = 0;
	return currentTime;
}
