#include <gtest/gtest.h>

#include <plib/ssg.h>
#include <plib/ssgAux.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "WorldTestKit.h"
#include "world/DriftEmitter.h"
#include "world/FireEmitter.h"
#include "world/ParticleEmitter.h"

namespace {

// "data/misc/<name>.spk": base size 2, speed 0.5, spread 10, colours from (1, 0.5, 0) to
// (0, 0.5, 1), and the counts, life and rates given.
void WriteSpk(const WorldScene &scene, const char *name, int initial, int life, int maximum, float rate1, float rate2) {
	char text[256];
	snprintf(text, sizeof(text), "petal.bmp\n2.0\n0.5\n10.0\n1.0,0.5,0.0\n0.0,0.5,1.0\n%d\n%d\n%d\n%g\n%g\n", initial,
		life, maximum, rate1, rate2);
	scene.dir.WriteText(std::string("data/misc/") + name + ".spk", text);
}

// Starts a fresh record and ages it to f of its life through the emitter's hooks.
ssgaParticle Aged(ParticleEmitter &emitter, float f) {
	ssgaParticle p;
	emitter.CreateParticle(nullptr, 0, &p);
	p.time_to_live = (1.0f - f) * emitter.GetSettings().life;
	emitter.UpdateParticle(16.0f, nullptr, 0, &p);
	return p;
}

void ExpectColour(const ssgaParticle &p, float r, float g, float b, float a) {
	EXPECT_NEAR(p.col[0], r, 1e-5f);
	EXPECT_NEAR(p.col[1], g, 1e-5f);
	EXPECT_NEAR(p.col[2], b, 1e-5f);
	EXPECT_NEAR(p.col[3], a, 1e-5f);
}

// Counts what the hooks are asked to do, and remembers the oldest particle an update saw.
class CountingEmitter : public ParticleEmitter {
public:
	explicit CountingEmitter(Random &random) : ParticleEmitter(random) {}
	void CreateParticle(ssgaParticleSystem *system, int index, ssgaParticle *particle) override {
		creates++;
		ParticleEmitter::CreateParticle(system, index, particle);
	}
	void UpdateParticle(float dt, ssgaParticleSystem *system, int index, ssgaParticle *particle) override {
		updates++;
		oldest = std::max(oldest, settings.life - particle->time_to_live);
		ParticleEmitter::UpdateParticle(dt, system, index, particle);
	}
	int creates = 0;
	int updates = 0;
	float oldest = 0.0f; // ms
};

} // namespace

TEST(ParticleEmitter, ReadsTheElevenItemsAndBuildsASystemOfThatSize) {
	WorldScene scene;
	WriteSpk(scene, "sparks", 4, 1000, 30, 0.25f, 2.0f);
	ParticleEmitter emitter(scene.random);
	emitter.Create(scene.root);
	ASSERT_TRUE(emitter.Load("sparks"));
	const EmitterSettings &s = emitter.GetSettings();
	EXPECT_STREQ(s.texture, "petal.bmp");
	EXPECT_EQ(std::vector<float>({s.baseSize, s.speed, s.spread, s.rateFactor1, s.rateFactor2}),
		std::vector<float>({2.0f, 0.5f, 10.0f, 0.25f, 2.0f}));
	EXPECT_TRUE(VecIs(s.startColour, 1.0f, 0.5f, 0.0f));
	EXPECT_TRUE(VecIs(s.endColour, 0.0f, 0.5f, 1.0f));
	EXPECT_EQ(std::vector<int>({s.initialCount, s.life, s.maxCount}), std::vector<int>({4, 1000, 30}));
	EXPECT_FLOAT_EQ(emitter.GetSpreadLimit(), 6.0f);

	emitter.SetPosition(1.0f, 2.0f, 3.0f);
	emitter.Build();
	ssgaParticleSystem *system = emitter.GetSystem();
	ASSERT_NE(system, nullptr);
	EXPECT_EQ(emitter.GetNode()->getKid(0), system);
	EXPECT_EQ(system->getNumParticles(), 30);
	EXPECT_FLOAT_EQ(system->getCreationRate(), 0.5f);
	emitter.Update(16);
	EXPECT_EQ(emitter.GetLiveCount(), 4);
	emitter.Destroy();
	EXPECT_EQ(scene.root->getNumKids(), 0);
}

TEST(ParticleEmitter, RefusesFilesItCannotDriveAndStillTearsDown) {
	WorldScene scene;
	WriteSpk(scene, "dead", 4, 0, 30, 0.25f, 2.0f);
	WriteSpk(scene, "crowded", 40, 1000, 30, 0.25f, 2.0f);
	WriteSpk(scene, "good", 4, 1000, 30, 0.25f, 2.0f);
	scene.dir.WriteText("data/misc/short.spk", "petal.bmp\n2.0\n0.5\n10.0\n1.0,0.5,0.0\n0.0,0.5,1.0\n4\n1000\n");
	const struct {
		const char *name;
		const char *line;
	} cases[] = {
		{"dead", "EMITTER: data/misc/dead.spk has a life of 0 ms, refused"},
		{"short", "EMITTER: data/misc/short.spk is missing items, refused"},
		{"crowded", "EMITTER: data/misc/crowded.spk asks for 40 of 30 particles, refused"},
		{"absent", "EMITTER: data/misc/absent.spk not found"},
	};
	EmitterSettings settings;
	for (const auto &c : cases) {
		EXPECT_FALSE(ReadEmitterSettings(c.name, settings)) << c.name;
		EXPECT_EQ(scene.log.Count(c.line), 1) << c.name;
	}
	for (const char *shipped : {"fall_day", "fall_night", "fire", "disc_disc", "disc_wall"}) {
		EXPECT_TRUE(ReadEmitterSettings(shipped, settings)) << shipped;
	}

	// A refused file leaves an emitter that builds nothing; a good one after it is taken whole.
	DriftEmitter emitter(scene.random);
	emitter.Create(scene.root);
	EXPECT_FALSE(emitter.Load("dead"));
	emitter.Build();
	emitter.Update(1000);
	EXPECT_EQ(emitter.GetLiveCount(), 0);
	ASSERT_TRUE(emitter.Load("good"));
	EXPECT_EQ(emitter.GetSettings().life, 1000);
	emitter.Destroy();
}

TEST(ParticleEmitter, SparksFlyOutAndOnlyChangeColourDriftSinksAndFadesFlamesRiseAndTurnOpaque) {
	WorldScene scene;
	WriteSpk(scene, "fx", 4, 1000, 30, 0.0f, 0.0f);
	ParticleEmitter sparks(scene.random);
	DriftEmitter drift(scene.random);
	FireEmitter fire(scene.random);
	for (ParticleEmitter *emitter :
		{&sparks, static_cast<ParticleEmitter *>(&drift), static_cast<ParticleEmitter *>(&fire)}) {
		emitter->Create(scene.root);
		ASSERT_TRUE(emitter->Load("fx"));
	}

	// Sparks draw z = speed·s, y = −speed·u, x = speed·s from the emitter's point.
	Random same(scene.random.GetSeed());
	const float z = same.Signed(), y = same.Unit(), x = same.Signed();
	ssgaParticle p;
	sparks.CreateParticle(nullptr, 0, &p);
	EXPECT_TRUE(VecIs(p.vel, 0.5f * x, -0.5f * y, 0.5f * z));
	EXPECT_TRUE(VecIs(p.pos, 0.0f, 0.0f, 0.0f));
	ExpectColour(p, 1.0f, 0.5f, 0.0f, 1.0f);
	EXPECT_FLOAT_EQ(p.time_to_live, 1000.0f);
	const ssgaParticle spark = Aged(sparks, 0.75f);
	ExpectColour(spark, 0.25f, 0.5f, 0.75f, 1.0f);
	EXPECT_FLOAT_EQ(spark.size, 1.0f);

	int onTheCircle = 0;
	for (int i = 0; i < 400; i++) {
		// Drift starts on a line along x and sinks straight down.
		drift.CreateParticle(nullptr, i, &p);
		EXPECT_LE(std::fabs(p.pos[0]), 5.0f + 1e-3f);
		EXPECT_EQ(p.pos[1], 0.0f);
		EXPECT_TRUE(p.vel[0] == 0.0f && p.vel[1] == 0.0f && p.vel[2] <= 0.0f && p.vel[2] >= -0.5f);
		EXPECT_FLOAT_EQ(p.size, 2.0f);
		// Flames start in the square of the spread, pulled onto the circle of 0.6 × spread.
		fire.CreateParticle(nullptr, i, &p);
		const float r = std::hypot(p.pos[0], p.pos[1]);
		EXPECT_LE(std::fabs(p.pos[0]), 5.0f + 1e-3f);
		EXPECT_LE(std::fabs(p.pos[1]), 5.0f + 1e-3f);
		EXPECT_LE(r, 6.0f + 1e-4f);
		onTheCircle += std::fabs(r - 6.0f) < 1e-4f;
		EXPECT_TRUE(VecIs(p.vel, 0.0f, 0.0f, 0.5f));
		EXPECT_FLOAT_EQ(p.col[3], 0.0f);
	}
	EXPECT_GT(onTheCircle, 10); // the corners, about 11% of the square
	EXPECT_LT(onTheCircle, 100);

	const ssgaParticle sinking = Aged(drift, 0.75f);
	ExpectColour(sinking, 0.25f, 0.5f, 0.75f, 0.25f);
	EXPECT_FLOAT_EQ(sinking.size, 0.5f);
	const ssgaParticle flame = Aged(fire, 0.75f);
	ExpectColour(flame, 0.25f, 0.5f, 0.75f, 0.75f);
	EXPECT_FLOAT_EQ(flame.size, 0.5f);
	for (ParticleEmitter *emitter :
		{&sparks, static_cast<ParticleEmitter *>(&drift), static_cast<ParticleEmitter *>(&fire)}) {
		emitter->Destroy();
	}
}

TEST(ParticleEmitter, TheHooksForwardToTheCurrentEmitter) {
	WorldScene scene;
	WriteSpk(scene, "fx", 2, 1000, 30, 0.0f, 0.0f);
	DriftEmitter drift(scene.random);
	FireEmitter fire(scene.random);
	drift.Create(scene.root);
	fire.Create(scene.root);
	ASSERT_TRUE(drift.Load("fx"));
	ASSERT_TRUE(fire.Load("fx"));

	ssgaParticle p;
	ParticleEmitter::SetCurrent(&fire);
	ParticleEmitter::CreateHook(nullptr, 0, &p);
	EXPECT_FLOAT_EQ(p.col[3], 0.0f); // a flame is born transparent
	ParticleEmitter::SetCurrent(&drift);
	ParticleEmitter::CreateHook(nullptr, 0, &p);
	EXPECT_FLOAT_EQ(p.col[3], 1.0f); // a drift particle opaque
	p.time_to_live = 250.0f;
	ParticleEmitter::UpdateHook(16.0f, nullptr, 0, &p);
	EXPECT_FLOAT_EQ(p.col[3], 0.25f);

	// Without a current emitter a new particle is born dead and an update changes nothing.
	ParticleEmitter::SetCurrent(nullptr);
	ssgaParticle idle;
	ParticleEmitter::CreateHook(nullptr, 0, &idle);
	EXPECT_EQ(idle.time_to_live, 0.0f);
	ParticleEmitter::UpdateHook(16.0f, nullptr, 0, &p);
	EXPECT_FLOAT_EQ(p.col[3], 0.25f);

	// Build and Update name their emitter; tearing down the current one forgets it.
	fire.Build();
	EXPECT_EQ(ParticleEmitter::GetCurrent(), &fire);
	drift.Build();
	fire.Update(16);
	EXPECT_EQ(ParticleEmitter::GetCurrent(), &fire);
	drift.Update(16);
	drift.Destroy();
	EXPECT_EQ(ParticleEmitter::GetCurrent(), nullptr);
	fire.Destroy();
}

TEST(ParticleEmitter, RebuildingALiveEmitterReplacesItsParticlesAtOnce) {
	WorldScene scene;
	// Two at once, then one every 100 ms in room for 30; and one every 2 ms in room for 6,
	// which fills the system and leaves it owing more.
	WriteSpk(scene, "steady", 2, 1000, 30, 0.01f, 1.0f);
	WriteSpk(scene, "crowded", 2, 1000, 6, 0.5f, 1.0f);
	for (const char *name : {"steady", "crowded"}) {
		SCOPED_TRACE(name);
		const bool steady = std::string(name) == "steady";
		CountingEmitter emitter(scene.random);
		emitter.Create(scene.root);
		ASSERT_TRUE(emitter.Load(name));
		emitter.Build();
		const ssgaParticleSystem *first = emitter.GetSystem();
		for (int i = 0; i < 10; i++) {
			emitter.Update(50);
		}
		EXPECT_GT(emitter.GetLiveCount(), 2);
		ASSERT_GT(emitter.oldest, 300.0f);

		emitter.creates = 0;
		emitter.Build();
		EXPECT_TRUE(!steady || emitter.GetSystem() == first); // a steady one keeps its storage
		EXPECT_EQ(emitter.GetNode()->getNumKids(), 1);
		EXPECT_EQ(emitter.creates, 2);
		emitter.updates = 0;
		emitter.oldest = 0.0f;
		emitter.Update(0);
		EXPECT_EQ(emitter.updates, 2);
		EXPECT_EQ(emitter.oldest, 0.0f); // nobody from before the rebuild is left

		// It goes on as a fresh one would: one more after a period of the rate.
		emitter.Update(steady ? 100 : 2);
		EXPECT_EQ(emitter.creates, 3);
		emitter.Destroy();
	}
}
