#include "world/FireEmitter.h"

#include <plib/ssg.h>
#include <plib/ssgAux.h>

#include "core/Random.h"

void FireEmitter::CreateParticle(ssgaParticleSystem *, int, ssgaParticle *particle) {
	// Alpha follows the age, so a flame is born transparent.
	StartParticle(particle, 0.0f, settings.baseSize);
	particle->pos[1] = settings.spread * random.Signed();
	particle->pos[0] = settings.spread * random.Signed();
	const float length = sgLengthVec3(particle->pos);
	if (length > spreadLimit) {
		sgScaleVec3(particle->pos, spreadLimit / length);
	}
	particle->vel[2] = settings.speed;
}

void FireEmitter::UpdateParticle(float, ssgaParticleSystem *, int, ssgaParticle *particle) {
	const float f = AgeFraction(particle);
	FadeColour(particle, f);
	particle->col[3] = f;
	particle->size = (1.0f - f) * settings.baseSize;
}
