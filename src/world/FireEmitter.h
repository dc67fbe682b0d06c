#ifndef TAVRO_WORLD_FIREEMITTER_H
#define TAVRO_WORLD_FIREEMITTER_H

#include "world/ParticleEmitter.h"

// Flames of a torch: born inside a disc of radius 0.6 × spread, they rise, shrink and turn opaque.
class FireEmitter : public ParticleEmitter {
public:
	explicit FireEmitter(Random &random) : ParticleEmitter(random) {}

	void CreateParticle(ssgaParticleSystem *system, int index, ssgaParticle *particle) override;
	void UpdateParticle(float dt, ssgaParticleSystem *system, int index, ssgaParticle *particle) override;
};

#endif
