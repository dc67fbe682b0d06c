#include "frontend/MenuState.h"

#include <SDL/SDL.h>

#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/Overlay2D.h"
#include "core/VideoConfig.h"
#include "frontend/KeysScreen.h"
#include "frontend/MainMenuScreen.h"
#include "frontend/OnlineScreen.h"
#include "match/NetPlay.h"
#include "options/NameTable.h"
#include "options/OptionsRecord.h"
#include "frontend/OptionsScreen.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "input/NoxInput.h"
#include "audio/SoundBank.h"
#include "world/SceneLights.h"
#include "world/SkyBox.h"

const char *const MenuState::CAMERA_PATHS[CAMERA_PATH_COUNT] = {
	"data/misc/menu1.cam", "data/misc/menu2.cam", "data/misc/menu3.cam", "data/misc/menu4.cam"};

namespace {

// Where the mouse was last seen, kept from one visit of the menu to the next.
int s_mouseX = 0; // pixels
int s_mouseY = 0; // pixels

const int RANDOM_ARENA_AT_START = 0;  // "xeno"
const int RANDOM_ARENA_ON_CHANGE = 1; // "tris"

bool LoadPicture(GL2D_SimpleBmpRect *&picture, const char *file, float scale) {
	picture = new GL2D_SimpleBmpRect();
	picture->SetSmooth(scale != 1.0f);
	if (!picture->Load(file)) {
		Log(LOG_ERROR, "MENU: %s loading failed!", file);
		return false;
	}
	return true;
}

} // namespace

MenuState::MenuState(NetPlay *net_)
	: width(0), height(0), currentScreen(SCREEN_NONE), requestedScreen(SCREEN_NONE), screen(nullptr),
	  nextState(STATE_QUIT), finished(false), logo(nullptr), version(nullptr), musicLoaded(false),
	  ownNet(net_ ? nullptr : new NetPlay()), net(net_ ? net_ : ownNet.get()) {}

MenuState::~MenuState() {
	MenuLeave();
}

int MenuState::GetMouseX() const {
	return s_mouseX;
}

int MenuState::GetMouseY() const {
	return s_mouseY;
}

void MenuState::SetMousePosition(int x, int y) {
	s_mouseX = x;
	s_mouseY = y;
}

bool MenuState::Enter() {
	int w = 640, h = 480;
	if (g_videoConfig) {
		w = g_videoConfig->Width();
		h = g_videoConfig->Height();
	}
	// The command line's hosting or joining, or how a network match ended.
	const bool online = net->TakeShowAfterMatch() || net->HasStartRequest();
	return MenuEnter(w, h) && ShowScreen(online ? SCREEN_ONLINE : SCREEN_MAIN);
}

bool MenuState::MenuEnter(int screenWidth, int screenHeight) {
	width = screenWidth;
	height = screenHeight;
	currentScreen = requestedScreen = SCREEN_NONE;
	finished = false;
	nextState = STATE_QUIT;

	if (!g_sound || !g_sound->LoadSample("data/sounds/btn_focus.wav", SOUND_BUTTON_FOCUS, false)) {
		Log(LOG_ERROR, "SOUND: BTN_FOCUS loading failed!");
		return false;
	}
	musicLoaded = g_sound->LoadMusic("data/sounds/tavro_menu.xm");
	if (!musicLoaded) {
		Log(LOG_ERROR, "SOUND: MUSIC loading failed!");
		return false;
	}
	g_sound->PlayMusic();
	const float scale = VideoConfig::ScreenScale(width, height);
	if (!LoadPicture(logo, "data/rects/tavro.nsbr", scale) || !LoadPicture(version, "data/rects/version.nsbr", scale)) {
		return false;
	}

	const int night = g_options.daytime == DAYTIME_NIGHT ? 1 : 0;
	SetUpArenaLights(night != 0, night != 0);
	backdrop.Init("MenuCam", width, height, Camera::MODE_PATH);
	Camera &camera = backdrop.GetCamera();
	camera.Path().Load(CAMERA_PATHS[0]);
	camera.Update(0);
	if (!backdrop.LoadSky(night)) {
		Log(LOG_ERROR, "SkyBox initialization failed!");
		return false;
	}
	if (!LoadArena(g_options.arena, RANDOM_ARENA_AT_START)) {
		Log(LOG_ERROR, "Arena initialization failed!");
		return false;
	}
	if (g_input) {
		g_input->RescanJoysticks(); // a pad plugged in meanwhile joins here
		g_input->SetInputMode(NI_MODE_EVENTS);
	}
	SDL_WarpMouse(static_cast<Uint16>(width / 2), static_cast<Uint16>(height / 2));
	return true;
}

bool MenuState::LoadArena(int arenaOption, int randomArena) {
	const int index = arenaOption == -1 ? randomArena : arenaOption;
	const int night = backdrop.GetSkyBox() ? backdrop.GetSkyBox()->IsNight() : 0;
	return backdrop.LoadArena(ArenaName(index), night, ARENA_Z);
}

bool MenuState::ShowScreen(int number) {
	delete screen;
	screen = nullptr;
	switch (number) {
	case SCREEN_MAIN: screen = new MainMenuScreen(*this); break;
	case SCREEN_OPTIONS: screen = new OptionsScreen(*this); break;
	case SCREEN_KEYS1: screen = new KeysScreen(*this, 0); break;
	case SCREEN_KEYS2: screen = new KeysScreen(*this, 1); break;
	case SCREEN_ONLINE: screen = new OnlineScreen(*this, *net); break;
	default: break;
	}
	if (screen) {
		screen->Build();
	}
	if (g_timer) {
		g_timer->Update();
	}
	currentScreen = number;
	requestedScreen = SCREEN_NONE;
	return true;
}

void MenuState::FlyNextPath() {
	Camera &camera = backdrop.GetCamera();
	camera.Path().Load(CAMERA_PATHS[backdrop.GetRandom().Below(CAMERA_PATH_COUNT)]);
	camera.RestartPath();
	camera.Update(0);
}

void MenuState::Finish(GameState next) {
	nextState = next;
	finished = true;
}

bool MenuState::Frame() {
	int frameTime = 0;
	if (g_timer) {
		g_timer->Update();
		const int32_t elapsed = static_cast<int32_t>(g_timer->GetFrameTime());
		frameTime = elapsed < 0 ? 0 : elapsed;
	}
	if (backdrop.GetCamera().PathFinished()) {
		FlyNextPath();
	}

	PumpEvents();
	if (g_input) {
		while (g_input->HasEvent()) {
			NI_Event *event = g_input->GetEvent();
			if (screen && !finished) {
				screen->HandleEvent(event);
			}
			g_input->FreeEvent(event);
		}
	}

	net->Service();
	if (screen && !finished) {
		screen->Update(frameTime);
	}
	backdrop.Update(frameTime);
	backdrop.Draw();
	Begin2D(width, height);
	if (screen) {
		screen->DrawOverlay(frameTime);
	}
	End2D();
	SwapBuffers();

	if (requestedScreen != SCREEN_NONE && !finished) {
		ShowScreen(requestedScreen);
	}
	return !finished;
}

void MenuState::ChangeDaytime(int daytime) {
	if (daytime != DAYTIME_DAY && daytime != DAYTIME_NIGHT) {
		return; // "RANDOM" changes only the caption
	}
	const bool night = daytime == DAYTIME_NIGHT;
	SetUpArenaLights(night, night);
	backdrop.LoadSky(night ? 1 : 0);
	LoadArena(g_options.arena, RANDOM_ARENA_ON_CHANGE);
}

void MenuState::ChangeArena(int arena) {
	if (arena == 0 || arena == 1) {
		LoadArena(arena, RANDOM_ARENA_ON_CHANGE);
	}
}

void MenuState::GetLogoRect(int *x, int *y, int *w, int *h) const {
	const float scale = VideoConfig::ScreenScale(width, height);
	*x = width - VideoConfig::Scaled(250, scale);
	*y = height - VideoConfig::Scaled(110, scale);
	*w = logo ? VideoConfig::Scaled(logo->GetWidth(), scale) : 0;
	*h = logo ? VideoConfig::Scaled(logo->GetHeight(), scale) : 0;
}

void MenuState::GetVersionRect(int *x, int *y, int *w, int *h) const {
	const float scale = VideoConfig::ScreenScale(width, height);
	*x = VideoConfig::Scaled(4, scale);
	*y = height - VideoConfig::Scaled(24, scale);
	*w = version ? VideoConfig::Scaled(version->GetWidth(), scale) : 0;
	*h = version ? VideoConfig::Scaled(version->GetHeight(), scale) : 0;
}

void MenuState::DrawLogo() const {
	int x = 0, y = 0, w = 0, h = 0;
	GetLogoRect(&x, &y, &w, &h);
	if (logo) {
		logo->DrawScaledAt(x, y, VideoConfig::ScreenScale(width, height));
	}
}

void MenuState::DrawVersion() const {
	int x = 0, y = 0, w = 0, h = 0;
	GetVersionRect(&x, &y, &w, &h);
	if (version) {
		version->DrawScaledAt(x, y, VideoConfig::ScreenScale(width, height));
	}
}

void MenuState::MenuLeave() {
	delete screen;
	screen = nullptr;
	currentScreen = SCREEN_NONE;
	if (musicLoaded && g_sound) {
		g_sound->StopMusic();
	}
	musicLoaded = false;
	delete version;
	version = nullptr;
	delete logo;
	logo = nullptr;
	backdrop.Deinit();
}
