#include "world/PhysicsStep.h"

#include "world/GameObject.h"

void StepBodies(dWorldID world, GameObject &disc1, GameObject &disc2, GameObject &ball) {
	disc1.ApplyFriction();
	disc2.ApplyFriction();
	ball.ApplyFriction();
	dWorldStep(world, PHYSICS_STEP_SECONDS);
}
