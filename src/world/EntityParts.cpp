#include "world/EntityParts.h"

#include <plib/ssg.h>

#include <cassert>
#include <cstdio>
#include <string>

#include "core/DataFileName.h"
#include "core/LogFile.h"
#include "core/ModelFileCheck.h"
#include "core/SceneWalk.h"
#include "core/TextureFileCheck.h"

namespace {

// The loader's own complaints go to the log instead of the terminal.
void LogLoaderMessage(enum ulSeverity severity, char *message) {
	if (severity != UL_DEBUG) {
		Log(LOG_WARNING, "MODEL: %s", message);
	}
}

// While it lives, the loader's complaints go to the log, whoever calls into it.
class LoaderMessagesToLog {
public:
	LoaderMessagesToLog() : saved(ulGetErrorCallback()) { ulSetErrorCallback(LogLoaderMessage); }
	~LoaderMessagesToLog() { ulSetErrorCallback(saved); }
	LoaderMessagesToLog(const LoaderMessagesToLog &) = delete;
	LoaderMessagesToLog &operator=(const LoaderMessagesToLog &) = delete;

private:
	ulErrorCallback saved;
};

// Checks a texture file before the loader reads it; logs why it cannot be used.
bool CheckTexture(const char *path, const char *user) {
	TextureFileCheck check;
	if (check.CheckFile(path)) {
		return true;
	}
	Log(LOG_ERROR, "TEXTURE: %s%s%s refused: %s", path, user ? " for " : "", user ? user : "",
		check.GetProblem().c_str());
	return false;
}

void CountVertexLeaves(void *userValue, ssgLeaf *leaf) {
	if (leaf->getNumVertices() > 0) {
		(*static_cast<int *>(userValue))++;
	}
}

} // namespace

ssgEntity *LoadEntityModel(const char *directory, const char *file, bool strip) {
	assert(directory && file);
	// Only 3DS files that pass the check reach the loader, with every texture they use.
	std::string problem;
	const std::string path = std::string(directory) + "/" + file;
	ModelFileCheck check;
	if (!ModelFileCheck::CheckName(file, &problem)) {
		Log(LOG_ERROR, "MODEL: %s/%s refused: %s", directory, PrintableText(file, MAX_DATA_FILE_NAME).c_str(),
			problem.c_str());
		return nullptr;
	}
	if (!check.CheckFile(path.c_str())) {
		if (check.IsMissing()) {
			Log(LOG_WARNING, "MODEL: %s cannot be opened", path.c_str());
		} else {
			Log(LOG_ERROR, "MODEL: %s refused: %s", path.c_str(), check.GetProblem().c_str());
		}
		return nullptr;
	}
	for (const std::string &texture : check.GetTextures()) {
		if (!CheckTexture((std::string(directory) + "/" + texture).c_str(), path.c_str())) {
			return nullptr;
		}
	}
	ssgModelPath(directory);
	ssgTexturePath(directory);
	ssgEntity *model = nullptr;
	{
		LoaderMessagesToLog messages;
		model = ssgLoad(file);
	}
	if (!model) {
		// The library's own reason went to the log as a warning; the caller counts on an error.
		Log(LOG_ERROR, "MODEL: %s/%s could not be read", directory, file);
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

bool SetEntityTexture(ssgSimpleState *state, const char *path, bool mipmap) {
	assert(state && path);
	if (!CheckTexture(path, nullptr)) {
		return false;
	}
	LoaderMessagesToLog messages;
	state->setTexture(path, TRUE, TRUE, mipmap ? TRUE : FALSE);
	return true;
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
