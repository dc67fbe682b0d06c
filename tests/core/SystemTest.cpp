#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <signal.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "ScratchDir.h"
#include "core/Clock.h"
#include "core/FrameTimer.h"
#include "app/QuitSignals.h"
#include "app/System.h"
#include "core/VideoConfig.h"
#include "options/OptionsRecord.h"
#include "input/NoxInput.h"
#include "audio/SoundBank.h"

namespace {

std::vector<int> g_depthAsked;
int g_depthOffered = 0;          // the largest depth size the fake driver offers
const char *g_refusal = nullptr; // what it says when it refuses
SDL_Surface g_fakeScreen;

SDL_Surface *FakeSetMode(int width, int height, int, int depthBits, bool) {
	g_depthAsked.push_back(depthBits);
	if (depthBits > g_depthOffered) {
		SDL_SetError("%s", g_refusal);
		return nullptr;
	}
	g_fakeScreen.w = width;
	g_fakeScreen.h = height;
	return &g_fakeScreen;
}

void FakeDriver(int depthOffered, const char *refusal = "Couldn't find matching GLX visual") {
	g_depthAsked.clear();
	g_depthOffered = depthOffered;
	g_refusal = refusal;
}

// The frame timer start-up hands its rate interval to, on a clock of the test's.
class Timed {
public:
	Timed() : clock(1000), timer(&clock) { g_timer = &timer; }
	~Timed() { g_timer = nullptr; }
	ManualClock clock;
	FrameTimer timer;
};

} // namespace

TEST(System, AsksForSmallerDepthBuffersBeforeGivingUp) {
	ScratchDir dir;
	LogCapture log("Kelvane");
	{
		System system;
		system.SetModeFunctionForTests(FakeSetMode);
		FakeDriver(16);
		// The fake surface is only a marker: the window parts after it need SDL, so stop there.
		ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
		EXPECT_TRUE(system.OpenScreen("t", 320, 200, 32, false));
		EXPECT_EQ(g_depthAsked, (std::vector<int>{32, 24, 16}));
		SDL_Quit();
	}
	EXPECT_EQ(log.Entries(), (std::vector<std::string>{
								 "Message: INIT: Opening screen... (320x200, 32 bits, Windowed)",
								 "Warning: INIT: No video mode with a 32-bit depth buffer",
								 "Warning: INIT: No video mode with a 24-bit depth buffer",
								 "Message: INIT: ...Done!",
							 }));
}

TEST(System, OnlyAMissingVisualIsRetriedAndImpossibleSizesAreRefused) {
	ScratchDir dir;
	struct Case {
		const char *config; // nullptr: no file
		const char *refusal;
		std::vector<int> depthsAsked;
	};
	const Case cases[] = {
		{nullptr, "Couldn't find matching GLX visual", {32, 24, 16}},
		{"16384 480 32 0", "A scanline is too wide", {32}},
		{"640 480 7 0", "No matching visual for requested depth", {32}},
		{"100000 100000 32 0", "", {}},
		{"16385 480 32 0", "", {}},
		{"640 -480 32 0", "", {}},
	};
	for (const Case &c : cases) {
		SCOPED_TRACE(c.config ? c.config : "no file");
		if (c.config) {
			dir.WriteText("video.cfg", c.config);
		}
		LogCapture log("Kelvane");
		System system;
		system.SetModeFunctionForTests(FakeSetMode);
		FakeDriver(0, c.refusal);
		EXPECT_FALSE(system.Startup());
		EXPECT_EQ(g_depthAsked, c.depthsAsked);
		EXPECT_EQ(g_videoConfig, nullptr);
		EXPECT_FALSE(dir.Exists("options.dat"));
		const std::vector<std::string> entries = log.Entries();
		ASSERT_FALSE(entries.empty());
		EXPECT_EQ(entries.back(), "Error: Could not open a SDL window!");
		if (!c.config) {
			EXPECT_EQ(entries.size(), 7u);
			EXPECT_EQ(entries[0], "Warning: Config file not found, using default values");
			EXPECT_EQ(entries[1], "Message: INIT: Opening screen... (640x480, 32 bits, Fullscreen)");
		}
	}
}

TEST(System, StartsAndShutsDownWithAWindowInputSoundAndOptions) {
	ScratchDir dir;
	LogCapture log("Kelvane");
	Timed timed;
	dir.WriteText("video.cfg", "320 240 32 0");
	setenv("SDL_AUDIODRIVER", "dummy", 1);
	{
		System system;
		ASSERT_TRUE(system.Startup());
		ASSERT_NE(g_videoConfig, nullptr);
		EXPECT_EQ(g_videoConfig->Width(), 320);
		ASSERT_NE(g_input, nullptr);
		EXPECT_NE(g_input->GetKeyboard(0), nullptr);
		EXPECT_NE(g_input->GetMouse(0), nullptr);
		ASSERT_NE(g_sound, nullptr);
		EXPECT_TRUE(g_sound->IsOpen());
		SDL_Surface *screen = SDL_GetVideoSurface();
		ASSERT_NE(screen, nullptr);
		EXPECT_EQ(screen->w, 320);
		EXPECT_EQ(screen->h, 240);
		EXPECT_TRUE(dir.Exists("options.dat"));
		EXPECT_EQ(g_options.matchLength, 4);
		system.Shutdown();
		EXPECT_EQ(g_input, nullptr);
		EXPECT_EQ(g_sound, nullptr);
		EXPECT_EQ(g_videoConfig, nullptr);
		system.Shutdown(); // a second shut-down does nothing
	}
	std::vector<std::string> expected = {
		"Message: INIT: Opening screen... (320x240, 32 bits, Windowed)",
		"Message: INIT: ...Done!",
		"Message: INIT: Engine initialization...",
		"Message: INIT: ...Done!",
		"Message: INIT: Input initialization...",
		"Message: INIT: ...Done!",
		"Message: SOUND: Initializing...",
		"Message: SOUND: ...Done!",
		"Message: SOUND: Deinitialization...",
		"Message: DEINIT: Input deinitialization...",
		"Message: DEINIT: Engine deinitialization...",
	};
	EXPECT_EQ(log.Entries(), expected);
	EXPECT_EQ(timed.timer.GetFps(), 0.0f);
}

namespace {

int g_toggleAnswer = 1;
int FakeToggle(SDL_Surface *) {
	return g_toggleAnswer;
}

} // namespace

TEST(System, AFullScreenSwitchIsWrittenAtShutDownAndAFailedOneKeepsTheWindow) {
	ScratchDir dir;
	LogCapture log("Kelvane");
	Timed timed;
	dir.WriteText("video.cfg", "0 0 32 0");
	setenv("SDL_AUDIODRIVER", "dummy", 1);
	for (int answer : {0, 1}) {
		System system;
		system.SetToggleFunctionForTests(FakeToggle);
		g_toggleAnswer = answer;
		ASSERT_TRUE(system.Startup());
		EXPECT_EQ(system.ToggleFullScreen(), answer == 1);
		EXPECT_EQ(g_videoConfig->Fullscreen(), answer == 1);
		system.Shutdown();
		// The size as asked for, not the desktop's that SDL made of it.
		EXPECT_EQ(dir.ReadText("video.cfg"), answer ? "0 0 32 1\n" : "0 0 32 0") << answer;
	}
	EXPECT_TRUE(log.Has("Warning: INIT: Could not switch to the full screen; the screen stays as it was"));
}

// SIGTERM after SDL_Quit (which gives signals their default handling back) must not end the
// process before the log is closed; once the log is closed the default handling returns.
TEST(System, ASignalToQuitDuringTheShutDownLetsItRunToItsEnd) {
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	ScratchDir dir;
	dir.WriteText("video.cfg", "320 240 32 0");
	setenv("SDL_AUDIODRIVER", "dummy", 1);
	EXPECT_EXIT(
		{
			System system;
			if (!system.Startup()) {
				exit(2);
			}
			system.Shutdown();
			raise(SIGTERM);
			raise(SIGINT);
			exit(QuitSignalCameLate() ? 0 : 3);
		},
		::testing::ExitedWithCode(0), "");
	EXPECT_EXIT(
		{
			HoldQuitSignals();
			ReleaseQuitSignals();
			raise(SIGTERM);
			exit(0);
		},
		::testing::KilledBySignal(SIGTERM), "");
}
