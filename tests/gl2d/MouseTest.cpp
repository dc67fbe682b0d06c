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

class GL2DMouse : public Gl2dTest {
protected:
	void SetUp() override {
		Gl2dTest::SetUp();
		WritePicture("red", 8, 8, RED);
		WritePicture("blue", 8, 8, BLUE);
	}
};

} // namespace

TEST_F(GL2DMouse, FramesChangeAfterTheirDuration) {
	dir.WriteText("mouse.nmd", "2 red.nsbr blue.nsbr\n100\n0 0\n");
	dir.WriteText("fast.nmd", "2 red.nsbr blue.nsbr 0 0 0");
	GL2D_Mouse mouse, fast;
	ASSERT_TRUE(mouse.Load("mouse.nmd"));
	ASSERT_TRUE(fast.Load("fast.nmd"));
	EXPECT_EQ(mouse.GetFrameCount(), 2);
	EXPECT_EQ(mouse.GetFrameDuration(), 100);
	// As the menus do: the frame time of the frame timer, here 40 ms a frame.
	ManualClock clock;
	FrameTimer timer(&clock);
	for (uint32_t colour : {RED, RED, RED, BLUE, BLUE, BLUE, RED}) {
		clock.Advance(40);
		timer.Update();
		Clear();
		mouse.Draw(50, 50, static_cast<int>(timer.GetFrameTime()));
		Grab();
		EXPECT_EQ(At(50, 50), colour);
	}
	// A duration of zero advances on every frame that takes any time.
	const int steps[][2] = {{0, 0}, {1, 1}, {1, 0}}; // frame time, frame shown after it
	for (const auto &step : steps) {
		fast.Draw(0, 0, step[0]);
		EXPECT_EQ(fast.GetCurrentFrame(), step[1]);
	}
}

TEST_F(GL2DMouse, HotSpotSitsOnTheMousePositionAndTenFramesAreAllowed) {
	SaveBmp(MakeImage(32, 32, Pattern), "arrow.bmp");
	dir.WriteText("arrow.nsbr", "arrow.bmp\n-\n");
	dir.WriteText("mouse.nmd", "1 arrow.nsbr 50 16 16");
	GL2D_Mouse mouse;
	ASSERT_TRUE(mouse.Load("mouse.nmd"));
	EXPECT_EQ(mouse.GetHotSpotX(), 16);
	EXPECT_EQ(mouse.GetHotSpotY(), 16);
	for (int i = 0; i < 5; i++) {
		mouse.Draw(100, 100, 100);
		EXPECT_EQ(mouse.GetCurrentFrame(), 0); // a single frame never changes
	}
	Grab();
	EXPECT_EQ(At(84, 84), Pattern(0, 0));
	EXPECT_EQ(At(100, 100), Pattern(16, 16));
	EXPECT_TRUE(Empty(83, 84, 1, 32));
	EXPECT_TRUE(Empty(84, 83, 32, 1));

	std::string text = "10";
	for (int i = 0; i < 10; i++) {
		text += " red.nsbr";
	}
	dir.WriteText("ten.nmd", text + " 5 -2 40000");
	GL2D_Mouse ten;
	ASSERT_TRUE(ten.Load("ten.nmd"));
	EXPECT_EQ(ten.GetFrameCount(), 10);
	EXPECT_EQ(ten.GetHotSpotX(), -2);
	for (int i = 0; i < 25; i++) {
		ten.Draw(0, 0, 6);
	}
	EXPECT_EQ(ten.GetCurrentFrame(), 5);
}

TEST_F(GL2DMouse, FrameThatFailsToLoadDrawsNothing) {
	dir.WriteText("mouse.nmd", "2 missing.nsbr red.nsbr 10 0 0");
	GL2D_Mouse mouse;
	ASSERT_TRUE(mouse.Load("mouse.nmd"));
	EXPECT_EQ(mouse.GetFrameCount(), 2);
	ASSERT_NE(mouse.GetFrame(0), nullptr);
	EXPECT_EQ(mouse.GetFrame(0)->GetRegionCount(), 0);
	EXPECT_EQ(mouse.GetFrame(2), nullptr);
	mouse.Draw(10, 10, 20);
	Grab();
	EXPECT_TRUE(Empty(0, 0, 40, 40));
	mouse.Draw(10, 10, 0);
	Grab();
	EXPECT_EQ(At(10, 10), RED);
}

TEST_F(GL2DMouse, MalformedFilesLeaveNoFrames) {
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
		dir.WriteText("bad.nmd", text);
		GL2D_Mouse mouse;
		EXPECT_FALSE(mouse.Load("bad.nmd")) << text;
		EXPECT_EQ(mouse.GetFrameCount(), 0);
		mouse.Draw(10, 10, 16);
	}
	GL2D_Mouse mouse;
	dir.WriteText("good.nmd", "1 red.nsbr 10 0 0");
	ASSERT_TRUE(mouse.Load("good.nmd"));
	EXPECT_FALSE(mouse.Load("absent.nmd"));
	EXPECT_EQ(mouse.GetFrameCount(), 0);
	EXPECT_FALSE(mouse.Load(nullptr));
	mouse.Draw(10, 10, 16);
	Grab();
	EXPECT_TRUE(Empty(0, 0, 40, 40));
}
