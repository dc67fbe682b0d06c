#include <gtest/gtest.h>

#include <lua5.1/lua.hpp>

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "GameGlobals.h"
#include "frontend/Credits.h"
#include "script/ScriptState.h"

namespace {

// Two short camera paths, a text step that counts its runs, and files the test writes.
class CreditsRig : public GameGlobals {
public:
	explicit CreditsRig(ScratchDir &dir) : GameGlobals(dir, 320, 240) {
		WriteData("data/misc/a.cam", "2\n100\n0,-50,20\n0,-40,20\n");
		WriteData("data/misc/b.cam", "2\n300\n0,-40,20\n10,-40,20\n");
		WriteData("data/misc/count.lua", "Runs = (Runs or 0) + 1\npSpec2:Write(10, 10, \"HI\")\n");
	}
	void Steps(const std::string &text) { WriteData("data/misc/credits.crd", text); }
	// Frames of the given length until the credits end or the frame count runs out.
	int Run(int frames, int ms = 100) {
		int ran = 0;
		while (ran < frames) {
			Advance(ms);
			ran++;
			if (!credits.Frame()) {
				ended = true;
				break;
			}
		}
		return ran;
	}
	double Global(const char *name) {
		lua_State *lua = credits.GetScript()->GetLua();
		lua_getglobal(lua, name);
		double value = lua_tonumber(lua, -1);
		lua_pop(lua, 1);
		return value;
	}

	Credits credits;
	bool ended = false;
};

// The pixels of a rectangle (y from the top) of what the last frame drew, in any order,
// 0xRRGGBB (Mesa's software driver keeps the back buffer as it was across the swap).
std::vector<uint32_t> Shown(int screenHeight, int x, int y, int w, int h) {
	std::vector<uint8_t> rgb(size_t(w) * h * 3);
	glPixelStorei(GL_PACK_ALIGNMENT, 1);
	glReadBuffer(GL_BACK);
	glReadPixels(x, screenHeight - y - h, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
	std::vector<uint32_t> pixels(size_t(w) * h);
	for (size_t i = 0; i < pixels.size(); i++) {
		pixels[i] = (uint32_t(rgb[i * 3]) << 16) | (uint32_t(rgb[i * 3 + 1]) << 8) | rgb[i * 3 + 2];
	}
	return pixels;
}

} // namespace

// The credits as shipped: text shows for most of their time, and no fly-over without text lasts
// long; a corner says on a panel, all along, that Escape skips them.
TEST(Credits, TheShippedTextIsPacedAndACornerSaysEscapeSkips) {
	ScratchDir dir;
	CreditsRig rig(dir);
	ASSERT_TRUE(rig.credits.Init()) << rig.LogText();
	int text = 0, flying = 0, longestFlight = 0, flight = 0, frames = 0;
	for (; frames < 2000 && !rig.ended; frames++) {
		rig.Run(1);
		if (rig.ended) {
			break;
		}
		const bool showsText = rig.credits.GetFile().GetStep(rig.credits.GetCurrentStep()).type == CreditsStep::TEXT;
		text += showsText;
		flying += !showsText;
		flight = showsText ? 0 : flight + 100;
		longestFlight = std::max(longestFlight, flight);
		if (frames % 50 == 1) {
			int x = 0, y = 0, w = 0, h = 0;
			rig.credits.GetSkipHintRect(&x, &y, &w, &h);
			ASSERT_GT(w * h, 0);
			EXPECT_LE(x + w, 320);
			EXPECT_LE(y + h, 240);
			// The panel's golden frame round light letters.
			int frame = 0, letters = 0;
			for (uint32_t c : Shown(240, x, y, w, h)) {
				const uint32_t r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
				frame += r > 200 && g > 160 && b < 100;
				letters += r > 170 && g > 170 && b > 170;
			}
			EXPECT_GT(frame, w + h) << frames;
			EXPECT_GT(letters, 100) << frames;
		}
	}
	EXPECT_TRUE(rig.ended);
	EXPECT_GE(text, 2 * (text + flying) / 3) << text << " frames of text, " << flying << " without";
	EXPECT_LE(longestFlight, 4000);
	rig.credits.Deinit();
}

TEST(Credits, StepsFollowTheFileCameraStepsByTheirPathsTextStepsByTheirDuration) {
	ScratchDir dir;
	CreditsRig rig(dir);
	rig.Steps("3\n1 data/misc/a.cam data/misc/a.cam\n1 data/misc/b.cam data/misc/b.cam\n2 data/misc/count.lua 500\n");
	ASSERT_TRUE(rig.credits.Init()) << rig.LogText();
	rig.Run(1);
	EXPECT_EQ(rig.credits.GetCurrentStep(), 0);
	rig.Run(1); // the first path's 100 ms are over: the second camera step starts at once
	EXPECT_EQ(rig.credits.GetCurrentStep(), 1);
	EXPECT_FLOAT_EQ(rig.credits.GetCamera().Path().GetDuration(), 300.0f);
	rig.Run(3);
	EXPECT_EQ(rig.credits.GetCurrentStep(), 2);
	// The text step runs every frame until more than its 500 ms have passed: six frames of 100.
	EXPECT_EQ(rig.Run(20), 6);
	EXPECT_TRUE(rig.ended);
	EXPECT_EQ(rig.Global("Runs"), 6.0);
	rig.credits.Deinit();
	EXPECT_NE(rig.LogText().find("CAMERA: Deinitialization..."), std::string::npos);
}

TEST(Credits, EmptyFileOrEscapeEndTheCreditsAtOnce) {
	ScratchDir dir;
	CreditsRig rig(dir);
	rig.Steps("0\n");
	ASSERT_TRUE(rig.credits.Init());
	EXPECT_EQ(rig.Run(10), 1);
	EXPECT_TRUE(rig.ended);
	rig.credits.Deinit();

	Credits held;
	rig.Steps("1\n2 data/misc/count.lua 5000\n");
	ASSERT_TRUE(held.Init());
	rig.Advance(16);
	EXPECT_TRUE(held.Frame());
	rig.Hold(SDLK_ESCAPE, true);
	rig.Advance(16);
	EXPECT_FALSE(held.Frame());
	EXPECT_EQ(held.GetStepTime(), 16); // the step was not run in the frame Escape ended
}

TEST(Credits, BadStepsAreLoggedOnceAndPassedOver) {
	ScratchDir dir;
	CreditsRig rig(dir);
	std::string many = "70\n";
	for (int i = 0; i < 70; i++) {
		many += "2 data/misc/count.lua 0\n";
	}
	rig.Steps(many);
	ASSERT_TRUE(rig.credits.Init());
	EXPECT_EQ(rig.credits.GetFile().GetStepCount(), CreditsFile::MAX_STEPS);
	EXPECT_EQ(rig.Run(1000), CreditsFile::MAX_STEPS + 1);
	EXPECT_NE(
		rig.LogText().find("CREDITS: data/misc/credits.crd has 70 steps; the first 64 are played"), std::string::npos);
	rig.credits.Deinit();

	// A missing script, one too long for the buffer and one that fails: one line each, no text.
	rig.WriteData("data/misc/long.lua", "Runs = 1\n" + std::string(Credits::SCRIPT_SIZE, '-') + "\n");
	rig.WriteData("data/misc/bad.lua", "Runs = (Runs or 0) + 1\nnosuch()\n");
	rig.Steps("5\n2 data/misc/none.lua 200\n2 data/misc/long.lua 200\n2 data/misc/bad.lua 200\n"
			  "2 data/misc/count.lua 0\n1 data/misc/truncated\n");
	Credits bad;
	ASSERT_TRUE(bad.Init());
	EXPECT_EQ(bad.GetFile().GetStepCount(), 4);
	int frames = 0;
	while (frames < 100) {
		rig.Advance(100);
		frames++;
		if (!bad.Frame()) {
			break;
		}
	}
	EXPECT_EQ(frames, 3 * 3 + 2);
	const std::string log = rig.LogText();
	EXPECT_NE(log.find("CREDITS: data/misc/credits.crd: step 5 is missing or malformed"), std::string::npos);
	EXPECT_NE(log.find("CREDITS: data/misc/none.lua cannot be read; its step shows no text"), std::string::npos);
	EXPECT_NE(
		log.find("CREDITS: data/misc/long.lua is longer than 4096 bytes; its step shows no text"), std::string::npos);
	EXPECT_EQ(log.find("nosuch"), log.rfind("nosuch")) << log; // the failing script is reported once
}
