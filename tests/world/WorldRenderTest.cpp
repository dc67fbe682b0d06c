#include <gtest/gtest.h>

#include <GL/gl.h>
#include <plib/ssg.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "WorldTestKit.h"
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

// The match's own world for an arena by day or night after a second of play with disc 1
// aiming up and to the right, the ball moved off the line between the discs so each shows.
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
		for (int t = 0; t < 1000; t += kFrame) {
			world.GetAim(1)->MoveRight();
			world.GetAim(1)->MoveUp();
			world.UpdateAims(kFrame);
			world.UpdateObjects(kFrame);
		}
		return true;
	}

	// Sky and scene from eye towards at; the sky alone when withWorld is false.
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

// The mean brightness (0 to 255) and the distinct colours on a coarse grid of the last grab.
void Measure(const GLWindow &window, double &mean, int &distinct) {
	double sum = 0.0;
	int samples = 0;
	std::vector<uint32_t> seen;
	for (int y = 4; y < window.Height(); y += 16) {
		for (int x = 4; x < window.Width(); x += 16) {
			const uint32_t p = window.At(x, y);
			sum += ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff);
			samples++;
			if (std::find(seen.begin(), seen.end(), p) == seen.end()) {
				seen.push_back(p);
			}
		}
	}
	mean = sum / (3.0 * samples);
	distinct = static_cast<int>(seen.size());
}

double Luma(uint32_t p) {
	return 0.299 * (p >> 16) + 0.587 * ((p >> 8) & 0xff) + 0.114 * (p & 0xff);
}

} // namespace

class WorldRender : public ::testing::TestWithParam<int> {};

TEST_P(WorldRender, EachArenaByDayAndByNightFromTheBallTopAndFarViews) {
	const std::string arena = ArenaName(GetParam());
	WorldScene scene(kWidth, kHeight);
	ASSERT_TRUE(scene.window.IsOpen());
	ssgSetNearFar(1.0f, 10000.0f); // as start-up leaves it
	double meanByNight[2] = {0.0, 0.0};
	for (int night = 0; night <= 1; night++) {
		SCOPED_TRACE(night ? "night" : "day");
		RenderWorld render;
		ASSERT_TRUE(render.Build(GetParam(), night));
		const std::string prefix = "render_" + arena + (night ? "_night_" : "_day_");
		// The far view looks at the drifting particles beside the arena.
		for (int camera : {CAMERA_BALL, CAMERA_TOP, CAMERA_FAR}) {
			render.world.DrawView(camera, render.world.GetDisc(1), kFrame, true);
			scene.window.Grab();
			scene.window.Keep(prefix + MatchCameraName(camera));
			double mean = 0.0;
			int distinct = 0;
			Measure(scene.window, mean, distinct);
			// A whole scene, not an empty or one-coloured frame.
			EXPECT_GT(distinct, 40) << MatchCameraName(camera);
			EXPECT_GT(mean, 10.0) << MatchCameraName(camera);
			meanByNight[night] += mean;
		}
		// The sky alone, from its centre looking along y a little upwards.
		const sgVec3 centre = {0.0f, 0.0f, 0.0f}, up = {0.0f, 1.0f, 0.15f};
		render.DrawFrom(centre, up, false);
		scene.window.Grab();
		scene.window.Keep(prefix + "Sky");
	}
	EXPECT_LT(meanByNight[1], meanByNight[0]) << "night is not darker than day";
}

INSTANTIATE_TEST_SUITE_P(Arenas, WorldRender, ::testing::Values(0, 1));

// The particles blend with their alpha over what is behind them: sparks 300 ms after a fast hit
// on plain field, seen from the match's camera, and the flame of a torch a second after it was
// lit, seen from the field against the night sky, must light up what they cover.
TEST(WorldRender, SparksAndTorchFireAreBrighterThanWhatIsBehindThem) {
	const struct {
		const char *name;
		int night;
		bool fire; // else sparks
	} cases[] = {{"sparks_day", 0, false}, {"sparks_night", 1, false}, {"fire_night", 1, true}};
	WorldScene scene(kWidth, kHeight);
	ASSERT_TRUE(scene.window.IsOpen());
	ssgSetNearFar(1.0f, 10000.0f); // as start-up leaves it
	for (const auto &c : cases) {
		SCOPED_TRACE(c.name);
		RenderWorld render;
		ASSERT_TRUE(render.Build(0, c.night));
		ssgEntity *effect = nullptr;
		std::function<void()> draw;
		if (c.fire) {
			const FireEmitter *fire = render.world.GetArena()->GetTorch(0)->GetFire();
			ASSERT_NE(fire, nullptr);
			effect = fire->GetNode();
			sgVec3 flame;
			fire->GetPosition(flame);
			flame[2] += 3.0f;
			const sgVec3 eye = {-20.0f, -40.0f, 6.0f};
			draw = [&render, eye, flame] { render.DrawFrom(eye, flame, true); };
		} else {
			ParticleEmitter &sparks = *render.world.GetSparks(SPARKS_DISC_DISC);
			sgVec3 hit;
			render.world.GetBall()->GetPosition(hit);
			hit[0] += 20.0f; // clear of the painted lines
			hit[1] += 6.0f;
			sparks.Build();
			sparks.SetPosition(hit);
			for (int t = 0; t < 300; t += kFrame) {
				sparks.Update(kFrame);
			}
			ASSERT_GT(sparks.GetLiveCount(), 0);
			effect = sparks.GetNode();
			draw = [&render] { render.world.DrawView(CAMERA_BALL, render.world.GetDisc(1), kFrame, true); };
		}
		// The same frame without and with the effect, compared pixel by pixel.
		effect->clrTraversalMaskBits(SSGTRAV_CULL);
		draw();
		scene.window.Grab();
		const GLWindow &window = scene.window;
		std::vector<double> without;
		for (int y = 0; y < kHeight; y++) {
			for (int x = 0; x < kWidth; x++) {
				without.push_back(Luma(window.At(x, y)));
			}
		}
		effect->setTraversalMaskBits(SSGTRAV_CULL);
		draw();
		scene.window.Grab();
		scene.window.Keep(c.name);
		int brighter = 0, darker = 0;
		for (int y = 0; y < kHeight; y++) {
			for (int x = 0; x < kWidth; x++) {
				const double d = Luma(window.At(x, y)) - without[size_t(y) * kWidth + x];
				brighter += d >= 8.0;
				darker += d <= -8.0;
			}
		}
		printf("%s: %d pixels brighter, %d darker\n", c.name, brighter, darker);
		EXPECT_GT(brighter, 100);
		EXPECT_LT(darker, brighter / 20);
	}
}
