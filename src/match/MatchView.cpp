#include "match/MatchView.h"

#include <SDL/SDL.h>
#include <plib/ssg.h>

#include "audio/SoundBank.h"
#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/Overlay2D.h"
#include "core/Screenshot.h"
#include "core/UserFiles.h"
#include "core/VideoConfig.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "input/NoxInput.h"
#include "match/AimGuide.h"
#include "match/GoalReplay.h"
#include "match/Hud.h"
#include "match/InGameMenu.h"
#include "match/MatchControls.h"
#include "match/MatchWorld.h"
#include "options/OptionsRecord.h"
#include "world/Announcement.h"

namespace {

// The match sounds, in the order they are loaded.
struct MatchSound {
	int slot;
	const char *file;
	const char *failure;
};

const MatchSound MATCH_SOUNDS[] = {
	{SOUND_GOAL, "data/sounds/goal.wav", "SOUND: GOAL loading failed!"},
	{SOUND_TARZAN, "data/sounds/tarzan.wav", "SOUND: TARZAN loading failed!"},
	{SOUND_DISC_BALL, "data/sounds/disc_ball.wav", "SOUND: DISC_BALL loading failed!"},
	{SOUND_DISC_WALL_FAST, "data/sounds/disc_wall_fast.wav", "SOUND: DISC_WALL_FAST loading failed!"},
	{SOUND_DISC_WALL_SLOW, "data/sounds/disc_wall_slow.wav", "SOUND: DISC_WALL_SLOW loading failed!"},
	{SOUND_DISC_DISC_SLOW, "data/sounds/disc_disc_slow.wav", "SOUND: DISC_DISC_SLOW loading failed!"},
	{SOUND_DISC_DISC_FAST, "data/sounds/disc_disc_fast.wav", "SOUND: DISC_DISC_FAST loading failed!"},
	{SOUND_SHOT, "data/sounds/shot2.wav", "SOUND: SHOT loading failed!"},
	{SOUND_START, "data/sounds/start.wav", "SOUND: START loading failed!"},
	{SOUND_HURRY_UP, "data/sounds/hurry_up.wav", "SOUND: HURRYUP loading failed!"},
};

} // namespace

void DrawAnnouncement(const Announcement &announcement, int mode, int screenWidth, int screenHeight) {
	if (mode == ANNOUNCE_NONE) {
		return;
	}
	const float scale = VideoConfig::ScreenScale(screenWidth, screenHeight);
	const int width = LayoutLength(screenWidth, screenWidth, screenHeight);
	const int height = LayoutLength(screenHeight, screenWidth, screenHeight);
	glPushMatrix();
	glScalef(scale, scale, 1.0f);
	const GL2D_SimpleBmpRect *const *slots = announcement.slots;
	const float *v = announcement.layout;
	auto draw = [](const GL2D_SimpleBmpRect *picture, float x, float y, float sx, float sy) {
		if (picture) {
			picture->DrawScaled(static_cast<int>(x), static_cast<int>(y), sx, sy);
		}
	};
	switch (mode) {
	case ANNOUNCE_GOAL:
		draw(slots[SLOT_A], v[0], v[1], v[2], v[3]);
		draw(slots[SLOT_B], width / 2 + 120, height / 2, 0.7f, 0.7f);
		break;
	case ANNOUNCE_COUNTDOWN: draw(slots[SLOT_A], v[0], v[1], v[2], v[3]); break;
	case ANNOUNCE_TROPHY:
		draw(slots[SLOT_A], v[0], v[1], v[2], v[3]);
		if (slots[SLOT_C]) {
			draw(slots[SLOT_B], v[4], v[5], 0.25f, 0.25f);
			draw(slots[SLOT_C], v[6], v[7], 0.25f, 0.25f);
		} else {
			draw(slots[SLOT_B], v[6], v[7], v[4], v[5]);
		}
		break;
	default: break;
	}
	glPopMatrix();
}

int LayoutLength(int pixels, int width, int height) {
	return static_cast<int>(pixels / VideoConfig::ScreenScale(width, height));
}

bool SetUpMatchView(const OptionsRecord &options, const MatchWorld &world, AimGuide &guide, Hud &hud,
	const MatchContext *match, int width, int height) {
	if (options.guide && !guide.SetUp(world.GetSceneRoot(), *world.GetArena())) {
		Log(LOG_WARNING, "INGAME: The aim guide cannot follow this arena's walls; play goes on without it");
	}
	Log(LOG_MESSAGE, "INGAME: HUD initialization...");
	if (!hud.Init(width, height, match, g_timer)) {
		return false;
	}
	Log(LOG_MESSAGE, "INGAME: HUD initialization done!");
	for (const MatchSound &sound : MATCH_SOUNDS) {
		if (!g_sound || !g_sound->LoadSample(sound.file, sound.slot, false)) {
			Log(LOG_ERROR, "%s", sound.failure);
			return false;
		}
	}
	if (options.music && !(g_sound && g_sound->LoadMusic("data/sounds/tavro_ingame.xm"))) {
		Log(LOG_ERROR, "SOUND: MUSIC loading failed!");
		return false;
	}
	if (g_input) {
		g_input->SetInputMode(NI_MODE_POLLING);
	}
	SDL_WarpMouse(static_cast<Uint16>(width / 2), static_cast<Uint16>(height / 2));
	return true;
}

void DrawMatchView(const MatchView &view) {
	MatchWorld &world = *view.world;
	MatchControls &controls = *view.controls;
	if (view.replaying) {
		view.replay->DrawView(world, view.frameTime);
	} else {
		world.DrawView(controls.GetMainCamera(), view.activeDisc, view.frameTime, true);
	}

	Begin2D(view.width, view.height);
	view.hud->Draw(controls.IsMiniViewShown(), controls.IsFpsShown());
	DrawAnnouncement(*view.announcement, view.announcementMode, view.width, view.height);
	if (view.menu->IsOpen()) {
		view.menu->Draw(view.frameTime);
	}
	if (view.replaying) {
		view.replay->DrawPicture();
	}
	End2D();

	if (controls.IsMiniViewShown() && !view.replaying) {
		world.DrawView(controls.GetMiniCamera(), view.activeDisc, view.frameTime, false);
	}
	if (controls.TakeScreenshotRequest()) {
		SaveScreenshot(UserFilePath(USER_SCREENSHOT), view.width, view.height);
	}
	SwapBuffers();
}

bool TakeMatchInput(const uint8_t **keys, int *keyCount, const NI_Joystick *pads[2]) {
	if (!g_input) {
		return false;
	}
	g_input->FreeEvent(g_input->GetEvent());
	NI_Keyboard *keyboard = g_input->GetKeyboard(0);
	if (!keyboard || !keyboard->keys) {
		return false;
	}
	*keys = keyboard->keys;
	*keyCount = keyboard->keyCount;
	pads[0] = g_input->GetJoystick(0);
	pads[1] = g_input->GetJoystick(1);
	return true;
}
