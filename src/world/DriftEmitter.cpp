#include "world/DriftEmitter.h"

#include <plib/ssg.h>
#include <plib/ssgAux.h>

#include "core/Random.h"

void DriftEmitter::CreateParticle(ssgaParticleSystem *, int, ssgaParticle *particle) {
	StartParticle(particle, 1.0f, settings.baseSize);
	particle->pos[0] = settings.spread * random.Signed();
	particle->vel[2] = -settings.speed * random.Unit();
}

void DriftEmitter::UpdateParticle(float, ssgaParticleSystem *, int, ssgaParticle *particle) {
	const float f = AgeFraction(particle);
	FadeColour(particle, f);
	particle->col[3] = 1.0f - f;
	particle->size = (1.0f - f) * settings.baseSize;
}
