#include <gtest/gtest.h>

#include <GL/gl.h>
#include <plib/ssg.h>

#include <algorithm>
#include <vector>

#include "SceneFixture.h"
#include "core/SceneWalk.h"
#include "world/GameObject.h"
#include "world/Shadow.h"

namespace {

void LinkShadowData(const SceneFixture &f) {
	f.LinkData("misc/shadow_disc.3ds");
	f.LinkData("misc/shadow_ball.3ds");
	f.LinkData("misc/shadow.bmp");
}

void ExpectTranslation(ssgTransform *node, float x, float y, float z) {
	ASSERT_NE(node, nullptr);
	sgMat4 m;
	node->getTransform(m);
	EXPECT_NEAR(m[3][0], x, 1e-5f);
	EXPECT_NEAR(m[3][1], y, 1e-5f);
	EXPECT_NEAR(m[3][2], z, 1e-5f);
	EXPECT_FLOAT_EQ(m[0][0], 1.0f);
	EXPECT_FLOAT_EQ(m[1][1], 1.0f);
	EXPECT_FLOAT_EQ(m[2][2], 1.0f);
}

void CollectLeaf(void *userValue, ssgLeaf *leaf) {
	static_cast<std::vector<ssgLeaf *> *>(userValue)->push_back(leaf);
}

std::vector<ssgLeaf *> Leaves(ssgEntity *entity) {
	std::vector<ssgLeaf *> leaves;
	ForEachLeaf(entity, &leaves, CollectLeaf);
	return leaves;
}

} // namespace

TEST(Shadow, EachCopySitsBelowTheObjectPushedAwayFromItsLight) {
	SceneFixture f;
	LinkShadowData(f);
	GameObject disc;
	disc.Create(f.root, nullptr, nullptr);
	disc.SetPosition(4.0f, -2.0f, 0.0f);

	Shadow shadow;
	shadow.Init(f.root, &disc);
	ASSERT_TRUE(shadow.Load("shadow_disc"));
	EXPECT_EQ(f.CountInLog("SHADOW: Initializing..."), 1);
	EXPECT_EQ(f.CountInLog("SHADOW: ...Done!"), 1);
	ASSERT_TRUE(shadow.SetLightCount(2));
	ASSERT_TRUE(shadow.SetLight(0, 10.0f, 25.0f, 40.0f)); // the match's sun
	ASSERT_TRUE(shadow.SetLight(1, -20.0f, 7.0f, 0.0f));  // level with the disc
	shadow.Update(16);
	EXPECT_EQ(shadow.GetLastDt(), 16);

	// Slopes (10 - 4) / 40 and (25 + 2) / 40, taken 1.5 below the centre.
	ExpectTranslation(shadow.GetCopyNode(0), 4.0f - 1.5f * 0.15f, -2.0f - 1.5f * 0.675f, -1.5f);
	// A light at the object's own height gives no horizontal shift.
	ExpectTranslation(shadow.GetCopyNode(1), 4.0f, -2.0f, -1.5f);

	// The shadow follows: it is placed from where the object is at Update.
	disc.SetPosition(0.0f, 0.0f, 2.0f);
	shadow.Update(0);
	ExpectTranslation(shadow.GetCopyNode(0), 0.5f * 10.0f / 38.0f, 0.5f * 25.0f / 38.0f, 0.5f);

	// Only the copies are in the scene: parent -> switch -> root -> copy nodes.
	EXPECT_EQ(shadow.GetSwitch()->getKid(0), shadow.GetRoot());
	EXPECT_EQ(shadow.GetRoot()->getNumKids(), 2);
	shadow.SetHidden(true);
	EXPECT_EQ(shadow.GetSwitch()->getSelect(), 1u << 1);
	shadow.SetHidden(false);
	EXPECT_EQ(shadow.GetSwitch()->getSelect(), 1u << 0);

	const int kidsBefore = f.root->getNumKids();
	shadow.Deinit();
	EXPECT_EQ(f.root->getNumKids(), kidsBefore - 1);
	disc.Destroy();
}

TEST(Shadow, SetLightCountTwiceReplacesTheCopiesAndRefusesMoreThanFour) {
	SceneFixture f;
	LinkShadowData(f);
	GameObject ball;
	ball.Create(f.root, nullptr, nullptr);
	Shadow shadow;
	shadow.Init(f.root, &ball);
	ASSERT_TRUE(shadow.Load("shadow_ball"));

	ASSERT_TRUE(shadow.SetLightCount(3));
	EXPECT_EQ(shadow.GetRoot()->getNumKids(), 3);
	ssgTransform *oldFirst = shadow.GetCopyNode(0);
	oldFirst->ref(); // kept to see that it left the scene
	ASSERT_TRUE(shadow.SetLightCount(1));
	EXPECT_EQ(shadow.GetLightCount(), 1);
	EXPECT_EQ(shadow.GetRoot()->getNumKids(), 1);
	EXPECT_EQ(oldFirst->getNumParents(), 0);
	EXPECT_NE(shadow.GetCopyNode(0), oldFirst);
	EXPECT_EQ(shadow.GetCopyNode(1), nullptr);
	ssgDeRefDelete(oldFirst);

	// Each copy is a deep copy whose leaves multiply onto the frame buffer.
	ASSERT_EQ(shadow.GetCopyNode(0)->getNumKids(), 1);
	std::vector<ssgLeaf *> leaves = Leaves(shadow.GetCopyNode(0));
	ASSERT_FALSE(leaves.empty());
	for (ssgLeaf *leaf : leaves) {
		EXPECT_NE(leaf->getCallback(SSG_CALLBACK_PREDRAW), nullptr);
		EXPECT_NE(leaf->getCallback(SSG_CALLBACK_POSTDRAW), nullptr);
	}
	ssgTransform *kept = shadow.GetCopyNode(0);
	kept->ref(); // its leaves stay alive for the comparison
	ASSERT_TRUE(shadow.SetLightCount(1));
	for (ssgLeaf *leaf : Leaves(shadow.GetCopyNode(0))) {
		EXPECT_EQ(std::count(leaves.begin(), leaves.end(), leaf), 0) << "a copy shares a leaf with an older one";
	}
	ssgDeRefDelete(kept);

	EXPECT_FALSE(shadow.SetLightCount(5));
	EXPECT_FALSE(shadow.SetLightCount(-1));
	EXPECT_EQ(shadow.GetLightCount(), 1);
	EXPECT_EQ(shadow.GetRoot()->getNumKids(), 1);
	EXPECT_EQ(f.CountInLog("SHADOW: 5 lights asked for"), 1);
	EXPECT_FALSE(shadow.SetLight(4, 0.0f, 0.0f, 1.0f));
	EXPECT_FALSE(shadow.SetLight(-1, 0.0f, 0.0f, 1.0f));
	ASSERT_TRUE(shadow.SetLightCount(4));
	EXPECT_EQ(shadow.GetRoot()->getNumKids(), 4);
	shadow.Update(16); // every copy placed, none out of range
	shadow.Deinit();
	ball.Destroy();
}

TEST(Shadow, AMissingModelFailsAfterTheInitializingLine) {
	SceneFixture f;
	GameObject ball;
	ball.Create(f.root, nullptr, nullptr);
	Shadow shadow;
	shadow.Init(f.root, &ball);
	EXPECT_FALSE(shadow.Load("shadow_ball"));
	EXPECT_EQ(f.CountInLog("SHADOW: Initializing..."), 1);
	EXPECT_EQ(f.CountInLog("SHADOW: ...Done!"), 0);
	shadow.Deinit();
	ball.Destroy();
	EXPECT_EQ(f.root->getNumKids(), 0);
}

namespace {

// Draws the scene from straight above the origin onto a white field and reads the centre.
uint32_t CentreAfterDrawing(SceneFixture &f) {
	f.window.Clear(1.0f, 1.0f, 1.0f);
	glEnable(GL_BLEND);
	glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
	sgCoord eye;
	sgSetCoord(&eye, 0.0f, 0.0f, 20.0f, 0.0f, -90.0f, 0.0f);
	ssgSetCamera(&eye);
	ssgSetFOV(60.0f, 0.0f);
	ssgSetNearFar(1.0f, 100.0f);
	ssgCullAndDraw(f.root);
	return f.window.Pixel(f.window.Width() / 2, f.window.Height() / 2);
}

int Green(uint32_t pixel) {
	return (pixel >> 8) & 0xff;
}

} // namespace

TEST(Shadow, OverlappingShadowsDarkenTheFieldTwice) {
	SceneFixture f;
	ASSERT_TRUE(f.window.IsOpen());
	LinkShadowData(f);
	GameObject first, second;
	first.Create(f.root, nullptr, nullptr);
	second.Create(f.root, nullptr, nullptr);
	Shadow one, two;
	one.Init(f.root, &first);
	two.Init(f.root, &second);
	ASSERT_TRUE(one.Load("shadow_disc"));
	ASSERT_TRUE(two.Load("shadow_disc"));
	for (Shadow *s : {&one, &two}) {
		ASSERT_TRUE(s->SetLightCount(1));
		s->SetLight(0, 0.0f, 0.0f, 40.0f);
		s->Update(0);
	}

	two.SetHidden(true);
	const int once = Green(CentreAfterDrawing(f));
	two.SetHidden(false);
	const int twice = Green(CentreAfterDrawing(f));
	one.SetHidden(true);
	two.SetHidden(true);
	const int none = Green(CentreAfterDrawing(f));

	EXPECT_EQ(none, 255);
	ASSERT_LT(once, 235) << "the shadow does not darken the field";
	// Multiplying twice by (1 - alpha): twice / 255 = (once / 255)^2.
	EXPECT_NEAR(twice, once * once / 255.0, 3.0);
	// The blend the scene had is back after the shadows drew.
	GLint source = 0, destination = 0;
	glGetIntegerv(GL_BLEND_SRC, &source);
	glGetIntegerv(GL_BLEND_DST, &destination);
	EXPECT_EQ(source, GL_SRC_ALPHA);
	EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);

	one.Deinit();
	two.Deinit();
	first.Destroy();
	second.Destroy();
}
