#include "world/Shadow.h"

#include <plib/ssg.h>

#include <cassert>
#include <cstdio>

#include "core/LogFile.h"
#include "core/SceneWalk.h"
#include "world/EntityParts.h"
#include "world/GameObject.h"

namespace {

// The blend factors and depth writes in force before a shadow leaf is drawn; pre-draw keeps
// them and post-draw puts them back. Drawing is one leaf at a time, so one set suffices.
GLint g_keptSource = GL_SRC_ALPHA;
GLint g_keptDestination = GL_ONE_MINUS_SRC_ALPHA;
GLboolean g_keptDepthWrites = GL_TRUE;

int MultiplyBlendOn(ssgEntity *) {
	glGetIntegerv(GL_BLEND_SRC, &g_keptSource);
	glGetIntegerv(GL_BLEND_DST, &g_keptDestination);
	glGetBooleanv(GL_DEPTH_WRITEMASK, &g_keptDepthWrites);
	// The frame buffer is multiplied by one minus the shadow's alpha.
	glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_ALPHA);
	// Shadows lie at one height: without this the second of two overlapping ones fails the
	// depth test against the first instead of darkening the field again.
	glDepthMask(GL_FALSE);
	return TRUE;
}

int MultiplyBlendOff(ssgEntity *) {
	glBlendFunc(static_cast<GLenum>(g_keptSource), static_cast<GLenum>(g_keptDestination));
	glDepthMask(g_keptDepthWrites);
	return TRUE;
}

void PrepareShadowLeaf(void *, ssgLeaf *leaf) {
	ssgState *current = leaf->getState();
	ssgSimpleState *state = nullptr;
	if (current && current->isAKindOf(ssgTypeSimpleState())) {
		state = static_cast<ssgSimpleState *>(current);
	} else {
		state = new ssgSimpleState();
		leaf->setState(state);
	}
	state->disable(GL_CULL_FACE);
	state->setShadeModel(GL_SMOOTH);
	state->enable(GL_BLEND);
	state->enable(GL_ALPHA_TEST);
	state->setAlphaClamp(0.0f);
	state->disable(GL_LIGHTING);
	leaf->setCallback(SSG_CALLBACK_PREDRAW, MultiplyBlendOn);
	leaf->setCallback(SSG_CALLBACK_POSTDRAW, MultiplyBlendOff);
}

} // namespace

Shadow::Shadow()
	: model(nullptr), switchNode(nullptr), root(nullptr), parent(nullptr), lightCount(0), lastDt(0), followed(nullptr) {
	for (int i = 0; i < kMaxLights; i++) {
		copies[i] = nullptr;
		copyNodes[i] = nullptr;
		sgZeroVec3(lights[i]);
	}
}

Shadow::~Shadow() {
	// Normally Deinit has run; the parent may already be gone, so only our own references go.
	if (switchNode) {
		ssgDeRefDelete(switchNode);
	}
	if (model) {
		ssgDeRefDelete(model);
	}
}

void Shadow::Init(ssgBranch *parent_, const GameObject *followed_) {
	assert(followed_ != nullptr);
	assert(switchNode == nullptr);
	parent = parent_;
	followed = followed_;
	switchNode = new ssgSelector(32);
	switchNode->ref();
	root = new ssgTransform();
	switchNode->addKid(root);
	switchNode->selectStep(0);
	if (parent) {
		parent->addKid(switchNode);
	}
	model = nullptr;
	lightCount = 0;
	lastDt = 0;
	for (int i = 0; i < kMaxLights; i++) {
		copies[i] = nullptr;
		copyNodes[i] = nullptr;
		sgZeroVec3(lights[i]);
	}
}

bool Shadow::Load(const char *name) {
	assert(model == nullptr);
	Log(LOG_MESSAGE, "SHADOW: Initializing...");
	char file[128];
	snprintf(file, sizeof(file), "%s.3ds", name);
	ssgEntity *loaded = LoadEntityModel("data/misc", file, true);
	if (!loaded) {
		return false;
	}
	model = loaded;
	model->ref();
	ForEachLeaf(model, nullptr, PrepareShadowLeaf);
	Log(LOG_MESSAGE, "SHADOW: ...Done!");
	return true;
}

bool Shadow::SetLightCount(int n) {
	if (n < 0 || n > kMaxLights) {
		Log(LOG_ERROR, "SHADOW: %d lights asked for, at most %d can cast shadows", n, kMaxLights);
		return false;
	}
	assert(root != nullptr);
	assert(model != nullptr || n == 0);
	root->removeAllKids();
	for (int i = 0; i < kMaxLights; i++) {
		copies[i] = nullptr;
		copyNodes[i] = nullptr;
	}
	lightCount = n;
	for (int i = 0; i < n; i++) {
		copies[i] = static_cast<ssgEntity *>(model->clone(SSG_CLONE_RECURSIVE | SSG_CLONE_GEOMETRY));
		copyNodes[i] = new ssgTransform();
		copyNodes[i]->addKid(copies[i]);
		root->addKid(copyNodes[i]);
	}
	return true;
}

bool Shadow::SetLight(int i, float x, float y, float z) {
	if (i < 0 || i >= kMaxLights) {
		Log(LOG_ERROR, "SHADOW: light %d does not exist", i);
		return false;
	}
	sgSetVec3(lights[i], x, y, z);
	return true;
}

void Shadow::SetHidden(bool hidden) {
	if (switchNode) {
		switchNode->selectStep(hidden ? 1 : 0);
	}
}

ssgTransform *Shadow::GetCopyNode(int i) const {
	assert(i >= 0 && i < kMaxLights);
	return copyNodes[i];
}

void Shadow::Update(int dt) {
	assert(followed != nullptr);
	lastDt = dt;
	sgVec3 p;
	followed->GetPosition(p);
	const float h = p[2] - kDrop;
	for (int i = 0; i < lightCount; i++) {
		const float *light = lights[i];
		const float d = light[2] - p[2];
		const float kx = d != 0.0f ? (light[0] - p[0]) / d : 0.0f;
		const float ky = d != 0.0f ? (light[1] - p[1]) / d : 0.0f;
		sgVec3 at = {p[0] + h * kx, p[1] + h * ky, h};
		copyNodes[i]->setTransform(at);
	}
}

void Shadow::Deinit() {
	ReleaseHungEntity(parent, switchNode);
	if (model) {
		ssgDeRefDelete(model);
	}
	model = nullptr;
	switchNode = nullptr;
	root = nullptr;
	parent = nullptr;
	lightCount = 0;
	for (int i = 0; i < kMaxLights; i++) {
		copies[i] = nullptr;
		copyNodes[i] = nullptr;
	}
}
