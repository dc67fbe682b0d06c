#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ScratchDir.h"
#include "core/PathSpline.h"

namespace {

struct At {
	float t, x, y, z;
};

void ExpectPath(PathSpline &path, const std::vector<At> &points) {
	for (const At &p : points) {
		const float *v = path.Evaluate(p.t);
		EXPECT_NEAR(v[0], p.x, 1e-3f) << "t=" << p.t;
		EXPECT_NEAR(v[1], p.y, 1e-3f) << "t=" << p.t;
		EXPECT_NEAR(v[2], p.z, 1e-3f) << "t=" << p.t;
	}
}

} // namespace

TEST(PathSpline, PassesThroughItsPointsAndClampsTheEndsAndTheTable) {
	ScratchDir dir;
	std::string long40 = "40\n39\n";
	for (int i = 0; i < 40; i++) {
		long40 += std::to_string(i) + ",0,0\n";
	}
	struct Case {
		const char *name;
		std::string text;
		int points;
		std::vector<At> expected;
	} const cases[] = {
		{"line", "2\n1000.0\n0.0,0.0,10.0\n100.0,-50.0,30.0\n", 2,
			{{0, 0, 0, 10}, {250, 25, -12.5f, 15}, {500, 50, -25, 20}, {1000, 100, -50, 30}}},
		{"curve", "4\n300\n0,0,0\n10,20,5\n30,20,5\n40,0,0\n", 4,
			{{0, 0, 0, 0}, {100, 10, 20, 5}, {200, 30, 20, 5}, {300, 40, 0, 0}, {5000, 40, 0, 0}, {-50, 0, 0, 0}}},
		{"too many points", long40, PathSpline::MAX_POINTS, {{39, 31, 0, 0}}},
		{"no points", "0\n10\n7,8,9\n", 1, {{0, 7, 8, 9}, {5, 7, 8, 9}}},
		{"negative count", "-3\n10\n1,1,1\n", 1, {{0, 1, 1, 1}}},
		// The third point was never read.
		{"short file", "3\n100\n1,1,1\n2,2,2\n", 3, {{0, 1, 1, 1}, {100, 0, 0, 0}}},
	};
	for (const Case &c : cases) {
		SCOPED_TRACE(c.name);
		dir.WriteText("path.cam", c.text);
		PathSpline path;
		EXPECT_FALSE(path.IsLoaded());
		ASSERT_TRUE(path.Load("path.cam"));
		EXPECT_TRUE(path.IsLoaded());
		EXPECT_EQ(path.GetPointCount(), c.points);
		ExpectPath(path, c.expected);
	}
	// Symmetric points give a symmetric curve.
	dir.WriteText("curve.cam", cases[1].text);
	PathSpline curve;
	ASSERT_TRUE(curve.Load("curve.cam"));
	EXPECT_NEAR(curve.Evaluate(150.0f)[0], 20.0f, 1e-3f);
	EXPECT_GT(curve.Evaluate(150.0f)[1], 20.0f);
}

TEST(PathSpline, RefusedFilesLeaveThePathAsItWasAndEvaluateStaysInTheTable) {
	ScratchDir dir;
	dir.WriteText("good.cam", "2\n10\n1,2,3\n4,5,6\n");
	// No name, no file, and non-finite or non-positive numbers.
	struct Bad {
		const char *file, *text;
	} const bad[] = {
		{nullptr, nullptr},
		{"missing.cam", nullptr},
		{"nan.cam", "2\nnan\n0,0,0\n10,0,0\n"},
		{"inf.cam", "2\ninf\n0,0,0\n10,0,0\n"},
		{"zero.cam", "2\n0\n0,0,0\n10,0,0\n"},
		{"negative.cam", "2\n-5\n0,0,0\n10,0,0\n"},
		{"nanpoint.cam", "2\n10\n0,nan,0\n10,0,0\n"},
		{"infpoint.cam", "3\n10\n0,0,0\n10,0,0\n-inf,1,1\n"},
	};
	for (const Bad &b : bad) {
		SCOPED_TRACE(b.file ? b.file : "no name");
		if (b.text) {
			dir.WriteText(b.file, b.text);
		}
		const char *file = b.file;
		PathSpline path;
		EXPECT_FALSE(path.Load(file));
		EXPECT_FALSE(path.IsLoaded());
		ASSERT_TRUE(path.Load("good.cam"));
		EXPECT_FALSE(path.Load(file));
		EXPECT_TRUE(path.IsLoaded());
		EXPECT_FLOAT_EQ(path.GetDuration(), 10.0f);
		ExpectPath(path, {{5, 2.5f, 3.5f, 4.5f}, {10, 4, 5, 6}});
	}

	// Built by a caller with bad durations, the path is evaluated without leaving its table.
	const float xyz[3][3] = {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}};
	for (float length : {std::nanf(""), 0.0f, -1.0f, 1e-30f}) {
		PathSpline path;
		path.SetPoints(3, xyz);
		path.Build(length);
		for (float t : {0.0f, 0.5f, 1.0f, 1e30f, std::nanf("")}) {
			const float *p = path.Evaluate(t);
			EXPECT_TRUE(std::isnan(p[0]) || (p[0] >= -1.0f && p[0] <= 21.0f)) << length << " " << t;
		}
	}
}
