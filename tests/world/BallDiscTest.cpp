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
	return std::sqrt(v[0] * v[0] + v[1] * v[1]);
}

// Brakes and steps the object the way the match frame does until it rests; returns the steps
// taken, or -1 when it never stopped. Every step checks that nothing spins or leaves the plane.
int RunUntilRest(PhysicsScene &scene, GameObject &object, int maxSteps) {
	for (int step = 0; step < maxSteps; step++) {
		object.ApplyFriction();
		const dReal *w = dBodyGetAngularVel(object.GetBody());
		EXPECT_EQ(w[0], 0.0);
		EXPECT_EQ(w[1], 0.0);
		EXPECT_EQ(w[2], 0.0);
		if (PlanarSpeed(object) == 0.0) {
			return step;
		}
		dWorldStep(scene.world, STEP);
		EXPECT_EQ(dBodyGetLinearVel(object.GetBody())[2], 0.0);
	}
	return -1;
}

// Sends the object along +x at speed from the origin and checks where it comes to rest against
// v² / (2a) with a = friction × 9.81 / mass (the braking force does not grow with the mass),
// within one step's travel; and when, against v / a within a step.
void ExpectStopsWhereFrictionSays(PhysicsScene &scene, GameObject &object, float speed, double mass) {
	object.SetPosition(0.0f, 0.0f, 0.0f);
	const sgVec3 velocity = {speed, 0.0f, 0.0f};
	object.SetVelocity(velocity);
	const double a = object.GetFriction() * 9.81 / mass;
	const int steps = RunUntilRest(scene, object, 100000);
	ASSERT_GT(steps, 0);
	const dReal *p = dBodyGetPosition(object.GetBody());
	EXPECT_NEAR(p[0], speed * speed / (2.0 * a), speed * STEP);
	EXPECT_EQ(p[1], 0.0);
	EXPECT_EQ(p[2], 0.0);
	EXPECT_NEAR(steps * STEP, speed / a, 2 * STEP);
}

} // namespace

TEST(BallDisc, CreateGivesEachItsConstantsAndSphere) {
	ScratchDir scratch;
	PhysicsScene scene;
	Ball ball;
	ball.Create(scene.root, scene.world, scene.space);
	EXPECT_EQ(ball.GetType(), OBJECT_BALL);
	EXPECT_FLOAT_EQ(ball.GetFriction(), 1.3f);
	EXPECT_FLOAT_EQ(ball.GetStopSpeed(), 0.3f);
	ball.CreateGeometry();
	ASSERT_NE(ball.GetGeom(), nullptr);
	EXPECT_EQ(dGeomGetBody(ball.GetGeom()), ball.GetBody());
	EXPECT_NEAR(dGeomSphereGetRadius(ball.GetGeom()), 1.67, 1e-6);
	dMass mass;
	dBodyGetMass(ball.GetBody(), &mass);
	EXPECT_NEAR(mass.mass, 1.0, 1e-9);

	Disc disc;
	disc.Create(scene.root, scene.world, scene.space);
	EXPECT_EQ(disc.GetType(), OBJECT_DISC);
	EXPECT_FLOAT_EQ(disc.GetFriction(), 5.5f);
	EXPECT_FLOAT_EQ(disc.GetStopSpeed(), 0.3f);
	EXPECT_FLOAT_EQ(disc.GetShotFactor(), 1.5f);
	EXPECT_EQ(disc.GetGoals(), 0);
	disc.CreateGeometry();
	ASSERT_NE(disc.GetGeom(), nullptr);
	EXPECT_NEAR(dGeomSphereGetRadius(disc.GetGeom()), 2.775, 1e-6);
	dBodyGetMass(disc.GetBody(), &mass);
	EXPECT_NEAR(mass.mass, 2.0, 1e-9);
	EXPECT_EQ(dSpaceGetNumGeoms(scene.space), 2);

	disc.AddGoal();
	disc.AddGoal();
	EXPECT_EQ(disc.GetGoals(), 2);
	// Before its model is loaded a disc has no state to highlight; the flag still follows.
	disc.SetActive(false);
	EXPECT_FALSE(disc.IsActive());

	ball.Destroy();
	disc.Destroy();
	EXPECT_EQ(scene.root->getNumKids(), 0);
}

TEST(BallDisc, FrictionStopsAShotWhereTheBrakingLawSays) {
	ScratchDir scratch;
	PhysicsScene scene;
	Disc disc;
	disc.Create(scene.root, scene.world, scene.space);
	disc.CreateGeometry();
	ExpectStopsWhereFrictionSays(scene, disc, 90.0f, Disc::MASS);  // the fastest shot
	ExpectStopsWhereFrictionSays(scene, disc, 12.5f, Disc::MASS);

	Ball ball;
	ball.Create(scene.root, scene.world, scene.space);
	ball.CreateGeometry();
	ExpectStopsWhereFrictionSays(scene, ball, 40.0f, Ball::MASS);
	ball.Destroy();
	disc.Destroy();
}

TEST(BallDisc, AtOrBelowTheStopSpeedABodyStopsInThatStep) {
	ScratchDir scratch;
	PhysicsScene scene;
	Ball ball;
	ball.Create(scene.root, scene.world, scene.space);
	ball.CreateGeometry();

	const sgVec3 atStop = {0.3f, 0.0f, 0.0f};
	ball.SetVelocity(atStop);
	ball.ApplyFriction();
	EXPECT_EQ(PlanarSpeed(ball), 0.0);

	const sgVec3 slow = {0.0f, -0.2f, 0.0f};
	ball.SetVelocity(slow);
	ball.ApplyFriction();
	EXPECT_EQ(PlanarSpeed(ball), 0.0);

	// Just above: braked by a force of size friction × 9.81 against the motion, not stopped.
	const sgVec3 above = {0.0f, -0.31f, 0.0f};
	ball.SetVelocity(above);
	ball.ApplyFriction();
	EXPECT_NEAR(PlanarSpeed(ball), 0.31, 1e-6);
	const dReal *force = dBodyGetForce(ball.GetBody());
	EXPECT_NEAR(force[0], 0.0, 1e-9);
	EXPECT_NEAR(force[1], 1.3 * 9.81, 1e-4);
	EXPECT_EQ(force[2], 0.0);
	ball.Destroy();
}

TEST(BallDisc, NothingSpinsOrLeavesThePlane) {
	ScratchDir scratch;
	PhysicsScene scene;
	Disc disc;
	disc.Create(scene.root, scene.world, scene.space);
	disc.CreateGeometry();

	const sgVec3 upwards = {3.0f, 4.0f, 25.0f};
	disc.SetVelocity(upwards);
	EXPECT_EQ(dBodyGetLinearVel(disc.GetBody())[2], 0.0);

	// A contact can leave a z velocity and a spin behind: the spin goes with the next brake,
	// the z velocity at the latest when the body comes to rest.
	dBodySetLinearVel(disc.GetBody(), 2.0, 0.0, 0.5);
	dBodySetAngularVel(disc.GetBody(), 1.0, 2.0, 3.0);
	disc.ApplyFriction();
	const dReal *w = dBodyGetAngularVel(disc.GetBody());
	EXPECT_EQ(w[0], 0.0);
	EXPECT_EQ(w[1], 0.0);
	EXPECT_EQ(w[2], 0.0);
	for (int step = 0; step < 1000 && PlanarSpeed(disc) > 0.0; step++) {
		dWorldStep(scene.world, STEP);
		disc.ApplyFriction();
	}
	const dReal *v = dBodyGetLinearVel(disc.GetBody());
	EXPECT_EQ(v[0], 0.0);
	EXPECT_EQ(v[1], 0.0);
	EXPECT_EQ(v[2], 0.0);

	dBodySetAngularVel(disc.GetBody(), 0.0, 0.0, 9.0);
	disc.Update(16);
	EXPECT_EQ(dBodyGetAngularVel(disc.GetBody())[2], 0.0);
	disc.Destroy();
}

TEST(BallDisc, ShootSendsTheDiscTowardsTheAimPointAtOneAndAHalfTimesItsLength) {
	ScratchDir scratch;
	PhysicsScene scene;
	Disc disc;
	disc.Create(scene.root, scene.world, scene.space);
	disc.CreateGeometry();

	// The aim vector is origin minus aim point: this aim point lies 4 left of and 3 above the disc.
	const sgVec3 aim = {4.0f, -3.0f, 9.0f};
	disc.Shoot(aim);
	sgVec3 v;
	disc.GetVelocity(v);
	EXPECT_FLOAT_EQ(v[0], -6.0f);
	EXPECT_FLOAT_EQ(v[1], 4.5f);
	EXPECT_FLOAT_EQ(v[2], 0.0f);

	const sgVec3 longest = {0.0f, 60.0f, 0.0f};
	disc.Shoot(longest);
	EXPECT_NEAR(PlanarSpeed(disc), 90.0, 1e-6);

	const sgVec3 none = {0.0f, 0.0f, 0.0f};
	disc.Shoot(none);
	disc.ApplyFriction();
	dWorldStep(scene.world, STEP);
	EXPECT_EQ(PlanarSpeed(disc), 0.0);
	const dReal *p = dBodyGetPosition(disc.GetBody());
	EXPECT_EQ(p[0], 0.0);
	EXPECT_EQ(p[1], 0.0);
	disc.Destroy();
}

TEST(BallDisc, LoadHangsTheModelsAndPutsTheCharacterOnTheFace) {
	ScratchDir scratch;
	ScopedLog log;
	LinkDataFolder(scratch, "misc");
	SceneWindow window;
	ASSERT_TRUE(window.IsOpen());
	PhysicsScene scene;

	Ball ball;
	ball.Create(scene.root, scene.world, scene.space);
	ASSERT_TRUE(ball.Load());
	ASSERT_NE(ball.GetModel(), nullptr);
	EXPECT_EQ(ball.GetNode()->getKid(0), ball.GetModel());
	ASSERT_NE(ball.GetGeom(), nullptr);
	EXPECT_TRUE(log.Contains("BALL: Initializing..."));
	EXPECT_TRUE(log.Contains("BALL: ...Done!"));

	Disc disc;
	disc.Create(scene.root, scene.world, scene.space);
	ASSERT_TRUE(disc.Load("webby"));
	EXPECT_TRUE(log.Contains("DISC: Initializing..."));
	EXPECT_TRUE(log.Contains("DISC: ...Done!"));
	ASSERT_NE(disc.GetFaceState(), nullptr);
	ssgSimpleState *face = const_cast<ssgSimpleState *>(disc.GetFaceState());
	EXPECT_STREQ(face->getTextureFilename(), "data/misc/webby256_disc.bmp");
	EXPECT_NE(disc.GetGeom(), nullptr);

	// Loading lights the disc up as the active one; SetActive switches the highlight.
	ssgSimpleState *body = const_cast<ssgSimpleState *>(disc.GetBodyState());
	ASSERT_NE(body, nullptr);
	EXPECT_TRUE(disc.IsActive());
	EXPECT_FLOAT_EQ(body->getMaterial(GL_AMBIENT)[0], 0.949f);
	EXPECT_FLOAT_EQ(body->getMaterial(GL_AMBIENT)[2], 0.093f);
	EXPECT_FLOAT_EQ(body->getMaterial(GL_DIFFUSE)[1], 0.871f);
	disc.SetActive(false);
	EXPECT_FLOAT_EQ(body->getMaterial(GL_AMBIENT)[0], 0.676f);
	EXPECT_FLOAT_EQ(body->getMaterial(GL_DIFFUSE)[2], 0.47f);
	EXPECT_FLOAT_EQ(body->getMaterial(GL_DIFFUSE)[3], 1.0f);

	ball.Destroy();
	disc.Destroy();
	EXPECT_EQ(scene.root->getNumKids(), 0);
}

TEST(BallDisc, LoadFailsCleanlyWithoutTheModelOrItsTwoParts) {
	ScratchDir scratch;
	ScopedLog log;
	SceneWindow window;
	ASSERT_TRUE(window.IsOpen());
	PhysicsScene scene;

	Disc missing;
	missing.Create(scene.root, scene.world, scene.space);
	EXPECT_FALSE(missing.Load("hippy"));
	EXPECT_FALSE(missing.Load(nullptr));
	EXPECT_EQ(missing.GetModel(), nullptr);
	EXPECT_EQ(missing.GetGeom(), nullptr);
	Ball noBall;
	noBall.Create(scene.root, scene.world, scene.space);
	EXPECT_FALSE(noBall.Load());
	EXPECT_FALSE(log.Contains("BALL: ...Done!"));

	// A one-part model in place of the disc: refused without touching a second part.
	std::filesystem::create_directories("data/misc");
	std::filesystem::copy_file(BuildDataDir() + "/misc/ball.3ds", "data/misc/disc.3ds");
	std::filesystem::copy_file(BuildDataDir() + "/misc/ball.bmp", "data/misc/ball.bmp");
	Disc onePart;
	onePart.Create(scene.root, scene.world, scene.space);
	EXPECT_FALSE(onePart.Load("hippy"));
	EXPECT_EQ(onePart.GetModel(), nullptr);
	EXPECT_EQ(onePart.GetBodyState(), nullptr);
	EXPECT_EQ(onePart.GetGeom(), nullptr);
	EXPECT_TRUE(log.Contains("DISC: disc.3ds needs a body and a face part"));
	EXPECT_FALSE(log.Contains("DISC: ...Done!"));

	missing.Destroy();
	noBall.Destroy();
	onePart.Destroy();
}
