#include "world/GameObject.h"

#include <plib/ssg.h>

#include <cmath>

GameObject::GameObject()
	: model(nullptr), node(nullptr), switchNode(nullptr), parent(nullptr), world(nullptr), space(nullptr),
	  body(nullptr), geom(nullptr), lastDt(0), type(OBJECT_BASE), friction(0.0f), stopSpeed(0.0f) {
	sgMakeIdentMat4(matrix);
	sgZeroVec3(storedPosition);
}

GameObject::~GameObject() {}

void GameObject::BuildSubtree(ssgBranch *newParent) {
	switchNode = new ssgSelector(32);
	node = new ssgTransform();
	newParent->addKid(switchNode);
	switchNode->addKid(node);
	switchNode->selectStep(0);
}

void GameObject::Create(ssgBranch *parent_, dWorldID world_, dSpaceID space_) {
	world = world_;
	space = space_;
	body = world ? dBodyCreate(world) : nullptr;
	geom = nullptr;
	parent = parent_;
	if (parent) {
		BuildSubtree(parent);
	}
	model = nullptr;
	sgZeroVec3(storedPosition);
	lastDt = 0;
	sgMakeIdentMat4(matrix);
	type = OBJECT_BASE;
	friction = 0.0f;
	stopSpeed = 0.0f;
}

void GameObject::Destroy() {
	if (body) {
		dBodyDestroy(body);
		body = nullptr;
	}
	if (parent && switchNode) {
		parent->removeKid(switchNode);
	}
	switchNode = nullptr;
	node = nullptr;
	model = nullptr;
	parent = nullptr;
}

void GameObject::SetParent(ssgBranch *newParent) {
	if (!newParent) {
		return;
	}
	if (parent && switchNode) {
		// Keep the switch alive while it moves from one parent to the other.
		switchNode->ref();
		newParent->addKid(switchNode);
		parent->removeKid(switchNode);
		switchNode->deRef();
	} else if (!switchNode) {
		BuildSubtree(newParent);
	} else {
		newParent->addKid(switchNode);
	}
	parent = newParent;
}

void GameObject::SetPosition(const sgVec3 position) {
	SetPosition(position[0], position[1], position[2]);
}

void GameObject::SetPosition(float x, float y, float z) {
	if (body) {
		dBodySetPosition(body, x, y, z);
	} else {
		sgSetVec3(storedPosition, x, y, z);
	}
}

void GameObject::GetPosition(sgVec3 out) const {
	if (body) {
		const dReal *p = dBodyGetPosition(body);
		sgSetVec3(out, static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]));
	} else {
		sgCopyVec3(out, storedPosition);
	}
}

void GameObject::GetPosition(float &x, float &y, float &z) const {
	sgVec3 p;
	GetPosition(p);
	x = p[0];
	y = p[1];
	z = p[2];
}

void GameObject::SetVelocity(const sgVec3 velocity) {
	if (body) {
		dBodySetLinearVel(body, velocity[0], velocity[1], 0.0);
	}
}

void GameObject::GetVelocity(sgVec3 out) const {
	if (body) {
		const dReal *v = dBodyGetLinearVel(body);
		sgSetVec3(out, static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2]));
	} else {
		sgZeroVec3(out);
	}
}

void GameObject::Update(int dt) {
	lastDt = dt;
	if (body) {
		dBodySetAngularVel(body, 0, 0, 0);
	}
	sgVec3 position;
	GetPosition(position);
	sgCopyVec3(matrix[3], position);
	if (node) {
		node->setTransform(matrix);
	}
}

void GameObject::ApplyFriction() {
	if (!body) {
		return;
	}
	dBodySetAngularVel(body, 0, 0, 0);
	const dReal *v = dBodyGetLinearVel(body);
	double speed = std::sqrt(v[0] * v[0] + v[1] * v[1]);
	if (speed <= stopSpeed) {
		dBodySetLinearVel(body, 0, 0, 0);
		return;
	}
	double k = friction * 9.81 / speed;
	dBodyAddForce(body, -k * v[0], -k * v[1], 0);
}

void GameObject::SetHidden(bool hidden) {
	if (switchNode) {
		switchNode->selectStep(hidden ? 1 : 0);
	}
}

void GameObject::AttachModel(ssgEntity *loaded) {
	model = loaded;
	if (node && model) {
		node->addKid(model);
	}
}
