#include "world/ParticleEmitter.h"

#include <plib/ssg.h>
#include <plib/ssgAux.h>

#include <cassert>
#include <cstdio>
#include <cstring>

#include "core/LogFile.h"
#include "core/Random.h"
#include "world/EntityParts.h"

namespace {

// Far above what any effect needs; keeps a broken file from asking for gigabytes.
constexpr int kMaxParticles = 4096;
constexpr float kBoundingRadius = 5.0f;   // units
constexpr float kSpreadLimitRatio = 0.6f; // of the spread

// PLIB's particle system builds its four vertex arrays over memory it hands them without
// ownership, so deleting the system leaves that memory behind; it goes with the last reference.
struct ListMemory : ssgSimpleList {
	static char *Unowned(ssgSimpleList *array) {
		return array && !(array->*(&ListMemory::own_mem)) ? array->*(&ListMemory::list) : nullptr;
	}
};

void DeleteSystem(ssgaParticleSystem *system) {
	if (system->getRef() > 1) {
		system->deRef(); // the scene still holds it
		return;
	}
	char *const lists[] = {ListMemory::Unowned(system->getVertices()), ListMemory::Unowned(system->getNormals()),
		ListMemory::Unowned(system->getTexCoords()), ListMemory::Unowned(system->getColours())};
	ssgDeRefDelete(system);
	for (char *list : lists) {
		delete[] list;
	}
}

} // namespace

ParticleEmitter *ParticleEmitter::current = nullptr;

bool ReadEmitterSettings(const char *name, EmitterSettings &settings) {
	char path[256];
	snprintf(path, sizeof(path), "data/misc/%s.spk", name);
	FILE *file = fopen(path, "r");
	if (!file) {
		Log(LOG_WARNING, "EMITTER: %s not found", path);
		return false;
	}
	EmitterSettings s;
	memset(&s, 0, sizeof(s));
	// Stops at the first item that does not parse.
	const bool complete = fscanf(file, "%63s", s.texture) == 1 && fscanf(file, "%f", &s.baseSize) == 1 &&
						  fscanf(file, "%f", &s.speed) == 1 && fscanf(file, "%f", &s.spread) == 1 &&
						  fscanf(file, "%f,%f,%f", &s.startColour[0], &s.startColour[1], &s.startColour[2]) == 3 &&
						  fscanf(file, "%f,%f,%f", &s.endColour[0], &s.endColour[1], &s.endColour[2]) == 3 &&
						  fscanf(file, "%d", &s.initialCount) == 1 && fscanf(file, "%d", &s.life) == 1 &&
						  fscanf(file, "%d", &s.maxCount) == 1 && fscanf(file, "%f", &s.rateFactor1) == 1 &&
						  fscanf(file, "%f", &s.rateFactor2) == 1;
	fclose(file);
	if (!complete) {
		Log(LOG_ERROR, "EMITTER: %s is missing items, refused", path);
		return false;
	}
	// Particles fade by their age over their life, so a life of 0 or less cannot work.
	if (s.life <= 0) {
		Log(LOG_ERROR, "EMITTER: %s has a life of %d ms, refused", path, s.life);
		return false;
	}
	if (s.maxCount < 0 || s.maxCount > kMaxParticles || s.initialCount < 0 || s.initialCount > s.maxCount) {
		Log(LOG_ERROR, "EMITTER: %s asks for %d of %d particles, refused", path, s.initialCount, s.maxCount);
		return false;
	}
	settings = s;
	return true;
}

ParticleEmitter::ParticleEmitter(Random &random_)
	: system(nullptr), state(nullptr), spreadLimit(0.0f), random(random_), clearing(false), clearedStarts(0) {
	memset(&settings, 0, sizeof(settings));
	sgZeroVec3(colourDelta);
	type = OBJECT_PARTICLE_EMITTER;
}

ParticleEmitter::~ParticleEmitter() {
	// Normally Destroy has run; the scene may already be gone, so only our own references go.
	if (current == this) {
		current = nullptr;
	}
	if (system) {
		DeleteSystem(system);
	}
	if (state) {
		ssgDeRefDelete(state);
	}
}

void ParticleEmitter::Create(ssgBranch *parent_) {
	assert(system == nullptr && state == nullptr);
	GameObject::Create(parent_, nullptr, nullptr);
	memset(&settings, 0, sizeof(settings));
	sgZeroVec3(colourDelta);
	spreadLimit = 0.0f;
	type = OBJECT_PARTICLE_EMITTER;
}

bool ParticleEmitter::Load(const char *name) {
	if (!ReadEmitterSettings(name, settings)) {
		return false;
	}
	// New settings may change the capacity: the next Build makes a new system.
	ReleaseSystem();
	ReleaseState();

	char texture[128];
	snprintf(texture, sizeof(texture), "data/misc/%s", settings.texture);
	state = new ssgSimpleState();
	state->ref();
	if (!SetEntityTexture(state, texture, true)) {
		// As with a refused file, the emitter builds nothing.
		ReleaseState();
		memset(&settings, 0, sizeof(settings));
		return false;
	}
	state->setTranslucent();
	state->enable(GL_TEXTURE_2D);
	state->setShadeModel(GL_SMOOTH);
	state->enable(GL_BLEND);
	state->disable(GL_LIGHTING);

	sgSubVec3(colourDelta, settings.endColour, settings.startColour);
	spreadLimit = settings.spread * kSpreadLimitRatio;
	return true;
}

void ParticleEmitter::ReleaseState() {
	if (state) {
		ssgDeRefDelete(state);
		state = nullptr;
	}
}

void ParticleEmitter::ReleaseSystem() {
	if (!system) {
		return;
	}
	if (node) {
		node->removeKid(system);
	}
	DeleteSystem(system);
	system = nullptr;
}

void ParticleEmitter::Destroy() {
	if (current == this) {
		current = nullptr;
	}
	ReleaseState();
	ReleaseSystem();
	GameObject::Destroy();
}

bool ParticleEmitter::RestartInPlace() {
	if (settings.maxCount == 0) {
		return true;
	}
	// PLIB keeps a balance of particles owed (rate × time, less one per creation) that a full
	// system lets grow. The clearing pass kills the live particles and turns owed creations into
	// dead ones; if it filled every slot so, more may be owed and only a new system is clean.
	clearing = true;
	clearedStarts = 0;
	system->setCreationRate(0.0f);
	system->update(1.0f);
	clearing = false;
	const bool clean = clearedStarts < settings.maxCount;
	if (clean) {
		// Less than one particle is owed now, so exactly the initial count is created.
		system->setCreationRate(static_cast<float>(settings.initialCount));
		system->update(1.0f);
	}
	system->setCreationRate(settings.rateFactor2 * settings.rateFactor1);
	return clean;
}

void ParticleEmitter::Build() {
	current = this;
	if (system && RestartInPlace()) {
		return;
	}
	ReleaseSystem();
	system =
		new ssgaParticleSystem(settings.maxCount, settings.initialCount, settings.rateFactor2 * settings.rateFactor1,
			TRUE, settings.baseSize, kBoundingRadius, CreateHook, UpdateHook, nullptr);
	system->ref();
	if (state) {
		system->setState(state);
	}
	if (node) {
		node->addKid(system);
	}
}

int ParticleEmitter::GetLiveCount() const {
	return system ? system->getNumActiveParticles() : 0;
}

void ParticleEmitter::Update(int dt) {
	GameObject::Update(dt);
	current = this;
	if (system) {
		system->update(static_cast<float>(dt));
	}
}

float ParticleEmitter::AgeFraction(const ssgaParticle *particle) const {
	assert(settings.life > 0);
	const float life = static_cast<float>(settings.life);
	const float f = (life - particle->time_to_live) / life;
	// A particle past its end is removed right after this update; keep its values sane.
	return f < 0.0f ? 0.0f : (f > 1.0f ? 1.0f : f);
}

void ParticleEmitter::FadeColour(ssgaParticle *particle, float f) const {
	for (int i = 0; i < 3; i++) {
		particle->col[i] = settings.startColour[i] + f * colourDelta[i];
	}
}

void ParticleEmitter::StartParticle(ssgaParticle *particle, float alpha, float size) const {
	sgCopyVec3(particle->col, settings.startColour);
	particle->col[3] = alpha;
	sgZeroVec3(particle->pos);
	sgZeroVec3(particle->vel);
	sgZeroVec3(particle->acc);
	particle->size = size;
	particle->time_to_live = static_cast<float>(settings.life);
}

void ParticleEmitter::CreateParticle(ssgaParticleSystem *, int, ssgaParticle *particle) {
	StartParticle(particle, 1.0f, 1.0f);
	particle->vel[2] = settings.speed * random.Signed();
	particle->vel[1] = -settings.speed * random.Unit();
	particle->vel[0] = settings.speed * random.Signed();
}

void ParticleEmitter::UpdateParticle(float, ssgaParticleSystem *, int, ssgaParticle *particle) {
	FadeColour(particle, AgeFraction(particle));
}

void ParticleEmitter::CreateHook(ssgaParticleSystem *system, int index, ssgaParticle *particle) {
	if (current && !current->clearing) {
		current->CreateParticle(system, index, particle);
		return;
	}
	// Nobody to ask, or an emitter being emptied: the slot stays free.
	if (current) {
		current->clearedStarts++;
	}
	particle->time_to_live = 0.0f;
}

void ParticleEmitter::UpdateHook(float dt, ssgaParticleSystem *system, int index, ssgaParticle *particle) {
	if (!current) {
		return;
	}
	if (current->clearing) {
		particle->time_to_live = 0.0f;
		return;
	}
	current->UpdateParticle(dt, system, index, particle);
}
