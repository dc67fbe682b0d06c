// The arena files read with the program's formatted reads, and the geometry they describe.
#include "DataFiles.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

struct Wall {
	float x1, y1, x2, y2;
};

struct ArenaFile {
	char day[256] = "", night[256] = "", field[256] = "";
	float disc1[2] = {}, disc2[2] = {}, ball[2] = {};
	int wallCount = -1;
	Wall walls[32] = {};
	int goal1 = -1, goal2 = -1;
	float goal1Centre[2] = {}, goal2Centre[2] = {};
	float halfWidth = 0, discBounce = 0, ballBounce = 0;
	bool complete = false;
};

// Reads the items in the order and with the formats the arena loader uses.
ArenaFile Read(const std::string &path)
{
	ArenaFile a;
	FILE *f = std::fopen(path.c_str(), "rt");
	if (!f)
		return a;
	bool ok = std::fscanf(f, "%255s", a.day) == 1 && std::fscanf(f, "%255s", a.night) == 1 &&
	          std::fscanf(f, "%255s", a.field) == 1 && std::fscanf(f, "%f,%f", &a.disc1[0], &a.disc1[1]) == 2 &&
	          std::fscanf(f, "%f,%f", &a.disc2[0], &a.disc2[1]) == 2 && std::fscanf(f, "%f,%f", &a.ball[0], &a.ball[1]) == 2 &&
	          std::fscanf(f, "%d", &a.wallCount) == 1 && a.wallCount >= 0 && a.wallCount <= 32;
	for (int i = 0; ok && i < a.wallCount; i++)
		ok = std::fscanf(f, "%f,%f", &a.walls[i].x1, &a.walls[i].y1) == 2 && std::fscanf(f, "%f,%f", &a.walls[i].x2, &a.walls[i].y2) == 2;
	ok = ok && std::fscanf(f, "%d", &a.goal1) == 1 && std::fscanf(f, "%d", &a.goal2) == 1 &&
	     std::fscanf(f, "%f,%f", &a.goal1Centre[0], &a.goal1Centre[1]) == 2 &&
	     std::fscanf(f, "%f,%f", &a.goal2Centre[0], &a.goal2Centre[1]) == 2 && std::fscanf(f, "%f", &a.halfWidth) == 1 &&
	     std::fscanf(f, "%f", &a.discBounce) == 1 && std::fscanf(f, "%f", &a.ballBounce) == 1;
	char extra[64];
	a.complete = ok && std::fscanf(f, "%63s", extra) == EOF;
	std::fclose(f);
	return a;
}

// Distance of a point from a wall's plane, positive on its free side (the right-hand side of the
// walk from the first end to the second), as the wall planes are built.
float Side(const Wall &w, float x, float y)
{
	float nx = 50 * (w.y2 - w.y1), ny = -50 * (w.x2 - w.x1), l = std::hypot(nx, ny);
	nx /= l;
	ny /= l;
	return nx * x + ny * y - (nx * w.x1 + ny * w.y1);
}

bool InsideField(const ArenaFile &a, float x, float y, float margin)
{
	for (int i = 0; i < a.wallCount; i++)
		if (Side(a.walls[i], x, y) < margin)
			return false;
	return true;
}

class ArenaTest : public ::testing::TestWithParam<std::string> {
protected:
	ScratchDir scratch;
};

TEST_P(ArenaTest, ParsesCompletelyAndNamesModelsThatExist)
{
	ArenaFile a = Read(DataPath("data/arena/" + GetParam() + ".arn"));
	ASSERT_TRUE(a.complete) << "every item read, nothing left over";
	EXPECT_GE(a.wallCount, 3);
	for (const char *m : {a.day, a.night, a.field}) {
		ASSERT_NE(m[0], '-') << "both times of day have a model, so both get walls";
		EXPECT_TRUE(FileExists(DataPath(std::string("data/arena/") + m))) << m;
	}
}

TEST_P(ArenaTest, WallsAreAClosedConvexOutlineListedClockwise)
{
	ArenaFile a = Read(DataPath("data/arena/" + GetParam() + ".arn"));
	ASSERT_TRUE(a.complete);
	float area = 0;
	for (int i = 0; i < a.wallCount; i++) {
		const Wall &w = a.walls[i], &next = a.walls[(i + 1) % a.wallCount];
		EXPECT_FLOAT_EQ(w.x2, next.x1) << "wall " << i << " ends where the next starts";
		EXPECT_FLOAT_EQ(w.y2, next.y1) << "wall " << i;
		EXPECT_GT(std::hypot(w.x2 - w.x1, w.y2 - w.y1), 1.0f);
		area += w.x1 * w.y2 - w.x2 * w.y1;
		// Convex: every corner of the outline lies on the free side of every wall (or on it).
		for (int j = 0; j < a.wallCount; j++)
			EXPECT_GE(Side(w, a.walls[j].x1, a.walls[j].y1), -1e-3f) << "corner " << j << " behind wall " << i;
	}
	EXPECT_LT(area, 0.0f) << "clockwise seen from above";
	EXPECT_TRUE(InsideField(a, 0, 0, 10.0f)) << "the centre spot lies well inside";
}

TEST_P(ArenaTest, GoalMouthsLieOnWallsAlongY)
{
	ArenaFile a = Read(DataPath("data/arena/" + GetParam() + ".arn"));
	ASSERT_TRUE(a.complete);
	ASSERT_GE(a.goal1, 0);
	ASSERT_LT(a.goal1, a.wallCount);
	ASSERT_GE(a.goal2, 0);
	ASSERT_LT(a.goal2, a.wallCount);
	EXPECT_NE(a.goal1, a.goal2);
	EXPECT_GT(a.halfWidth, 1.67f * 2) << "the ball fits through the mouth";
	for (int g = 0; g < 2; g++) {
		const Wall &w = a.walls[g == 0 ? a.goal1 : a.goal2];
		const float *c = g == 0 ? a.goal1Centre : a.goal2Centre;
		EXPECT_FLOAT_EQ(w.x1, w.x2) << "goal wall " << g + 1 << " runs along y";
		EXPECT_FLOAT_EQ(c[0], w.x1) << "goal centre " << g + 1 << " on its wall";
		EXPECT_LE(c[1] + a.halfWidth, std::max(w.y1, w.y2)) << "mouth " << g + 1 << " within its wall";
		EXPECT_GE(c[1] - a.halfWidth, std::min(w.y1, w.y2)) << "mouth " << g + 1 << " within its wall";
	}
	// Side 1 starts on the left and attacks goal 2 on the right (its first aim points +x).
	EXPECT_LT(a.goal1Centre[0], 0.0f);
	EXPECT_GT(a.goal2Centre[0], 0.0f);
}

TEST_P(ArenaTest, StartsLieInsideTheFieldAndClearOfEachOther)
{
	ArenaFile a = Read(DataPath("data/arena/" + GetParam() + ".arn"));
	ASSERT_TRUE(a.complete);
	EXPECT_TRUE(InsideField(a, a.disc1[0], a.disc1[1], 2.775f + 2.0f));
	EXPECT_TRUE(InsideField(a, a.disc2[0], a.disc2[1], 2.775f + 2.0f));
	EXPECT_TRUE(InsideField(a, a.ball[0], a.ball[1], 1.67f + 2.0f));
	EXPECT_LT(a.disc1[0], a.ball[0]);
	EXPECT_GT(a.disc2[0], a.ball[0]);
	EXPECT_GT(std::hypot(a.disc1[0] - a.ball[0], a.disc1[1] - a.ball[1]), 2.775f + 1.67f + 10.0f);
	EXPECT_GT(std::hypot(a.disc2[0] - a.ball[0], a.disc2[1] - a.ball[1]), 2.775f + 1.67f + 10.0f);
	EXPECT_GT(a.discBounce, 0.0f);
	EXPECT_LE(a.discBounce, 1.0f);
	EXPECT_GT(a.ballBounce, 0.0f);
	EXPECT_LE(a.ballBounce, 1.0f);
}

TEST_P(ArenaTest, TorchesAndDriftStandOutsideTheWalls)
{
	ArenaFile a = Read(DataPath("data/arena/" + GetParam() + ".arn"));
	ASSERT_TRUE(a.complete);
	for (float x : {-80.0f, 80.0f})
		for (float y : {-60.0f, 60.0f})
			EXPECT_FALSE(InsideField(a, x, y, -4.0f)) << "torch at " << x << ", " << y;
	EXPECT_FALSE(InsideField(a, 91, -95, -10.0f));
	// The field fits the cameras: the side view pans at most 60 sideways and the top view
	// from 135 above sees the whole length.
	for (int i = 0; i < a.wallCount; i++) {
		EXPECT_LE(std::fabs(a.walls[i].x1), 80.0f);
		EXPECT_LE(std::fabs(a.walls[i].y1), 60.0f);
	}
}

INSTANTIATE_TEST_SUITE_P(Arenas, ArenaTest, ::testing::Values("xeno", "tris"));

TEST(ArenaFiles, TheTwoArenasPlayDifferently)
{
	ScratchDir scratch;
	ArenaFile x = Read(DataPath("data/arena/xeno.arn")), t = Read(DataPath("data/arena/tris.arn"));
	ASSERT_TRUE(x.complete);
	ASSERT_TRUE(t.complete);
	EXPECT_NE(x.wallCount, t.wallCount);
	EXPECT_NE(x.halfWidth, t.halfWidth);
	EXPECT_NE(x.ballBounce, t.ballBounce);
	EXPECT_NE(std::string(x.field), std::string(t.field));
	EXPECT_NE(std::string(x.day), std::string(t.day));
}

} // namespace
