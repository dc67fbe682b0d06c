#include <gtest/gtest.h>

#include <plib/ssg.h>
#include <plib/ssgAux.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "SceneFixture.h"
#include "world/DriftEmitter.h"
#include "world/FireEmitter.h"
#include "world/ParticleEmitter.h"

namespace {

// base size 2, speed 0.5, spread 10, colours from (1, 0.5, 0) to (0, 0.5, 1), life 1000 ms.
std::string Spk(int initial, int life, int maximum, float rate1, float rate2) {
	char text[256];
	snprintf(text, sizeof(text), "petal.bmp\n2.0\n0.5\n10.0\n1.0,0.5,0.0\n0.0,0.5,1.0\n%d\n%d\n%d\n%g\n%g\n", initial,
	         life, maximum, rate1, rate2);
	return text;
}

void WriteSpk(const SceneFixture &f, const char *name, const std::string &text) {
	f.WriteData(std::string("misc/") + name + ".spk", text);
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

TEST(ParticleEmitter, ReadsTheElevenItemsInFileOrder) {
	SceneFixture f;
	WriteSpk(f, "sparks", Spk(4, 1000, 30, 0.25f, 2.0f));
	ParticleEmitter emitter(f.random);
	emitter.Create(f.root);
	EXPECT_EQ(emitter.GetType(), 5);
	EXPECT_EQ(emitter.GetBody(), nullptr);
	ASSERT_TRUE(emitter.Load("sparks"));
	const EmitterSettings &s = emitter.GetSettings();
	EXPECT_STREQ(s.texture, "petal.bmp");
	EXPECT_FLOAT_EQ(s.baseSize, 2.0f);
	EXPECT_FLOAT_EQ(s.speed, 0.5f);
	EXPECT_FLOAT_EQ(s.spread, 10.0f);
	EXPECT_TRUE(VecIs(s.startColour, 1.0f, 0.5f, 0.0f));
	EXPECT_TRUE(VecIs(s.endColour, 0.0f, 0.5f, 1.0f));
	EXPECT_EQ(s.initialCount, 4);
	EXPECT_EQ(s.life, 1000);
	EXPECT_EQ(s.maxCount, 30);
	EXPECT_FLOAT_EQ(s.rateFactor1, 0.25f);
	EXPECT_FLOAT_EQ(s.rateFactor2, 2.0f);
	EXPECT_FLOAT_EQ(emitter.GetSpreadLimit(), 6.0f);

	// Build hangs a system of that capacity under the emitter's node, sized and rated as read.
	emitter.SetPosition(1.0f, 2.0f, 3.0f);
	emitter.Build();
	ssgaParticleSystem *system = emitter.GetSystem();
	ASSERT_NE(system, nullptr);
	EXPECT_EQ(emitter.GetNode()->getKid(0), system);
	EXPECT_EQ(system->getNumParticles(), 30);
	EXPECT_FLOAT_EQ(system->getSize(), 2.0f);
	EXPECT_FLOAT_EQ(system->getCreationRate(), 0.5f);
	emitter.Update(16);
	EXPECT_EQ(emitter.GetLiveCount(), 4);
	sgMat4 m;
	emitter.GetNode()->getTransform(m);
	EXPECT_TRUE(VecIs(m[3], 1.0f, 2.0f, 3.0f));
	emitter.Destroy();
	EXPECT_EQ(f.root->getNumKids(), 0);
}

TEST(ParticleEmitter, RefusesFilesItCannotDrive) {
	SceneFixture f;
	WriteSpk(f, "dead", Spk(4, 0, 30, 0.25f, 2.0f));
	WriteSpk(f, "backwards", Spk(4, -100, 30, 0.25f, 2.0f));
	WriteSpk(f, "short", "petal.bmp\n2.0\n0.5\n10.0\n1.0,0.5,0.0\n0.0,0.5,1.0\n4\n1000\n");
	WriteSpk(f, "nocommas", "petal.bmp\n2.0\n0.5\n10.0\n1.0 0.5 0.0\n0.0,0.5,1.0\n4\n1000\n30\n0.25\n2.0\n");
	WriteSpk(f, "crowded", Spk(40, 1000, 30, 0.25f, 2.0f));
	WriteSpk(f, "good", Spk(4, 1000, 30, 0.25f, 2.0f));
	EmitterSettings settings;
	for (const char *name : {"dead", "backwards", "short", "nocommas", "crowded", "absent"}) {
		EXPECT_FALSE(ReadEmitterSettings(name, settings)) << name;
	}
	EXPECT_EQ(f.CountInLog("EMITTER: data/misc/dead.spk has a life of 0 ms, refused"), 1);
	EXPECT_EQ(f.CountInLog("EMITTER: data/misc/backwards.spk has a life of -100 ms, refused"), 1);
	EXPECT_EQ(f.CountInLog("EMITTER: data/misc/short.spk is missing items, refused"), 1);
	EXPECT_EQ(f.CountInLog("EMITTER: data/misc/nocommas.spk is missing items, refused"), 1);
	EXPECT_EQ(f.CountInLog("EMITTER: data/misc/crowded.spk asks for 40 of 30 particles, refused"), 1);
	EXPECT_EQ(f.CountInLog("EMITTER: data/misc/absent.spk not found"), 1);
	for (const char *game : {"fall_day", "fall_night", "fire", "disc_disc", "disc_wall"}) {
		f.LinkData(std::string("misc/") + game + ".spk");
		EXPECT_TRUE(ReadEmitterSettings(game, settings)) << game;
	}

	// A refused file leaves an emitter that builds nothing and can still be torn down.
	DriftEmitter emitter(f.random);
	emitter.Create(f.root);
	EXPECT_FALSE(emitter.Load("dead"));
	EXPECT_EQ(emitter.GetSettings().life, 0);
	emitter.Build();
	emitter.Update(1000);
	EXPECT_EQ(emitter.GetLiveCount(), 0);
	emitter.Destroy();

	// A good file loaded after a refused one is taken whole.
	ParticleEmitter second(f.random);
	second.Create(f.root);
	EXPECT_FALSE(second.Load("short"));
	ASSERT_TRUE(second.Load("good"));
	EXPECT_EQ(second.GetSettings().life, 1000);
	second.Destroy();
}

TEST(ParticleEmitter, SparksFlyFromTheEmitterAndOnlyChangeColour) {
	SceneFixture f;
	WriteSpk(f, "sparks", Spk(4, 1000, 30, 0.0f, 0.0f));
	ParticleEmitter emitter(f.random);
	emitter.Create(f.root);
	ASSERT_TRUE(emitter.Load("sparks"));

	// Draw order: z = speed·s, y = -speed·u, x = speed·s.
	Random same(f.random.GetSeed());
	const float z = same.Signed(), y = same.Unit(), x = same.Signed();
	ssgaParticle p;
	emitter.CreateParticle(nullptr, 0, &p);
	EXPECT_TRUE(VecIs(p.vel, 0.5f * x, -0.5f * y, 0.5f * z));
	EXPECT_TRUE(VecIs(p.pos, 0.0f, 0.0f, 0.0f));
	EXPECT_TRUE(VecIs(p.acc, 0.0f, 0.0f, 0.0f));
	ExpectColour(p, 1.0f, 0.5f, 0.0f, 1.0f);
	EXPECT_FLOAT_EQ(p.size, 1.0f);
	EXPECT_FLOAT_EQ(p.time_to_live, 1000.0f);

	const ssgaParticle late = Aged(emitter, 0.75f);
	ExpectColour(late, 0.25f, 0.5f, 0.75f, 1.0f);
	EXPECT_FLOAT_EQ(late.size, 1.0f);
	emitter.Destroy();
}

TEST(ParticleEmitter, DriftStartsOnALineAlongXSinksStraightDownAndFadesOut) {
	SceneFixture f;
	WriteSpk(f, "fall", Spk(4, 1000, 30, 0.25f, 2.0f));
	DriftEmitter emitter(f.random);
	emitter.Create(f.root);
	ASSERT_TRUE(emitter.Load("fall"));
	for (int i = 0; i < 200; i++) {
		ssgaParticle p;
		emitter.CreateParticle(nullptr, i, &p);
		EXPECT_LE(std::fabs(p.pos[0]), 5.0f + 1e-3f);
		EXPECT_EQ(p.pos[1], 0.0f);
		EXPECT_EQ(p.pos[2], 0.0f);
		EXPECT_EQ(p.vel[0], 0.0f);
		EXPECT_EQ(p.vel[1], 0.0f);
		EXPECT_LE(p.vel[2], 0.0f);
		EXPECT_GE(p.vel[2], -0.5f);
		ExpectColour(p, 1.0f, 0.5f, 0.0f, 1.0f);
		EXPECT_FLOAT_EQ(p.size, 2.0f);
		EXPECT_FLOAT_EQ(p.time_to_live, 1000.0f);
	}
	const ssgaParticle half = Aged(emitter, 0.5f);
	ExpectColour(half, 0.5f, 0.5f, 0.5f, 0.5f);
	EXPECT_FLOAT_EQ(half.size, 1.0f);
	const ssgaParticle late = Aged(emitter, 0.75f);
	ExpectColour(late, 0.25f, 0.5f, 0.75f, 0.25f);
	EXPECT_FLOAT_EQ(late.size, 0.5f);
	emitter.Destroy();
}

TEST(ParticleEmitter, FlamesStartInsideTheSpreadCircleRiseAndTurnOpaque) {
	SceneFixture f;
	WriteSpk(f, "fire", Spk(0, 1000, 30, 0.25f, 2.0f));
	FireEmitter emitter(f.random);
	emitter.Create(f.root);
	ASSERT_TRUE(emitter.Load("fire"));
	Random same(f.random.GetSeed());
	const float y = same.Signed(), x = same.Signed();
	ssgaParticle first;
	emitter.CreateParticle(nullptr, 0, &first);
	const float length = std::sqrt(x * x + y * y) * 10.0f;
	const float scale = length > 6.0f ? 6.0f / length : 1.0f;
	EXPECT_NEAR(first.pos[0], 10.0f * x * scale, 1e-4f);
	EXPECT_NEAR(first.pos[1], 10.0f * y * scale, 1e-4f);

	int onTheCircle = 0;
	for (int i = 0; i < 400; i++) {
		ssgaParticle p;
		emitter.CreateParticle(nullptr, i, &p);
		const float r = std::sqrt(p.pos[0] * p.pos[0] + p.pos[1] * p.pos[1]);
		EXPECT_LE(std::fabs(p.pos[0]), 5.0f + 1e-3f);
		EXPECT_LE(std::fabs(p.pos[1]), 5.0f + 1e-3f);
		EXPECT_LE(r, 6.0f + 1e-4f);
		onTheCircle += std::fabs(r - 6.0f) < 1e-4f ? 1 : 0;
		EXPECT_EQ(p.pos[2], 0.0f);
		EXPECT_TRUE(VecIs(p.vel, 0.0f, 0.0f, 0.5f));
		ExpectColour(p, 1.0f, 0.5f, 0.0f, 0.0f);
		EXPECT_FLOAT_EQ(p.size, 2.0f);
	}
	// The corners of the square (about 11% of it) are pulled onto the circle.
	EXPECT_GT(onTheCircle, 10);
	EXPECT_LT(onTheCircle, 100);

	const ssgaParticle late = Aged(emitter, 0.75f);
	ExpectColour(late, 0.25f, 0.5f, 0.75f, 0.75f);
	EXPECT_FLOAT_EQ(late.size, 0.5f);
	emitter.Destroy();
}

TEST(ParticleEmitter, TheHooksForwardToTheCurrentEmitter) {
	SceneFixture f;
	WriteSpk(f, "fx", Spk(2, 1000, 30, 0.0f, 0.0f));
	DriftEmitter drift(f.random);
	FireEmitter fire(f.random);
	drift.Create(f.root);
	fire.Create(f.root);
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
	EXPECT_EQ(ParticleEmitter::GetCurrent(), &drift);
	drift.Destroy();
	EXPECT_EQ(ParticleEmitter::GetCurrent(), nullptr);
	fire.Destroy();
}

TEST(ParticleEmitter, RebuildingALiveEmitterReplacesItsParticlesAtOnce) {
	SceneFixture f;
	// Two at once, then one every 100 ms in room for 30; and one every 2 ms in room for 6,
	// which fills the system and leaves it owing more.
	WriteSpk(f, "steady", Spk(2, 1000, 30, 0.01f, 1.0f));
	WriteSpk(f, "crowded", Spk(2, 1000, 6, 0.5f, 1.0f));
	for (const char *name : {"steady", "crowded"}) {
		SCOPED_TRACE(name);
		CountingEmitter emitter(f.random);
		emitter.Create(f.root);
		ASSERT_TRUE(emitter.Load(name));
		emitter.Build();
		const ssgaParticleSystem *first = emitter.GetSystem();
		EXPECT_EQ(emitter.creates, 2);
		for (int i = 0; i < 10; i++) {
			emitter.Update(50);
		}
		EXPECT_GT(emitter.GetLiveCount(), 2);
		ASSERT_GT(emitter.oldest, 300.0f);

		emitter.creates = 0;
		emitter.Build();
		if (std::string(name) == "steady") {
			EXPECT_EQ(emitter.GetSystem(), first); // the same storage
		}
		EXPECT_EQ(emitter.GetNode()->getNumKids(), 1);
		EXPECT_EQ(emitter.creates, 2);
		emitter.updates = 0;
		emitter.oldest = 0.0f;
		emitter.Update(0);
		EXPECT_EQ(emitter.updates, 2);
		EXPECT_EQ(emitter.GetLiveCount(), 2);
		EXPECT_EQ(emitter.oldest, 0.0f); // nobody from before the rebuild is left

		// It goes on as a fresh one would: one more after a period of the rate.
		emitter.Update(name == std::string("steady") ? 100 : 2);
		EXPECT_EQ(emitter.creates, 3);
		emitter.Update(0);
		EXPECT_EQ(emitter.GetLiveCount(), 3);
		emitter.Destroy();
	}
}
