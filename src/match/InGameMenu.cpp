#include "match/InGameMenu.h"

#include <SDL/SDL.h>

#include "core/Overlay2D.h"
#include "gui/WgManager.h"
#include "input/NoxInput.h"
#include "match/MenuKit.h"

const char *const InGameMenu::SCRIPT = "data/menu_ingame.lua";

InGameMenu::InGameMenu() : answer(ANSWER_NONE), open(false), leftWithEscape(false) {}

void InGameMenu::OnYes(WgItem *, void *menu) {
	static_cast<InGameMenu *>(menu)->answer = ANSWER_YES;
}

void InGameMenu::OnNo(WgItem *, void *menu) {
	static_cast<InGameMenu *>(menu)->answer = ANSWER_NO;
}

bool InGameMenu::Open(int width, int height) {
	open = true;
	answer = ANSWER_NONE;
	leftWithEscape = false;
	bool ran = screen.Build(width, height) && RunMenuScript(screen, SCRIPT);
	HookMenuButton(screen, SCRIPT, "btn_yes", OnYes, this);
	HookMenuButton(screen, SCRIPT, "btn_no", OnNo, this);
	if (screen.GetManager()) {
		screen.GetManager()->UnfocusAll();
	}
	if (g_input) {
		g_input->SetInputMode(NI_MODE_EVENTS);
	}
	const int x = width / 2 + 200;
	const int y = height / 2 + 100;
	SDL_WarpMouse(static_cast<Uint16>(x), static_cast<Uint16>(y));
	screen.SetMousePosition(x, y);
	return ran;
}

void InGameMenu::Close() {
	if (!open) {
		return;
	}
	if (g_input) {
		g_input->SetInputMode(NI_MODE_POLLING);
	}
	screen.TearDown();
	open = false;
}

void InGameMenu::HandleEvents() {
	PumpEvents();
	if (!g_input) {
		return;
	}
	while (g_input->HasEvent()) {
		NI_Event *event = g_input->GetEvent();
		if (event && event->kind == NI_KEY_DOWN && event->keyboards && event->keyboards[0].lastKey == SDLK_ESCAPE) {
			if (answer == ANSWER_NONE) {
				answer = ANSWER_NO;
				leftWithEscape = true;
			}
		} else {
			screen.HandleEvent(event);
		}
		g_input->FreeEvent(event);
	}
}

void InGameMenu::Draw(int frameTime) {
	screen.DrawWidgets(frameTime);
	screen.DrawCursor(frameTime);
}
