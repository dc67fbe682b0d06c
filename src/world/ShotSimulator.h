#ifndef TAVRO_WORLD_SHOTSIMULATOR_H
#define TAVRO_WORLD_SHOTSIMULATOR_H

#include <ode/ode.h>
#include <plib/sg.h>

#include "world/ContactRules.h"
#include "world/PhysicsStep.h"

class Arena;
class Ball;
class Disc;

// A private physics world for trying shots out: the arena's walls copied into a space of its
// own, a ball and two discs with the match's masses, friction and stop speeds, the match's
// 10 ms step, its collision pass every 20 ms and its contact rules, so that a shot tried here
// ends where the same shot ends in the match. It has no scene graph and allocates nothing
// once set up.
//
// Place sets the start (the bodies' positions, and their velocities when they still move);
// every Shoot or TraceFirstContact runs from that start again.
class ShotSimulator : private ContactListener {
public:
	static constexpr int MAX_WALLS = 32;
	static constexpr int TIME_CAP = 8000; // ms of simulated time after which a shot counts as over

	// What the active disc touched first.
	enum FirstTouch {
		FIRST_NOTHING = 0, // it came to rest, or the time cap came, before touching anything
		FIRST_WALL = 1,
		FIRST_BALL = 2,
		FIRST_DISC = 3
	};

	// Where a shot left things.
	struct Outcome {
		int goalFor;              // the side that scored, 0 for none
		bool resting;             // everything stopped before a goal or the time cap
		int time;                 // ms simulated since the shot
		int touched;              // bit (1 << ContactKind) for each kind of contact seen
		float ball[2];            // units, where the ball rests (or stood at the goal or the cap)
		float disc[2][2];         // units, each side's disc (index side − 1)
		float ballVelocity[2];    // units per second when the run ended; 0 at rest
		float discVelocity[2][2]; // units per second
	};

	// The active disc's way to its first contact.
	struct FirstContact {
		int with;              // FirstTouch
		float point[2];        // units, the contact point the collision pass found
		float ballVelocity[2]; // units per second, the ball's right after a contact with it
		int time;              // ms from the shot to the pass that found the contact
		int pathCount;         // positions written to the path
	};

	ShotSimulator();
	~ShotSimulator() override;
	ShotSimulator(const ShotSimulator &) = delete;
	ShotSimulator &operator=(const ShotSimulator &) = delete;

	// Copies the walls, goals and bounces of arena (once per match; again after Release).
	// False when the arena has more walls than a copy holds.
	bool SetUp(const Arena &arena);
	void Release();
	bool IsSetUp() const { return world != nullptr; }

	// The start of the next shots: the bodies at these places (x, y) and at rest. The first
	// collision pass comes after collisionWait ms of simulated time less than the match's 20
	// (MatchPhysics::GetCollisionWait at the moment of the shot; 20 makes it come at once).
	void Place(const float ball[2], const float disc1[2], const float disc2[2], int collisionWait = COLLISION_WAIT);
	// Velocities of the start, for bodies that still move (units per second, x and y).
	void SetStartVelocities(const float ball[2], const float disc1[2], const float disc2[2]);

	// From the start, shoots side's disc with an aim vector (the aim's origin minus its point),
	// as Disc::Shoot does; Advance then runs the shot.
	void Shoot(int side, const sgVec3 aim);
	// From the start without a shot: the bodies just coast.
	void Coast();
	// The simulated time after which a run counts as over (ms, TIME_CAP until changed).
	void SetTimeCap(int ms) { timeCap = ms; }
	// Runs at most steps fixed steps; true once the shot is over (everything rests, a goal,
	// or the time cap).
	bool Advance(int steps);
	// Advance to the end.
	const Outcome &Run();
	const Outcome &GetOutcome() const { return outcome; }
	bool IsOver() const { return over; }
	// ms of simulated time since the last collision pass.
	int GetCollisionWait() const { return collisionWait; }
	// Where the ball, disc 1 and disc 2 are now (units) and how fast they go (units per second).
	void ReadBodies(float at[3][2], float velocity[3][2]) const;

	// From the start, shoots side's disc and follows it step by step up to its first contact
	// with a wall, the ball or the other disc: path receives its x, y at the start and after
	// each step up to the pass that found the contact (at most maxPath positions; the trace
	// goes on when the path is full). A disc that comes to rest first touches nothing.
	FirstContact TraceFirstContact(int side, const sgVec3 aim, float (*path)[2], int maxPath);

	const Ball *GetBall() const { return ball; }
	const Disc *GetDisc(int side) const { return side == 1 ? disc1 : disc2; }

private:
	void Restart();
	void Step();
	bool AllResting() const;
	void Finish();
	void OnContact(ContactKind kind, const float at[2]) override;

	dWorldID world;
	dSpaceID space;
	dJointGroupID contacts;
	Ball *ball;
	Disc *disc1;
	Disc *disc2;
	ContactRules rules;
	float start[3][2];         // units: ball, disc 1, disc 2
	float startVelocity[3][2]; // units per second
	int startWait;             // ms since the last pass at the start
	int collisionWait;         // ms of simulated time since the last pass
	int timeCap;               // ms
	bool over;
	Outcome outcome;
	// Set while TraceFirstContact runs: the traced side and what its disc touched first.
	int tracedSide;
	int firstKind;       // ContactKind, TOUCH_NONE until the first contact
	float firstPoint[2]; // units
};

#endif
