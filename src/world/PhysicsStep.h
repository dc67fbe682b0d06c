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

#endif
