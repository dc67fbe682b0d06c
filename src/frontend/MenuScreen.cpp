#include "frontend/MenuScreen.h"

#include "frontend/MenuState.h"
#include "gui/WgItem.h"
#include "input/NoxInput.h"
#include "match/MenuKit.h"

MenuScreen::MenuScreen(MenuState &menu_) : menu(menu_), scriptFile("") {}

MenuScreen::~MenuScreen() {}

bool MenuScreen::RunScript(const char *file) {
	scriptFile = file;
	if (!screen.Build(menu.GetWidth(), menu.GetHeight())) {
		return false;
	}
	screen.SetMousePosition(menu.GetMouseX(), menu.GetMouseY());
	return RunMenuScript(screen, file);
}

WgItem *MenuScreen::HookButton(const char *name, WgCallback onActivate, bool optional) {
	return HookMenuButton(screen, scriptFile, name, onActivate, this, optional);
}

WgItem *MenuScreen::FindLabel(const char *name, bool optional) {
	return FindMenuWidget(screen, scriptFile, WG_TYPE_LABEL, name, optional);
}

void MenuScreen::PassOn(const NI_Event *event) {
	screen.HandleEvent(event);
	menu.SetMousePosition(screen.GetMouseX(), screen.GetMouseY());
}

void MenuScreen::HandleEvent(const NI_Event *event) {
	PassOn(event);
}

bool MenuScreen::IsKeyPress(const NI_Event *event, int key) {
	return event && event->kind == NI_KEY_DOWN && event->keyboards && event->keyboards[0].lastKey == key;
}
