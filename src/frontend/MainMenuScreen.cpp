#include "frontend/MainMenuScreen.h"

#include <SDL/SDL_keysym.h>

#include "frontend/MenuState.h"
#include "gui/WgItem.h"
#include "gui/WgManager.h"

const char *const MainMenuScreen::SCRIPT = "data/menu_main.lua";

namespace {

MainMenuScreen &Of(void *screen) {
	return *static_cast<MainMenuScreen *>(static_cast<MenuScreen *>(screen)); // hooked with the base's this
}

} // namespace

MainMenuScreen::MainMenuScreen(MenuState &menu_) : MenuScreen(menu_), exitButton(nullptr), exitRequested(false) {}

bool MainMenuScreen::Build() {
	const bool ran = RunScript(SCRIPT);
	HookButton("btn_start", OnStart);
	HookButton("btn_online", OnOnline);
	HookButton("btn_options", OnOptions);
	HookButton("btn_keyb1", OnKeys1);
	HookButton("btn_keyb2", OnKeys2);
	HookButton("btn_credits", OnCredits);
	exitButton = HookButton("btn_exit", OnExit);
	if (screen.GetManager()) {
		screen.GetManager()->UnfocusAll();
	}
	return ran;
}

void MainMenuScreen::OnStart(WgItem *, void *screen) {
	Of(screen).menu.Finish(STATE_MATCH);
}

void MainMenuScreen::OnOnline(WgItem *, void *screen) {
	Of(screen).menu.RequestScreen(MenuState::SCREEN_ONLINE);
}

void MainMenuScreen::OnOptions(WgItem *, void *screen) {
	Of(screen).menu.RequestScreen(MenuState::SCREEN_OPTIONS);
}

void MainMenuScreen::OnKeys1(WgItem *, void *screen) {
	Of(screen).menu.RequestScreen(MenuState::SCREEN_KEYS1);
}

void MainMenuScreen::OnKeys2(WgItem *, void *screen) {
	Of(screen).menu.RequestScreen(MenuState::SCREEN_KEYS2);
}

void MainMenuScreen::OnCredits(WgItem *, void *screen) {
	Of(screen).menu.Finish(STATE_CREDITS);
}

void MainMenuScreen::OnExit(WgItem *, void *screen) {
	Of(screen).exitRequested = true;
}

void MainMenuScreen::HandleEvent(const NI_Event *event) {
	if (!IsKeyPress(event, SDLK_ESCAPE)) {
		PassOn(event);
		return;
	}
	// Without an exit button Escape leaves at once.
	if (!exitButton || exitButton->IsFocused()) {
		exitRequested = true;
	} else if (screen.GetManager()) {
		screen.GetManager()->FocusItem(exitButton);
	}
}

void MainMenuScreen::DrawOverlay(int frameTime) {
	if (exitRequested) {
		menu.Finish(STATE_QUIT);
	}
	screen.DrawWidgets(frameTime);
	menu.DrawVersion();
	screen.DrawCursor(frameTime);
	menu.DrawLogo();
}
