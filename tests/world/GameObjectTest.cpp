#include <gtest/gtest.h>

#include <ode/ode.h>
#include <plib/ssg.h>

#include "WorldTestKit.h"
#include "world/GameObject.h"

TEST(GameObject, WithoutABodyKeepsItsOwnPositionAndStillMovesItsNode) {
	WorldScene scene;
	GameObject object;
	object.Create(scene.root, nullptr, nullptr);
	EXPECT_EQ(object.GetBody(), nullptr);
	EXPECT_EQ(object.GetSwitch()->getKid(0), object.GetNode());
	object.SetPosition(1.0f, 2.0f, 3.0f);
	object.Update(16);
	sgMat4 m;
	object.GetNode()->getTransform(m);
	EXPECT_TRUE(VecIs(m[3], 1.0f, 2.0f, 3.0f));
	sgVec3 v = {5, 5, 5};
	object.SetVelocity(v);
	object.GetVelocity(v);
	EXPECT_TRUE(VecIs(v, 0.0f, 0.0f, 0.0f));
	object.ApplyFriction(); // no body: nothing to brake
	object.SetHidden(true);
	EXPECT_EQ(object.GetSwitch()->getSelect(), 1u << 1);
	object.SetHidden(false);
	EXPECT_EQ(object.GetSwitch()->getSelect(), 1u << 0);
	object.Destroy();
	EXPECT_EQ(scene.root->getNumKids(), 0);
}

TEST(GameObject, ABodyMovesOnlyInThePlaneAndNeverSpins) {
	WorldScene scene;
	GameObject object;
	object.Create(scene.root, scene.world, scene.space);
	object.SetPosition(4.0f, -2.0f, 0.0f);
	sgVec3 v = {3.0f, 4.0f, 7.0f};
	object.SetVelocity(v);
	object.GetVelocity(v);
	EXPECT_TRUE(VecIs(v, 3.0f, 4.0f, 0.0f));
	dBodySetAngularVel(object.GetBody(), 1, 2, 3);
	object.Update(10);
	const dReal *w = dBodyGetAngularVel(object.GetBody());
	EXPECT_TRUE(w[0] == 0.0 && w[1] == 0.0 && w[2] == 0.0);
	object.Destroy();
	EXPECT_EQ(object.GetBody(), nullptr);
}

TEST(GameObject, ReparentingMovesTheSameSwitch) {
	WorldScene scene;
	ssgBranch *other = new ssgBranch();
	scene.root->addKid(other);
	GameObject object;
	object.Create(scene.root, nullptr, nullptr);
	ssgSelector *before = object.GetSwitch();
	object.SetParent(other);
	EXPECT_EQ(object.GetSwitch(), before);
	EXPECT_EQ(other->getNumKids(), 1);
	EXPECT_EQ(scene.root->getNumKids(), 1); // only `other` is left under the root

	// Made without a parent, it gets its subtree when it is given one.
	GameObject orphan;
	orphan.Create(nullptr, nullptr, nullptr);
	EXPECT_EQ(orphan.GetNode(), nullptr);
	orphan.SetParent(scene.root);
	EXPECT_NE(orphan.GetNode(), nullptr);
	orphan.Destroy();
	object.Destroy();
	EXPECT_EQ(other->getNumKids(), 0);
}
