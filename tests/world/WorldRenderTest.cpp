#include <gtest/gtest.h>

#include <GL/gl.h>
#include <ode/ode.h>
#include <plib/ssg.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SceneFixture.h"
#include "WorldTestKit.h"
#include "core/Random.h"
#include "core/Screenshot.h"
#include "match/MatchWorld.h"
#include "options/NameTable.h"
#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/FireEmitter.h"
#include "world/MatchContext.h"
#include "world/ParticleEmitter.h"
#include "world/SkyBox.h"
#include "world/Torch.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFrame = 16; // ms

// The match's own world for an arena by day or night, its bodies on their spots, the ball moved
// off the line between the discs so each shows apart.
class RenderWorld {
public:
	bool Build(int arena, int night) {
		OptionsRecord options;
		options.SetDefaults();
		options.arena = arena;
		options.daytime = night ? DAYTIME_NIGHT : DAYTIME_DAY;
		if (!world.Build(options, kWidth, kHeight, random)) {
			return false;
		}
		world.ResetPositions();
		sgVec3 p;
		world.GetBall()->GetPosition(p);
		p[1] += 8.0f;
		world.GetBall()->SetPosition(p);
		return true;
	}

	// One second of play with disc 1 aiming up and to the right: particles are under way.
	void Run() {
		for (int t = 0; t < 1000; t += kFrame) {
			world.GetAim(1)->MoveRight();
			world.GetAim(1)->MoveUp();
			world.UpdateAims(kFrame);
			world.UpdateObjects(kFrame);
		}
	}

	void Draw(int cameraIndex) { world.DrawView(cameraIndex, world.GetDisc(1), kFrame, true); }

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
		world.GetSkyBox()->SetCentre(eye);
		world.GetSkyBox()->Update(0);
		glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
		glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
		ssgCullAndDraw(world.GetSkyRoot());
		if (withWorld) {
			glClear(GL_DEPTH_BUFFER_BIT);
			ssgCullAndDraw(world.GetSceneRoot());
		}
	}

	Random random{1234};
	MatchWorld world;
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

class WorldRender : public ::testing::TestWithParam<int> {};

TEST_P(WorldRender, EachArenaByDayAndByNightFromTheBallAndTopViews) {
	const char *arenaName = ArenaName(GetParam());
	SceneFixture f(kWidth, kHeight);
	ASSERT_TRUE(f.window.IsOpen());
	PrepareMatchScene(f);

	double meanByNight[2] = {0.0, 0.0};
	for (int night = 0; night <= 1; night++) {
		SCOPED_TRACE(night ? "night" : "day");
		RenderWorld world;
		ASSERT_TRUE(world.Build(GetParam(), night));
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
			EXPECT_EQ(world.world.GetSkyBox()->GetCloudCount(), 10);
		} else {
			EXPECT_EQ(world.world.GetSkyBox()->GetStarCount(), 20);
			ASSERT_NE(world.world.GetArena()->GetTorch(0), nullptr);
		}
	}
	EXPECT_LT(meanByNight[1], meanByNight[0]) << "night is not darker than day";
}

INSTANTIATE_TEST_SUITE_P(Arenas, WorldRender, ::testing::Values(0, 1));

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
		RenderWorld world;
		ASSERT_TRUE(world.Build(0, c.night));
		ParticleEmitter &sparks = *world.world.GetSparks(SPARKS_DISC_DISC);
		ssgEntity *effect = nullptr;
		std::function<void()> draw;
		if (c.fire) {
			world.Run();
			const Torch *torch = world.world.GetArena()->GetTorch(0);
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
			world.world.GetBall()->GetPosition(hit);
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
	}
}
