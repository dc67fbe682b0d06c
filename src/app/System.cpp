#include "app/System.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <cstring>

#include "app/QuitSignals.h"
#include "core/DisplayErrors.h"
#include "core/FrameTimer.h"
#include "core/UserFiles.h"
#include "core/LogFile.h"
#include "core/VideoConfig.h"
#include "options/OptionsFile.h"
#include "options/OptionsRecord.h"
#include "input/NoxInput.h"
#include "audio/SoundBank.h"

const char *const System::CAPTION = "Tavro v0.9 beta - (c) 2026 the Tavro team";
const char *const System::NO_VISUAL_ERROR = "matching GLX visual";

namespace {

SDL_Surface *SetVideoMode(int width, int height, int bitsPerPixel, int depthBits, bool fullscreen) {
	SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
	SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
	Uint32 flags = SDL_OPENGL | (fullscreen ? SDL_FULLSCREEN : 0);
	return SDL_SetVideoMode(width, height, bitsPerPixel, flags);
}

} // namespace

System::System()
	: setMode(SetVideoMode), toggle(SDL_WM_ToggleFullScreen), fullscreenChanged(false), screen(nullptr), screenWidth(0),
	  screenHeight(0), videoConfig(nullptr), input(nullptr), sound(nullptr) {}

System::~System() {
	Shutdown();
}

bool System::OpenScreen(const char *caption, int width, int height, int bitsPerPixel, bool fullscreen) {
	Log(LOG_MESSAGE, "INIT: Opening screen... (%dx%d, %d bits, %s", width, height, bitsPerPixel,
		fullscreen ? "Fullscreen)" : "Windowed)");
	// X refuses such sizes with an error that would end the process; 0 asks SDL for the desktop's.
	if (width < 0 || height < 0 || width > MAX_SCREEN_SIZE || height > MAX_SCREEN_SIZE) {
		Log(LOG_ERROR, "INIT: A window of %dx%d pixels cannot be opened", width, height);
		return false;
	}
	TakeDisplayErrors();
	// Many drivers offer no 32-bit depth buffer; fewer bits still make a playable game. Any other
	// refusal (a size, a colour depth) is not helped by asking again.
	static constexpr int depthSizes[] = {32, 24, 16};
	for (int depth : depthSizes) {
		screen = setMode(width, height, bitsPerPixel, depth, fullscreen);
		if (screen || !strstr(SDL_GetError(), NO_VISUAL_ERROR)) {
			break;
		}
		Log(LOG_WARNING, "INIT: No video mode with a %d-bit depth buffer", depth);
	}
	if (screen && TakeDisplayErrors() > 0) {
		screen = nullptr; // SDL_Quit frees it
	}
	if (!screen) {
		Log(LOG_ERROR, "INIT: %s", SDL_GetError());
		return false;
	}
	screenWidth = screen->w;
	screenHeight = screen->h;
	if (screenWidth != width || screenHeight != height) {
		Log(LOG_WARNING, "INIT: The window is %dx%d", screenWidth, screenHeight);
	}
	SDL_ShowCursor(SDL_DISABLE);
	SDL_WM_SetCaption(caption, nullptr);
	glMatrixMode(GL_PROJECTION);
	glLoadIdentity();
	glMatrixMode(GL_MODELVIEW);
	glLoadIdentity();
	Log(LOG_MESSAGE, "INIT: ...Done!");
	return true;
}

bool System::ToggleFullScreen() {
	const bool wanted = !videoConfig->Fullscreen();
	if (!screen || toggle(screen) != 1) {
		Log(LOG_WARNING, "INIT: Could not switch to %s; the screen stays as it was",
			wanted ? "the full screen" : "a window");
		return false;
	}
	videoConfig->SetFullscreen(wanted);
	fullscreenChanged = true;
	Log(LOG_MESSAGE, "INIT: Switched to %s", wanted ? "the full screen" : "a window");
	return true;
}

bool System::InitEngine() {
	Log(LOG_MESSAGE, "INIT: Engine initialization...");
	ssgInit();
	float nearPlane = 0.0f, farPlane = 0.0f;
	ssgGetNearFar(&nearPlane, &farPlane);
	ssgSetNearFar(nearPlane, 10000.0f);
	glEnable(GL_DEPTH_TEST);
	// Translucent models and particles fade with their alpha.
	glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
	Log(LOG_MESSAGE, "INIT: ...Done!");
	return true;
}

void System::DeinitEngine() {
	Log(LOG_MESSAGE, "DEINIT: Engine deinitialization...");
}

bool System::InitInput() {
	Log(LOG_MESSAGE, "INIT: Input initialization...");
	input = new NoxInput();
	if (!input->Init()) {
		return false;
	}
	input->EnableMouse(0, true);
	input->EnableKeyboard(0, true);
	input->EnableJoysticks(true);
	g_input = input;
	Log(LOG_MESSAGE, "INIT: ...Done!");
	return true;
}

void System::DeinitInput() {
	Log(LOG_MESSAGE, "DEINIT: Input deinitialization...");
	delete input;
	input = nullptr;
	g_input = nullptr;
}

void System::QuitSDL() {
	// The video surface belongs to SDL, which frees it in SDL_Quit.
	screen = nullptr;
	SDL_Quit();
	HoldQuitSignals(); // SDL_Quit gave them their default, deadly, handling back
	delete videoConfig;
	videoConfig = nullptr;
	g_videoConfig = nullptr;
}

bool System::Startup() {
	if (SDL_Init(SDL_INIT_VIDEO) < 0) {
		Log(LOG_ERROR, "SDL initialization failed!");
		return false;
	}
	InstallDisplayErrorHandlers();

	videoConfig = new VideoConfig();
	g_videoConfig = videoConfig;
	if (!videoConfig->Load(UserFilePath(USER_VIDEO_CONFIG))) {
		Log(LOG_WARNING, "Config file not found, using default values");
	}

	if (!OpenScreen(CAPTION, videoConfig->Width(), videoConfig->Height(), videoConfig->BitsPerPixel(),
			videoConfig->Fullscreen())) {
		Log(LOG_ERROR, "Could not open a SDL window!");
		QuitSDL();
		return false;
	}
	videoConfig->SetScreenSize(screenWidth, screenHeight);

	if (!InitEngine()) {
		Log(LOG_ERROR, "Engine initialization failed!");
		QuitSDL();
		return false;
	}

	if (!InitInput()) {
		Log(LOG_ERROR, "Input initialization failed!");
		DeinitInput();
		DeinitEngine();
		QuitSDL();
		return false;
	}

	sound = new SoundBank();
	if (!sound->Init()) {
		Log(LOG_ERROR, "FMOD initialization failed!");
		delete sound;
		sound = nullptr;
		DeinitInput();
		DeinitEngine();
		QuitSDL();
		return false;
	}
	g_sound = sound;

	g_optionsFile.Load(g_options, UserFilePath(USER_OPTIONS));
	SDL_EnableUNICODE(1);
	if (g_timer) {
		g_timer->SetFpsInterval(1000);
	}
	return true;
}

void System::Shutdown() {
	if (!videoConfig) {
		return; // never started, or already shut down
	}
	if (fullscreenChanged && !videoConfig->Save(UserFilePath(USER_VIDEO_CONFIG))) {
		Log(LOG_WARNING, "DEINIT: Could not write %s", UserFilePath(USER_VIDEO_CONFIG));
	}
	fullscreenChanged = false;
	if (sound) {
		sound->Deinit();
		delete sound;
		sound = nullptr;
		g_sound = nullptr;
	}
	DeinitInput();
	DeinitEngine();
	QuitSDL();
}
