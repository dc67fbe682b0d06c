#include "match/InGame.h"

#include <SDL/SDL.h>
#include <plib/ssg.h>

#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/VideoConfig.h"
#include "audio/SoundBank.h"
#include "input/NoxInput.h"
#include "match/MatchView.h"
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

InGame::InGame()
	: phase(PHASE_STARTING), frameTime(0), pauseTime(0), periodTimeLeft(0), periodIndex(-1), activeSide(0),
	  turnOver(false), shotTimer(nullptr), lastScorer(nullptr), announcementMode(ANNOUNCE_NONE), screenWidth(640),
	  screenHeight(480), musicOn(false), drawing(true), pausable(true), observer(nullptr), seed(Random::ClockSeed()),
	  replayShown(false) {}

InGame::~InGame() {
	Deinit();
}

const OptionsRecord &InGame::GetOptions() const {
	return matchOptions ? *matchOptions : g_options;
}

void InGame::SetMatchOptions(const OptionsRecord &options) {
	matchOptions.reset(new OptionsRecord(options));
}

void InGame::SetObserver(MatchObserver *observer_) {
	observer = observer_;
	events.SetObserver(observer_);
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
	announcement.smooth = VideoConfig::ScreenScale(screenWidth, screenHeight) != 1.0f;
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
	controls.SetUp(options, *world->GetArena(), random);
	if (!SetUpMatchView(options, *world, guide, hud, this, screenWidth, screenHeight)) {
		return false;
	}
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
	if (observer) {
		observer->SoundPlayed(slot);
	}
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
	if (menu.IsOpen() && phase != PHASE_MENU_OPEN) {
		// Over play that goes on.
		menu.HandleEvents();
		if (!AnswerMenu()) {
			return false;
		}
	}
	switch (phase) {
	case PHASE_AFTER_GOAL:
		// With replays on, the goal is shown again first.
		if (!replayShown && replay.IsSetUp() && replay.Start()) {
			replayShown = true;
			phase = PHASE_REPLAY;
			if (!menu.IsOpen()) {
				HoldInputOver();
			}
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
	return AnswerMenu();
}

bool InGame::AnswerMenu() {
	switch (menu.GetAnswer()) {
	case InGameMenu::ANSWER_YES: menu.Close(); return false;
	case InGameMenu::ANSWER_NO:
		// Escape that resumed play is still down: it must not open the menu again at once.
		controls.HoldEscapeOver(menu.WasLeftWithEscape());
		menu.Close();
		Log(LOG_MESSAGE, "INGAME: Play goes on");
		if (phase == PHASE_MENU_OPEN) {
			phase = PHASE_PLAYING;
		}
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
	if (TakeMatchInput(&keys, &keyCount, pads)) {
		controls.AnyPressed(keys, keyCount, pads);
	}
}

void InGame::ReplayFrame() {
	AdvanceTimer();
	// Any key or button skips; the clocks stand still, since no event runs meanwhile.
	const uint8_t *keys = nullptr;
	int keyCount = 0;
	const NI_Joystick *pads[2] = {nullptr, nullptr};
	const bool skip =
		!menu.IsOpen() && TakeMatchInput(&keys, &keyCount, pads) && controls.AnyPressed(keys, keyCount, pads);
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
	// The menu open over play takes the events.
	const bool input = !menu.IsOpen() && TakeMatchInput(&keys, &keyCount, pads);
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
		if (!menu.IsOpen()) {
			ReadInput(keys, keyCount, pads, now);
		}
		if (controls.IsMenuRequested() && !menu.IsOpen() && !pausable) {
			Log(LOG_MESSAGE, "INGAME: The menu is open; play goes on");
			menu.Open(screenWidth, screenHeight);
		} else if (controls.IsMenuRequested() && !menu.IsOpen()) {
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
	const bool human = activeSide != 0 && controls.IsSteeredHere(activeSide);
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
	const MatchView view = {world.get(), &hud, &controls, &menu, &replay, &announcement, announcementMode,
		phase == PHASE_REPLAY, GetActiveDisc(), screenWidth, screenHeight, frameTime};
	DrawMatchView(view);
}
