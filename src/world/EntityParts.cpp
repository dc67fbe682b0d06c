#include "world/EntityParts.h"

#include <plib/ssg.h>

#include <cassert>

#include "core/LogFile.h"
#include "core/SceneWalk.h"

namespace {

// The loader's own complaints go to the log instead of the terminal.
void LogLoaderMessage(enum ulSeverity severity, char *message) {
	if (severity != UL_DEBUG) {
		Log(LOG_WARNING, "MODEL: %s", message);
	}
}

void CountVertexLeaves(void *userValue, ssgLeaf *leaf) {
	if (leaf->getNumVertices() > 0) {
		(*static_cast<int *>(userValue))++;
	}
}

} // namespace

ssgEntity *LoadEntityModel(const char *directory, const char *file, bool strip) {
	assert(directory && file);
	ssgModelPath(directory);
	ssgTexturePath(directory);
	ulErrorCallback saved = ulGetErrorCallback();
	ulSetErrorCallback(LogLoaderMessage);
	ssgEntity *model = ssgLoad(file);
	ulSetErrorCallback(saved);
	if (!model) {
		return nullptr;
	}
	// A damaged file can load as an empty model: the object would be invisible.
	int leaves = 0;
	ForEachLeaf(model, &leaves, CountVertexLeaves);
	if (leaves == 0) {
		Log(LOG_ERROR, "MODEL: %s/%s holds no geometry", directory, file);
		ReleaseEntityModel(model);
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
