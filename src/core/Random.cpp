#include "core/Random.h"

#include <cassert>
#include <chrono>

namespace {

constexpr uint64_t kMultiplier = 6364136223846793005ULL;
constexpr uint64_t kIncrement = 1442695040888963407ULL;

} // namespace

Random::Random(uint32_t value) : state(0), seed(0) {
	Seed(value);
}

void Random::Seed(uint32_t value) {
	seed = value;
	state = 0;
	Next();
	state += value;
	Next();
}

uint32_t Random::Next() {
	const uint64_t old = state;
	state = old * kMultiplier + kIncrement;
	const uint32_t shifted = static_cast<uint32_t>(((old >> 18) ^ old) >> 27);
	const uint32_t rotation = static_cast<uint32_t>(old >> 59);
	return (shifted >> rotation) | (shifted << ((32 - rotation) & 31));
}

int Random::Draw15() {
	return static_cast<int>(Next() >> 17);
}

int Random::Below(int count) {
	assert(count >= 1 && count <= 32768);
	return Draw15() % count;
}

float Random::Signed() {
	return static_cast<float>(Draw15() - 16383) / 32767.0f;
}

float Random::Unit() {
	return static_cast<float>(Draw15()) / 32767.0f;
}

uint32_t Random::ClockSeed() {
	const uint64_t ticks = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
	return static_cast<uint32_t>(ticks ^ (ticks >> 32));
}
