#include "world/SkyBox.h"

#include <plib/ssg.h>
#include <plib/ssgAux.h>

#include <cassert>
#include <cstdio>

#include "core/LogFile.h"
#include "core/Random.h"
#include "world/EntityParts.h"
#include "world/WorldUtil.h"

namespace {

constexpr float kDayColour[3] = {0.43f, 0.55f, 0.8f};
constexpr float kNightColour[3] = {0.23f, 0.25f, 0.55f};
// How far each channel of a corner may stray from the base colour, times s.
constexpr float kColourSpread[3] = {0.5f, 0.4f, 0.3f};
// Corner k[i] of the first strip is corner i of the second one.
constexpr int kSharedCorner[8] = {5, 3, 7, 1, 6, 0, 4, 2};

constexpr float kCloudWidth = 15.0f; // units, x spread
constexpr float kStarWidth = 30.0f;
constexpr float kDepth = 40.0f;    // units, y spread
constexpr float kCloudMinY = 5.0f; // units; keeps billboards off the viewer's own spot
constexpr float kStarMinY = 10.0f;
constexpr float kHeightRange = 15.0f; // units, z = 15·u − 7
constexpr float kHeightBase = -7.0f;
constexpr float kSunWidth = 10.0f;
constexpr float kCloudSpeed = 0.0007f; // units per ms, times s

void PrepareSkyState(ssgSimpleState *state, bool alphaTest) {
	state->disable(GL_LIGHTING);
	state->disable(GL_CULL_FACE);
	state->setShadeModel(GL_SMOOTH);
	state->setTranslucent();
	state->enable(GL_BLEND);
	if (alphaTest) {
		state->enable(GL_ALPHA_TEST);
		state->setAlphaClamp(0.0f);
	} else {
		state->disable(GL_ALPHA_TEST);
	}
}

} // namespace

SkyBox::SkyBox()
	: parent(nullptr), cloudModel(nullptr), starModel(nullptr), root(nullptr), cube(nullptr), cloudCount(0),
	  starCount(0), sunX(0.0f), night(0) {
	sgZeroVec3(centre);
	for (int i = 0; i < kCloudCount; i++) {
		cloudNodes[i] = nullptr;
		sgZeroVec3(cloudPositions[i]);
		cloudSpeeds[i] = 0.0f;
	}
}

SkyBox::~SkyBox() {
	// Normally Deinit has run; the parent may already be gone, so only our own references go.
	if (root) {
		ssgDeRefDelete(root);
	}
	if (cloudModel) {
		ssgDeRefDelete(cloudModel);
	}
	if (starModel) {
		ssgDeRefDelete(starModel);
	}
}

bool SkyBox::Load(ssgBranch *parent_, int night_, Random &random) {
	assert(root == nullptr);
	Log(LOG_MESSAGE, "SKYBOX: Initializing...");
	parent = parent_;
	night = night_ ? 1 : 0;
	root = new ssgTransform();
	root->ref();
	if (parent) {
		parent->addKid(root);
	}
	if (!night) {
		if (!LoadBillboards("cloud.3ds", kCloudCount, kCloudWidth, kCloudMinY, true, random) ||
			!LoadSun("sun.3ds", random)) {
			return false;
		}
	} else if (!LoadBillboards("star.3ds", kStarCount, kStarWidth, kStarMinY, false, random) ||
			   !LoadSun("moon.3ds", random)) {
		return false;
	}
	BuildCube(night ? kNightColour : kDayColour, random);
	sgZeroVec3(centre);
	Log(LOG_MESSAGE, "SKYBOX: ...Done!");
	return true;
}

ssgTransform *SkyBox::AddBillboard(ssgEntity *entity, bool clone) {
	ssgTransform *place = new ssgTransform();
	ssgCutout *billboard = new ssgCutout(TRUE);
	billboard->addKid(clone ? static_cast<ssgEntity *>(entity->clone(SSG_CLONE_RECURSIVE)) : entity);
	place->addKid(billboard);
	root->addKid(place);
	return place;
}

bool SkyBox::LoadBillboards(const char *file, int count, float width, float minY, bool drifting, Random &random) {
	ssgEntity *loaded = LoadEntityModel("data/misc", file, true);
	if (!loaded) {
		return false;
	}
	loaded->ref();
	(drifting ? cloudModel : starModel) = loaded;
	ssgSimpleState *state = FirstLeafState(loaded);
	if (state) {
		if (drifting && state->getTextureFilename()) {
			// Without mipmaps the clouds keep their soft edges as drawn at every distance.
			char texture[256];
			snprintf(texture, sizeof(texture), "%s", state->getTextureFilename());
			SetEntityTexture(state, texture, false); // refused, it keeps the texture it has
		}
		PrepareSkyState(state, true);
	}
	for (int i = 0; i < count; i++) {
		ssgTransform *place = AddBillboard(loaded, true);
		sgVec3 p;
		do {
			p[1] = kDepth * random.Signed();
		} while (p[1] > -minY && p[1] < minY);
		p[2] = kHeightRange * random.Unit() + kHeightBase;
		p[0] = width * random.Signed();
		if (drifting) {
			cloudNodes[i] = place;
			sgCopyVec3(cloudPositions[i], p);
			cloudSpeeds[i] = kCloudSpeed * random.Signed();
		} else {
			place->setTransform(p);
		}
	}
	(drifting ? cloudCount : starCount) = count;
	return true;
}

bool SkyBox::LoadSun(const char *file, Random &random) {
	ssgEntity *loaded = LoadEntityModel("data/misc", file, true);
	if (!loaded) {
		return false;
	}
	ssgSimpleState *state = FirstLeafState(loaded);
	if (state) {
		PrepareSkyState(state, false);
	}
	ssgTransform *place = AddBillboard(loaded, false);
	sunX = kSunWidth * random.Signed();
	sgVec3 p = {sunX, kSunY, kSunZ};
	place->setTransform(p);
	return true;
}

void SkyBox::BuildCube(const float *base, Random &random) {
	cube = new ssgaCube();
	sgVec3 size = {kSize, kSize, kSize};
	cube->setSize(size);
	cube->regenerate();
	for (int i = 0; i < cube->getNumKids(); i++) {
		ssgSimpleState *state = new ssgSimpleState();
		state->disable(GL_LIGHTING);
		state->disable(GL_CULL_FACE);
		state->setShadeModel(GL_SMOOTH);
		static_cast<ssgLeaf *>(cube->getKid(i))->setState(state);
	}
	// The cube is two strips of eight corners; the second strip reuses the first one's colours
	// so the corners both strips share match.
	if (cube->getNumKids() >= 2) {
		ssgLeaf *first = static_cast<ssgLeaf *>(cube->getKid(0));
		ssgLeaf *second = static_cast<ssgLeaf *>(cube->getKid(1));
		if (first->getNumColours() >= 8 && second->getNumColours() >= 8) {
			for (int i = 0; i < 8; i++) {
				float *colour = first->getColour(i);
				for (int c = 0; c < 3; c++) {
					colour[c] = base[c] + kColourSpread[c] * random.Signed();
				}
				colour[3] = 1.0f;
			}
			for (int i = 0; i < 8; i++) {
				sgCopyVec4(second->getColour(i), first->getColour(kSharedCorner[i]));
			}
		}
	}
	root->addKid(cube);
}

void SkyBox::Update(int dt) {
	if (!root) {
		return;
	}
	root->setTransform(centre);
	if (night) {
		return;
	}
	for (int i = 0; i < cloudCount; i++) {
		// The cloud is shown where it was; then it moves on for the next frame.
		cloudNodes[i]->setTransform(cloudPositions[i]);
		float &x = cloudPositions[i][0];
		x += static_cast<float>(dt) * cloudSpeeds[i];
		if (x < -kCloudWrap) {
			x = kCloudWrap;
		} else if (x > kCloudWrap) {
			x = -kCloudWrap;
		}
	}
}

const float *SkyBox::GetCloudPosition(int i) const {
	assert(i >= 0 && i < cloudCount);
	return cloudPositions[i];
}

float SkyBox::GetCloudSpeed(int i) const {
	assert(i >= 0 && i < cloudCount);
	return cloudSpeeds[i];
}

ssgTransform *SkyBox::GetCloudNode(int i) const {
	assert(i >= 0 && i < cloudCount);
	return cloudNodes[i];
}

void SkyBox::Deinit() {
	Log(LOG_MESSAGE, "SKYBOX: Deinitialization...");
	ReleaseHungEntity(parent, root);
	if (cloudModel) {
		ssgDeRefDelete(cloudModel);
	}
	if (starModel) {
		ssgDeRefDelete(starModel);
	}
	root = nullptr;
	cube = nullptr;
	cloudModel = nullptr;
	starModel = nullptr;
	parent = nullptr;
	for (int i = 0; i < kCloudCount; i++) {
		cloudNodes[i] = nullptr;
	}
	cloudCount = 0;
	starCount = 0;
}
