#include "frontend/Credits.h"

#include <plib/ssg.h>
#include <SDL/SDL_keysym.h>

#include <cstdio>

#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/Overlay2D.h"
#include "core/VideoConfig.h"
#include "gl2d/GL2D_BmpRect.h"
#include "gl2d/GL2D_BmpText.h"
#include "gl2d/GL2D_TrueTypeText.h"
#include "input/NoxInput.h"
#include "audio/SoundBank.h"
#include "script/ScriptState.h"
#include "world/SceneLights.h"

const char *const Credits::CREDITS_FILE = "data/misc/credits.crd";
const char *const Credits::SKIP_TEXT = "ESCAPE SKIPS";

namespace {

const char *const MUSIC_FILE = "data/sounds/tavro_credits.xm";
// Pixels at 640 × 480, grown with the window.
const int HINT_MARGIN = 12; // from the screen's edges to the hint's panel
const int HINT_PAD_X = 12;  // of panel left and right of the text
const int HINT_PAD_Y = 8;   // above and below it

void SetUpCreditsLight() {
	PutOutLights();
	ssgLight *light = ssgGetLight(5);
	light->setPosition(13.0f, -6.0f, 3.0f);
	light->setColour(GL_AMBIENT, 0.4f, 0.4f, 0.4f);
	light->setColour(GL_DIFFUSE, 0.3f, 0.3f, 0.3f);
	light->on();
}

} // namespace

Credits::Credits()
	: font1(nullptr), font2(nullptr), panel(nullptr), script(nullptr), scriptText(), scriptLength(0), scriptRuns(false),
	  frameTime(0), stepTime(0), currentStep(-1), screenWidth(640), screenHeight(480), musicLoaded(false) {}

Credits::~Credits() {
	Deinit();
}

bool Credits::LoadFont(GL2D_BmpText *&font, const char *path) {
	if (!font) {
		font = new GL2D_BmpText();
	}
	if (!font->Load(path)) {
		Log(LOG_ERROR, "CREDITS: %s loading failed!", path);
		return false;
	}
	return true;
}

bool Credits::Init() {
	if (g_videoConfig) {
		screenWidth = g_videoConfig->Width();
		screenHeight = g_videoConfig->Height();
	}
	backdrop.Init("CreditsCam", screenWidth, screenHeight, Camera::MODE_PATHS);
	Log(LOG_MESSAGE, "CREDITS: Initializing...");
	SetUpCreditsLight();
	if (!backdrop.LoadSky(1)) {
		Log(LOG_ERROR, "SkyBox initialization failed!");
		return false;
	}
	if (!backdrop.LoadArena("credits", 1, 0.0f)) {
		Log(LOG_ERROR, "Arena initialization failed!");
		return false;
	}
	if (g_input) {
		g_input->SetInputMode(NI_MODE_POLLING);
	}
	// The titles keep their picture font, one size; the text is rendered at the window's scale.
	const float scale = VideoConfig::ScreenScale(screenWidth, screenHeight);
	GL2D_TrueTypeText *text = new GL2D_TrueTypeText();
	font2 = text;
	text->SetColor(0.847f, 0.925f, 1.0f, 1.0f);
	text->SetScale(scale);
	if (!LoadFont(font1, "data/fonts/spectrum.nbf") || !LoadFont(font2, "data/fonts/credits.ntf")) {
		return false;
	}
	font1->SetDrawScale(scale);
	panel = new GL2D_BmpRect();
	if (!panel->Load("data/rects/window.nbr")) {
		Log(LOG_WARNING, "CREDITS: data/rects/window.nbr loading failed; the texts have no panel");
	}
	script = new ScriptState();
	if (!script->IsOpen()) {
		return false;
	}
	script->SetObject("pSpec1", font1, "GL2D_BmpText");
	script->SetObject("pSpec2", font2, "GL2D_BmpText");
	script->SetObject("pPanel", panel, "GL2D_BmpRect");
	script->SetNumber("ScreenWidth", screenWidth);
	script->SetNumber("ScreenHeight", screenHeight);
	script->SetNumber("ScreenScale", scale);
	if (!file.Read(CREDITS_FILE)) {
		Log(LOG_ERROR, "CREDITS: %s cannot be read", CREDITS_FILE);
		return false;
	}
	musicLoaded = g_sound && g_sound->LoadMusic(MUSIC_FILE);
	if (!musicLoaded) {
		Log(LOG_ERROR, "SOUND: MUSIC loading failed!");
		return false;
	}
	g_sound->PlayMusic();
	frameTime = 0;
	currentStep = -1;
	Log(LOG_MESSAGE, "CREDITS: ...Done!");
	return true;
}

void Credits::Deinit() {
	if (musicLoaded && g_sound) {
		g_sound->StopMusic();
	}
	musicLoaded = false;
	// The state first: its scripts must never see the fonts and the panel gone.
	delete script;
	script = nullptr;
	delete font2;
	font2 = nullptr;
	delete font1;
	font1 = nullptr;
	delete panel;
	panel = nullptr;
	backdrop.Deinit();
}

bool Credits::EscapeHeld() const {
	if (!g_input) {
		return false;
	}
	g_input->FreeEvent(g_input->GetEvent());
	const NI_Keyboard *keyboard = g_input->GetKeyboard(0);
	return keyboard && keyboard->keys && SDLK_ESCAPE < keyboard->keyCount && keyboard->keys[SDLK_ESCAPE];
}

bool Credits::StepIsOver() {
	if (currentStep < 0) {
		return true;
	}
	const CreditsStep &step = file.GetStep(currentStep);
	switch (step.type) {
	case CreditsStep::CAMERA: return backdrop.GetCamera().PathFinished();
	case CreditsStep::TEXT: return stepTime > step.duration;
	default: return true;
	}
}

void Credits::StartStep() {
	const CreditsStep &step = file.GetStep(currentStep);
	if (step.type == CreditsStep::CAMERA) {
		Camera &camera = backdrop.GetCamera();
		camera.Path().Load(step.eyePath);
		camera.LookPath().Load(step.lookPath);
		camera.RestartPath();
	} else if (step.type == CreditsStep::TEXT) {
		stepTime = 0;
		scriptLength = 0;
		scriptRuns = false;
		FILE *in = fopen(step.scriptFile, "rb");
		if (!in) {
			Log(LOG_WARNING, "CREDITS: %s cannot be read; its step shows no text", step.scriptFile);
			return;
		}
		scriptLength = fread(scriptText, 1, sizeof(scriptText), in);
		// Cut short, a script would fail to compile on every frame of its step.
		bool tooLong = scriptLength == sizeof(scriptText) && fgetc(in) != EOF;
		fclose(in);
		if (tooLong) {
			Log(LOG_WARNING, "CREDITS: %s is longer than %d bytes; its step shows no text", step.scriptFile,
				SCRIPT_SIZE);
			return;
		}
		scriptRuns = true;
	}
}

void Credits::RunTextStep() {
	if (scriptRuns && !script->RunBuffer(scriptText, scriptLength, file.GetStep(currentStep).scriptFile)) {
		scriptRuns = false; // logged once, not on every frame
	}
	stepTime += frameTime;
}

void Credits::GetSkipHintRect(int *x, int *y, int *w, int *h) const {
	const float scale = VideoConfig::ScreenScale(screenWidth, screenHeight);
	*w = font2 ? font2->GetTextWidth(SKIP_TEXT) + 2 * VideoConfig::Scaled(HINT_PAD_X, scale) : 0;
	*h = font2 ? font2->GetFontHeight() + 2 * VideoConfig::Scaled(HINT_PAD_Y, scale) : 0;
	*x = screenWidth - *w - VideoConfig::Scaled(HINT_MARGIN, scale);
	*y = screenHeight - *h - VideoConfig::Scaled(HINT_MARGIN, scale);
}

void Credits::DrawSkipHint() const {
	int x = 0, y = 0, w = 0, h = 0;
	GetSkipHintRect(&x, &y, &w, &h);
	if (!font2 || w == 0) {
		return;
	}
	if (panel) {
		panel->Draw(x, y, w, h);
	}
	// The text in the middle of its panel.
	font2->Write(x + (w - font2->GetTextWidth(SKIP_TEXT)) / 2, y + (h - font2->GetFontHeight()) / 2, SKIP_TEXT);
}

bool Credits::Frame() {
	int32_t elapsed = 0;
	if (g_timer) {
		g_timer->Update();
		elapsed = static_cast<int32_t>(g_timer->GetFrameTime());
	}
	frameTime = elapsed < 0 ? 0 : elapsed;
	PumpEvents();
	bool keep = !EscapeHeld();

	if (StepIsOver()) {
		currentStep++;
		if (currentStep >= file.GetStepCount()) {
			keep = false;
		} else {
			StartStep();
		}
	}

	backdrop.Update(frameTime);
	sgVec3 eye;
	backdrop.GetCamera().GetEye(eye);
	ssgGetLight(5)->setPosition(eye);
	backdrop.Draw();

	Begin2D(screenWidth, screenHeight);
	if (keep && file.GetStep(currentStep).type == CreditsStep::TEXT) { // keep: a step is running
		RunTextStep();
	}
	DrawSkipHint();
	End2D();
	SwapBuffers();
	return keep;
}
