#ifndef TAVRO_WORLD_PARTICLEEMITTER_H
#define TAVRO_WORLD_PARTICLEEMITTER_H

#include "world/GameObject.h"

class Random;
class ssgaParticle;
class ssgaParticleSystem;
class ssgSimpleState;

// The eleven items of a ".spk" file, in file order.
struct EmitterSettings {
	char texture[64]; // file name under data/misc
	float baseSize;   // units
	float speed;      // units per ms
	float spread;     // units, width of the start area
	sgVec3 startColour;
	sgVec3 endColour;
	int initialCount;
	int life; // ms, always > 0 once accepted
	int maxCount;
	float rateFactor1;
	float rateFactor2; // create rate = factor 1 × factor 2 particles per ms
};

// Reads "data/misc/<name>.spk". False when the file is missing, an item does not parse, or the
// values cannot drive a system (life ≤ 0, counts out of range); settings is then left untouched.
bool ReadEmitterSettings(const char *name, EmitterSettings &settings);

// A particle effect read from a ".spk" file driving a PLIB particle system hung under the
// emitter's node. Used as is for sparks; DriftEmitter and FireEmitter change how particles
// start and fade. Order of use: Create, Load, SetPosition, Build, Update each frame, Destroy.
// New particles draw from random, which must outlive the emitter.
class ParticleEmitter : public GameObject {
public:
	explicit ParticleEmitter(Random &random);
	~ParticleEmitter() override;

	// No body: emitters only live in the scene.
	virtual void Create(ssgBranch *parent);
	virtual bool Load(const char *name);
	void Destroy() override;
	void Update(int dt) override;

	// Starts the effect afresh, replacing any earlier system and its particles.
	void Build();
	// Particles alive at the last update (those it created are counted by the next one).
	int GetLiveCount() const;

	virtual void CreateParticle(ssgaParticleSystem *system, int index, ssgaParticle *particle);
	virtual void UpdateParticle(float dt, ssgaParticleSystem *system, int index, ssgaParticle *particle);

	const EmitterSettings &GetSettings() const { return settings; }
	float GetSpreadLimit() const { return spreadLimit; }
	ssgaParticleSystem *GetSystem() const { return system; }

	// PLIB calls the particle hooks without saying whose particles they are, so Build and
	// Update name the emitter the hooks forward to. Null means the hooks do nothing.
	static void SetCurrent(ParticleEmitter *emitter) { current = emitter; }
	static ParticleEmitter *GetCurrent() { return current; }
	static void CreateHook(ssgaParticleSystem *system, int index, ssgaParticle *particle);
	static void UpdateHook(float dt, ssgaParticleSystem *system, int index, ssgaParticle *particle);

protected:
	// Sets every value of a particle record: PLIB reuses the records of dead particles as they are.
	void StartParticle(ssgaParticle *particle, float alpha, float size) const;
	// f = 0 at birth, 1 at death.
	float AgeFraction(const ssgaParticle *particle) const;
	void FadeColour(ssgaParticle *particle, float f) const;

	ssgaParticleSystem *system; // one reference held here; hangs under node
	ssgSimpleState *state;      // one reference held here
	EmitterSettings settings;
	sgVec3 colourDelta; // end − start colour
	float spreadLimit;  // units, 0.6 × spread
	Random &random;

private:
	// Kills every particle and starts the initial ones in the same storage. False when the
	// system still owes more new particles than it has room for; it must then be replaced.
	bool RestartInPlace();
	void ReleaseState();
	void ReleaseSystem();

	bool clearing;     // Build is emptying a live system: the hooks kill
	int clearedStarts; // creations turned into dead particles while clearing

	static ParticleEmitter *current;
};

#endif
