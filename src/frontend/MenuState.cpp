#include "frontend/MenuState.h"

#include <GL/gl.h>

#include "core/FrameTimer.h"
#include "core/Overlay2D.h"
#include "input/NoxInput.h"

MenuState::MenuState() : nextState(STATE_QUIT) {}

bool MenuState::Enter() {
	if (g_input) {
		g_input->SetInputMode(NI_MODE_EVENTS);
	}
	return true;
}

bool MenuState::Frame() {
	if (g_timer) {
		g_timer->Update();
	}
	if (g_input) {
		while (g_input->HasEvent()) {
			g_input->FreeEvent(g_input->GetEvent());
		}
	}
	glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	SwapBuffers();
	return true;
}

void MenuState::Leave() {}
