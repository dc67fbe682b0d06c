#include <gtest/gtest.h>

#include <GL/gl.h>
#include <plib/ssg.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "WorldTestKit.h"
#include "core/SceneWalk.h"
#include "world/GameObject.h"
#include "world/Shadow.h"

namespace {

void ExpectTranslation(ssgTransform *node, float x, float y, float z) {
	ASSERT_NE(node, nullptr);
	sgMat4 m;
	node->getTransform(m);
	EXPECT_NEAR(m[3][0], x, 1e-5f);
	EXPECT_NEAR(m[3][1], y, 1e-5f);
	EXPECT_NEAR(m[3][2], z, 1e-5f);
}

std::vector<ssgLeaf *> Leaves(ssgEntity *entity) {
	std::vector<ssgLeaf *> leaves;
	ForEachLeaf(entity, &leaves,
		[](void *user, ssgLeaf *leaf) { static_cast<std::vector<ssgLeaf *> *>(user)->push_back(leaf); });
	return leaves;
}

} // namespace

TEST(Shadow, EachCopySitsBelowTheObjectPushedAwayFromItsLight) {
	WorldScene scene;
	GameObject disc;
	disc.Create(scene.root, nullptr, nullptr);
	disc.SetPosition(4.0f, -2.0f, 0.0f);
	Shadow shadow;
	shadow.Init(scene.root, &disc);
	ASSERT_TRUE(shadow.Load("shadow_disc"));
	EXPECT_EQ(scene.log.Count("SHADOW: ...Done!"), 1);
	ASSERT_TRUE(shadow.SetLightCount(2));
	ASSERT_TRUE(shadow.SetLight(0, 10.0f, 25.0f, 40.0f)); // the match's sun
	ASSERT_TRUE(shadow.SetLight(1, -20.0f, 7.0f, 0.0f));  // level with the disc
	shadow.Update(16);
	// Slopes (10 - 4) / 40 and (25 + 2) / 40, taken 1.5 below the centre; a light at the
	// object's own height gives no horizontal shift.
	ExpectTranslation(shadow.GetCopyNode(0), 4.0f - 1.5f * 0.15f, -2.0f - 1.5f * 0.675f, -1.5f);
	ExpectTranslation(shadow.GetCopyNode(1), 4.0f, -2.0f, -1.5f);
	// It is placed from where the object is at Update.
	disc.SetPosition(0.0f, 0.0f, 2.0f);
	shadow.Update(0);
	ExpectTranslation(shadow.GetCopyNode(0), 0.5f * 10.0f / 38.0f, 0.5f * 25.0f / 38.0f, 0.5f);

	shadow.SetHidden(true);
	EXPECT_EQ(shadow.GetSwitch()->getSelect(), 1u << 1);
	shadow.SetHidden(false);
	shadow.Deinit();
	EXPECT_EQ(scene.root->getNumKids(), 1); // the disc's own
	disc.Destroy();
}

TEST(Shadow, NewLightCountsReplaceTheCopiesAndMoreThanFourAreRefused) {
	WorldScene scene;
	GameObject ball;
	ball.Create(scene.root, nullptr, nullptr);
	Shadow shadow;
	shadow.Init(scene.root, &ball);
	ASSERT_TRUE(shadow.Load("shadow_ball"));
	ASSERT_TRUE(shadow.SetLightCount(3));
	ssgTransform *old = shadow.GetCopyNode(0);
	old->ref(); // kept to see that it left the scene, and that no leaf is shared
	const std::vector<ssgLeaf *> oldLeaves = Leaves(old);
	ASSERT_FALSE(oldLeaves.empty());
	ASSERT_TRUE(shadow.SetLightCount(1));
	EXPECT_EQ(shadow.GetRoot()->getNumKids(), 1);
	EXPECT_EQ(old->getNumParents(), 0);
	EXPECT_EQ(shadow.GetCopyNode(1), nullptr);
	for (ssgLeaf *leaf : Leaves(shadow.GetCopyNode(0))) {
		// A deep copy whose leaves multiply onto the frame buffer.
		EXPECT_EQ(std::count(oldLeaves.begin(), oldLeaves.end(), leaf), 0);
		EXPECT_NE(leaf->getCallback(SSG_CALLBACK_PREDRAW), nullptr);
		EXPECT_NE(leaf->getCallback(SSG_CALLBACK_POSTDRAW), nullptr);
	}
	ssgDeRefDelete(old);

	EXPECT_FALSE(shadow.SetLightCount(5));
	EXPECT_FALSE(shadow.SetLightCount(-1));
	EXPECT_EQ(shadow.GetLightCount(), 1);
	EXPECT_EQ(scene.log.Count("SHADOW: 5 lights asked for"), 1);
	EXPECT_FALSE(shadow.SetLight(4, 0.0f, 0.0f, 1.0f));
	EXPECT_FALSE(shadow.SetLight(-1, 0.0f, 0.0f, 1.0f));
	shadow.Deinit();
	ball.Destroy();
}

TEST(Shadow, AMissingModelFailsAfterTheInitializingLine) {
	WorldScene scene;
	std::filesystem::remove("data/misc/shadow_ball.3ds");
	GameObject ball;
	ball.Create(scene.root, nullptr, nullptr);
	Shadow shadow;
	shadow.Init(scene.root, &ball);
	EXPECT_FALSE(shadow.Load("shadow_ball"));
	EXPECT_EQ(scene.log.Count("SHADOW: Initializing..."), 1);
	EXPECT_EQ(scene.log.Count("SHADOW: ...Done!"), 0);
	shadow.Deinit();
	ball.Destroy();
	EXPECT_EQ(scene.root->getNumKids(), 0);
}

TEST(Shadow, OverlappingShadowsDarkenTheFieldTwice) {
	WorldScene scene;
	ASSERT_TRUE(scene.window.IsOpen());
	GameObject bodies[2];
	Shadow shadows[2];
	for (int i = 0; i < 2; i++) {
		bodies[i].Create(scene.root, nullptr, nullptr);
		shadows[i].Init(scene.root, &bodies[i]);
		ASSERT_TRUE(shadows[i].Load("shadow_disc"));
		ASSERT_TRUE(shadows[i].SetLightCount(1));
		shadows[i].SetLight(0, 0.0f, 0.0f, 40.0f);
		shadows[i].Update(0);
	}
	// The green of the centre drawn from straight above onto a white field.
	auto green = [&](bool first, bool second) {
		shadows[0].SetHidden(!first);
		shadows[1].SetHidden(!second);
		scene.window.Clear(1.0f, 1.0f, 1.0f);
		glEnable(GL_BLEND);
		glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
		sgCoord eye;
		sgSetCoord(&eye, 0.0f, 0.0f, 20.0f, 0.0f, -90.0f, 0.0f);
		ssgSetCamera(&eye);
		ssgSetFOV(60.0f, 0.0f);
		ssgSetNearFar(1.0f, 100.0f);
		ssgCullAndDraw(scene.root);
		return static_cast<int>((scene.window.Pixel(scene.window.Width() / 2, scene.window.Height() / 2) >> 8) & 0xff);
	};
	const int once = green(true, false), twice = green(true, true);
	EXPECT_EQ(green(false, false), 255);
	ASSERT_LT(once, 235) << "the shadow does not darken the field";
	// Multiplying twice by (1 - alpha): twice / 255 = (once / 255)^2.
	EXPECT_NEAR(twice, once * once / 255.0, 3.0);
	// The blend the scene had is back after the shadows drew.
	GLint source = 0, destination = 0;
	glGetIntegerv(GL_BLEND_SRC, &source);
	glGetIntegerv(GL_BLEND_DST, &destination);
	EXPECT_EQ(source, GL_SRC_ALPHA);
	EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
	for (int i = 0; i < 2; i++) {
		shadows[i].Deinit();
		bodies[i].Destroy();
	}
}
