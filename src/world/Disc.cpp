#include "world/Disc.h"

#include <plib/ssg.h>

#include <cassert>
#include <cstdio>

#include "core/LogFile.h"
#include "world/EntityParts.h"

namespace {

struct Highlight {
	sgVec4 ambient;
	sgVec4 diffuse;
};

const Highlight ACTIVE_HIGHLIGHT = {{0.949f, 0.91f, 0.093f, 1.0f}, {0.855f, 0.871f, 0.25f, 1.0f}};
const Highlight INACTIVE_HIGHLIGHT = {{0.676f, 0.657f, 0.401f, 1.0f}, {0.68f, 0.692f, 0.47f, 1.0f}};

// The simple state of a model's kid, or null when the kid is missing or drawn otherwise.
ssgSimpleState *KidState(ssgEntity *model, int index) {
	if (!model->isAKindOf(ssgTypeBranch())) {
		return nullptr;
	}
	ssgEntity *kid = static_cast<ssgBranch *>(model)->getKid(index);
	if (!kid || !kid->isAKindOf(ssgTypeLeaf())) {
		return nullptr;
	}
	ssgState *state = static_cast<ssgLeaf *>(kid)->getState();
	if (!state || !state->isAKindOf(ssgTypeSimpleState())) {
		return nullptr;
	}
	return static_cast<ssgSimpleState *>(state);
}

} // namespace

Disc::Disc() : shotFactor(SHOT_FACTOR), goals(0), active(false), bodyState(nullptr), faceState(nullptr) {
	type = OBJECT_DISC;
}

void Disc::Create(ssgBranch *parent_, dWorldID world_, dSpaceID space_) {
	GameObject::Create(parent_, world_, space_);
	type = OBJECT_DISC;
	friction = FRICTION;
	stopSpeed = STOP_SPEED;
	shotFactor = SHOT_FACTOR;
	goals = 0;
	active = false;
	bodyState = nullptr;
	faceState = nullptr;
}

bool Disc::Load(const char *characterName) {
	Log(LOG_MESSAGE, "DISC: Initializing...");
	assert(node); // created without a parent, the model would belong to nobody
	if (!characterName || !node) {
		return false;
	}
	char texture[256];
	int length = snprintf(texture, sizeof(texture), "data/misc/%s256_disc.bmp", characterName);
	if (length < 0 || length >= static_cast<int>(sizeof(texture))) {
		Log(LOG_ERROR, "DISC: Character name too long");
		return false;
	}
	ssgEntity *loaded = LoadEntityModel("data/misc", "disc.3ds", false);
	if (!loaded) {
		return false;
	}
	ssgSimpleState *body_ = KidState(loaded, 0);
	ssgSimpleState *face = KidState(loaded, 1);
	if (!body_ || !face) {
		Log(LOG_ERROR, "DISC: disc.3ds needs a body and a face part");
		ReleaseEntityModel(loaded);
		return false;
	}
	if (!SetEntityTexture(face, texture, true)) {
		ReleaseEntityModel(loaded);
		return false;
	}
	bodyState = body_;
	faceState = face;
	SetActive(true);
	ssgStripify(loaded);
	CreateGeometry();
	AttachModel(loaded);
	Log(LOG_MESSAGE, "DISC: ...Done!");
	return true;
}

void Disc::CreateGeometry() {
	assert(!geom);
	if (body) {
		geom = AttachSphere(body, space, RADIUS, MASS);
	}
}

void Disc::Shoot(const sgVec3 aim) {
	sgVec3 velocity = {-shotFactor * aim[0], -shotFactor * aim[1], 0.0f};
	SetVelocity(velocity);
}

void Disc::SetActive(bool on) {
	active = on;
	if (!bodyState) {
		return;
	}
	const Highlight &highlight = on ? ACTIVE_HIGHLIGHT : INACTIVE_HIGHLIGHT;
	const float *a = highlight.ambient;
	const float *d = highlight.diffuse;
	bodyState->setMaterial(GL_AMBIENT, a[0], a[1], a[2], a[3]);
	bodyState->setMaterial(GL_DIFFUSE, d[0], d[1], d[2], d[3]);
}
