#include <gtest/gtest.h>

#include <plib/ssg.h>
#include <plib/ssgAux.h>

#include <cmath>

#include "SceneFixture.h"
#include "world/SkyBox.h"

namespace {

void LinkSkyData(const SceneFixture &f) {
	for (const char *file : {"cloud.3ds", "cloud.bmp", "star.3ds", "star.bmp", "sun.3ds", "sun.bmp", "moon.3ds",
	                         "moon.bmp"}) {
		f.LinkData(std::string("misc/") + file);
	}
}

// How many kids of the sky's root carry a spherical billboard, and how many are cubes.
void CountKids(const SkyBox &sky, int &billboards, int &cubes) {
	billboards = 0;
	cubes = 0;
	ssgTransform *root = sky.GetRoot();
	for (int i = 0; i < root->getNumKids(); i++) {
		ssgEntity *kid = root->getKid(i);
		if (kid->isA(ssgTypeTransform()) && static_cast<ssgBranch *>(kid)->getNumKids() == 1 &&
		    static_cast<ssgBranch *>(kid)->getKid(0)->isA(ssgTypeCutout())) {
			billboards++;
		} else if (kid == sky.GetCube()) {
			cubes++;
		}
	}
}

void Translation(ssgEntity *transform, sgVec3 out) {
	sgMat4 m;
	static_cast<ssgTransform *>(transform)->getTransform(m);
	sgCopyVec3(out, m[3]);
}

// The cube's two strips share their corners' colours, each near the base colour.
void ExpectCubeColours(const SkyBox &sky, const float *base) {
	ssgaCube *cube = sky.GetCube();
	ASSERT_NE(cube, nullptr);
	ASSERT_EQ(cube->getNumKids(), 2);
	ssgLeaf *first = static_cast<ssgLeaf *>(cube->getKid(0));
	ssgLeaf *second = static_cast<ssgLeaf *>(cube->getKid(1));
	const int shared[8] = {5, 3, 7, 1, 6, 0, 4, 2};
	const float spread[3] = {0.5f, 0.4f, 0.3f};
	for (int i = 0; i < 8; i++) {
		const float *colour = first->getColour(i);
		for (int c = 0; c < 3; c++) {
			EXPECT_LE(std::fabs(colour[c] - base[c]), spread[c] * 0.5f + 1e-4f);
		}
		EXPECT_FLOAT_EQ(colour[3], 1.0f);
		EXPECT_TRUE(sgEqualVec3(first->getVertex(shared[i]), second->getVertex(i))) << "corner " << i;
		for (int c = 0; c < 4; c++) {
			EXPECT_FLOAT_EQ(second->getColour(i)[c], first->getColour(shared[i])[c]);
		}
	}
}

} // namespace

TEST(SkyBox, ADaySkyHasTenDriftingCloudsAndASunAndNoStars) {
	SceneFixture f;
	LinkSkyData(f);
	SkyBox sky;
	Random draws(11);
	ASSERT_TRUE(sky.Load(f.root, 0, draws));
	EXPECT_EQ(f.CountInLog("SKYBOX: Initializing..."), 1);
	EXPECT_EQ(f.CountInLog("SKYBOX: ...Done!"), 1);
	EXPECT_EQ(sky.IsNight(), 0);
	EXPECT_EQ(sky.GetCloudCount(), 10);
	EXPECT_EQ(sky.GetStarCount(), 0);
	int billboards = 0, cubes = 0;
	CountKids(sky, billboards, cubes);
	EXPECT_EQ(billboards, 11); // ten clouds and the sun
	EXPECT_EQ(cubes, 1);
	for (int i = 0; i < 10; i++) {
		const float *p = sky.GetCloudPosition(i);
		EXPECT_LE(std::fabs(p[0]), 7.5f + 1e-3f);
		EXPECT_GE(std::fabs(p[1]), 5.0f);
		EXPECT_LE(std::fabs(p[1]), 20.0f + 1e-3f);
		EXPECT_GE(p[2], -7.0f);
		EXPECT_LE(p[2], 8.0f);
		EXPECT_LE(std::fabs(sky.GetCloudSpeed(i)), 0.00035f + 1e-7f);
	}
	// 10 · (32767 - 16383) / 32767 is the largest draw.
	EXPECT_LE(std::fabs(sky.GetSunX()), 5.0f + 2e-4f);
	const float day[3] = {0.43f, 0.55f, 0.8f};
	ExpectCubeColours(sky, day);

	// The same draws lay out the same sky.
	SkyBox again;
	Random same(11);
	ASSERT_TRUE(again.Load(nullptr, 0, same));
	EXPECT_EQ(again.GetSunX(), sky.GetSunX());
	for (int i = 0; i < 10; i++) {
		EXPECT_TRUE(sgEqualVec3(again.GetCloudPosition(i), sky.GetCloudPosition(i)));
		EXPECT_EQ(again.GetCloudSpeed(i), sky.GetCloudSpeed(i));
	}
	again.Deinit();

	// The sky follows the camera; the clouds show where they were, then move on.
	const sgVec3 centre = {3.0f, -4.0f, 5.0f};
	sky.SetCentre(centre);
	sgVec3 start;
	sgCopyVec3(start, sky.GetCloudPosition(0));
	sky.Update(1000);
	sgVec3 at;
	Translation(sky.GetRoot(), at);
	EXPECT_TRUE(sgEqualVec3(at, centre));
	Translation(sky.GetCloudNode(0), at);
	EXPECT_TRUE(sgEqualVec3(at, start));
	EXPECT_NEAR(sky.GetCloudPosition(0)[0], start[0] + 1000.0f * sky.GetCloudSpeed(0), 1e-5f);
	EXPECT_FLOAT_EQ(sky.GetCloudPosition(0)[1], start[1]);

	sky.Deinit();
	EXPECT_EQ(f.root->getNumKids(), 0);
	EXPECT_EQ(f.CountInLog("SKYBOX: Deinitialization..."), 2); // this sky and the second one
}

TEST(SkyBox, ANightSkyHasTwentyFixedStarsAndAMoonAndNoClouds) {
	SceneFixture f;
	LinkSkyData(f);
	SkyBox sky;
	ASSERT_TRUE(sky.Load(f.root, 1, f.random));
	EXPECT_EQ(sky.IsNight(), 1);
	EXPECT_EQ(sky.GetCloudCount(), 0);
	EXPECT_EQ(sky.GetStarCount(), 20);
	int billboards = 0, cubes = 0;
	CountKids(sky, billboards, cubes);
	EXPECT_EQ(billboards, 21); // twenty stars and the moon
	EXPECT_EQ(cubes, 1);
	const float night[3] = {0.23f, 0.25f, 0.55f};
	ExpectCubeColours(sky, night);

	// Stars are placed once and stay; the moon stands at (sun x, 25, -5).
	ssgTransform *root = sky.GetRoot();
	std::vector<std::vector<float>> before;
	bool moonSeen = false;
	for (int i = 0; i < root->getNumKids(); i++) {
		if (root->getKid(i) == sky.GetCube()) {
			continue;
		}
		sgVec3 p;
		Translation(root->getKid(i), p);
		before.push_back({p[0], p[1], p[2]});
		if (p[1] == 25.0f && p[2] == -5.0f) {
			EXPECT_FLOAT_EQ(p[0], sky.GetSunX());
			moonSeen = true;
			continue;
		}
		EXPECT_LE(std::fabs(p[0]), 15.0f + 1e-3f);
		EXPECT_GE(std::fabs(p[1]), 10.0f);
		EXPECT_LE(std::fabs(p[1]), 20.0f + 1e-3f);
		EXPECT_GE(p[2], -7.0f);
		EXPECT_LE(p[2], 8.0f);
	}
	EXPECT_TRUE(moonSeen);
	sky.Update(100000);
	for (int i = 0, k = 0; i < root->getNumKids(); i++) {
		if (root->getKid(i) == sky.GetCube()) {
			continue;
		}
		sgVec3 p;
		Translation(root->getKid(i), p);
		EXPECT_EQ(before[k++], (std::vector<float>{p[0], p[1], p[2]}));
	}
	sky.Deinit();
	EXPECT_EQ(f.root->getNumKids(), 0);
}

TEST(SkyBox, ACloudDriftingPastTheEdgeComesBackOnTheOtherSide) {
	SceneFixture f;
	LinkSkyData(f);
	SkyBox sky;
	ASSERT_TRUE(sky.Load(f.root, 0, f.random));
	// The fastest cloud gets there in the fewest milliseconds.
	int fast = 0;
	for (int i = 1; i < 10; i++) {
		if (std::fabs(sky.GetCloudSpeed(i)) > std::fabs(sky.GetCloudSpeed(fast))) {
			fast = i;
		}
	}
	const float speed = sky.GetCloudSpeed(fast);
	ASSERT_GT(std::fabs(speed), 1e-5f);
	const float edge = speed > 0.0f ? 100.0f : -100.0f;
	const int dt = static_cast<int>(std::ceil((edge - sky.GetCloudPosition(fast)[0]) / speed)) + 10;
	sky.Update(dt);
	EXPECT_FLOAT_EQ(sky.GetCloudPosition(fast)[0], -edge);
	EXPECT_EQ(sky.GetCloudSpeed(fast), speed);

	// It is shown at the far side and keeps going the same way from there.
	sky.Update(500);
	sgVec3 shown;
	Translation(sky.GetCloudNode(fast), shown);
	EXPECT_FLOAT_EQ(shown[0], -edge);
	EXPECT_NEAR(sky.GetCloudPosition(fast)[0], -edge + 500.0f * speed, 1e-4f);
	sky.Deinit();
}

TEST(SkyBox, AMissingModelFailsAfterTheInitializingLine) {
	SceneFixture f;
	f.LinkData("misc/cloud.3ds");
	f.LinkData("misc/cloud.bmp");
	SkyBox day;
	EXPECT_FALSE(day.Load(f.root, 0, f.random)); // no sun
	day.Deinit();
	SkyBox night;
	EXPECT_FALSE(night.Load(f.root, 1, f.random)); // no stars
	night.Deinit();
	EXPECT_EQ(f.CountInLog("SKYBOX: Initializing..."), 2);
	EXPECT_EQ(f.CountInLog("SKYBOX: ...Done!"), 0);
	EXPECT_EQ(f.root->getNumKids(), 0);
}
