#include <gtest/gtest.h>

#include <GL/gl.h>

#include <filesystem>
#include <string>
#include <vector>

#include "GLWindow.h"
#include "LogCapture.h"
#include "ScratchDir.h"
#include "core/Clock.h"
#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/Overlay2D.h"
#include "core/VideoConfig.h"
#include "gl2d/GL2D_TrueTypeText.h"
#include "options/OptionsRecord.h"
#include "match/GoalReplay.h"
#include "match/Hud.h"
#include "match/MatchView.h"
#include "world/Announcement.h"
#include "world/Disc.h"
#include "world/MatchContext.h"

namespace fs = std::filesystem;

namespace {

// Only what the HUD reads of a match.
class ScoreBoard : public MatchContext {
public:
	bool IsFrozen() const override { return false; }
	void SetAnnouncementMode(int) override {}
	Announcement &GetAnnouncement() override { return announcement; }
	void SetPhase(int) override {}
	int GetPeriodTimeLeft() const override { return timeLeft; }
	void SetPeriodTimeLeft(int ms) override { timeLeft = ms; }
	int GetPeriodIndex() const override { return period; }
	void SetTurnOver(bool) override {}
	void SetShotTimer(ShotTurnEvent *) override {}
	void RecordGoal(Disc *disc) override { disc->AddGoal(); }
	int GetLayoutWidth() const override { return 640; }
	int GetLayoutHeight() const override { return 480; }
	const OptionsRecord &GetOptions() const override { return g_options; }
	Disc *GetDisc(int side) const override {
		return side == 1 ? const_cast<Disc *>(&disc1) : const_cast<Disc *>(&disc2);
	}
	void SetBallHidden(bool) override {}
	ParticleEmitter *GetSparks(int) const override { return nullptr; }
	const char *GetCharacterName(int) const override { return "hippy"; }
	int PlaySound(int) override { return 0; }
	void StopSound(int) override {}

	Announcement announcement;
	Disc disc1, disc2;
	int timeLeft = 240000;
	int period = 0;
};

// Counts the pixels of a rectangle that differ from the clear colour.
int Painted(const GLWindow &window, int x0, int y0, int x1, int y1) {
	int n = 0;
	for (int y = y0; y < y1; y += 2) {
		for (int x = x0; x < x1; x += 2) {
			n += window.Pixel(x, y) != 0x000000u;
		}
	}
	return n;
}

} // namespace

TEST(Hud, FormatsScoreClockAndPeriod) {
	char text[32];
	Hud::FormatClock(text, sizeof(text), 240000);
	EXPECT_STREQ(text, "4:00");
	Hud::FormatClock(text, sizeof(text), 61999);
	EXPECT_STREQ(text, "1:01");
	Hud::FormatClock(text, sizeof(text), 999);
	EXPECT_STREQ(text, "0:00");
	Hud::FormatScore(text, sizeof(text), 10, 3);
	EXPECT_STREQ(text, "10:03");
	Hud::FormatScore(text, sizeof(text), 0, 0);
	EXPECT_STREQ(text, "00:00");
	Hud::FormatPeriod(text, sizeof(text), 0);
	EXPECT_STREQ(text, "1:4");
	Hud::FormatPeriod(text, sizeof(text), 3);
	EXPECT_STREQ(text, "4:4");
}

TEST(Hud, DrawsItsTextsWhereTheyBelongAndTheFrameOnlyWithTheSmallView) {
	ScratchDir dir;
	GLWindow window(640, 480);
	ASSERT_TRUE(window.IsOpen());
	dir.LinkData();
	ManualClock clock;
	FrameTimer timer(&clock);
	ScoreBoard board;
	Hud hud;
	ASSERT_TRUE(hud.Init(640, 480, &board, &timer));

	auto draw = [&](bool mini, bool fps) {
		window.Clear(0, 0, 0);
		Begin2D(640, 480);
		hud.Draw(mini, fps);
		End2D();
	};
	draw(false, false);
	EXPECT_GT(Painted(window, 260, 0, 380, 40), 20);   // score, top middle
	EXPECT_GT(Painted(window, 540, 0, 640, 40), 20);   // clock, top right
	EXPECT_GT(Painted(window, 0, 420, 100, 480), 20);  // period, bottom left
	EXPECT_EQ(Painted(window, 520, 440, 640, 480), 0); // no frame rate
	EXPECT_EQ(Painted(window, 100, 100, 200, 160), 0); // no frame around the small view

	draw(true, true);
	EXPECT_GT(Painted(window, 520, 440, 640, 480), 5);
	EXPECT_GT(Painted(window, 0, 0, 250, 190), 200);
	hud.Deinit();
}

// The score and the clocks take the same share of the window's height at every size as at
// 640×480 (within a fifth), and stay where they belong.
TEST(Hud, TextsGrowWithTheWindow) {
	ScratchDir dir;
	dir.LinkData();
	double scoreShare = 0, clockShare = 0; // at 640×480: font height / window height
	double frameShare = 0;                 // the small view frame's area / the height squared
	const int sizes[][2] = {{640, 480}, {1280, 720}, {1920, 1080}, {2560, 1440}};
	for (const auto &size : sizes) {
		const int w = size[0], h = size[1];
		SCOPED_TRACE(w);
		GLWindow window(w, h);
		ASSERT_TRUE(window.IsOpen());
		ScoreBoard board;
		Hud hud;
		ASSERT_TRUE(hud.Init(w, h, &board, nullptr));
		const double score = double(hud.GetScoreFont()->GetFontHeight()) / h;
		const double clock = double(hud.GetClockFont()->GetFontHeight()) / h;
		if (w == 640) {
			scoreShare = score;
			clockShare = clock;
		}
		EXPECT_NEAR(score / scoreShare, 1.0, 0.2);
		EXPECT_NEAR(clock / clockShare, 1.0, 0.2);
		window.Clear(0, 0, 0);
		Begin2D(w, h);
		hud.Draw(false, false);
		End2D();
		const int band = h / 12;                                                 // the texts' strips, top and bottom
		EXPECT_GT(Painted(window, w * 2 / 5, 0, w * 3 / 5, band), 20 * w / 640); // score
		EXPECT_GT(Painted(window, w * 4 / 5, 0, w, band), 20 * w / 640);         // clock
		EXPECT_GT(Painted(window, 0, h - band, w / 5, h), 20 * w / 640);         // period
		EXPECT_EQ(Painted(window, w / 5, band * 2, w * 4 / 5, h - band * 2), 0); // the middle clear
		window.Clear(0, 0, 0);
		Begin2D(w, h);
		hud.Draw(true, false);
		End2D();
		const double frame = double(Painted(window, 0, band, w / 2, h / 2)) / (double(h) * h);
		frameShare = frameShare > 0 ? frameShare : frame;
		EXPECT_NEAR(frame / frameShare, 1.0, 0.25); // the frame grows as the small view does
		hud.Deinit();
	}
}

TEST(Hud, AMissingFileFailsWithItsMessage) {
	ScratchDir dir;
	GLWindow window(64, 64);
	ASSERT_TRUE(window.IsOpen());
	dir.LinkDataFiles();
	fs::remove("data/rects/cloud.nsbr");
	LogCapture log;
	ScoreBoard board;
	Hud hud;
	EXPECT_FALSE(hud.Init(64, 64, &board, nullptr));
	hud.Deinit();
	EXPECT_TRUE(log.Has("Error: HUD: Cloud loading failed!"));
}

// Every part of the HUD drawn (the small view's frame and the frame rate too), then the replay's
// picture alone: no pixel is painted by both, at the smallest size and the larger ones.
TEST(GoalReplay, ThePictureLeavesEveryPartOfTheHudClearAndGrowsWithIt) {
	ScratchDir dir;
	dir.LinkData();
	const int sizes[][2] = {{640, 480}, {800, 600}, {1024, 768}};
	double share = 0; // of the window painted at 640×480
	for (const auto &size : sizes) {
		const int w = size[0], h = size[1];
		SCOPED_TRACE(w);
		GLWindow window(w, h);
		ASSERT_TRUE(window.IsOpen());
		ManualClock clock;
		FrameTimer timer(&clock);
		ScoreBoard board;
		board.timeLeft = 188000; // "3:08": the widest digits
		board.disc1.AddGoal();
		Hud hud;
		ASSERT_TRUE(hud.Init(w, h, &board, &timer));
		GoalReplay replay;
		replay.SetUp(w, h);
		window.Clear(0, 0, 0);
		Begin2D(w, h);
		hud.Draw(true, true);
		End2D();
		window.Grab();
		std::vector<bool> hudPainted(w * h);
		for (int y = 0; y < h; y++) {
			for (int x = 0; x < w; x++) {
				hudPainted[y * w + x] = window.At(x, y) != 0x000000u;
			}
		}
		window.Clear(0, 0, 0);
		Begin2D(w, h);
		replay.DrawPicture();
		End2D();
		window.Grab();
		int painted = 0, shared = 0;
		for (int y = 0; y < h; y++) {
			for (int x = 0; x < w; x++) {
				const bool mine = window.At(x, y) != 0x000000u;
				painted += mine;
				shared += mine && hudPainted[y * w + x];
			}
		}
		EXPECT_GT(painted, 2000); // the picture is there
		EXPECT_EQ(shared, 0);
		share = share > 0 ? share : double(painted) / (w * h);
		EXPECT_NEAR(double(painted) / (w * h) / share, 1.0, 0.25);
		replay.Release();
		hud.Deinit();
	}
}

// The countdown's "3", placed in the middle of the layout, stays in the middle of the window and
// covers the same share of it at every 4:3 size, smoothed when larger.
TEST(Announcement, PicturesAreLaidOutAt640x480AndGrowWithTheWindow) {
	ScratchDir dir;
	dir.LinkData();
	double share = 0; // of the window at 640×480
	for (int w : {640, 1280, 1920}) {
		const int h = w * 3 / 4;
		SCOPED_TRACE(w);
		GLWindow window(w, h);
		ASSERT_TRUE(window.IsOpen());
		Announcement announcement;
		announcement.smooth = VideoConfig::ScreenScale(w, h) != 1.0f;
		GL2D_SimpleBmpRect *three = announcement.LoadPicture("data/rects/three.nsbr");
		ASSERT_NE(three, nullptr);
		announcement.slots[SLOT_A] = three;
		announcement.Place(LayoutLength(w, w, h) / 2, LayoutLength(h, w, h) / 2, 1.0f);
		window.Clear(0, 0, 0);
		Begin2D(w, h);
		DrawAnnouncement(announcement, ANNOUNCE_COUNTDOWN, w, h);
		End2D();
		const int left = Painted(window, 0, 0, w / 2, h), right = Painted(window, w / 2, 0, w, h);
		EXPECT_NEAR(double(left) / right, 1.0, 0.1); // centred
		const double painted = double(left + right) / (w * h);
		share = share > 0 ? share : painted;
		EXPECT_NEAR(painted / share, 1.0, 0.1);
		EXPECT_EQ(Painted(window, 0, 0, w, h / 8), 0); // and no larger
		announcement.DropPicture(three);
	}
}
