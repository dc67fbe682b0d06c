#ifndef TAVRO_WORLD_DRIFTEMITTER_H
#define TAVRO_WORLD_DRIFTEMITTER_H

#include "world/ParticleEmitter.h"

// The arena's ambient particles: born on a line along x, they sink and fade out while they shrink.
class DriftEmitter : public ParticleEmitter {
public:
	// Create(parent), Load(name), Build, Update(dt) and Destroy are the ParticleEmitter's.
	explicit DriftEmitter(Random &random) : ParticleEmitter(random) {}

	void CreateParticle(ssgaParticleSystem *system, int index, ssgaParticle *particle) override;
	void UpdateParticle(float dt, ssgaParticleSystem *system, int index, ssgaParticle *particle) override;
};

#endif
