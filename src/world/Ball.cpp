#include "world/Ball.h"

#include <plib/ssg.h>

#include <cassert>

#include "core/LogFile.h"
#include "world/EntityParts.h"

Ball::Ball() {
	type = OBJECT_BALL;
}

void Ball::Create(ssgBranch *parent_, dWorldID world_, dSpaceID space_) {
	GameObject::Create(parent_, world_, space_);
	type = OBJECT_BALL;
	friction = FRICTION;
	stopSpeed = STOP_SPEED;
}

bool Ball::Load() {
	Log(LOG_MESSAGE, "BALL: Initializing...");
	assert(node); // created without a parent, the model would belong to nobody
	if (!node) {
		return false;
	}
	ssgEntity *loaded = LoadEntityModel("data/misc", "ball.3ds", true);
	if (!loaded) {
		return false;
	}
	CreateGeometry();
	AttachModel(loaded);
	Log(LOG_MESSAGE, "BALL: ...Done!");
	return true;
}

void Ball::CreateGeometry() {
	assert(!geom);
	if (body) {
		geom = AttachSphere(body, space, RADIUS, MASS);
	}
}
