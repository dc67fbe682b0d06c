#ifndef TAVRO_CORE_RANDOM_H
#define TAVRO_CORE_RANDOM_H

#include <cstdint>

// The game's one source of chance: a small generator (PCG32) that gives the same draws for the
// same seed on every machine and library. A match seeds one and hands it to everything that
// draws (sky, particles, computer players, the first turn), so a match replays from its seed;
// tests seed their own.
class Random {
public:
	explicit Random(uint32_t seed = 1);

	void Seed(uint32_t value);
	uint32_t GetSeed() const { return seed; }

	// 0 to 32767, the steps the effects and the sky are laid out in.
	int Draw15();
	// 0 to count − 1 from one 15-bit draw; count is 1 to 32768.
	int Below(int count);
	// (r − 16383) / 32767 of a 15-bit draw r: −0.5 to about 0.5.
	float Signed();
	// r / 32767 of a 15-bit draw r: 0 to 1.
	float Unit();

	// A seed from the wall clock, for what has no seed of its own (the menu's background, the
	// credits, a match nobody seeded).
	static uint32_t ClockSeed();

private:
	uint32_t Next();

	uint64_t state;
	uint32_t seed;
};

#endif
