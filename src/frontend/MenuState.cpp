#include "frontend/MenuState.h"

#include <GL/gl.h>
#include <SDL/SDL_keysym.h>

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
	bool finished = false;
	PumpEvents();
	if (g_input) {
		while (g_input->HasEvent()) {
			NI_Event *event = g_input->GetEvent();
			if (event && event->kind == NI_KEY_DOWN && !finished) {
				// Until the menu screens exist: Return plays a match with the saved options,
				// Escape leaves the game.
				int key = event->keyboards[0].lastKey;
				if (key == SDLK_RETURN || key == SDLK_KP_ENTER) {
					nextState = STATE_MATCH;
					finished = true;
				} else if (key == SDLK_ESCAPE) {
					nextState = STATE_QUIT;
					finished = true;
				}
			}
			g_input->FreeEvent(event);
		}
	}
	if (finished) {
		return false;
	}
	glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	SwapBuffers();
	return true;
}

void MenuState::Leave() {}
