#include "match/InGame.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <algorithm>
#include <cstring>

#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/Overlay2D.h"
#include "core/Screenshot.h"
#include "core/VideoConfig.h"
#include "options/NameTable.h"
#include "options/OptionsRecord.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "input/NoxInput.h"
#include "match/Camera.h"
#include "audio/SoundBank.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/BallWallHitEvent.h"
#include "world/CountdownEvent.h"
#include "world/Disc.h"
#include "world/DiscBallHitEvent.h"
#include "world/DiscDiscHitEvent.h"
#include "world/DiscWallHitEvent.h"
#include "world/GoalEvent.h"
#include "world/MatchClockEvent.h"
#include "world/ParticleEmitter.h"
#include "world/SceneLights.h"
#include "world/Shadow.h"
#include "world/ShotTurnEvent.h"
#include "world/SkyBox.h"
#include "world/TrophyEvent.h"

namespace {

const int MAX_CONTACTS = 6;
const float SHADOW_LIGHT_Y = 25.0f;  // units
const float SHADOW_LIGHT_Z = 40.0f;  // units
const float ARENA_Z = -2.0f;         // units
const int KEY_ESCAPE = SDLK_ESCAPE;

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

void StopBody(GameObject *object, const sgVec3 at) {
	sgVec3 zero = {0, 0, 0};
	object->SetVelocity(zero);
	object->SetPosition(at);
}

} // namespace

InGame::InGame()
	: phase(PHASE_STARTING), menuRequested(false), frameTime(0), previousKeys(), sceneRoot(nullptr),
	  skyRoot(nullptr), odeStarted(false), world(nullptr), space(nullptr), contactGroup(nullptr), cameras(), mainCamera(CAMERA_BALL),
	  miniCamera(CAMERA_XENO), skyBox(nullptr), ball(nullptr), disc1(nullptr), disc2(nullptr), activeDisc(nullptr),
	  aim1(nullptr), aim2(nullptr), activeAim(nullptr), shadows(), turnOver(false), shotTimer(nullptr),
	  lastScorer(nullptr), periodTimeLeft(0), periodIndex(-1), physicsTime(0), collisionWait(0),
	  miniViewShown(false), night(0), announcementMode(ANNOUNCE_NONE), pauseTime(0), showFps(false), screenshotRequested(false),
	  computer1(random), computer2(random), hasComputer1(false), hasComputer2(false), arena(nullptr), sparks(), screenWidth(640), screenHeight(480),
	  contactFlags(0), contactSeen(false), musicOn(false), seed(Random::ClockSeed()),
	  drawing(true), eventsAdded(0), escapeHeldOver(false) {}

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
	events.reserve(64);

	menuRequested = false;
	escapeHeldOver = false;
	memset(previousKeys, 0, sizeof(previousKeys));
	phase = PHASE_STARTING;
	miniViewShown = false;

	Log(LOG_MESSAGE, "INGAME: World...");
	sceneRoot = new ssgRoot();
	skyRoot = new ssgRoot();

	night = options.daytime == DAYTIME_RANDOM ? random.Below(2) : (options.daytime == DAYTIME_NIGHT ? 1 : 0);

	Log(LOG_MESSAGE, "INGAME: Lights...");
	SetUpArenaLights(night != 0, options.daytime == DAYTIME_NIGHT);

	dInitODE();
	odeStarted = true;
	world = dWorldCreate();
	space = dSimpleSpaceCreate(nullptr);
	dWorldSetGravity(world, 0, 0, 0);
	contactGroup = dJointGroupCreate(0);

	Log(LOG_MESSAGE, "INGAME: SkyBox...");
	skyBox = new SkyBox();
	if (!skyBox->Load(skyRoot, night, random)) {
		Log(LOG_ERROR, "SkyBox initialization failed!");
		return false;
	}

	ball = new Ball();
	ball->Create(sceneRoot, world, space);
	if (!ball->Load()) {
		Log(LOG_ERROR, "Ball initialization failed!");
		return false;
	}

	int arenaIndex = options.arena == -1 ? random.Below(2) : options.arena;
	arena = new Arena(random);
	arena->Create(sceneRoot, world, space);
	if (!arena->Load(ArenaName(arenaIndex), night)) {
		Log(LOG_ERROR, "Arena initialization failed!");
		return false;
	}

	disc1 = new Disc();
	disc1->Create(sceneRoot, world, space);
	if (!disc1->Load(CharacterName(options.character[0]))) {
		Log(LOG_ERROR, "Disc1 initialization failed!");
		return false;
	}
	disc2 = new Disc();
	disc2->Create(sceneRoot, world, space);
	if (!disc2->Load(CharacterName(options.character[1]))) {
		Log(LOG_ERROR, "Disc2 initialization failed!");
		return false;
	}

	aim1 = new Aim();
	aim1->Init(sceneRoot, disc1);
	if (!aim1->Load()) {
		Log(LOG_ERROR, "Aim1 initialization failed!");
		return false;
	}
	aim2 = new Aim();
	aim2->Init(sceneRoot, disc2);
	if (!aim2->Load()) {
		Log(LOG_ERROR, "Aim2 initialization failed!");
		return false;
	}

	if (options.mode == MODE_PL1_VS_PC || options.mode == MODE_PC_VS_PC) {
		computer1.SetGoal(arena->GetGoal1CentreX(), arena->GetGoal1CentreY());
		hasComputer1 = true;
	}
	if (options.mode == MODE_PC_VS_PC) {
		computer2.SetGoal(arena->GetGoal2CentreX(), arena->GetGoal2CentreY());
		hasComputer2 = true;
	}

	if (night == 0 && !SetUpShadows()) {
		return false;
	}

	Log(LOG_MESSAGE, "INGAME: Cameras...");
	mainCamera = CAMERA_BALL;
	miniCamera = CAMERA_XENO;
	for (int i = 0; i < MATCH_CAMERA_COUNT; i++) {
		cameras[i] = new Camera();
		SetUpMatchCamera(*cameras[i], i, screenWidth, screenHeight, disc1, ball);
	}

	static const char *const sparkNames[2] = {"disc_disc", "disc_wall"};
	for (int i = 0; i < 2; i++) {
		sparks[i] = new ParticleEmitter(random);
		sparks[i]->Create(sceneRoot);
		sparks[i]->Load(sparkNames[i]);
	}

	Log(LOG_MESSAGE, "INGAME: HUD initialization...");
	if (!hud.Init(screenWidth, screenHeight, this, g_timer)) {
		return false;
	}
	Log(LOG_MESSAGE, "INGAME: HUD initialization done!");

	if (!LoadSounds()) {
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
	showFps = false;
	return true;
}

bool InGame::SetUpShadows() {
	struct ShadowSetUp {
		GameObject *followed;
		const char *model;
		const char *failure;
	};
	const ShadowSetUp setUps[SHADOW_COUNT] = {
		{disc1, "shadow_disc", "ShadowDisc1 initialization failed!"},
		{disc2, "shadow_disc", "ShadowDisc2 initialization failed!"},
		{ball, "shadow_ball", "ShadowBall initialization failed!"},
	};
	for (int i = 0; i < SHADOW_COUNT; i++) {
		shadows[i] = new Shadow();
		shadows[i]->Init(sceneRoot, setUps[i].followed);
		if (!shadows[i]->Load(setUps[i].model)) {
			Log(LOG_ERROR, "%s", setUps[i].failure);
			return false;
		}
		shadows[i]->SetLightCount(1);
		shadows[i]->SetLight(0, skyBox->GetSunX(), SHADOW_LIGHT_Y, SHADOW_LIGHT_Z);
	}
	return true;
}

bool InGame::LoadSounds() {
	for (const MatchSound &sound : MATCH_SOUNDS) {
		if (!g_sound || !g_sound->LoadSample(sound.file, sound.slot, false)) {
			Log(LOG_ERROR, "%s", sound.failure);
			return false;
		}
	}
	return true;
}

void InGame::Deinit() {
	if (!sceneRoot) {
		return; // never set up, or already torn down
	}
	Log(LOG_MESSAGE, "INGAME: Deinitialization...");
	menu.Close();
	if (musicOn && g_sound) {
		g_sound->StopMusic();
	}
	for (MatchEvent *event : events) {
		event->Abort();
		delete event;
	}
	events.clear();
	shotTimer = nullptr;

	for (ParticleEmitter *&emitter : sparks) {
		if (emitter) {
			emitter->Destroy();
			delete emitter;
			emitter = nullptr;
		}
	}
	hud.Deinit();
	for (int i = SHADOW_COUNT - 1; i >= 0; i--) {
		if (shadows[i]) {
			shadows[i]->Deinit();
			delete shadows[i];
			shadows[i] = nullptr;
		}
	}
	hasComputer1 = hasComputer2 = false;

	if (ball) {
		ball->Destroy();
		delete ball;
		ball = nullptr;
	}
	for (Aim **aim : {&aim1, &aim2}) {
		if (*aim) {
			(*aim)->Deinit();
			delete *aim;
			*aim = nullptr;
		}
	}
	activeAim = nullptr;
	for (GameObject *object : std::initializer_list<GameObject *>{disc1, disc2, arena}) {
		if (object) {
			object->Destroy();
			delete object;
		}
	}
	disc1 = disc2 = activeDisc = lastScorer = nullptr;
	arena = nullptr;
	if (skyBox) {
		skyBox->Deinit();
		delete skyBox;
		skyBox = nullptr;
	}
	for (Camera *&camera : cameras) {
		if (camera) {
			Log(LOG_MESSAGE, "CAMERA: Deinitialization...");
			delete camera;
			camera = nullptr;
		}
	}
	if (contactGroup) {
		dJointGroupEmpty(contactGroup);
		dJointGroupDestroy(contactGroup);
		contactGroup = nullptr;
	}
	if (space) {
		dSpaceDestroy(space);
		space = nullptr;
	}
	if (world) {
		dWorldDestroy(world);
		world = nullptr;
	}
	if (odeStarted) {
		dCloseODE();
		odeStarted = false;
	}
	delete sceneRoot;
	sceneRoot = nullptr;
	delete skyRoot;
	skyRoot = nullptr;
}

void InGame::AddEvent(MatchEvent *event) {
	events.push_back(event);
	eventsAdded++;
}

void InGame::RecordGoal(Disc *disc) {
	lastScorer = disc;
	disc->AddGoal();
}

void InGame::SetBallHidden(bool hidden) {
	ball->SetHidden(hidden);
	if (shadows[SHADOW_BALL]) {
		shadows[SHADOW_BALL]->SetHidden(hidden);
	}
}

ParticleEmitter *InGame::GetSparks(int which) const {
	return which == SPARKS_DISC_DISC || which == SPARKS_DISC_WALL ? sparks[which] : nullptr;
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

Camera *InGame::GetCamera(int index) const {
	return index >= 0 && index < MATCH_CAMERA_COUNT ? cameras[index] : nullptr;
}

const ComputerPlayer *InGame::GetComputer(int side) const {
	if (side == 2) {
		return hasComputer1 ? &computer1 : nullptr;
	}
	return hasComputer2 ? &computer2 : nullptr;
}

// ---------------------------------------------------------------------------------------------
// The frame

bool InGame::Frame() {
	switch (phase) {
	case PHASE_AFTER_GOAL:
		RestartAfterGoal();
		ResetPhysicsClock();
		StartCountdown();
		phase = PHASE_PLAYING;
		return true;
	case PHASE_NEXT_PERIOD:
		if (periodIndex < PERIOD_COUNT - 1) {
			activeAim = random.Below(2) ? aim1 : aim2;
			StartPeriod();
			ResetPhysicsClock();
			StartCountdown();
			phase = PHASE_PLAYING;
			periodIndex++;
		} else {
			TrophyEvent *trophy = new TrophyEvent(this, disc1, disc2);
			trophy->Start();
			AddEvent(trophy);
			phase = PHASE_PLAYING;
		}
		return true;
	case PHASE_PLAYING:
		PlayFrame();
		return true;
	case PHASE_STARTING:
		phase = PHASE_NEXT_PERIOD;
		if (musicOn && g_sound) {
			g_sound->StopMusic();
			g_sound->PlayMusic();
		}
		return true;
	case PHASE_MENU_OPEN:
		return MenuFrame();
	case PHASE_FINISHED:
		return false;
	default:
		return true;
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
	arena->Update(frameTime); // the torches and the drifting particles go on moving
	if (drawing) {
		Draw();
	}
	switch (menu.GetAnswer()) {
	case InGameMenu::ANSWER_YES:
		menu.Close();
		return false;
	case InGameMenu::ANSWER_NO:
		// Escape that resumed play is still down: it must not open the menu again at once.
		escapeHeldOver = menu.WasLeftWithEscape();
		menu.Close();
		phase = PHASE_PLAYING;
		menuRequested = false;
		return true;
	default:
		return true;
	}
}

void InGame::PlayFrame() {
	AdvanceTimer();

	if (!IsFrozen()) {
		ReadInput();
		if (menuRequested) {
			// The time the menu stays open is not simulated afterwards.
			pauseTime = g_timer->GetTime();
			phase = PHASE_MENU_OPEN;
			menu.Open(screenWidth, screenHeight);
			return;
		}
		StepPhysics();
	}
	UpdateEvents();
	if (drawing) {
		Draw();
	}
}

bool InGame::KeyPressed(const uint8_t *keys, int keyCount, int key) const {
	return key < keyCount && key < KEY_STATES && keys[key] && !previousKeys[key];
}

void InGame::ReadInput() {
	if (!g_input) {
		return;
	}
	g_input->FreeEvent(g_input->GetEvent());
	NI_Keyboard *keyboard = g_input->GetKeyboard(0);
	if (!keyboard || !keyboard->keys) {
		return;
	}
	const uint8_t *keys = keyboard->keys;
	const int keyCount = std::min(keyboard->keyCount, static_cast<int>(KEY_STATES));

	const bool escape = KEY_ESCAPE < keyCount && keys[KEY_ESCAPE];
	escapeHeldOver = escapeHeldOver && escape;
	if (escape && !escapeHeldOver) {
		menuRequested = true;
	}

	static const int mainKeys[] = {SDLK_F1, SDLK_F2, SDLK_F3, SDLK_F4};
	static const int miniKeys[] = {SDLK_F5, SDLK_F6, SDLK_F7, SDLK_F8};
	bool handled = false;
	for (int i = 0; i < 4 && !handled; i++) {
		if (KeyPressed(keys, keyCount, mainKeys[i])) {
			mainCamera = CAMERA_XENO + i;
			handled = true;
		}
	}
	if (!handled && KeyPressed(keys, keyCount, SDLK_F10)) {
		screenshotRequested = true;
		handled = true;
	}
	if (!handled && KeyPressed(keys, keyCount, SDLK_F9)) {
		showFps = !showFps;
		handled = true;
	}
	for (int i = 0; i < 4 && !handled; i++) {
		if (KeyPressed(keys, keyCount, miniKeys[i])) {
			int camera = CAMERA_XENO_MINI + i;
			if (miniViewShown && miniCamera == camera) {
				miniViewShown = false;
			} else {
				miniViewShown = true;
				miniCamera = camera;
			}
			handled = true;
		}
	}

	Steer(keys, keyCount);
	memcpy(previousKeys, keys, keyCount);
}

void InGame::Steer(const uint8_t *keys, int keyCount) {
	const OptionsRecord &options = GetOptions();
	bool fire = false;
	if (activeAim == aim2) {
		if (options.mode == MODE_PL1_VS_PL2) {
			fire = aim2->ApplyKeys(options.keys2, keys, previousKeys, keyCount);
		} else if (hasComputer1) {
			SteerWithComputer(aim2, computer1, disc2, disc1);
		}
	}
	if (activeAim == aim1) {
		if (options.mode != MODE_PC_VS_PC) {
			fire = aim1->ApplyKeys(options.keys1, keys, previousKeys, keyCount) || fire;
		} else if (hasComputer2) {
			SteerWithComputer(aim1, computer2, disc1, disc2);
		}
	}
	if (fire && shotTimer) {
		shotTimer->Fire();
	}
}

void InGame::SteerWithComputer(Aim *aim, ComputerPlayer &computer, Disc *own, Disc *other) {
	sgVec3 ballAt, aimAt, ownAt, otherAt;
	ball->GetPosition(ballAt);
	aim->GetAimPoint(aimAt);
	own->GetPosition(ownAt);
	other->GetPosition(otherAt);
	int bits = computer.Think(ballAt[0], ballAt[1], aimAt[0], aimAt[1], ownAt[0], ownAt[1], otherAt[0],
		otherAt[1], frameTime);
	if (aim->ApplyDecision(bits) && shotTimer) {
		shotTimer->Fire();
	}
}

void InGame::CollisionPass() {
	contactSeen = false;
	dJointGroupEmpty(contactGroup);
	dSpaceCollide(space, this, NearCallback);
	if (!contactSeen) {
		contactFlags = 0;
	}
}

void InGame::NearCallback(void *data, dGeomID g1, dGeomID g2) {
	static_cast<InGame *>(data)->Collide(g1, g2);
}

void InGame::Collide(dGeomID g1, dGeomID g2) {
	dContact contacts[MAX_CONTACTS];
	int count = dCollide(g1, g2, MAX_CONTACTS, &contacts[0].geom, sizeof(dContact));
	if (count < 1) {
		return;
	}
	contactSeen = true;
	dBodyID b1 = dGeomGetBody(g1);
	dBodyID b2 = dGeomGetBody(g2);
	dBodyID ballBody = ball->GetBody();
	dBodyID disc1Body = disc1->GetBody();
	dBodyID disc2Body = disc2->GetBody();
	auto pair = [&](dBodyID a, dBodyID b) { return (b1 == a && b2 == b) || (b1 == b && b2 == a); };
	// The geometry without a body is a wall (or a goal wall) of the arena.
	dGeomID wall = b1 ? (b2 ? nullptr : g2) : g1;

	for (int i = 0; i < count; i++) {
		dContact &contact = contacts[i];
		contact.surface.mode = dContactBounce;
		contact.surface.mu = 0;
		contact.surface.bounce_vel = 0.001;
		bool makeJoint = false;
		const float at[3] = {static_cast<float>(contact.geom.pos[0]), static_cast<float>(contact.geom.pos[1]),
			static_cast<float>(contact.geom.pos[2])};

		if (pair(disc1Body, disc2Body)) {
			if (!(contactFlags & CONTACT_DISC_DISC)) {
				DiscDiscHitEvent *event = new DiscDiscHitEvent(this, disc1, disc2);
				const float params[3] = {at[0], at[1], 2.0f};
				event->SetParams(params, 3);
				event->Start();
				AddEvent(event);
				contactFlags |= CONTACT_DISC_DISC;
			}
			contact.surface.bounce = 0.001f;
			makeJoint = true;
		} else if (pair(ballBody, disc1Body) || pair(ballBody, disc2Body)) {
			bool first = pair(ballBody, disc1Body);
			int flag = first ? CONTACT_BALL_DISC1 : CONTACT_BALL_DISC2;
			if (!(contactFlags & flag)) {
				DiscBallHitEvent *event = new DiscBallHitEvent(this, first ? disc1 : disc2, ball);
				event->Start();
				AddEvent(event);
				contactFlags |= flag;
			}
			contact.surface.bounce = 0.3f;
			makeJoint = true;
		} else if (wall && (pair(disc1Body, nullptr) || pair(disc2Body, nullptr))) {
			bool first = pair(disc1Body, nullptr);
			int flag = first ? CONTACT_DISC1_WALL : CONTACT_DISC2_WALL;
			if (!(contactFlags & flag)) {
				DiscWallHitEvent *event = new DiscWallHitEvent(this, first ? disc1 : disc2);
				const float params[3] = {at[0], at[1], 1.0f};
				event->SetParams(params, 3);
				event->Start();
				AddEvent(event);
				contactFlags |= flag;
			}
			contact.surface.bounce = arena->GetDiscWallBounce();
			makeJoint = true;
		} else if (wall && pair(ballBody, nullptr)) {
			Disc *scorer = nullptr;
			const float half = arena->GetGoalHalfWidth();
			if (wall == arena->GetGoal2Wall() && at[1] > arena->GetGoal2CentreY() - half &&
				at[1] < arena->GetGoal2CentreY() + half) {
				scorer = disc1;
			} else if (wall == arena->GetGoal1Wall() && at[1] > arena->GetGoal1CentreY() - half &&
				at[1] < arena->GetGoal1CentreY() + half) {
				scorer = disc2;
			}
			if (scorer) {
				// No joint: the ball passes into the goal.
				GoalEvent *event = new GoalEvent(this, scorer);
				event->Start();
				AddEvent(event);
			} else {
				if (!(contactFlags & CONTACT_BALL_WALL)) {
					BallWallHitEvent *event = new BallWallHitEvent(this, ball);
					event->Start();
					AddEvent(event);
					contactFlags |= CONTACT_BALL_WALL;
				}
				contact.surface.bounce = arena->GetBallWallBounce();
				makeJoint = true;
			}
		}
		if (makeJoint) {
			dJointID joint = dJointCreateContact(world, contactGroup, &contact);
			dJointAttach(joint, b1, b2);
		}
	}
}

void InGame::StepPhysics() {
	sgVec3 at;
	disc1->GetPosition(at);
	aim1->SetOrigin(at);
	disc2->GetPosition(at);
	aim2->SetOrigin(at);
	aim1->Update(frameTime);
	aim2->Update(frameTime);

	uint32_t now = pauseTime != 0 ? pauseTime : g_timer->GetTime();
	// Collisions are looked for every COLLISION_WAIT ms of simulated time, so a long frame's
	// catch-up steps never run blind; a goal found on the way freezes play at once.
	while (static_cast<int32_t>(physicsTime - now) < 0 && !IsFrozen()) {
		if (collisionWait >= COLLISION_WAIT) {
			CollisionPass();
			collisionWait = 0;
		}
		disc1->ApplyFriction();
		disc2->ApplyFriction();
		ball->ApplyFriction();
		dWorldStep(world, 0.01f);
		physicsTime += PHYSICS_STEP;
		collisionWait += PHYSICS_STEP;
	}
	if (pauseTime != 0) {
		// Time spent paused is not simulated.
		physicsTime = g_timer->GetTime();
		pauseTime = 0;
	}
	UpdateObjects(frameTime);
}

void InGame::UpdateObjects(int dt) {
	ball->Update(dt);
	disc1->Update(dt);
	disc2->Update(dt);
	for (Shadow *shadow : shadows) {
		if (shadow) {
			shadow->Update(dt);
		}
	}
	arena->Update(dt);
}

void InGame::UpdateEvents() {
	for (size_t i = 0; i < events.size();) {
		MatchEvent *event = events[i];
		if (event->Update(frameTime)) {
			i++;
			continue;
		}
		event->Finish();
		if (event == shotTimer) {
			shotTimer = nullptr;
		}
		delete event;
		events.erase(events.begin() + i);
	}
	if (turnOver) {
		NextTurn();
	}
}

// ---------------------------------------------------------------------------------------------
// Rules

void InGame::GiveTurn(int side) {
	Aim *mine = side == 1 ? aim1 : aim2;
	Aim *theirs = side == 1 ? aim2 : aim1;
	activeAim = mine;
	activeDisc = side == 1 ? disc1 : disc2;
	disc1->SetActive(side == 1);
	disc2->SetActive(side == 2);
	mine->Reset(side == 1 ? Aim::START_OFFSET : -Aim::START_OFFSET);
	mine->Update(frameTime);
	mine->SetHidden(false);
	theirs->SetHidden(true);
	turnOver = false;
}

void InGame::StartTurn(int side) {
	GiveTurn(side);
	ShotTurnEvent *turn = new ShotTurnEvent(this, activeDisc, activeAim, ball);
	turn->Start();
	AddEvent(turn);
}

void InGame::NextTurn() {
	StartTurn(activeAim != aim1 ? 1 : 2);
}

void InGame::DropShotTimer(bool abort) {
	if (!shotTimer) {
		return;
	}
	auto found = std::find(events.begin(), events.end(), static_cast<MatchEvent *>(shotTimer));
	if (found != events.end()) {
		events.erase(found);
	}
	if (abort) {
		shotTimer->Abort();
	}
	delete shotTimer;
	shotTimer = nullptr;
}

void InGame::StartPeriod() {
	DropShotTimer(true);
	ResetPositions();
	MatchClockEvent *clock = new MatchClockEvent(this);
	clock->Start();
	AddEvent(clock);
	NextTurn();
}

void InGame::RestartAfterGoal() {
	DropShotTimer(false);
	ResetPositions();
	StartTurn(lastScorer == disc1 ? 2 : 1);
}

void InGame::StartCountdown() {
	CountdownEvent *countdown = new CountdownEvent(this);
	countdown->Start();
	AddEvent(countdown);
}

void InGame::ResetPositions() {
	arena->SetPosition(0.0f, 0.0f, ARENA_Z);
	sgVec3 start;
	arena->GetBallStart(start);
	StopBody(ball, start);
	arena->GetDisc1Start(start);
	StopBody(disc1, start);
	arena->GetDisc2Start(start);
	StopBody(disc2, start);
	aim1->Reset(Aim::START_OFFSET);
	aim2->Reset(-Aim::START_OFFSET);
	ResetPanningCamera(*cameras[CAMERA_XENO]);
	ResetPanningCamera(*cameras[CAMERA_BALL]);
	// Joints of the last pass would push the bodies away from their spots.
	dJointGroupEmpty(contactGroup);
	contactFlags = 0;
	UpdateObjects(0);
}

void InGame::ResetPhysicsClock() {
	g_timer->Update();
	physicsTime = g_timer->GetTime();
	collisionWait = 0;
	frameTime = 0;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void InGame::DrawView(Camera *camera, int cameraIndex, int dt) {
	ApplyFollowRule(*camera, cameraIndex, *ball, activeDisc);
	camera->Update(dt);
	sgVec3 eye;
	camera->GetEye(eye);
	skyBox->SetCentre(eye);
}

void InGame::Draw() {
	Camera *main = cameras[mainCamera];
	DrawView(main, mainCamera, frameTime);
	skyBox->Update(frameTime);
	glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	ssgCullAndDraw(skyRoot);
	glClear(GL_DEPTH_BUFFER_BIT);
	ssgCullAndDraw(sceneRoot);

	Begin2D(screenWidth, screenHeight);
	hud.Draw(miniViewShown, showFps);
	DrawAnnouncement();
	if (phase == PHASE_MENU_OPEN) {
		menu.Draw(frameTime);
	}
	End2D();

	if (miniViewShown) {
		DrawView(cameras[miniCamera], miniCamera, frameTime);
		skyBox->Update(0);
		glClear(GL_DEPTH_BUFFER_BIT);
		ssgCullAndDraw(skyRoot);
		glClear(GL_DEPTH_BUFFER_BIT);
		ssgCullAndDraw(sceneRoot);
	}
	if (screenshotRequested) {
		SaveScreenshot("screen.bmp", screenWidth, screenHeight);
		screenshotRequested = false;
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
	case ANNOUNCE_COUNTDOWN:
		draw(slots[SLOT_A], v[0], v[1], v[2], v[3]);
		break;
	case ANNOUNCE_TROPHY:
		draw(slots[SLOT_A], v[0], v[1], v[2], v[3]);
		if (slots[SLOT_C]) {
			draw(slots[SLOT_B], v[4], v[5], 0.25f, 0.25f);
			draw(slots[SLOT_C], v[6], v[7], 0.25f, 0.25f);
		} else {
			draw(slots[SLOT_B], v[6], v[7], v[4], v[5]);
		}
		break;
	default:
		break;
	}
}
