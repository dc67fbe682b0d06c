#ifndef TAVRO_WORLD_PHYSICSSTEP_H
#define TAVRO_WORLD_PHYSICSSTEP_H

#include <ode/ode.h>

class GameObject;

// The match's physics clock, which its private simulations keep to as well.
constexpr int PHYSICS_STEP = 10;              // ms per world step
constexpr float PHYSICS_STEP_SECONDS = 0.01f; // the same step in seconds
constexpr int COLLISION_WAIT = 20;            // ms of simulated time between collision passes

// One fixed step: disc 1, disc 2 and the ball braked by their friction, then the world moves on.
void StepBodies(dWorldID world, GameObject &disc1, GameObject &disc2, GameObject &ball);

// The steps the physics takes to catch up with a clock lag ms ahead of it (none when it is not).
constexpr int StepsFor(int lag) {
	return lag > 0 ? (lag + PHYSICS_STEP - 1) / PHYSICS_STEP : 0;
}
// The ms since the last collision pass after steps more steps from wait, a pass coming first in
// each step that finds COLLISION_WAIT gathered.
int CollisionWaitAfter(int wait, int steps);

#endif
