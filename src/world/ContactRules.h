#ifndef TAVRO_WORLD_CONTACTRULES_H
#define TAVRO_WORLD_CONTACTRULES_H

#include <ode/ode.h>

class Arena;

// What touched what in a contact of the collision pass.
enum ContactKind {
	TOUCH_NONE = 0, // geometries the rules do not know, or two walls
	TOUCH_DISC_DISC,
	TOUCH_BALL_DISC1,
	TOUCH_BALL_DISC2,
	TOUCH_DISC1_WALL,
	TOUCH_DISC2_WALL,
	TOUCH_BALL_WALL,     // a wall, or a goal wall outside its mouth
	TOUCH_GOAL_BY_SIDE1, // the ball in goal 2's mouth
	TOUCH_GOAL_BY_SIDE2  // the ball in goal 1's mouth
};

// Told of every contact a collision pass finds, before its joint is made.
class ContactListener {
public:
	virtual ~ContactListener() {}
	// at is the contact point's x and y.
	virtual void OnContact(ContactKind kind, const float at[2]) = 0;
};

// The contact rules of a match in one place: which pair touches, how hard it bounces, and
// whether the ball at a goal wall is a goal and for whom. The match and its private
// simulations collide through the same rules, so a simulated shot meets what the match does.
class ContactRules {
public:
	static constexpr int MAX_CONTACTS = 6; // per pair and pass
	static constexpr float DISC_DISC_BOUNCE = 0.001f;
	static constexpr float BALL_DISC_BOUNCE = 0.3f;
	static constexpr double BOUNCE_SPEED = 0.001; // units per second; slower contacts do not bounce

	ContactRules();

	// The bodies the rules tell apart; a geometry without a body is a wall.
	void SetBodies(dBodyID ball, dBodyID disc1, dBodyID disc2);
	// The goals and the bounces of arena. The goal walls are given as the geometries of the
	// space that is collided (the arena's own, or a copy's); null where there is none.
	void SetArena(const Arena &arena, dGeomID goal1Wall, dGeomID goal2Wall);

	// The kind of a contact between g1 and g2 whose point lies at contactY.
	ContactKind Classify(dGeomID g1, dGeomID g2, float contactY) const;
	// The restitution of a kind that makes a joint.
	float GetBounce(ContactKind kind) const;
	// Everything but a goal and an unknown pair pushes the bodies apart; a goal lets the ball in.
	static bool MakesJoint(ContactKind kind) { return kind != TOUCH_NONE && kind < TOUCH_GOAL_BY_SIDE1; }
	// The side a goal counts for, 0 for other kinds.
	static int GoalFor(ContactKind kind);

	// One collision pass over space: the joints of the last pass go, each contact is told to
	// listener (may be null) and gets its joint in group. True when any pair touched.
	bool Collide(dSpaceID space, dWorldID world, dJointGroupID group, ContactListener *listener) const;

private:
	struct Pass;
	static void NearCallback(void *data, dGeomID g1, dGeomID g2);

	dBodyID ball;
	dBodyID disc1;
	dBodyID disc2;
	dGeomID goal1Wall;
	dGeomID goal2Wall;
	float goal1CentreY;   // units
	float goal2CentreY;   // units
	float goalHalfWidth;  // units, along y
	float discWallBounce; // restitution
	float ballWallBounce; // restitution
};

#endif
