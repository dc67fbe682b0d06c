#include "match/InGame.h"

#include <SDL/SDL.h>
#include <plib/ssg.h>

#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/Overlay2D.h"
#include "core/Screenshot.h"
#include "core/UserFiles.h"
#include "core/VideoConfig.h"
#include "audio/SoundBank.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "input/NoxInput.h"
#include "options/NameTable.h"
#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/CountdownEvent.h"
#include "world/Disc.h"
#include "world/MatchClockEvent.h"
#include "world/Shadow.h"
#include "world/ShotTurnEvent.h"
#include "world/TrophyEvent.h"

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

// The samples stay in the bank for the next match.
bool LoadMatchSounds() {
	for (const MatchSound &sound : MATCH_SOUNDS) {
		if (!g_sound || !g_sound->LoadSample(sound.file, sound.slot, false)) {
			Log(LOG_ERROR, "%s", sound.failure);
			return false;
		}
	}
	return true;
}

} // namespace

InGame::InGame()
	: phase(PHASE_STARTING), frameTime(0), pauseTime(0), periodTimeLeft(0), periodIndex(-1), activeSide(0),
	  turnOver(false), shotTimer(nullptr), lastScorer(nullptr), announcementMode(ANNOUNCE_NONE), screenWidth(640),
	  screenHeight(480), musicOn(false), drawing(true), seed(Random::ClockSeed()), replayShown(false) {}

InGame::~InGame() {
	Deinit();
}

const OptionsRecord &InGame::GetOptions() const {
	return g_options;
}

bool InGame::Init() {
	Log(LOG_MESSAGE, "INGAME: Initialization...");
	random.Seed(seed);
	Log(LOG_MESSAGE, "INGAME: Random seed %u", static_cast<unsigned>(seed));
	const OptionsRecord &options = GetOptions();
	musicOn = options.music != 0;
	if (g_videoConfig) {
		screenWidth = g_videoConfig->Width();
		screenHeight = g_videoConfig->Height();
	}
	phase = PHASE_STARTING;
	controls.Reset();

	world.reset(new MatchWorld());
	if (!world->Build(options, screenWidth, screenHeight, random)) {
		return false;
	}
	physics.reset(new MatchPhysics(*world, *this, events));
	if (options.replay) {
		replay.SetUp(screenWidth, screenHeight);
		physics->SetRecorder(&replay);
	}
	if (options.guide && !guide.SetUp(world->GetSceneRoot(), *world->GetArena())) {
		Log(LOG_WARNING, "INGAME: The aim guide cannot follow this arena's walls; play goes on without it");
	}
	controls.SetUp(options, *world->GetArena(), random);

	Log(LOG_MESSAGE, "INGAME: HUD initialization...");
	if (!hud.Init(screenWidth, screenHeight, this, g_timer)) {
		return false;
	}
	Log(LOG_MESSAGE, "INGAME: HUD initialization done!");

	if (!LoadMatchSounds()) {
		return false;
	}
	if (musicOn && !(g_sound && g_sound->LoadMusic("data/sounds/tavro_ingame.xm"))) {
		Log(LOG_ERROR, "SOUND: MUSIC loading failed!");
		return false;
	}

	if (g_input) {
		g_input->SetInputMode(NI_MODE_POLLING);
	}
	SDL_WarpMouse(static_cast<Uint16>(screenWidth / 2), static_cast<Uint16>(screenHeight / 2));

	Log(LOG_MESSAGE, "INGAME: ...Done!");
	announcementMode = ANNOUNCE_NONE;
	periodIndex = -1;
	pauseTime = 0;
	return true;
}

void InGame::Deinit() {
	if (!world) {
		return; // never set up, or already torn down
	}
	Log(LOG_MESSAGE, "INGAME: Deinitialization...");
	menu.Close();
	if (musicOn && g_sound) {
		g_sound->StopMusic();
	}
	events.AbortAll();
	shotTimer = nullptr;
	hud.Deinit();
	controls.Release();
	physics.reset();
	replay.Release();
	guide.Release();
	activeSide = 0;
	lastScorer = nullptr;
	world.reset();
}

void InGame::RecordGoal(Disc *disc) {
	lastScorer = disc;
	disc->AddGoal();
}

void InGame::SetBallHidden(bool hidden) {
	world->GetBall()->SetHidden(hidden);
	if (Shadow *shadow = world->GetShadow(MatchWorld::SHADOW_BALL)) {
		shadow->SetHidden(hidden);
	}
}

const char *InGame::GetCharacterName(int side) const {
	return CharacterName(GetOptions().character[side == 1 ? 0 : 1]);
}

int InGame::PlaySound(int slot) {
	return g_sound ? g_sound->PlaySample(slot, -1) : 0;
}

void InGame::StopSound(int channel) {
	if (g_sound) {
		g_sound->StopChannel(channel);
	}
}

// ---------------------------------------------------------------------------------------------
// The frame

bool InGame::Frame() {
	switch (phase) {
	case PHASE_AFTER_GOAL:
		// With replays on, the goal is shown again first.
		if (!replayShown && replay.IsSetUp() && replay.Start()) {
			replayShown = true;
			phase = PHASE_REPLAY;
			HoldInputOver();
			return true;
		}
		replayShown = false;
		RestartAfterGoal();
		ResetPhysicsClock();
		StartEvent(new CountdownEvent(this));
		phase = PHASE_PLAYING;
		return true;
	case PHASE_NEXT_PERIOD:
		if (periodIndex < PERIOD_COUNT - 1) {
			// The side the draw names is the one that does not move first.
			activeSide = random.Below(2) ? 1 : 2;
			StartPeriod();
			ResetPhysicsClock();
			StartEvent(new CountdownEvent(this));
			periodIndex++;
		} else {
			Log(LOG_MESSAGE, "INGAME: Final score %d:%d", world->GetDisc(1)->GetGoals(), world->GetDisc(2)->GetGoals());
			StartEvent(new TrophyEvent(this, world->GetDisc(1), world->GetDisc(2)));
		}
		phase = PHASE_PLAYING;
		return true;
	case PHASE_PLAYING: PlayFrame(); return true;
	case PHASE_STARTING:
		phase = PHASE_NEXT_PERIOD;
		if (musicOn && g_sound) {
			g_sound->StopMusic();
			g_sound->PlayMusic();
		}
		return true;
	case PHASE_MENU_OPEN: return MenuFrame();
	case PHASE_REPLAY: ReplayFrame(); return true;
	case PHASE_FINISHED: return false;
	default: return true;
	}
}

void InGame::AdvanceTimer() {
	uint32_t before = g_timer->GetTime();
	g_timer->Update();
	int32_t elapsed = static_cast<int32_t>(g_timer->GetTime() - before);
	frameTime = elapsed < 0 ? 0 : elapsed;
}

bool InGame::MenuFrame() {
	AdvanceTimer();
	menu.HandleEvents();
	world->GetArena()->Update(frameTime); // the torches and the drifting particles go on moving
	if (drawing) {
		Draw();
	}
	switch (menu.GetAnswer()) {
	case InGameMenu::ANSWER_YES: menu.Close(); return false;
	case InGameMenu::ANSWER_NO:
		// Escape that resumed play is still down: it must not open the menu again at once.
		controls.HoldEscapeOver(menu.WasLeftWithEscape());
		menu.Close();
		Log(LOG_MESSAGE, "INGAME: Play goes on");
		phase = PHASE_PLAYING;
		controls.ClearMenuRequest();
		return true;
	default: return true;
	}
}

void InGame::HoldInputOver() {
	// Keys and buttons still down from the goal's celebration skip nothing: only a press made
	// after the replay starts does.
	const uint8_t *keys = nullptr;
	int keyCount = 0;
	const NI_Joystick *pads[2] = {nullptr, nullptr};
	if (TakeInput(&keys, &keyCount, pads)) {
		controls.AnyPressed(keys, keyCount, pads);
	}
}

void InGame::ReplayFrame() {
	AdvanceTimer();
	// Any key or button skips; the clocks stand still, since no event runs meanwhile.
	const uint8_t *keys = nullptr;
	int keyCount = 0;
	const NI_Joystick *pads[2] = {nullptr, nullptr};
	const bool skip = TakeInput(&keys, &keyCount, pads) && controls.AnyPressed(keys, keyCount, pads);
	if (skip || !replay.Update(*world, frameTime)) {
		phase = PHASE_AFTER_GOAL;
		return;
	}
	if (drawing) {
		Draw();
	}
}

void InGame::PlayFrame() {
	AdvanceTimer();
	// With the game's time running faster, a frame holds that much more play: it runs as that
	// many parts as long as the real frame, so that the match goes as it would at normal speed.
	const int whole = frameTime;
	const int parts = whole > 0 ? g_timer->GetScale() : 1;
	const uint32_t start = g_timer->GetTime() - static_cast<uint32_t>(whole);
	const uint8_t *keys = nullptr;
	int keyCount = 0;
	const NI_Joystick *pads[2] = {nullptr, nullptr};
	const bool input = TakeInput(&keys, &keyCount, pads);
	for (int part = 0; part < parts && phase == PHASE_PLAYING; part++) {
		frameTime = whole * (part + 1) / parts - whole * part / parts;
		const uint32_t now = start + static_cast<uint32_t>(whole * (part + 1) / parts);
		if (!PlayPart(input ? keys : nullptr, keyCount, pads, now, part == parts - 1)) {
			return;
		}
	}
	frameTime = whole;
	if (drawing) {
		Draw();
	}
}

bool InGame::PlayPart(const uint8_t *keys, int keyCount, const NI_Joystick *const pads[2], uint32_t now, bool last) {
	if (!IsFrozen()) {
		ReadInput(keys, keyCount, pads, now);
		if (controls.IsMenuRequested()) {
			// The time the menu stays open is not simulated afterwards.
			pauseTime = now;
			phase = PHASE_MENU_OPEN;
			Log(LOG_MESSAGE, "INGAME: Paused");
			menu.Open(screenWidth, screenHeight);
			return false;
		}
		StepPhysics(now);
	}
	// Traced, for the frame's picture, from the state a shot fired in these events starts from;
	// a turn that ends there hides it until the next frame traces the new side's.
	if (last) {
		UpdateGuide();
	}
	const int aimingSide = activeSide;
	UpdateEvents();
	if (activeSide != aimingSide) {
		guide.Hide();
	}
	return true;
}

bool InGame::TakeInput(const uint8_t **keys, int *keyCount, const NI_Joystick *pads[2]) {
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
	// Player 1 steers with the first pad too, player 2 with the second.
	pads[0] = g_input->GetJoystick(0);
	pads[1] = g_input->GetJoystick(1);
	return true;
}

void InGame::ReadInput(const uint8_t *keys, int keyCount, const NI_Joystick *const pads[2], uint32_t now) {
	if (!keys) {
		return;
	}
	controls.SetTurnLeft(shotTimer ? shotTimer->GetRemaining() : 0);
	controls.SetPhysicsClock(
		physics->GetStepCount(), physics->GetCollisionWait(), physics->GetLag(pauseTime != 0 ? pauseTime : now));
	if (controls.Read(keys, keyCount, pads, *world, activeSide, frameTime) && shotTimer) {
		shotTimer->Fire();
	}
}

void InGame::StepPhysics(uint32_t now) {
	world->UpdateAims(frameTime);
	physics->Run(pauseTime != 0 ? pauseTime : now);
	if (pauseTime != 0) {
		physics->SkipTo(now);
		pauseTime = 0;
	}
	world->UpdateObjects(frameTime);
}

void InGame::UpdateGuide() {
	if (!guide.IsSetUp()) {
		return;
	}
	const bool human = activeSide != 0 && controls.GetComputer(activeSide) == nullptr;
	const bool aiming = shotTimer && (announcementMode == ANNOUNCE_NONE || announcementMode == ANNOUNCE_COUNTDOWN);
	if (human && aiming) {
		guide.Update(*world, activeSide, physics->GetCollisionWait());
	} else {
		guide.Hide();
	}
}

void InGame::UpdateEvents() {
	events.Update(frameTime, [this](const MatchEvent *ended) {
		if (ended == shotTimer) {
			shotTimer = nullptr;
		}
	});
	if (turnOver) {
		NextTurn();
	}
}

// ---------------------------------------------------------------------------------------------
// Rules

void InGame::StartEvent(MatchEvent *event) {
	events.Start(std::unique_ptr<MatchEvent>(event));
}

void InGame::GiveTurn(int side) {
	Aim *mine = world->GetAim(side);
	activeSide = side;
	world->GetDisc(1)->SetActive(side == 1);
	world->GetDisc(2)->SetActive(side == 2);
	mine->Reset(side == 1 ? Aim::START_OFFSET : -Aim::START_OFFSET);
	mine->Update(frameTime);
	mine->SetHidden(false);
	world->GetAim(3 - side)->SetHidden(true);
	turnOver = false;
}

void InGame::StartTurn(int side) {
	GiveTurn(side);
	controls.StartTurn(side);
	StartEvent(new ShotTurnEvent(this, world->GetDisc(side), world->GetAim(side), world->GetBall()));
}

void InGame::NextTurn() {
	StartTurn(activeSide != 1 ? 1 : 2);
}

void InGame::DropShotTimer(bool abort) {
	if (shotTimer) {
		events.Remove(shotTimer, abort);
		shotTimer = nullptr;
	}
}

void InGame::StartPeriod() {
	DropShotTimer(true);
	ResetPositions();
	StartEvent(new MatchClockEvent(this));
	NextTurn();
}

void InGame::RestartAfterGoal() {
	DropShotTimer(false);
	ResetPositions();
	StartTurn(lastScorer == world->GetDisc(1) ? 2 : 1);
}

void InGame::ResetPositions() {
	world->ResetPositions();
	physics->ClearContacts();
	replay.Clear();
}

void InGame::ResetPhysicsClock() {
	g_timer->Update();
	physics->Restart(g_timer->GetTime());
	frameTime = 0;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void InGame::Draw() {
	const Disc *activeDisc = GetActiveDisc();
	if (phase == PHASE_REPLAY) {
		replay.DrawView(*world, frameTime);
	} else {
		world->DrawView(controls.GetMainCamera(), activeDisc, frameTime, true);
	}

	Begin2D(screenWidth, screenHeight);
	hud.Draw(controls.IsMiniViewShown(), controls.IsFpsShown());
	DrawAnnouncement();
	if (phase == PHASE_MENU_OPEN) {
		menu.Draw(frameTime);
	}
	if (phase == PHASE_REPLAY) {
		replay.DrawPicture();
	}
	End2D();

	if (controls.IsMiniViewShown() && phase != PHASE_REPLAY) {
		world->DrawView(controls.GetMiniCamera(), activeDisc, frameTime, false);
	}
	if (controls.TakeScreenshotRequest()) {
		SaveScreenshot(UserFilePath(USER_SCREENSHOT), screenWidth, screenHeight);
	}
	SwapBuffers();
}

void InGame::DrawAnnouncement() const {
	const GL2D_SimpleBmpRect *const *slots = announcement.slots;
	const float *v = announcement.layout;
	auto draw = [](const GL2D_SimpleBmpRect *picture, float x, float y, float sx, float sy) {
		if (picture) {
			picture->DrawScaled(static_cast<int>(x), static_cast<int>(y), sx, sy);
		}
	};
	switch (announcementMode) {
	case ANNOUNCE_GOAL:
		draw(slots[SLOT_A], v[0], v[1], v[2], v[3]);
		draw(slots[SLOT_B], screenWidth / 2 + 120, screenHeight / 2, 0.7f, 0.7f);
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
}
