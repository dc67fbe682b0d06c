#include "world/Arena.h"

#include <plib/ssg.h>

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/LogFile.h"
#include "core/SceneWalk.h"
#include "world/DriftEmitter.h"
#include "world/EntityParts.h"
#include "world/Torch.h"

namespace {

// Torch k stands at the arena's position plus its offset; its light hangs at a fixed place.
struct TorchPlace {
	float offset[3]; // units from the arena's position
	float light[3];  // units, absolute
};

const TorchPlace TORCH_PLACES[Arena::TORCH_COUNT] = {
	{{-80.0f, 60.0f, -5.0f}, {-80.0f, 60.0f, 20.0f}},
	{{-80.0f, -60.0f, -5.0f}, {-80.0f, -60.0f, 20.0f}},
	{{80.0f, -60.0f, -5.0f}, {80.0f, -60.0f, 20.0f}},
	{{80.0f, 60.0f, -5.0f}, {80.0f, 60.0f, 20.0f}},
};

const float DRIFT_PLACE[3] = {91.0f, -95.0f, -2.0f}; // units

void LightingOff(void *, ssgLeaf *leaf) {
	ssgState *state = leaf->getState();
	if (state && state->isAKindOf(ssgTypeSimpleState())) {
		static_cast<ssgSimpleState *>(state)->disable(GL_LIGHTING);
	}
}

ssgLight *TorchLight(int torch) {
	return ssgGetLight(Arena::FIRST_TORCH_LIGHT + torch);
}

// Checks one formatted read; false, with a log line, when fewer items than wanted matched.
bool ReadItems(const char *path, int item, int wanted, int matched) {
	if (matched == wanted) {
		return true;
	}
	Log(LOG_ERROR, "ARENA: %s: item %d is missing or malformed", path, item);
	return false;
}

// Checks the numbers of one item: finite (a file may say "nan" or "inf", which read as numbers
// and would reach the physics) and within [low, high]; false, with a log line, otherwise.
bool InRange(const char *path, int item, const float *values, int count, float low, float high) {
	for (int i = 0; i < count; i++) {
		if (!std::isfinite(values[i])) {
			Log(LOG_ERROR, "ARENA: %s: item %d is missing or malformed", path, item);
			return false;
		}
		if (values[i] < low || values[i] > high) {
			Log(LOG_ERROR, "ARENA: %s: item %d is out of range (%g)", path, item, values[i]);
			return false;
		}
	}
	return true;
}

// A pair "x,y" of coordinates.
bool ReadPoint(FILE *file, const char *path, int item, float *xy) {
	return ReadItems(path, item, 2, fscanf(file, "%f,%f", &xy[0], &xy[1])) &&
		   InRange(path, item, xy, 2, -Arena::MAX_COORDINATE, Arena::MAX_COORDINATE);
}

// One number in [low, high].
bool ReadNumber(FILE *file, const char *path, int item, float *value, float low, float high) {
	return ReadItems(path, item, 1, fscanf(file, "%f", value)) && InRange(path, item, value, 1, low, high);
}

} // namespace

Arena::Arena(Random &random_)
	: fieldModel(nullptr), wallCount(0), goal1Wall(-1), goal2Wall(-1), goalHalfWidth(0.0f), discWallBounce(0.0f),
	  ballWallBounce(0.0f), driftEmitter(nullptr), random(random_) {
	type = OBJECT_ARENA;
	sgZeroVec3(disc1Start);
	sgZeroVec3(disc2Start);
	sgZeroVec3(ballStart);
	goal1Centre[0] = goal1Centre[1] = 0.0f;
	goal2Centre[0] = goal2Centre[1] = 0.0f;
	memset(segments, 0, sizeof(segments));
	for (int i = 0; i < MAX_WALLS; i++) {
		walls[i] = nullptr;
	}
	for (int k = 0; k < TORCH_COUNT; k++) {
		torches[k] = nullptr;
	}
	dayModelName[0] = nightModelName[0] = fieldModelName[0] = '\0';
}

Arena::~Arena() {}

void Arena::Create(ssgBranch *parent_, dWorldID world_, dSpaceID space_) {
	GameObject::Create(parent_, world_, space_);
	type = OBJECT_ARENA;
	sgZeroVec3(disc1Start);
	sgZeroVec3(disc2Start);
	sgZeroVec3(ballStart);
	for (int k = 0; k < TORCH_COUNT; k++) {
		torches[k] = nullptr;
	}
	driftEmitter = nullptr;
	fieldModel = nullptr;
}

bool Arena::ReadFile(const char *path) {
	FILE *file = fopen(path, "rt");
	if (!file) {
		return false;
	}
	int item = 1;
	bool ok = ReadItems(path, item++, 1, fscanf(file, "%63s", dayModelName)) &&
			  ReadItems(path, item++, 1, fscanf(file, "%63s", nightModelName)) &&
			  ReadItems(path, item++, 1, fscanf(file, "%63s", fieldModelName)) &&
			  ReadPoint(file, path, item++, disc1Start) && ReadPoint(file, path, item++, disc2Start) &&
			  ReadPoint(file, path, item++, ballStart);
	disc1Start[2] = disc2Start[2] = ballStart[2] = 0.0f;

	int count = 0;
	ok = ok && ReadItems(path, item++, 1, fscanf(file, "%d", &count));
	if (ok && (count < 0 || count > MAX_WALLS)) {
		Log(LOG_ERROR, "ARENA: %s: %d walls, at most %d are allowed", path, count, MAX_WALLS);
		ok = false;
	}
	for (int i = 0; ok && i < count; i++) {
		float *s = segments[i];
		ok = ReadItems(path, item, 4, fscanf(file, "%f,%f %f,%f", &s[0], &s[1], &s[2], &s[3])) &&
			 InRange(path, item, s, 4, -MAX_COORDINATE, MAX_COORDINATE);
		if (ok && s[0] == s[2] && s[1] == s[3]) {
			Log(LOG_ERROR, "ARENA: %s: wall %d has no length", path, i);
			ok = false;
		}
	}
	item++;
	wallCount = ok ? count : 0;

	ok = ok && ReadItems(path, item++, 1, fscanf(file, "%d", &goal1Wall)) &&
		 ReadItems(path, item++, 1, fscanf(file, "%d", &goal2Wall));
	// A goal index outside the walls matches no wall: an arena without goals (the credits').
	ok = ok && ReadPoint(file, path, item++, goal1Centre) && ReadPoint(file, path, item++, goal2Centre) &&
		 ReadNumber(file, path, item++, &goalHalfWidth, 0.0f, MAX_COORDINATE) &&
		 ReadNumber(file, path, item++, &discWallBounce, 0.0f, 1.0f) &&
		 ReadNumber(file, path, item++, &ballWallBounce, 0.0f, 1.0f);
	fclose(file);
	if (!ok) {
		// Nothing half-read may reach the walls or the goals.
		wallCount = 0;
		goal1Wall = goal2Wall = -1;
	}
	return ok;
}

void Arena::Hang(ssgEntity *loaded) {
	if (node) {
		node->addKid(loaded);
	} else {
		ReleaseEntityModel(loaded);
	}
}

bool Arena::LoadModels(int night) {
	ssgEntity *field = LoadEntityModel("data/arena", fieldModelName, true);
	if (!field) {
		return false;
	}
	fieldModel = node ? field : nullptr;
	Hang(field);

	const char *timeOfDay = night == 0 ? dayModelName : nightModelName;
	if (timeOfDay[0] != '-') {
		ssgEntity *loaded = LoadEntityModel("data/arena", timeOfDay, true);
		if (!loaded) {
			return false;
		}
		// The surroundings carry their own painted light.
		ForEachLeaf(loaded, nullptr, LightingOff);
		if (node) {
			AttachModel(loaded);
		} else {
			ReleaseEntityModel(loaded);
		}
	}
	// A file without a time-of-day model still needs its walls.
	CreateGeometry();
	return true;
}

bool Arena::CreateTorches() {
	for (int k = 0; k < TORCH_COUNT; k++) {
		torches[k] = new Torch(random);
		torches[k]->Create(parent);
		if (!torches[k]->Load()) {
			return false;
		}
	}
	for (int k = 0; k < TORCH_COUNT; k++) {
		ssgLight *light = TorchLight(k);
		light->setSpotlight(TRUE); // w = 1: a point light
		light->setSpotDiffusion(0.0f, 180.0f);
		light->setSpotAttenuation(0.0f, 0.025f, 0.0f);
		light->setColour(GL_AMBIENT, 0.1f, 0.1f, 0.1f);
		light->setColour(GL_DIFFUSE, 0.6f, 0.6f, 0.6f);
		light->setPosition(TORCH_PLACES[k].light);
		light->on();
	}
	return true;
}

bool Arena::CreateDrift(const char *effect) {
	driftEmitter = new DriftEmitter(random);
	driftEmitter->Create(parent);
	if (!driftEmitter->Load(effect)) {
		return false;
	}
	driftEmitter->SetPosition(DRIFT_PLACE);
	driftEmitter->Build();
	return true;
}

bool Arena::Load(const char *arenaName, int night) {
	assert(!driftEmitter && !fieldModel);
	Log(LOG_MESSAGE, "ARENA: Initializing...");
	if (!arenaName) {
		return false;
	}
	char path[128];
	int length = snprintf(path, sizeof(path), "data/arena/%s.arn", arenaName);
	if (length < 0 || length >= static_cast<int>(sizeof(path))) {
		Log(LOG_ERROR, "ARENA: Arena name too long");
		return false;
	}
	if (!ReadFile(path) || !LoadModels(night)) {
		return false;
	}
	if (night == 1) {
		if (!CreateTorches() || !CreateDrift("fall_night")) {
			return false;
		}
	} else {
		for (int k = 0; k < TORCH_COUNT; k++) {
			TorchLight(k)->off();
		}
		if (!CreateDrift("fall_day")) {
			return false;
		}
	}
	Log(LOG_MESSAGE, "ARENA: ...Done!");
	return true;
}

void Arena::ReleaseWalls() {
	for (int i = 0; i < MAX_WALLS; i++) {
		if (walls[i]) {
			dGeomDestroy(walls[i]);
			walls[i] = nullptr;
		}
	}
}

void Arena::CreateGeometry() {
	ReleaseWalls();
	if (!space) {
		return;
	}
	for (int i = 0; i < wallCount; i++) {
		const float *s = segments[i];
		// Normal of the vertical plane through the segment: (0, 0, −D) × (x2 − x1, y2 − y1, −D),
		// which points to the right of the segment walked from its first end to its second.
		float nx = WALL_DEPTH * (s[3] - s[1]);
		float ny = -WALL_DEPTH * (s[2] - s[0]);
		float size = std::sqrt(nx * nx + ny * ny);
		nx /= size;
		ny /= size;
		float d = nx * s[0] + ny * s[1];
		walls[i] = dCreatePlane(space, nx, ny, 0.0, d);
	}
}

void Arena::SetPosition(const sgVec3 position) {
	SetPosition(position[0], position[1], position[2]);
}

void Arena::SetPosition(float x, float y, float z) {
	GameObject::SetPosition(x, y, z);
	for (int k = 0; k < TORCH_COUNT; k++) {
		if (!torches[k]) {
			continue;
		}
		const TorchPlace &place = TORCH_PLACES[k];
		torches[k]->SetPosition(x + place.offset[0], y + place.offset[1], z + place.offset[2]);
		TorchLight(k)->setPosition(place.light);
	}
}

void Arena::Update(int dt) {
	lastDt = dt;
	for (int k = 0; k < TORCH_COUNT; k++) {
		if (torches[k]) {
			torches[k]->Update(dt);
		}
	}
	if (driftEmitter) {
		driftEmitter->Update(dt);
	}
	GameObject::Update(dt);
}

void Arena::Destroy() {
	if (driftEmitter) {
		driftEmitter->Destroy();
		delete driftEmitter;
		driftEmitter = nullptr;
	}
	for (int k = 0; k < TORCH_COUNT; k++) {
		if (torches[k]) {
			torches[k]->Destroy();
			delete torches[k];
			torches[k] = nullptr;
			TorchLight(k)->off();
		}
	}
	ReleaseWalls();
	fieldModel = nullptr;
	GameObject::Destroy();
}

dGeomID Arena::GetWall(int index) const {
	if (index < 0 || index >= wallCount) {
		return nullptr;
	}
	return walls[index];
}

const float *Arena::GetWallSegment(int index) const {
	if (index < 0 || index >= wallCount) {
		return nullptr;
	}
	return segments[index];
}

Torch *Arena::GetTorch(int index) const {
	if (index < 0 || index >= TORCH_COUNT) {
		return nullptr;
	}
	return torches[index];
}
