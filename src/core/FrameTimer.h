#ifndef TAVRO_CORE_FRAMETIMER_H
#define TAVRO_CORE_FRAMETIMER_H

#include <cstdint>

class Clock;

// Milliseconds of the game's time since an arbitrary origin, the length of the last frame and a
// measured frame rate. The game's time may run faster than the clock's (the time scale).
class FrameTimer {
public:
	// The clock is not owned; it must outlive the timer.
	explicit FrameTimer(Clock *clock);

	uint32_t Now();
	uint32_t Update();

	// The game's time runs factor (1 or more) times as fast as the clock's from now on.
	void SetScale(int factor);
	int GetScale() const { return scale; }

	uint32_t GetTime() const { return currentTime; }
	uint32_t GetFrameTime() const { return currentTime - previousTime; }
	// Frames per second of the clock's time, whatever the scale.
	float GetFps() const { return fps; }
	void SetFpsInterval(uint32_t ms) { fpsInterval = ms; }

	// Replaces the clock (tests); current and previous time restart from it.
	void SetClock(Clock *newClock);

private:
	Clock *clock;
	int scale;              // game ms per ms of the clock
	uint32_t currentTime;   // ms, at the last Update
	uint32_t previousTime;  // ms, at the Update before
	uint32_t lastFpsTime;   // ms of the clock, of the last rate measurement
	uint32_t fpsInterval;   // ms of the clock between rate measurements, 0 = none
	uint32_t framesCounted; // frames since the last measurement
	float fps;              // frames per second
};

// The process-wide frame timer; set by program entry, replaceable by tests.
extern FrameTimer *g_timer;

#endif
