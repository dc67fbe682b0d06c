#include <gtest/gtest.h>

#include <plib/ssg.h>
#include <plib/ssgAux.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "WorldTestKit.h"
#include "world/SkyBox.h"

namespace {

void Translation(ssgEntity *transform, sgVec3 out) {
	sgMat4 m;
	static_cast<ssgTransform *>(transform)->getTransform(m);
	sgCopyVec3(out, m[3]);
}

// The billboards under the sky's root (clouds or stars, and the sun or moon), by place.
std::vector<std::vector<float>> Billboards(const SkyBox &sky) {
	std::vector<std::vector<float>> places;
	ssgTransform *root = sky.GetRoot();
	for (int i = 0; i < root->getNumKids(); i++) {
		ssgEntity *kid = root->getKid(i);
		if (kid != sky.GetCube()) {
			EXPECT_TRUE(static_cast<ssgBranch *>(kid)->getKid(0)->isA(ssgTypeCutout()));
			sgVec3 p;
			Translation(kid, p);
			places.push_back({p[0], p[1], p[2]});
		}
	}
	return places;
}

// Corners near the base colour; the two strips agree where they share a corner.
void ExpectCubeColours(const SkyBox &sky, const float *base) {
	ssgaCube *cube = sky.GetCube();
	ASSERT_EQ(cube->getNumKids(), 2);
	ssgLeaf *first = static_cast<ssgLeaf *>(cube->getKid(0));
	ssgLeaf *second = static_cast<ssgLeaf *>(cube->getKid(1));
	const int shared[8] = {5, 3, 7, 1, 6, 0, 4, 2};
	for (int i = 0; i < 8; i++) {
		for (int c = 0; c < 3; c++) {
			EXPECT_LE(std::fabs(first->getColour(i)[c] - base[c]), 0.25f + 1e-4f);
		}
		EXPECT_TRUE(sgEqualVec3(first->getVertex(shared[i]), second->getVertex(i))) << "corner " << i;
		EXPECT_TRUE(sgEqualVec4(second->getColour(i), first->getColour(shared[i]))) << "corner " << i;
	}
}

} // namespace

TEST(SkyBox, DayHasTenDriftingCloudsAndASunNightTwentyFixedStarsAndAMoon) {
	WorldScene scene;
	struct Case {
		int night, clouds, stars;
		float width, minY; // units
		float colour[3];
	};
	const Case cases[] = {
		{0, 10, 0, 7.5f, 5.0f, {0.43f, 0.55f, 0.8f}}, {1, 0, 20, 15.0f, 10.0f, {0.23f, 0.25f, 0.55f}}};
	for (const Case &c : cases) {
		SCOPED_TRACE(c.night);
		SkyBox sky;
		ASSERT_TRUE(sky.Load(scene.root, c.night, scene.random));
		EXPECT_EQ(sky.IsNight(), c.night);
		EXPECT_EQ(sky.GetCloudCount(), c.clouds);
		EXPECT_EQ(sky.GetStarCount(), c.stars);
		const std::vector<std::vector<float>> before = Billboards(sky);
		ASSERT_EQ(before.size(), size_t(c.clouds + c.stars + 1));
		int suns = 0;
		for (const std::vector<float> &p : before) {
			if (p[1] == SkyBox::kSunY && p[2] == SkyBox::kSunZ) {
				EXPECT_EQ(p[0], sky.GetSunX());
				EXPECT_LE(std::fabs(p[0]), 5.0f + 2e-4f);
				suns++;
			} else if (c.night) {
				EXPECT_LE(std::fabs(p[0]), c.width + 1e-3f);
				EXPECT_GE(std::fabs(p[1]), c.minY);
				EXPECT_LE(std::fabs(p[1]), 20.0f + 1e-3f);
				EXPECT_GE(p[2], -7.0f);
				EXPECT_LE(p[2], 8.0f);
			}
		}
		EXPECT_EQ(suns, 1);
		for (int i = 0; i < c.clouds; i++) {
			const float *p = sky.GetCloudPosition(i);
			EXPECT_LE(std::fabs(p[0]), c.width + 1e-3f);
			EXPECT_GE(std::fabs(p[1]), c.minY);
			EXPECT_LE(std::fabs(p[1]), 20.0f + 1e-3f);
			EXPECT_GE(p[2], -7.0f);
			EXPECT_LE(p[2], 8.0f);
			EXPECT_LE(std::fabs(sky.GetCloudSpeed(i)), 0.00035f + 1e-7f);
		}
		ExpectCubeColours(sky, c.colour);
		// Stars never move.
		sky.Update(100000);
		if (c.night) {
			EXPECT_EQ(Billboards(sky), before);
		}
		sky.Deinit();
		EXPECT_EQ(scene.root->getNumKids(), 0);
	}
	EXPECT_EQ(scene.log.Count("SKYBOX: Initializing..."), 2);
	EXPECT_EQ(scene.log.Count("SKYBOX: ...Done!"), 2);
	EXPECT_EQ(scene.log.Count("SKYBOX: Deinitialization..."), 2);
}

TEST(SkyBox, TheSameDrawsLayOutTheSameSkyAndItFollowsTheCamera) {
	WorldScene scene;
	Random first(11), second(11);
	SkyBox sky, again;
	ASSERT_TRUE(sky.Load(scene.root, 0, first));
	ASSERT_TRUE(again.Load(nullptr, 0, second));
	EXPECT_EQ(again.GetSunX(), sky.GetSunX());
	for (int i = 0; i < 10; i++) {
		EXPECT_TRUE(sgEqualVec3(again.GetCloudPosition(i), sky.GetCloudPosition(i)));
		EXPECT_EQ(again.GetCloudSpeed(i), sky.GetCloudSpeed(i));
	}
	again.Deinit();

	// The clouds show where they were, then move on.
	const sgVec3 centre = {3.0f, -4.0f, 5.0f};
	sky.SetCentre(centre);
	sgVec3 start, at;
	sgCopyVec3(start, sky.GetCloudPosition(0));
	sky.Update(1000);
	Translation(sky.GetRoot(), at);
	EXPECT_TRUE(sgEqualVec3(at, centre));
	Translation(sky.GetCloudNode(0), at);
	EXPECT_TRUE(sgEqualVec3(at, start));
	EXPECT_NEAR(sky.GetCloudPosition(0)[0], start[0] + 1000.0f * sky.GetCloudSpeed(0), 1e-5f);
	EXPECT_FLOAT_EQ(sky.GetCloudPosition(0)[1], start[1]);

	// The fastest cloud, past the edge, comes back on the other side and keeps its way.
	int fast = 0;
	for (int i = 1; i < 10; i++) {
		fast = std::fabs(sky.GetCloudSpeed(i)) > std::fabs(sky.GetCloudSpeed(fast)) ? i : fast;
	}
	const float speed = sky.GetCloudSpeed(fast);
	const float edge = speed > 0.0f ? SkyBox::kCloudWrap : -SkyBox::kCloudWrap;
	sky.Update(static_cast<int>(std::ceil((edge - sky.GetCloudPosition(fast)[0]) / speed)) + 10);
	EXPECT_FLOAT_EQ(sky.GetCloudPosition(fast)[0], -edge);
	sky.Update(500);
	Translation(sky.GetCloudNode(fast), at);
	EXPECT_FLOAT_EQ(at[0], -edge);
	EXPECT_NEAR(sky.GetCloudPosition(fast)[0], -edge + 500.0f * speed, 1e-4f);
	sky.Deinit();
}

TEST(SkyBox, AMissingModelFailsAfterTheInitializingLine) {
	WorldScene scene;
	std::filesystem::remove("data/misc/sun.3ds");
	std::filesystem::remove("data/misc/star.3ds");
	for (int night : {0, 1}) {
		SkyBox sky;
		EXPECT_FALSE(sky.Load(scene.root, night, scene.random));
		sky.Deinit();
	}
	EXPECT_EQ(scene.log.Count("SKYBOX: Initializing..."), 2);
	EXPECT_EQ(scene.log.Count("SKYBOX: ...Done!"), 0);
	EXPECT_EQ(scene.root->getNumKids(), 0);
}
