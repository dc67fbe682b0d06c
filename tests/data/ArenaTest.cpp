// The shipped arenas as the game's arena reader loads them: a closed convex field, goal mouths
// inside their walls, the starts inside the field with room for the pieces, the torches out of it.
#include <gtest/gtest.h>
#include <ode/ode.h>
#include <plib/ssg.h>

#include <cmath>

#include "GLWindow.h"
#include "ScratchDir.h"
#include "core/Random.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"
#include "world/Torch.h"

namespace {

// How far inside the field a point lies: the least distance to a wall, negative beyond one.
float Inside(const Arena &arena, const sgVec3 p) {
	float least = 1e9f;
	for (int i = 0; i < arena.GetWallCount(); i++) {
		least = std::min(least, float(-dGeomPlanePointDepth(arena.GetWall(i), p[0], p[1], 0.0)));
	}
	return least;
}

} // namespace

TEST(ShippedArenas, FieldsGoalsStartsAndTorchesFitThePieces) {
	ScratchDir dir;
	dir.LinkData();
	GLWindow window(64, 64);
	ASSERT_TRUE(window.IsOpen());
	ssgInit();
	dInitODE();
	dWorldID world = dWorldCreate();
	dSpaceID space = dSimpleSpaceCreate(nullptr);
	ssgRoot *root = new ssgRoot();
	root->ref();
	Random random(1);
	for (const char *name : {"xeno", "tris"}) {
		SCOPED_TRACE(name);
		Arena arena(random);
		arena.Create(root, world, space);
		ASSERT_TRUE(arena.Load(name, 1)); // by night, with the torches
		arena.SetPosition(0.0f, 0.0f, 0.0f);
		const int walls = arena.GetWallCount();
		ASSERT_GE(walls, 3);
		for (int i = 0; i < walls; i++) {
			const float *w = arena.GetWallSegment(i), *next = arena.GetWallSegment((i + 1) % walls);
			EXPECT_FLOAT_EQ(w[2], next[0]) << "wall " << i << " ends where the next starts";
			EXPECT_FLOAT_EQ(w[3], next[1]) << "wall " << i;
			for (int j = 0; j < walls; j++) { // convex: no corner behind a wall
				EXPECT_LE(
					dGeomPlanePointDepth(arena.GetWall(i), arena.GetWallSegment(j)[0], arena.GetWallSegment(j)[1], 0),
					1e-3)
					<< "corner " << j << " behind wall " << i;
			}
		}
		// Two goal walls along y, the mouths inside them and wide enough for the ball; side 1
		// starts on the left and attacks goal 2 on the right.
		ASSERT_GE(arena.GetGoal1WallIndex(), 0);
		ASSERT_GE(arena.GetGoal2WallIndex(), 0);
		EXPECT_NE(arena.GetGoal1WallIndex(), arena.GetGoal2WallIndex());
		EXPECT_GT(arena.GetGoalHalfWidth(), Ball::RADIUS);
		const float centres[2][2] = {
			{arena.GetGoal1CentreX(), arena.GetGoal1CentreY()}, {arena.GetGoal2CentreX(), arena.GetGoal2CentreY()}};
		for (int g = 0; g < 2; g++) {
			const float *w = arena.GetWallSegment(g == 0 ? arena.GetGoal1WallIndex() : arena.GetGoal2WallIndex());
			EXPECT_FLOAT_EQ(w[0], w[2]) << "goal wall " << g + 1 << " runs along y";
			EXPECT_FLOAT_EQ(centres[g][0], w[0]) << "goal centre " << g + 1 << " on its wall";
			EXPECT_LE(centres[g][1] + arena.GetGoalHalfWidth(), std::max(w[1], w[3])) << "mouth " << g + 1;
			EXPECT_GE(centres[g][1] - arena.GetGoalHalfWidth(), std::min(w[1], w[3])) << "mouth " << g + 1;
		}
		EXPECT_LT(centres[0][0], 0.0f);
		EXPECT_GT(centres[1][0], 0.0f);
		sgVec3 disc1, disc2, ball;
		arena.GetDisc1Start(disc1);
		arena.GetDisc2Start(disc2);
		arena.GetBallStart(ball);
		EXPECT_GT(Inside(arena, disc1), Disc::RADIUS + 2.0f);
		EXPECT_GT(Inside(arena, disc2), Disc::RADIUS + 2.0f);
		EXPECT_GT(Inside(arena, ball), Ball::RADIUS + 2.0f);
		EXPECT_LT(disc1[0], ball[0]);
		EXPECT_GT(disc2[0], ball[0]);
		EXPECT_GT(sgDistanceVec2(disc1, ball), Disc::RADIUS + Ball::RADIUS + 10.0f);
		EXPECT_GT(sgDistanceVec2(disc2, ball), Disc::RADIUS + Ball::RADIUS + 10.0f);
		for (float bounce : {arena.GetDiscWallBounce(), arena.GetBallWallBounce()}) {
			EXPECT_GT(bounce, 0.0f);
			EXPECT_LE(bounce, 1.0f);
		}
		for (int k = 0; k < Arena::TORCH_COUNT; k++) {
			ASSERT_NE(arena.GetTorch(k), nullptr);
			sgVec3 torch;
			arena.GetTorch(k)->GetPosition(torch);
			EXPECT_LT(Inside(arena, torch), -4.0f) << "torch " << k;
		}
		arena.Destroy();
	}
	ssgDeRefDelete(root);
	dSpaceDestroy(space);
	dWorldDestroy(world);
	dCloseODE();
}
