// Particle files (".spk") as sparks, drifting leaves and torch fire load them, each effect then
// built, run for a while, and built again over its live system as sparks are on every hit. (Not
// drawn: that is PLIB's and the GL driver's work, and a full window of large particles is slow.)
#include <plib/ssg.h>

#include "FuzzKit.h"
#include "core/Random.h"
#include "world/DriftEmitter.h"
#include "world/FireEmitter.h"
#include "world/ParticleEmitter.h"

namespace {

void Run(ParticleEmitter &emitter) {
	ssgRoot *root = new ssgRoot();
	emitter.Create(root);
	if (emitter.Load("fuzz")) {
		emitter.Build();
		emitter.SetPosition(1.0f, 2.0f, 3.0f);
		for (int frame = 0; frame < 6; frame++) {
			emitter.Update(frame * 40);
		}
		emitter.Build();
		emitter.Update(16);
		FuzzCheck(emitter.GetLiveCount() <= emitter.GetSettings().maxCount, "no more particles than the file allows");
	}
	emitter.Destroy();
	delete root;
}

void Load(const char *, const uint8_t *, size_t) {
	Random random(7);
	ParticleEmitter sparks(random);
	Run(sparks);
	DriftEmitter drift(random);
	Run(drift);
	FireEmitter fire(random);
	Run(fire);
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"data/misc/fuzz.spk", true, nullptr, Load};
