#include <gtest/gtest.h>

#include <cmath>

#include "ScratchDir.h"
#include "core/PathSpline.h"

namespace {

void ExpectAt(PathSpline &path, float t, float x, float y, float z, float tolerance = 1e-4f) {
	const float *p = path.Evaluate(t);
	EXPECT_NEAR(p[0], x, tolerance) << "t=" << t;
	EXPECT_NEAR(p[1], y, tolerance) << "t=" << t;
	EXPECT_NEAR(p[2], z, tolerance) << "t=" << t;
}

} // namespace

TEST(PathSpline, TwoPointsGiveAStraightLine) {
	ScratchDir dir;
	dir.WriteText("line.cam", "2\n1000.0\n0.0,0.0,10.0\n100.0,-50.0,30.0\n");
	PathSpline path;
	EXPECT_FALSE(path.IsLoaded());
	ASSERT_TRUE(path.Load("line.cam"));
	EXPECT_TRUE(path.IsLoaded());
	EXPECT_FLOAT_EQ(path.GetDuration(), 1000.0f);
	for (float t = 0.0f; t <= 1000.0f; t += 125.0f) {
		float f = t / 1000.0f;
		ExpectAt(path, t, 100.0f * f, -50.0f * f, 10.0f + 20.0f * f, 1e-3f);
	}
}

TEST(PathSpline, PassesThroughItsPointsAndClampsTheEnds) {
	ScratchDir dir;
	dir.WriteText("curve.cam", "4\n300\n0,0,0\n10,20,5\n30,20,5\n40,0,0\n");
	PathSpline path;
	ASSERT_TRUE(path.Load("curve.cam"));
	ExpectAt(path, 0.0f, 0, 0, 0);
	ExpectAt(path, 100.0f, 10, 20, 5, 1e-3f);
	ExpectAt(path, 200.0f, 30, 20, 5, 1e-3f);
	ExpectAt(path, 300.0f, 40, 0, 0);
	ExpectAt(path, 5000.0f, 40, 0, 0);
	ExpectAt(path, -50.0f, 0, 0, 0);
	// Symmetric points give a symmetric curve.
	const float *mid = path.Evaluate(150.0f);
	EXPECT_NEAR(mid[0], 20.0f, 1e-3f);
	EXPECT_GT(mid[1], 20.0f);
}

TEST(PathSpline, MissingFileOrNullNameLeavesThePathAsItWas) {
	ScratchDir dir;
	PathSpline path;
	EXPECT_FALSE(path.Load(nullptr));
	EXPECT_FALSE(path.Load("missing.cam"));
	EXPECT_FALSE(path.IsLoaded());

	dir.WriteText("a.cam", "2\n10\n1,2,3\n4,5,6\n");
	ASSERT_TRUE(path.Load("a.cam"));
	EXPECT_FALSE(path.Load("missing.cam"));
	EXPECT_TRUE(path.IsLoaded());
	ExpectAt(path, 10.0f, 4, 5, 6);
}

TEST(PathSpline, PointCountsAreClampedToTheTable) {
	ScratchDir dir;
	std::string text = "40\n39\n";
	for (int i = 0; i < 40; i++) {
		text += std::to_string(i) + ",0,0\n";
	}
	dir.WriteText("long.cam", text);
	PathSpline path;
	ASSERT_TRUE(path.Load("long.cam"));
	EXPECT_EQ(path.GetPointCount(), PathSpline::MAX_POINTS);
	ExpectAt(path, 39.0f, 31, 0, 0);

	dir.WriteText("none.cam", "0\n10\n7,8,9\n");
	PathSpline single;
	ASSERT_TRUE(single.Load("none.cam"));
	EXPECT_EQ(single.GetPointCount(), 1);
	ExpectAt(single, 0.0f, 7, 8, 9);
	ExpectAt(single, 5.0f, 7, 8, 9);

	dir.WriteText("negative.cam", "-3\n10\n1,1,1\n");
	PathSpline negative;
	ASSERT_TRUE(negative.Load("negative.cam"));
	EXPECT_EQ(negative.GetPointCount(), 1);
}

TEST(PathSpline, ShortFileKeepsWhatItCouldNotRead) {
	ScratchDir dir;
	dir.WriteText("short.cam", "3\n100\n1,1,1\n2,2,2\n");
	PathSpline path;
	ASSERT_TRUE(path.Load("short.cam"));
	EXPECT_EQ(path.GetPointCount(), 3);
	ExpectAt(path, 100.0f, 0, 0, 0); // the third point was never read
	ExpectAt(path, 0.0f, 1, 1, 1);
}

TEST(PathSpline, NonFiniteOrNonPositiveNumbersAreRefusedAndEvaluateStaysInTheTable) {
	ScratchDir dir;
	const char *bad[] = {
		"2\nnan\n0,0,0\n10,0,0\n", "2\ninf\n0,0,0\n10,0,0\n", "2\n0\n0,0,0\n10,0,0\n",
		"2\n-5\n0,0,0\n10,0,0\n", "2\n10\n0,nan,0\n10,0,0\n", "3\n10\n0,0,0\n10,0,0\n-inf,1,1\n",
	};
	dir.WriteText("good.cam", "2\n10\n1,2,3\n4,5,6\n");
	for (const char *text : bad) {
		SCOPED_TRACE(text);
		dir.WriteText("bad.cam", text);
		PathSpline path;
		EXPECT_FALSE(path.Load("bad.cam"));
		EXPECT_FALSE(path.IsLoaded());
		ASSERT_TRUE(path.Load("good.cam"));
		EXPECT_FALSE(path.Load("bad.cam"));
		EXPECT_FLOAT_EQ(path.GetDuration(), 10.0f);
		ExpectAt(path, 5.0f, 2.5f, 3.5f, 4.5f, 1e-3f);
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
