#include "world/Aim.h"

#include <plib/ssg.h>

#include <cassert>
#include <cstring>

#include "core/LogFile.h"
#include "core/SceneWalk.h"
#include "core/UnculledBranch.h"
#include "world/ComputerPlayer.h"
#include "world/Disc.h"
#include "world/EntityParts.h"

namespace {

// Vertices within this distance of the line model's far end are stretched with it.
const float FAR_END_TOLERANCE = 1e-4f; // units

void GreatestY(void *user, ssgLeaf *leaf) {
	float &greatest = *static_cast<float *>(user);
	for (int i = 0; i < leaf->getNumVertices(); i++) {
		float y = leaf->getVertex(i)[1];
		if (y > greatest) {
			greatest = y;
		}
	}
}

} // namespace

Aim::Aim()
	: root(nullptr), lineModel(nullptr), switchNode(nullptr), pointNode(nullptr), lineNode(nullptr), parent(nullptr),
	  length(0.0f), lastDt(0), moveFlags(0), disc(nullptr), farEndY(0.0f), stretchedCount(0) {
	sgZeroVec3(origin);
	sgZeroVec3(aimPoint);
	sgZeroVec3(direction);
	memset(stretched, 0, sizeof(stretched));
}

Aim::~Aim() {}

ssgBranch *Aim::GetRoot() const {
	return root;
}

void Aim::Init(ssgBranch *parent_, Disc *disc_) {
	parent = parent_;
	disc = disc_;
	if (parent) {
		root = new UnculledBranch();
		switchNode = new ssgSelector(32);
		pointNode = new ssgTransform();
		lineNode = new ssgTransform();
		parent->addKid(root);
		root->addKid(switchNode);
		switchNode->addKid(pointNode);
		pointNode->addKid(lineNode);
		switchNode->selectStep(0);
	}
	sgZeroVec3(origin);
	sgZeroVec3(aimPoint);
	sgZeroVec3(direction);
	length = 0.0f;
	lastDt = 0;
	moveFlags = 0;
}

void Aim::AdjustLineLeaf(void *, ssgLeaf *leaf) {
	ssgState *state = leaf->getState();
	if (!state || !state->isAKindOf(ssgTypeSimpleState())) {
		return;
	}
	ssgSimpleState *simple = static_cast<ssgSimpleState *>(state);
	// Reload the texture without mipmaps so the thin line keeps its edges at a distance. The
	// name is copied first: replacing the texture frees the old one's name.
	const char *current = simple->getTextureFilename();
	if (current && current[0]) {
		char textureName[256];
		strncpy(textureName, current, sizeof(textureName) - 1);
		textureName[sizeof(textureName) - 1] = '\0';
		SetEntityTexture(simple, textureName, false); // refused, it keeps the texture it has
	}
	simple->disable(GL_CULL_FACE);
	simple->setShadeModel(GL_SMOOTH);
	simple->enable(GL_BLEND);
	simple->enable(GL_ALPHA_TEST);
	simple->disable(GL_LIGHTING);
	simple->setAlphaClamp(0.0f);
}

void Aim::FindFarEnd(void *user, ssgLeaf *leaf) {
	Aim *aim = static_cast<Aim *>(user);
	for (int i = 0; i < leaf->getNumVertices(); i++) {
		float *vertex = leaf->getVertex(i);
		if (vertex[1] < aim->farEndY - FAR_END_TOLERANCE) {
			continue;
		}
		if (aim->stretchedCount == MAX_STRETCHED) {
			Log(LOG_WARNING, "AIM: line.3ds has more than %d vertices at its far end", MAX_STRETCHED);
			return;
		}
		aim->stretched[aim->stretchedCount].leaf = leaf;
		aim->stretched[aim->stretchedCount].vertex = vertex;
		aim->stretchedCount++;
	}
}

bool Aim::Load() {
	assert(lineNode && !lineModel);
	Log(LOG_MESSAGE, "AIM: Initializing...");
	if (!lineNode) {
		return false; // Init had no parent: there is nowhere to hang the line
	}
	ssgEntity *loaded = LoadEntityModel("data/misc", "line.3ds", true);
	if (!loaded) {
		return false;
	}
	ForEachLeaf(loaded, this, AdjustLineLeaf);

	// The line is a strip along local +y from 0 to its far end; the far end follows the aim's
	// length. Whichever leaves the strip was cut into, their far-end vertices are found here once.
	farEndY = 0.0f;
	ForEachLeaf(loaded, &farEndY, GreatestY);
	stretchedCount = 0;
	if (farEndY > 0.0f) {
		ForEachLeaf(loaded, this, FindFarEnd);
	} else {
		Log(LOG_WARNING, "AIM: line.3ds does not run along +y; the line keeps its length");
	}

	lineModel = loaded;
	lineNode->addKid(lineModel);
	Log(LOG_MESSAGE, "AIM: ...Done!");
	return true;
}

void Aim::Deinit() {
	if (parent && root) {
		parent->removeKid(root);
	}
	root = nullptr;
	switchNode = nullptr;
	pointNode = nullptr;
	lineNode = nullptr;
	lineModel = nullptr;
	stretchedCount = 0;
	parent = nullptr;
}

void Aim::Stretch() {
	for (int i = 0; i < stretchedCount; i++) {
		stretched[i].vertex[1] = length;
		stretched[i].leaf->dirtyBSphere();
	}
}

void Aim::Update(int dt) {
	lastDt = dt;
	const float step = dt * SPEED;
	if (moveFlags & MOVE_LEFT) {
		aimPoint[0] -= step;
	}
	if (moveFlags & MOVE_RIGHT) {
		aimPoint[0] += step;
	}
	if (moveFlags & MOVE_UP) {
		aimPoint[1] += step;
	}
	if (moveFlags & MOVE_DOWN) {
		aimPoint[1] -= step;
	}
	aimPoint[2] = HEIGHT;
	moveFlags = 0;

	sgSubVec3(direction, origin, aimPoint);
	length = sgLengthVec3(direction);
	if (length > MAX_LENGTH) {
		sgScaleVec3(direction, MAX_LENGTH / length);
		length = MAX_LENGTH;
		sgSubVec3(aimPoint, origin, direction);
	}

	Stretch();
	if (pointNode) {
		sgMat4 m;
		sgMakeTransMat4(m, aimPoint);
		pointNode->setTransform(m);
	}
	if (lineNode) {
		// A zero direction has no heading; the line then lies along +y with no length.
		sgVec3 hpr = {0.0f, 0.0f, 0.0f};
		if (length > 0.0f) {
			sgHPRfromVec3(hpr, direction);
			// sgHPRfromVec3 gives the pitch with the opposite sign to sgMakeCoordMat4's, which
			// would tilt the line up away from the disc instead of down onto it.
			hpr[1] = -hpr[1];
		}
		sgMat4 m;
		sgMakeCoordMat4(m, 0.0f, 0.0f, 0.0f, hpr[0], hpr[1], hpr[2]);
		lineNode->setTransform(m);
	}
}

void Aim::Reset(float xOffset) {
	assert(disc);
	disc->GetPosition(origin);
	sgCopyVec3(aimPoint, origin);
	aimPoint[0] += xOffset;
}

void Aim::SetOrigin(const sgVec3 position) {
	sgCopyVec3(origin, position);
}

void Aim::PlaceAt(float x, float y) {
	assert(disc);
	disc->GetPosition(origin);
	sgCopyVec3(aimPoint, origin);
	aimPoint[0] += x;
	aimPoint[1] += y;
}

void Aim::GetOffset(float *x, float *y) const {
	*x = aimPoint[0] - origin[0];
	*y = aimPoint[1] - origin[1];
}

bool Aim::ApplyKeys(const int32_t keySlots[KEY_COUNT], const uint8_t *held, const uint8_t *previous, int keyCount) {
	auto isDown = [keyCount](const uint8_t *keys, int32_t code) {
		return keys && code >= 0 && code < keyCount && keys[code] != 0;
	};
	if (isDown(held, keySlots[KEY_UP])) {
		MoveUp();
	}
	if (isDown(held, keySlots[KEY_DOWN])) {
		MoveDown();
	}
	if (isDown(held, keySlots[KEY_LEFT])) {
		MoveLeft();
	}
	if (isDown(held, keySlots[KEY_RIGHT])) {
		MoveRight();
	}
	return isDown(held, keySlots[KEY_FIRE]) && !isDown(previous, keySlots[KEY_FIRE]);
}

bool Aim::ApplyDecision(int bits) {
	if (bits & ComputerPlayer::THINK_LEFT) {
		MoveLeft();
	}
	if (bits & ComputerPlayer::THINK_RIGHT) {
		MoveRight();
	}
	if (bits & ComputerPlayer::THINK_UP) {
		MoveUp();
	}
	if (bits & ComputerPlayer::THINK_DOWN) {
		MoveDown();
	}
	return (bits & ComputerPlayer::THINK_FIRE) != 0;
}

void Aim::SetHidden(bool hidden) {
	if (switchNode) {
		switchNode->selectStep(hidden ? 1 : 0);
	}
}
