#include <gtest/gtest.h>

#include <GL/gl.h>
#include <ode/ode.h>
#include <plib/ssg.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SceneFixture.h"
#include "WorldTestKit.h"
#include "core/Screenshot.h"
#include "match/Camera.h"
#include "match/MatchCameras.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"
#include "world/FireEmitter.h"
#include "world/ParticleEmitter.h"
#include "world/Shadow.h"
#include "world/SkyBox.h"
#include "world/Torch.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFrame = 16; // ms

// The match's main light: the sun from straight above by day, a lamp over the field at night.
void SetMatchLight(int night) {
	for (int i = 0; i < 8; i++) {
		ssgGetLight(i)->off();
	}
	ssgLight *light = ssgGetLight(0);
	light->setPosition(0.0f, 0.0f, night ? 50.0f : 1000.0f);
	light->setSpotlight(night ? TRUE : FALSE);
	light->setColour(GL_AMBIENT, night ? 0.2f : 0.5f, night ? 0.2f : 0.5f, night ? 0.2f : 0.5f);
	light->setColour(GL_DIFFUSE, night ? 0.4f : 0.6f, night ? 0.4f : 0.6f, night ? 0.4f : 0.6f);
	light->on();
}

// A match's world as the match sets it up: sky, ball, arena, two discs with their aims and,
// by day, the three shadows under the sun.
class MatchWorld {
public:
	MatchWorld() : skyRoot(new ssgRoot()), random(1234), arena(random) { skyRoot->ref(); }
	~MatchWorld() {
		for (auto &shadow : shadows) {
			if (shadow) {
				shadow->Deinit();
			}
		}
		aim1.Deinit();
		aim2.Deinit();
		ball.Destroy();
		disc1.Destroy();
		disc2.Destroy();
		arena.Destroy();
		sky.Deinit();
		ssgDeRefDelete(skyRoot);
	}

	bool Build(const char *arenaName, int night) {
		SetMatchLight(night);
		if (!sky.Load(skyRoot, night, random)) {
			return false;
		}
		ball.Create(physics.root, physics.world, physics.space);
		arena.Create(physics.root, physics.world, physics.space);
		disc1.Create(physics.root, physics.world, physics.space);
		disc2.Create(physics.root, physics.world, physics.space);
		if (!ball.Load() || !arena.Load(arenaName, night) || !disc1.Load("hippy") || !disc2.Load("babe")) {
			return false;
		}
		aim1.Init(physics.root, &disc1);
		aim2.Init(physics.root, &disc2);
		if (!aim1.Load() || !aim2.Load()) {
			return false;
		}
		if (!night) {
			const char *models[3] = {"shadow_disc", "shadow_disc", "shadow_ball"};
			const GameObject *followed[3] = {&disc1, &disc2, &ball};
			for (int i = 0; i < 3; i++) {
				shadows[i].reset(new Shadow());
				shadows[i]->Init(physics.root, followed[i]);
				if (!shadows[i]->Load(models[i]) || !shadows[i]->SetLightCount(1)) {
					return false;
				}
				shadows[i]->SetLight(0, sky.GetSunX(), 25.0f, 40.0f);
			}
		}
		sgVec3 p;
		arena.SetPosition(0.0f, 0.0f, -2.0f);
		arena.GetDisc1Start(p);
		disc1.SetPosition(p);
		arena.GetDisc2Start(p);
		disc2.SetPosition(p);
		arena.GetBallStart(p);
		p[1] += 8.0f; // off the line between the discs, so each shows apart
		ball.SetPosition(p);
		aim1.Reset(Aim::START_OFFSET);
		aim2.Reset(-Aim::START_OFFSET);
		return true;
	}

	// One second of play with disc 1 aiming up and to the right: particles are under way.
	void Run() {
		for (int t = 0; t < 1000; t += kFrame) {
			aim1.MoveRight();
			aim1.MoveUp();
			aim1.Update(kFrame);
			aim2.Update(kFrame);
			arena.Update(kFrame);
			ball.Update(kFrame);
			disc1.Update(kFrame);
			disc2.Update(kFrame);
			for (auto &shadow : shadows) {
				if (shadow) {
					shadow->Update(kFrame);
				}
			}
		}
	}

	// Draws the frame the way the match does for the given camera.
	void Draw(int cameraIndex) {
		Camera camera;
		SetUpMatchCamera(camera, cameraIndex, kWidth, kHeight, &disc1, &ball);
		ApplyFollowRule(camera, cameraIndex, ball, &disc1);
		camera.Update(kFrame);
		sgVec3 eye;
		camera.GetEye(eye);
		sky.SetCentre(eye);
		sky.Update(kFrame);
		glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
		glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
		ssgCullAndDraw(skyRoot);
		glClear(GL_DEPTH_BUFFER_BIT);
		ssgCullAndDraw(physics.root);
	}

	// The sky alone, seen from its centre looking along y a little upwards, where the clouds
	// or stars and the sun or moon are.
	void DrawSky() {
		const sgVec3 centre = {0.0f, 0.0f, 0.0f};
		const sgVec3 at = {0.0f, 1.0f, 0.15f};
		DrawFrom(centre, at, false);
	}

	void DrawFrom(const sgVec3 eye, const sgVec3 at, bool withWorld) {
		const sgVec3 up = {0.0f, 0.0f, 1.0f};
		ssgGetCurrentContext()->setCameraLookAt(eye, at, up);
		glViewport(0, 0, kWidth, kHeight);
		sky.SetCentre(eye);
		sky.Update(0);
		glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
		glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
		ssgCullAndDraw(skyRoot);
		if (withWorld) {
			glClear(GL_DEPTH_BUFFER_BIT);
			ssgCullAndDraw(physics.root);
		}
	}

	PhysicsScene physics;
	ssgRoot *skyRoot;
	Random random;
	SkyBox sky;
	Ball ball;
	Arena arena;
	Disc disc1, disc2;
	Aim aim1, aim2;
	std::unique_ptr<Shadow> shadows[3];
};

struct Brightness {
	double mean;     // 0 to 255 over the three channels
	int distinct;    // distinct colours on a coarse grid
};

Brightness Measure(const GLWindow &window) {
	double sum = 0.0;
	int samples = 0;
	std::vector<uint32_t> seen;
	for (int y = 4; y < window.Height(); y += 16) {
		for (int x = 4; x < window.Width(); x += 16) {
			const uint32_t p = window.Pixel(x, y);
			sum += ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff);
			samples++;
			if (std::find(seen.begin(), seen.end(), p) == seen.end()) {
				seen.push_back(p);
			}
		}
	}
	return {sum / (3.0 * samples), static_cast<int>(seen.size())};
}

// The pixels an effect makes brighter or darker than the frame drawn without it, by more than
// a few levels of luma, and the box around them.
struct Change {
	int brighter = 0;
	int darker = 0;
	int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
};

Change Compare(const Frame &without, const Frame &with) {
	auto luma = [](uint32_t p) { return 0.299 * (p >> 16) + 0.587 * ((p >> 8) & 0xff) + 0.114 * (p & 0xff); };
	Change c;
	for (int y = 0; y < with.height; y++) {
		for (int x = 0; x < with.width; x++) {
			const double d = luma(with.At(x, y)) - luma(without.At(x, y));
			if (d > -8.0 && d < 8.0) {
				continue;
			}
			(d > 0.0 ? c.brighter : c.darker)++;
			c.x0 = std::min(c.x0, x);
			c.y0 = std::min(c.y0, y);
			c.x1 = std::max(c.x1, x);
			c.y1 = std::max(c.y1, y);
		}
	}
	return c;
}

// The build's models and textures at hand, and the depth range and test the match draws with.
void PrepareMatchScene(const SceneFixture &f) {
	LinkDataFolder(f.dir, "misc");
	LinkDataFolder(f.dir, "arena");
	ssgSetNearFar(1.0f, 10000.0f);
	glEnable(GL_DEPTH_TEST);
}

// Keeps a copy where the lead can look at it, beside the one in the scratch dir.
void Publish(const std::string &file) {
	std::error_code ec;
	std::filesystem::create_directories("/tmp/tavro-shots", ec);
	std::filesystem::copy_file(file, "/tmp/tavro-shots/" + file, std::filesystem::copy_options::overwrite_existing,
	                           ec);
}

} // namespace

class WorldRender : public ::testing::TestWithParam<const char *> {};

TEST_P(WorldRender, EachArenaByDayAndByNightFromTheBallAndTopViews) {
	const char *arenaName = GetParam();
	SceneFixture f(kWidth, kHeight);
	ASSERT_TRUE(f.window.IsOpen());
	PrepareMatchScene(f);

	double meanByNight[2] = {0.0, 0.0};
	for (int night = 0; night <= 1; night++) {
		SCOPED_TRACE(night ? "night" : "day");
		MatchWorld world;
		ASSERT_TRUE(world.Build(arenaName, night));
		world.Run();
		// The far view looks at the drifting particles beside the arena.
		for (int cameraIndex : {CAMERA_BALL, CAMERA_TOP, CAMERA_FAR}) {
			world.Draw(cameraIndex);
			const std::string file = std::string("render_") + arenaName + (night ? "_night_" : "_day_") +
			                         MatchCameraName(cameraIndex) + ".bmp";
			ASSERT_TRUE(SaveScreenshot(file.c_str(), kWidth, kHeight));
			Publish(file);
			const Brightness b = Measure(f.window);
			// A whole scene, not an empty or one-coloured frame.
			EXPECT_GT(b.distinct, 40) << file;
			EXPECT_GT(b.mean, 10.0) << file;
			meanByNight[night] += b.mean;
		}
		world.DrawSky();
		const std::string skyFile = std::string("render_") + arenaName + (night ? "_night" : "_day") + "_Sky.bmp";
		ASSERT_TRUE(SaveScreenshot(skyFile.c_str(), kWidth, kHeight));
		Publish(skyFile);
		if (!night) {
			EXPECT_EQ(world.sky.GetCloudCount(), 10);
		} else {
			EXPECT_EQ(world.sky.GetStarCount(), 20);
			ASSERT_NE(world.arena.GetTorch(0), nullptr);
		}
	}
	EXPECT_LT(meanByNight[1], meanByNight[0]) << "night is not darker than day";
}

INSTANTIATE_TEST_SUITE_P(Arenas, WorldRender, ::testing::Values("xeno", "tris"));

// The particles blend with their alpha over what is behind them: sparks 300 ms after a fast hit
// on plain field, seen from the match's camera, and the flame of a torch a second after it was
// lit, seen from the field against the night sky, must light up what they cover, whatever the
// distance makes of their textures.
TEST(WorldRender, SparksAndTorchFireAreBrighterThanWhatIsBehindThem) {
	struct Case {
		const char *name;
		int night;
		bool fire; // else sparks
	};
	const Case cases[] = {{"sparks_day", 0, false}, {"sparks_night", 1, false}, {"fire_night", 1, true}};
	SceneFixture f(kWidth, kHeight);
	ASSERT_TRUE(f.window.IsOpen());
	PrepareMatchScene(f);

	for (const Case &c : cases) {
		SCOPED_TRACE(c.name);
		MatchWorld world;
		ASSERT_TRUE(world.Build("xeno", c.night));
		ParticleEmitter sparks(world.random);
		sparks.Create(world.physics.root);
		ASSERT_TRUE(sparks.Load("disc_disc"));
		ssgEntity *effect = nullptr;
		std::function<void()> draw;
		if (c.fire) {
			world.Run();
			const Torch *torch = world.arena.GetTorch(0);
			ASSERT_NE(torch, nullptr);
			ASSERT_NE(torch->GetFire(), nullptr);
			effect = torch->GetFire()->GetNode();
			sgVec3 flame;
			torch->GetFire()->GetPosition(flame);
			flame[2] += 3.0f;
			const sgVec3 eye = {-20.0f, -40.0f, 6.0f};
			draw = [&world, eye, flame] { world.DrawFrom(eye, flame, true); };
		} else {
			sgVec3 hit;
			world.ball.GetPosition(hit);
			hit[0] += 20.0f; // clear of the painted lines
			hit[1] += 6.0f;
			sparks.Build();
			sparks.SetPosition(hit);
			for (int t = 0; t < 300; t += kFrame) {
				sparks.Update(kFrame);
			}
			ASSERT_GT(sparks.GetLiveCount(), 0);
			effect = sparks.GetNode();
			draw = [&world] { world.Draw(CAMERA_BALL); };
		}
		effect->clrTraversalMaskBits(SSGTRAV_CULL);
		draw();
		const Frame without = ReadFrame(kWidth, kHeight);
		effect->setTraversalMaskBits(SSGTRAV_CULL);
		draw();
		const Frame with = ReadFrame(kWidth, kHeight);
		const Change change = Compare(without, with);
		printf("%s: %d pixels brighter, %d darker\n", c.name, change.brighter, change.darker);
		ASSERT_GT(change.brighter + change.darker, 0) << "the effect is out of sight";
		const int pad = 12;
		for (const Frame *frame : {&without, &with}) {
			const std::string file = std::string(c.name) + (frame == &with ? "_with.bmp" : "_without.bmp");
			EXPECT_TRUE(SaveZoomed(*frame, change.x0 - pad, change.y0 - pad, change.x1 + pad, change.y1 + pad, 4, file));
		}
		EXPECT_GT(change.brighter, 100);
		EXPECT_LT(change.darker, change.brighter / 20);
		sparks.Destroy();
	}
}
