#include "world/Torch.h"

#include <plib/ssg.h>

#include <cassert>

#include "core/LogFile.h"
#include "world/EntityParts.h"
#include "world/FireEmitter.h"

Torch::Torch(Random &random_) : fire(nullptr), random(random_) {
	type = OBJECT_TORCH;
}

Torch::~Torch() {
	delete fire;
}

void Torch::Create(ssgBranch *parent_) {
	assert(fire == nullptr);
	GameObject::Create(parent_, nullptr, nullptr);
	type = OBJECT_TORCH;
}

bool Torch::Load() {
	assert(fire == nullptr);
	Log(LOG_MESSAGE, "TORCH: Initializing...");
	ssgEntity *loaded = LoadEntityModel("data/misc", "torch.3ds", true);
	if (!loaded) {
		return false;
	}
	AttachModel(loaded);

	// The flames hang beside the torch, not under its node, so they keep their own transform.
	fire = new FireEmitter(random);
	fire->Create(parent);
	if (fire->Load("fire")) {
		fire->Build();
	} else {
		Log(LOG_WARNING, "TORCH: No fire for this torch");
		fire->Destroy();
		delete fire;
		fire = nullptr;
	}
	Log(LOG_MESSAGE, "TORCH: ...Done!");
	return true;
}

void Torch::SetPosition(const sgVec3 p) {
	SetPosition(p[0], p[1], p[2]);
}

void Torch::SetPosition(float x, float y, float z) {
	GameObject::SetPosition(x, y, z);
	if (fire) {
		fire->SetPosition(x, y, z + kFireHeight);
	}
}

void Torch::Update(int dt) {
	if (fire) {
		fire->Update(dt);
	}
	GameObject::Update(dt);
}

void Torch::Destroy() {
	if (fire) {
		fire->Destroy();
		delete fire;
		fire = nullptr;
	}
	GameObject::Destroy();
}
