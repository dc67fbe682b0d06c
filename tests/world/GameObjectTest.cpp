#include <gtest/gtest.h>

#include <ode/ode.h>
#include <plib/ssg.h>

#include "world/GameObject.h"

namespace {

// An ODE world without gravity, as a match has, and a scene root.
class WorldFixture {
public:
	WorldFixture() {
		dInitODE();
		world = dWorldCreate();
		space = dSimpleSpaceCreate(nullptr);
		root = new ssgRoot();
		root->ref();
	}
	~WorldFixture() {
		ssgDeRefDelete(root);
		dSpaceDestroy(space);
		dWorldDestroy(world);
		dCloseODE();
	}
	dWorldID world;
	dSpaceID space;
	ssgRoot *root;
};

} // namespace

TEST(GameObject, WithoutAWorldKeepsItsOwnPositionAndStillMovesItsNode) {
	WorldFixture f;
	GameObject object;
	object.Create(f.root, nullptr, nullptr);
	EXPECT_EQ(object.GetBody(), nullptr);
	ASSERT_NE(object.GetNode(), nullptr);
	ASSERT_NE(object.GetSwitch(), nullptr);
	EXPECT_EQ(f.root->getNumKids(), 1);
	EXPECT_EQ(object.GetSwitch()->getKid(0), object.GetNode());

	object.SetPosition(1.0f, 2.0f, 3.0f);
	object.Update(16);
	EXPECT_EQ(object.GetLastDt(), 16);
	sgMat4 m;
	object.GetNode()->getTransform(m);
	EXPECT_FLOAT_EQ(m[3][0], 1.0f);
	EXPECT_FLOAT_EQ(m[3][1], 2.0f);
	EXPECT_FLOAT_EQ(m[3][2], 3.0f);

	sgVec3 v = {5, 5, 5};
	object.SetVelocity(v);
	object.GetVelocity(v);
	EXPECT_FLOAT_EQ(v[0], 0.0f);
	object.ApplyFriction(); // no body: nothing to brake

	object.SetHidden(true);
	EXPECT_EQ(object.GetSwitch()->getSelect(), 1u << 1);
	object.SetHidden(false);
	EXPECT_EQ(object.GetSwitch()->getSelect(), 1u << 0);

	object.Destroy();
	EXPECT_EQ(f.root->getNumKids(), 0);
}

TEST(GameObject, ABodyMovesOnlyInThePlaneAndNeverSpins) {
	WorldFixture f;
	GameObject object;
	object.Create(f.root, f.world, f.space);
	ASSERT_NE(object.GetBody(), nullptr);
	object.SetPosition(4.0f, -2.0f, 0.0f);
	sgVec3 v = {3.0f, 4.0f, 7.0f};
	object.SetVelocity(v);
	sgVec3 back;
	object.GetVelocity(back);
	EXPECT_FLOAT_EQ(back[0], 3.0f);
	EXPECT_FLOAT_EQ(back[1], 4.0f);
	EXPECT_FLOAT_EQ(back[2], 0.0f);

	dBodySetAngularVel(object.GetBody(), 1, 2, 3);
	object.Update(10);
	const dReal *w = dBodyGetAngularVel(object.GetBody());
	EXPECT_EQ(w[0], 0.0);
	EXPECT_EQ(w[1], 0.0);
	EXPECT_EQ(w[2], 0.0);
	float x, y, z;
	object.GetPosition(x, y, z);
	EXPECT_FLOAT_EQ(x, 4.0f);
	EXPECT_FLOAT_EQ(y, -2.0f);
	object.Destroy();
	EXPECT_EQ(object.GetBody(), nullptr);
}

TEST(GameObject, ReparentingMovesTheSameSwitch) {
	WorldFixture f;
	ssgBranch *other = new ssgBranch();
	f.root->addKid(other);
	GameObject object;
	object.Create(f.root, nullptr, nullptr);
	ssgSelector *before = object.GetSwitch();
	ssgTransform *node = object.GetNode();
	object.SetParent(other);
	EXPECT_EQ(object.GetSwitch(), before);
	EXPECT_EQ(object.GetNode(), node);
	EXPECT_EQ(object.GetParent(), other);
	EXPECT_EQ(other->getNumKids(), 1);
	EXPECT_EQ(f.root->getNumKids(), 1); // only `other` is left under the root

	GameObject orphan;
	orphan.Create(nullptr, nullptr, nullptr);
	EXPECT_EQ(orphan.GetNode(), nullptr);
	orphan.SetParent(f.root);
	EXPECT_NE(orphan.GetNode(), nullptr);
	EXPECT_EQ(f.root->getNumKids(), 2);
	orphan.Destroy();
	object.Destroy();
	EXPECT_EQ(other->getNumKids(), 0);
}
