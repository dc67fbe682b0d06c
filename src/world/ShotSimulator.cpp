#include "world/ShotSimulator.h"

#include <cassert>
#include <cmath>
#include <cstring>

#include "core/LogFile.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"

namespace {

// Walls only meet bodies: the pairs of planes, which never touch, are not even offered.
const unsigned long WALL_CATEGORY = 1;
const unsigned long BODY_CATEGORY = 2;

void PlaceBody(GameObject &object, const float at[2], const float velocity[2]) {
	object.SetPosition(at[0], at[1], 0.0f);
	const sgVec3 v = {velocity[0], velocity[1], 0.0f};
	object.SetVelocity(v);
	dBodySetAngularVel(object.GetBody(), 0, 0, 0);
	dBodySetForce(object.GetBody(), 0, 0, 0);
}

void ReadBody(const GameObject &object, float at[2], float velocity[2]) {
	const dReal *p = dBodyGetPosition(object.GetBody());
	const dReal *v = dBodyGetLinearVel(object.GetBody());
	at[0] = static_cast<float>(p[0]);
	at[1] = static_cast<float>(p[1]);
	velocity[0] = static_cast<float>(v[0]);
	velocity[1] = static_cast<float>(v[1]);
}

bool Resting(const GameObject &object) {
	const dReal *v = dBodyGetLinearVel(object.GetBody());
	return std::sqrt(v[0] * v[0] + v[1] * v[1]) <= object.GetStopSpeed();
}

} // namespace

ShotSimulator::ShotSimulator()
	: world(nullptr), space(nullptr), contacts(nullptr), ball(nullptr), disc1(nullptr), disc2(nullptr),
	  startWait(COLLISION_WAIT), collisionWait(0), timeCap(TIME_CAP), over(true), outcome(), tracedSide(0),
	  firstKind(TOUCH_NONE), firstPoint() {
	memset(start, 0, sizeof(start));
	memset(startVelocity, 0, sizeof(startVelocity));
}

ShotSimulator::~ShotSimulator() {
	Release();
}

bool ShotSimulator::SetUp(const Arena &arena) {
	assert(!world); // once per match
	if (arena.GetWallCount() > MAX_WALLS) {
		Log(LOG_ERROR, "ARENA: %d walls are more than a simulated shot holds", arena.GetWallCount());
		return false;
	}
	world = dWorldCreate();
	dWorldSetGravity(world, 0, 0, 0);
	space = dSimpleSpaceCreate(nullptr);
	contacts = dJointGroupCreate(0);

	// The same bodies in the same order as the match makes them, so a collision pass meets the
	// pairs in the same order.
	ball = new Ball();
	ball->Create(nullptr, world, space);
	ball->CreateGeometry();
	dGeomID goalWalls[2] = {nullptr, nullptr};
	for (int i = 0; i < arena.GetWallCount(); i++) {
		dGeomID original = arena.GetWall(i);
		if (!original) {
			continue;
		}
		dVector4 plane;
		dGeomPlaneGetParams(original, plane);
		dGeomID wall = dCreatePlane(space, plane[0], plane[1], plane[2], plane[3]);
		dGeomSetCategoryBits(wall, WALL_CATEGORY);
		dGeomSetCollideBits(wall, BODY_CATEGORY);
		if (i == arena.GetGoal1WallIndex()) {
			goalWalls[0] = wall;
		}
		if (i == arena.GetGoal2WallIndex()) {
			goalWalls[1] = wall;
		}
	}
	disc1 = new Disc();
	disc1->Create(nullptr, world, space);
	disc1->CreateGeometry();
	disc2 = new Disc();
	disc2->Create(nullptr, world, space);
	disc2->CreateGeometry();

	rules.SetBodies(ball->GetBody(), disc1->GetBody(), disc2->GetBody());
	rules.SetArena(arena, goalWalls[0], goalWalls[1]);
	Restart();
	return true;
}

void ShotSimulator::Release() {
	if (!world) {
		return;
	}
	GameObject *bodies[3] = {ball, disc1, disc2};
	for (GameObject *object : bodies) {
		object->Destroy();
		delete object;
	}
	ball = nullptr;
	disc1 = disc2 = nullptr;
	dJointGroupEmpty(contacts);
	dJointGroupDestroy(contacts);
	dSpaceDestroy(space); // with the spheres and the walls
	dWorldDestroy(world);
	contacts = nullptr;
	space = nullptr;
	world = nullptr;
	over = true;
}

void ShotSimulator::Place(const float ballAt[2], const float disc1At[2], const float disc2At[2], int wait) {
	const float *places[3] = {ballAt, disc1At, disc2At};
	for (int i = 0; i < 3; i++) {
		start[i][0] = places[i][0];
		start[i][1] = places[i][1];
		startVelocity[i][0] = startVelocity[i][1] = 0.0f;
	}
	startWait = wait;
}

void ShotSimulator::SetStartVelocities(const float ballV[2], const float disc1V[2], const float disc2V[2]) {
	const float *velocities[3] = {ballV, disc1V, disc2V};
	for (int i = 0; i < 3; i++) {
		startVelocity[i][0] = velocities[i][0];
		startVelocity[i][1] = velocities[i][1];
	}
}

void ShotSimulator::Restart() {
	assert(world);
	// The joints of the last run would push the bodies off their start.
	dJointGroupEmpty(contacts);
	PlaceBody(*ball, start[0], startVelocity[0]);
	PlaceBody(*disc1, start[1], startVelocity[1]);
	PlaceBody(*disc2, start[2], startVelocity[2]);
	collisionWait = startWait;
	over = false;
	tracedSide = 0;
	firstKind = TOUCH_NONE;
	memset(&outcome, 0, sizeof(outcome));
}

void ShotSimulator::Shoot(int side, const sgVec3 aim) {
	Restart();
	(side == 1 ? disc1 : disc2)->Shoot(aim);
}

void ShotSimulator::Coast() {
	Restart();
}

void ShotSimulator::Step() {
	// As the match runs it: a pass whenever 20 ms have gathered, then the step, which the
	// match takes even after a pass that found a goal.
	if (collisionWait >= COLLISION_WAIT) {
		rules.Collide(space, world, contacts, this);
		collisionWait = 0;
	}
	StepBodies(world, *disc1, *disc2, *ball);
	collisionWait += PHYSICS_STEP;
	outcome.time += PHYSICS_STEP;
}

bool ShotSimulator::AllResting() const {
	return Resting(*ball) && Resting(*disc1) && Resting(*disc2);
}

bool ShotSimulator::Advance(int steps) {
	for (int i = 0; i < steps && !over; i++) {
		Step();
		if (outcome.goalFor || outcome.time >= timeCap || AllResting()) {
			Finish();
		}
	}
	return over;
}

const ShotSimulator::Outcome &ShotSimulator::Run() {
	while (!Advance(timeCap / PHYSICS_STEP + 1)) {
	}
	return outcome;
}

void ShotSimulator::Finish() {
	over = true;
	outcome.resting = !outcome.goalFor && AllResting();
	ReadBody(*ball, outcome.ball, outcome.ballVelocity);
	ReadBody(*disc1, outcome.disc[0], outcome.discVelocity[0]);
	ReadBody(*disc2, outcome.disc[1], outcome.discVelocity[1]);
	if (outcome.resting) {
		memset(outcome.ballVelocity, 0, sizeof(outcome.ballVelocity));
		memset(outcome.discVelocity, 0, sizeof(outcome.discVelocity));
	}
}

void ShotSimulator::ReadBodies(float at[3][2], float velocity[3][2]) const {
	ReadBody(*ball, at[0], velocity[0]);
	ReadBody(*disc1, at[1], velocity[1]);
	ReadBody(*disc2, at[2], velocity[2]);
}

void ShotSimulator::OnContact(ContactKind kind, const float at[2]) {
	outcome.touched |= 1 << kind;
	const int goal = ContactRules::GoalFor(kind);
	if (goal && !outcome.goalFor) {
		outcome.goalFor = goal;
	}
	if (!tracedSide || firstKind != TOUCH_NONE) {
		return;
	}
	const bool side1 = tracedSide == 1;
	if (kind == TOUCH_DISC_DISC || kind == (side1 ? TOUCH_BALL_DISC1 : TOUCH_BALL_DISC2) ||
		kind == (side1 ? TOUCH_DISC1_WALL : TOUCH_DISC2_WALL)) {
		firstKind = kind;
		firstPoint[0] = at[0];
		firstPoint[1] = at[1];
	}
}

ShotSimulator::FirstContact ShotSimulator::TraceFirstContact(
	int side, const sgVec3 aim, float (*path)[2], int maxPath) {
	FirstContact first = {};
	Shoot(side, aim);
	tracedSide = side;
	const Disc &disc = *(side == 1 ? disc1 : disc2);
	auto record = [&] {
		if (first.pathCount < maxPath) {
			const dReal *p = dBodyGetPosition(disc.GetBody());
			path[first.pathCount][0] = static_cast<float>(p[0]);
			path[first.pathCount][1] = static_cast<float>(p[1]);
			first.pathCount++;
		}
	};
	record();
	while (outcome.time < timeCap) {
		if (collisionWait >= COLLISION_WAIT) {
			rules.Collide(space, world, contacts, this);
			collisionWait = 0;
			if (firstKind != TOUCH_NONE) {
				break;
			}
		}
		if (Resting(disc)) {
			break; // it stopped short of everything
		}
		StepBodies(world, *disc1, *disc2, *ball);
		collisionWait += PHYSICS_STEP;
		outcome.time += PHYSICS_STEP;
		record();
	}
	first.time = outcome.time;
	switch (firstKind) {
	case TOUCH_DISC_DISC: first.with = FIRST_DISC; break;
	case TOUCH_BALL_DISC1:
	case TOUCH_BALL_DISC2: {
		first.with = FIRST_BALL;
		// The contact's joint acts in the next step.
		StepBodies(world, *disc1, *disc2, *ball);
		const dReal *v = dBodyGetLinearVel(ball->GetBody());
		first.ballVelocity[0] = static_cast<float>(v[0]);
		first.ballVelocity[1] = static_cast<float>(v[1]);
		break;
	}
	case TOUCH_DISC1_WALL:
	case TOUCH_DISC2_WALL: first.with = FIRST_WALL; break;
	default: first.with = FIRST_NOTHING; break;
	}
	if (first.with != FIRST_NOTHING) {
		first.point[0] = firstPoint[0];
		first.point[1] = firstPoint[1];
	}
	tracedSide = 0;
	over = true;
	return first;
}
