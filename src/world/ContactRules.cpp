#include "world/ContactRules.h"

#include "world/Arena.h"

struct ContactRules::Pass {
	const ContactRules *rules;
	dWorldID world;
	dJointGroupID group;
	ContactListener *listener;
	bool seen;
};

ContactRules::ContactRules()
	: ball(nullptr), disc1(nullptr), disc2(nullptr), goal1Wall(nullptr), goal2Wall(nullptr), goal1CentreY(0.0f),
	  goal2CentreY(0.0f), goalHalfWidth(0.0f), discWallBounce(0.0f), ballWallBounce(0.0f) {}

void ContactRules::SetBodies(dBodyID ball_, dBodyID disc1_, dBodyID disc2_) {
	ball = ball_;
	disc1 = disc1_;
	disc2 = disc2_;
}

void ContactRules::SetArena(const Arena &arena, dGeomID goal1Wall_, dGeomID goal2Wall_) {
	goal1Wall = goal1Wall_;
	goal2Wall = goal2Wall_;
	goal1CentreY = arena.GetGoal1CentreY();
	goal2CentreY = arena.GetGoal2CentreY();
	goalHalfWidth = arena.GetGoalHalfWidth();
	discWallBounce = arena.GetDiscWallBounce();
	ballWallBounce = arena.GetBallWallBounce();
}

ContactKind ContactRules::Classify(dGeomID g1, dGeomID g2, float contactY) const {
	const dBodyID b1 = dGeomGetBody(g1);
	const dBodyID b2 = dGeomGetBody(g2);
	auto pair = [&](dBodyID a, dBodyID b) { return (b1 == a && b2 == b) || (b1 == b && b2 == a); };
	// The geometry without a body is a wall (or a goal wall) of the arena.
	const dGeomID wall = b1 ? (b2 ? nullptr : g2) : g1;

	if (pair(disc1, disc2)) {
		return TOUCH_DISC_DISC;
	}
	if (pair(ball, disc1)) {
		return TOUCH_BALL_DISC1;
	}
	if (pair(ball, disc2)) {
		return TOUCH_BALL_DISC2;
	}
	if (!wall) {
		return TOUCH_NONE;
	}
	if (pair(disc1, nullptr)) {
		return TOUCH_DISC1_WALL;
	}
	if (pair(disc2, nullptr)) {
		return TOUCH_DISC2_WALL;
	}
	if (!pair(ball, nullptr)) {
		return TOUCH_NONE;
	}
	const float half = goalHalfWidth;
	auto inMouth = [&](float centreY) { return contactY > centreY - half && contactY < centreY + half; };
	if (wall == goal2Wall && inMouth(goal2CentreY)) {
		return TOUCH_GOAL_BY_SIDE1;
	}
	if (wall == goal1Wall && inMouth(goal1CentreY)) {
		return TOUCH_GOAL_BY_SIDE2;
	}
	return TOUCH_BALL_WALL;
}

float ContactRules::GetBounce(ContactKind kind) const {
	switch (kind) {
	case TOUCH_DISC_DISC: return DISC_DISC_BOUNCE;
	case TOUCH_BALL_DISC1:
	case TOUCH_BALL_DISC2: return BALL_DISC_BOUNCE;
	case TOUCH_DISC1_WALL:
	case TOUCH_DISC2_WALL: return discWallBounce;
	case TOUCH_BALL_WALL: return ballWallBounce;
	default: return 0.0f;
	}
}

int ContactRules::GoalFor(ContactKind kind) {
	return kind == TOUCH_GOAL_BY_SIDE1 ? 1 : (kind == TOUCH_GOAL_BY_SIDE2 ? 2 : 0);
}

bool ContactRules::Collide(dSpaceID space, dWorldID world, dJointGroupID group, ContactListener *listener) const {
	Pass pass = {this, world, group, listener, false};
	dJointGroupEmpty(group);
	dSpaceCollide(space, &pass, NearCallback);
	return pass.seen;
}

void ContactRules::NearCallback(void *data, dGeomID g1, dGeomID g2) {
	Pass &pass = *static_cast<Pass *>(data);
	dContact contacts[MAX_CONTACTS];
	const int count = dCollide(g1, g2, MAX_CONTACTS, &contacts[0].geom, sizeof(dContact));
	if (count < 1) {
		return;
	}
	pass.seen = true;
	const dBodyID b1 = dGeomGetBody(g1);
	const dBodyID b2 = dGeomGetBody(g2);
	for (int i = 0; i < count; i++) {
		dContact &contact = contacts[i];
		const float at[2] = {static_cast<float>(contact.geom.pos[0]), static_cast<float>(contact.geom.pos[1])};
		const ContactKind kind = pass.rules->Classify(g1, g2, at[1]);
		if (pass.listener && kind != TOUCH_NONE) {
			pass.listener->OnContact(kind, at);
		}
		if (!MakesJoint(kind)) {
			continue;
		}
		contact.surface.mode = dContactBounce;
		contact.surface.mu = 0;
		contact.surface.bounce_vel = BOUNCE_SPEED;
		contact.surface.bounce = pass.rules->GetBounce(kind);
		dJointID joint = dJointCreateContact(pass.world, pass.group, &contact);
		dJointAttach(joint, b1, b2);
	}
}
