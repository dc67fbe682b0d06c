#include "frontend/ScriptTryout.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/Overlay2D.h"
#include "core/VideoConfig.h"
#include "gui/WgKeys.h"
#include "gui/WgManager.h"
#include "input/NoxInput.h"
#include "script/ScriptFiles.h"

namespace {

// The longest frame handed to the widgets: a stall must not look like a long click.
const uint32_t MAX_FRAME_TIME = 1000; // ms

} // namespace

ScriptTryout::ScriptTryout(const char *file_, int width_, int height_)
	: file(file_ ? file_ : ""), width(width_), height(height_) {}

bool ScriptTryout::Enter() {
	Log(LOG_MESSAGE, "SCRIPT: Trying out %s...", file.c_str());
	if (g_input) {
		g_input->SetInputMode(NI_MODE_EVENTS);
	}
	if (!screen.Build(width, height)) {
		return false;
	}
	// The script may name files beside itself as well as the game's data.
	const size_t slash = file.rfind('/');
	ScriptFiles::AllowFolder(slash == std::string::npos ? "." : file.substr(0, slash));
	screen.RunScript(file.c_str());
	screen.GetManager()->UnfocusAll();
	screen.SetMousePosition(width / 2, height / 2);
	SDL_WarpMouse(static_cast<Uint16>(width / 2), static_cast<Uint16>(height / 2));
	Log(LOG_MESSAGE, "SCRIPT: ...Done!");
	return true;
}

bool ScriptTryout::Frame() {
	uint32_t frameTime = 0;
	if (g_timer) {
		g_timer->Update();
		frameTime = g_timer->GetFrameTime();
	}
	if (frameTime > MAX_FRAME_TIME) {
		frameTime = MAX_FRAME_TIME;
	}
	bool finished = false;
	PumpEvents();
	while (g_input && g_input->HasEvent()) {
		NI_Event *event = g_input->GetEvent();
		if (event && event->kind == NI_KEY_DOWN && WgEventKey(event) == WG_KEY_ESC) {
			finished = true;
		} else if (!finished) {
			screen.HandleEvent(event);
		}
		g_input->FreeEvent(event);
	}
	if (finished) {
		return false;
	}
	glClearColor(0.16f, 0.17f, 0.22f, 1.0f);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	Begin2D(width, height);
	screen.DrawWidgets(static_cast<int>(frameTime));
	screen.DrawCursor(static_cast<int>(frameTime));
	End2D();
	SwapBuffers();
	return true;
}

void ScriptTryout::Leave() {
	screen.TearDown();
	ScriptFiles::AllowFolder("");
	Log(LOG_MESSAGE, "SCRIPT: Tryout closed");
}

ScriptTryoutFactory::ScriptTryoutFactory(const char *file_) : file(file_ ? file_ : "") {}

GameStateObject *ScriptTryoutFactory::Create(GameState state) {
	if (state != STATE_MENU || !g_videoConfig) {
		return nullptr;
	}
	return new ScriptTryout(file.c_str(), g_videoConfig->Width(), g_videoConfig->Height());
}
