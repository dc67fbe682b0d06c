#include "world/PhysicsStep.h"

#include "world/GameObject.h"

void StepBodies(dWorldID world, GameObject &disc1, GameObject &disc2, GameObject &ball) {
	disc1.ApplyFriction();
	disc2.ApplyFriction();
	ball.ApplyFriction();
	dWorldStep(world, PHYSICS_STEP_SECONDS);
}

int CollisionWaitAfter(int wait, int steps) {
	// Steps without a pass while the wait gathers, then the pass, then a pass every cycle.
	const int before = wait >= COLLISION_WAIT ? 0 : StepsFor(COLLISION_WAIT - wait);
	if (steps <= before) {
		return wait + steps * PHYSICS_STEP;
	}
	const int cycle = COLLISION_WAIT / PHYSICS_STEP;
	return PHYSICS_STEP * (1 + (steps - before - 1) % cycle);
}
