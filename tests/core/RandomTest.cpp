#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/Random.h"

TEST(Random, TheSameSeedReplaysTheSameDrawsAndAnotherDoesNot) {
	Random a(42), b(42), c(43);
	std::vector<int> first, other;
	for (int i = 0; i < 100; i++) {
		first.push_back(a.Draw15());
		EXPECT_EQ(b.Draw15(), first.back());
		other.push_back(c.Draw15());
	}
	EXPECT_NE(first, other);
	a.Seed(42);
	EXPECT_EQ(a.Draw15(), first[0]);
	EXPECT_EQ(a.GetSeed(), 42u);
}

TEST(Random, DrawsStayInTheirRangesAndReachTheirEnds) {
	Random random(7);
	int lowest = 32767, highest = 0;
	bool seen[3] = {false, false, false};
	for (int i = 0; i < 200000; i++) {
		const int r = random.Draw15();
		lowest = std::min(lowest, r);
		highest = std::max(highest, r);
		const int below = random.Below(3);
		ASSERT_GE(below, 0);
		ASSERT_LT(below, 3);
		seen[below] = true;
		const float s = random.Signed(), u = random.Unit();
		ASSERT_GE(s, -0.5f);
		ASSERT_LE(s, 16384.0f / 32767.0f);
		ASSERT_GE(u, 0.0f);
		ASSERT_LE(u, 1.0f);
	}
	EXPECT_EQ(lowest, 0);
	EXPECT_EQ(highest, 32767);
	EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
}
