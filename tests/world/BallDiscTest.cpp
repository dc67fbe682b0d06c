#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "WorldTestKit.h"
#include "world/Ball.h"
#include "world/Disc.h"

namespace {

const double STEP = 0.01; // seconds, the match's physics step

double PlanarSpeed(const GameObject &object) {
	const dReal *v = dBodyGetLinearVel(object.GetBody());
	return std::hypot(v[0], v[1]);
}

bool Still(const GameObject &object) {
	const dReal *w = dBodyGetAngularVel(object.GetBody());
	return w[0] == 0.0 && w[1] == 0.0 && w[2] == 0.0 && dBodyGetLinearVel(object.GetBody())[2] == 0.0;
}

} // namespace

TEST(BallDisc, FrictionStopsAShotWhereTheBrakingLawSaysWithoutSpinOrLift) {
	WorldScene scene;
	Ball ball;
	Disc disc;
	struct Case {
		GameObject *object;
		float speed; // units per second
		double mass;
	};
	const Case cases[] = {{&disc, 90.0f, Disc::MASS}, {&disc, 12.5f, Disc::MASS}, {&ball, 40.0f, Ball::MASS}};
	ball.Create(scene.root, scene.world, scene.space);
	ball.CreateGeometry();
	disc.Create(scene.root, scene.world, scene.space);
	disc.CreateGeometry();
	for (const Case &c : cases) {
		SCOPED_TRACE(c.speed);
		c.object->SetPosition(0.0f, 0.0f, 0.0f);
		const sgVec3 velocity = {c.speed, 0.0f, 0.0f};
		c.object->SetVelocity(velocity);
		// A braking force of constant size friction × 9.81: it stops after v² / 2a, in v / a.
		const double a = c.object->GetFriction() * 9.81 / c.mass;
		int steps = 0;
		for (; steps < 100000; steps++) {
			c.object->ApplyFriction();
			ASSERT_TRUE(Still(*c.object));
			if (PlanarSpeed(*c.object) == 0.0) {
				break;
			}
			dWorldStep(scene.world, STEP);
		}
		const dReal *p = dBodyGetPosition(c.object->GetBody());
		EXPECT_NEAR(p[0], c.speed * c.speed / (2.0 * a), c.speed * STEP);
		EXPECT_EQ(p[1], 0.0);
		EXPECT_NEAR(steps * STEP, c.speed / a, 2 * STEP);
		c.object->SetPosition(50.0f, 50.0f, 0.0f); // out of the next one's way
	}

	// At or below the stop speed a body stops in that step; just above it is only braked.
	const sgVec3 atStop = {0.3f, 0.0f, 0.0f}, above = {0.0f, -0.31f, 0.0f};
	ball.SetVelocity(atStop);
	ball.ApplyFriction();
	EXPECT_EQ(PlanarSpeed(ball), 0.0);
	ball.SetVelocity(above);
	ball.ApplyFriction();
	EXPECT_NEAR(PlanarSpeed(ball), 0.31, 1e-6);
	EXPECT_NEAR(dBodyGetForce(ball.GetBody())[1], ball.GetFriction() * 9.81, 1e-4);

	// A contact can leave a lift and a spin behind: the next brake takes the spin, the rest
	// takes the lift.
	dBodySetLinearVel(disc.GetBody(), 2.0, 0.0, 0.5);
	dBodySetAngularVel(disc.GetBody(), 1.0, 2.0, 3.0);
	for (int step = 0; step < 1000 && PlanarSpeed(disc) > 0.0; step++) {
		disc.ApplyFriction();
		dWorldStep(scene.world, STEP);
		disc.ApplyFriction();
	}
	EXPECT_TRUE(Still(disc));
	ball.Destroy();
	disc.Destroy();
}

TEST(BallDisc, ShootSendsTheDiscTowardsTheAimPointAtOneAndAHalfTimesItsLength) {
	WorldScene scene;
	Disc disc;
	disc.Create(scene.root, scene.world, scene.space);
	disc.CreateGeometry();
	// The aim vector is origin minus aim point: this aim point lies 4 left of and 3 above the disc.
	const sgVec3 aim = {4.0f, -3.0f, 9.0f};
	disc.Shoot(aim);
	sgVec3 v;
	disc.GetVelocity(v);
	EXPECT_TRUE(VecIs(v, -6.0f, 4.5f, 0.0f));
	const sgVec3 none = {0.0f, 0.0f, 0.0f};
	disc.Shoot(none);
	dWorldStep(scene.world, STEP);
	EXPECT_EQ(PlanarSpeed(disc), 0.0);
	disc.Destroy();
}

TEST(BallDisc, LoadHangsTheModelsPutsTheCharacterOnTheFaceAndHighlightsTheActiveDisc) {
	WorldScene scene;
	Ball ball;
	ball.Create(scene.root, scene.world, scene.space);
	ASSERT_TRUE(ball.Load());
	EXPECT_EQ(ball.GetNode()->getKid(0), ball.GetModel());
	EXPECT_NE(ball.GetGeom(), nullptr);
	EXPECT_TRUE(scene.log.Has("BALL: ...Done!"));

	Disc disc;
	disc.Create(scene.root, scene.world, scene.space);
	ASSERT_TRUE(disc.Load("webby"));
	EXPECT_TRUE(scene.log.Has("DISC: ...Done!"));
	EXPECT_STREQ(
		const_cast<ssgSimpleState *>(disc.GetFaceState())->getTextureFilename(), "data/misc/webby256_disc.bmp");
	EXPECT_NE(disc.GetGeom(), nullptr);
	// Loaded as the active one; SetActive dims it.
	ssgSimpleState *body = const_cast<ssgSimpleState *>(disc.GetBodyState());
	EXPECT_TRUE(disc.IsActive());
	const float lit = body->getMaterial(GL_AMBIENT)[0];
	disc.SetActive(false);
	EXPECT_LT(body->getMaterial(GL_AMBIENT)[0], lit);
	disc.SetActive(true);
	EXPECT_EQ(body->getMaterial(GL_AMBIENT)[0], lit);
	ball.Destroy();
	disc.Destroy();
	EXPECT_EQ(scene.root->getNumKids(), 0);
}

TEST(BallDisc, LoadFailsCleanlyWithoutTheModelOrItsTwoParts) {
	WorldScene scene;
	std::filesystem::remove("data/misc/ball.3ds");
	std::filesystem::remove("data/misc/disc.3ds");
	Ball noBall;
	noBall.Create(scene.root, scene.world, scene.space);
	EXPECT_FALSE(noBall.Load());
	EXPECT_FALSE(scene.log.Has("BALL: ...Done!"));
	Disc missing;
	missing.Create(scene.root, scene.world, scene.space);
	EXPECT_FALSE(missing.Load("hippy"));
	EXPECT_FALSE(missing.Load(nullptr));
	EXPECT_EQ(missing.GetGeom(), nullptr);

	// A one-part model in place of the disc: refused without touching a second part.
	std::filesystem::create_symlink(BuildDataDir() + "/misc/ball.3ds", "data/misc/disc.3ds");
	Disc onePart;
	onePart.Create(scene.root, scene.world, scene.space);
	EXPECT_FALSE(onePart.Load("hippy"));
	EXPECT_EQ(onePart.GetModel(), nullptr);
	EXPECT_EQ(onePart.GetGeom(), nullptr);
	EXPECT_TRUE(scene.log.Has("DISC: disc.3ds needs a body and a face part"));
	EXPECT_FALSE(scene.log.Has("DISC: ...Done!"));
	for (GameObject *object : {static_cast<GameObject *>(&noBall), static_cast<GameObject *>(&missing),
			 static_cast<GameObject *>(&onePart)}) {
		object->Destroy();
	}
	EXPECT_EQ(scene.root->getNumKids(), 0);
}
