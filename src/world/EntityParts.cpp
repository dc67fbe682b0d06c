#include "world/EntityParts.h"

#include <plib/ssg.h>

#include <cassert>

ssgEntity *LoadEntityModel(const char *directory, const char *file, bool strip) {
	assert(directory && file);
	ssgModelPath(directory);
	ssgTexturePath(directory);
	ssgEntity *model = ssgLoad(file);
	if (!model) {
		return nullptr;
	}
	ssgFlatten(model);
	if (strip) {
		ssgStripify(model);
	}
	return model;
}

void ReleaseEntityModel(ssgEntity *model) {
	if (model) {
		model->ref();
		ssgDeRefDelete(model);
	}
}

dGeomID AttachSphere(dBodyID body, dSpaceID space, float radius, float totalMass) {
	assert(body);
	dMass mass;
	dMassSetZero(&mass);
	dMassSetSphere(&mass, 1.0, radius);
	dMassAdjust(&mass, totalMass);
	dBodySetMass(body, &mass);
	if (!space) {
		return nullptr;
	}
	dGeomID sphere = dCreateSphere(space, radius);
	dGeomSetBody(sphere, body);
	return sphere;
}

void ReleaseHungEntity(ssgBranch *parent, ssgEntity *entity) {
	if (!entity) {
		return;
	}
	if (parent) {
		parent->removeKid(entity);
	}
	ssgDeRefDelete(entity);
}
