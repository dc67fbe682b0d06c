#include <gtest/gtest.h>

#include <string>

#include "Gl2dTestKit.h"
#include "core/Clock.h"
#include "core/FrameTimer.h"
#include "gl2d/GL2D_Mouse.h"
#include "gl2d/GL2D_SimpleBmpRect.h"

namespace {

const uint32_t RED = 0xFF0000;
const uint32_t BLUE = 0x0000FF;

void WriteFrame(const Scene &scene, const std::string &name, uint32_t colour) {
	SaveBmp(MakeImage(8, 8, [colour](int, int) { return colour; }), name + ".bmp");
	scene.dir.WriteText(name + ".nsbr", name + ".bmp\n-\n");
}

// The colour the cursor shows when drawn at (x, y) with the frame time of timer.
uint32_t DrawAndLook(Scene &scene, GL2D_Mouse &mouse, int x, int y, const FrameTimer &timer) {
	scene.Clear();
	mouse.Draw(x, y, static_cast<int>(timer.GetFrameTime()));
	scene.Grab();
	return scene.At(x, y);
}

} // namespace

TEST(GL2DMouse, FramesChangeAfterTheirDuration) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFrame(scene, "red", RED);
	WriteFrame(scene, "blue", BLUE);
	scene.dir.WriteText("mouse.nmd", "2 red.nsbr blue.nsbr\n100\n0 0\n");
	GL2D_Mouse mouse;
	ASSERT_TRUE(mouse.Load("mouse.nmd"));
	EXPECT_EQ(mouse.GetFrameCount(), 2);
	EXPECT_EQ(mouse.GetFrameDuration(), 100);

	// As the menus do: the frame time of the frame timer, here 40 ms a frame.
	ManualClock clock;
	FrameTimer timer(&clock);
	const uint32_t expected[] = {RED, RED, RED, BLUE, BLUE, BLUE, RED};
	for (uint32_t colour : expected) {
		clock.Advance(40);
		timer.Update();
		EXPECT_EQ(DrawAndLook(scene, mouse, 50, 50, timer), colour);
	}
}

TEST(GL2DMouse, HotSpotSitsOnTheMousePosition) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	SaveBmp(MakeImage(32, 32, Pattern), "arrow.bmp");
	scene.dir.WriteText("arrow.nsbr", "arrow.bmp\n-\n");
	scene.dir.WriteText("mouse.nmd", "1 arrow.nsbr 50 16 16");
	GL2D_Mouse mouse;
	ASSERT_TRUE(mouse.Load("mouse.nmd"));
	EXPECT_EQ(mouse.GetHotSpotX(), 16);
	EXPECT_EQ(mouse.GetHotSpotY(), 16);
	mouse.Draw(100, 100, 16);
	scene.Grab();
	EXPECT_EQ(scene.At(84, 84), Pattern(0, 0));
	EXPECT_EQ(scene.At(100, 100), Pattern(16, 16));
	EXPECT_TRUE(scene.Empty(83, 84, 1, 32));
	EXPECT_TRUE(scene.Empty(84, 83, 32, 1));
}

TEST(GL2DMouse, SingleFrameNeverChangesAndZeroDurationAdvancesEveryFrame) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFrame(scene, "red", RED);
	WriteFrame(scene, "blue", BLUE);
	scene.dir.WriteText("one.nmd", "1 red.nsbr 10 0 0");
	scene.dir.WriteText("fast.nmd", "2 red.nsbr blue.nsbr 0 0 0");
	GL2D_Mouse one, fast;
	ASSERT_TRUE(one.Load("one.nmd"));
	ASSERT_TRUE(fast.Load("fast.nmd"));
	for (int i = 0; i < 5; i++) {
		one.Draw(0, 0, 100);
		EXPECT_EQ(one.GetCurrentFrame(), 0);
	}
	fast.Draw(0, 0, 0);
	EXPECT_EQ(fast.GetCurrentFrame(), 0);
	fast.Draw(0, 0, 1);
	EXPECT_EQ(fast.GetCurrentFrame(), 1);
	fast.Draw(0, 0, 1);
	EXPECT_EQ(fast.GetCurrentFrame(), 0);
}

TEST(GL2DMouse, FrameThatFailsToLoadDrawsNothing) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFrame(scene, "red", RED);
	scene.dir.WriteText("mouse.nmd", "2 missing.nsbr red.nsbr 10 0 0");
	GL2D_Mouse mouse;
	ASSERT_TRUE(mouse.Load("mouse.nmd"));
	EXPECT_EQ(mouse.GetFrameCount(), 2);
	ASSERT_NE(mouse.GetFrame(0), nullptr);
	EXPECT_EQ(mouse.GetFrame(0)->GetRegionCount(), 0);
	EXPECT_EQ(mouse.GetFrame(2), nullptr);
	mouse.Draw(10, 10, 20);
	scene.Grab();
	EXPECT_TRUE(scene.Empty(0, 0, 40, 40));
	mouse.Draw(10, 10, 0);
	scene.Grab();
	EXPECT_EQ(scene.At(10, 10), RED);
}

TEST(GL2DMouse, MalformedFilesLeaveNoFrames) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFrame(scene, "red", RED);
	const std::string bad[] = {
		"",
		"11 red.nsbr red.nsbr red.nsbr red.nsbr red.nsbr red.nsbr red.nsbr red.nsbr red.nsbr red.nsbr red.nsbr 10 0 0",
		"0 10 0 0",
		"-3 red.nsbr 10 0 0",
		"2 red.nsbr",
		"1 red.nsbr 10 0",
		"1 red.nsbr -10 0 0",
		"1 red.nsbr ten 0 0",
		"1 " + std::string(256, 'r') + " 10 0 0",
	};
	for (const std::string &text : bad) {
		scene.dir.WriteText("bad.nmd", text);
		GL2D_Mouse mouse;
		EXPECT_FALSE(mouse.Load("bad.nmd")) << text;
		EXPECT_EQ(mouse.GetFrameCount(), 0);
		mouse.Draw(10, 10, 16);
	}
	GL2D_Mouse mouse;
	scene.dir.WriteText("good.nmd", "1 red.nsbr 10 0 0");
	ASSERT_TRUE(mouse.Load("good.nmd"));
	EXPECT_FALSE(mouse.Load("absent.nmd"));
	EXPECT_EQ(mouse.GetFrameCount(), 0);
	EXPECT_FALSE(mouse.Load(nullptr));
	mouse.Draw(10, 10, 16);
	scene.Grab();
	EXPECT_TRUE(scene.Empty(0, 0, 40, 40));
}

TEST(GL2DMouse, TenFramesAreAllowed) {
	Scene scene;
	ASSERT_TRUE(scene.Ready());
	WriteFrame(scene, "red", RED);
	std::string text = "10";
	for (int i = 0; i < 10; i++) {
		text += " red.nsbr";
	}
	scene.dir.WriteText("ten.nmd", text + " 5 -2 40000");
	GL2D_Mouse mouse;
	ASSERT_TRUE(mouse.Load("ten.nmd"));
	EXPECT_EQ(mouse.GetFrameCount(), 10);
	EXPECT_EQ(mouse.GetHotSpotX(), -2);
	for (int i = 0; i < 25; i++) {
		mouse.Draw(0, 0, 6);
	}
	EXPECT_EQ(mouse.GetCurrentFrame(), 5);
}
