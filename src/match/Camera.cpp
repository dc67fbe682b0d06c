#include "match/Camera.h"

#include <plib/ssg.h>

#include <cassert>

#include "core/LogFile.h"
#include "world/GameObject.h"

Camera::Camera()
	: mode(MODE_UNSET), target(nullptr), lookTarget(nullptr), width(0), height(0), x(0), y(0), pathDuration(0.0f),
	  pathTime(0.0f) {
	sgZeroVec3(offset);
	sgZeroVec3(lookAt);
	sgZeroVec3(eye);
}

bool Camera::Init(const char *name, int width_, int height_) {
	Log(LOG_MESSAGE, "CAMERA: Initialization...");
	(void)name;
	mode = MODE_UNSET;
	sgZeroVec3(offset);
	sgZeroVec3(lookAt);
	width = width_;
	height = height_;
	target = nullptr;
	lookTarget = nullptr;
	x = 0;
	y = 0;
	pathDuration = 0.0f;
	pathTime = 0.0f;
	Log(LOG_MESSAGE, "CAMERA: ...Done!");
	return true;
}

void Camera::PlaceAtTarget() {
	if (target) {
		target->GetPosition(eye);
		sgAddVec3(eye, offset);
	} else {
		sgCopyVec3(eye, offset);
	}
}

void Camera::LookAtPoint() const {
	ssgContext *context = ssgGetCurrentContext();
	if (context) {
		const sgVec3 up = {0.0f, 0.0f, 1.0f};
		context->setCameraLookAt(eye, lookAt, up);
	}
}

void Camera::Update(int dt) {
	switch (mode) {
	case MODE_LOOK_TARGET:
		if (lookTarget) {
			lookTarget->GetPosition(lookAt);
		}
		PlaceAtTarget();
		break;
	case MODE_PATH:
		if (!path.IsLoaded()) {
			path.Build(pathDuration);
		}
		sgCopyVec3(eye, path.Evaluate(pathTime));
		pathTime += dt;
		break;
	case MODE_PATHS:
		if (!path.IsLoaded()) {
			path.Build(pathDuration);
		}
		if (!lookPath.IsLoaded()) {
			lookPath.Build(pathDuration);
		}
		sgCopyVec3(eye, path.Evaluate(pathTime));
		sgCopyVec3(lookAt, lookPath.Evaluate(pathTime));
		pathTime += dt;
		break;
	default:
		// A camera left in the mode of Init is a caller's slip; it then stands still like mode 0.
		assert(mode == MODE_FIXED);
		PlaceAtTarget();
		break;
	}
	LookAtPoint();
	glViewport(x, y, width, height);
}
