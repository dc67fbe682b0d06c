#include "frontend/KeysScreen.h"

#include <SDL/SDL_keysym.h>

#include "core/LogFile.h"
#include "core/UserFiles.h"
#include "frontend/KeyNames.h"
#include "frontend/MenuState.h"
#include "options/OptionsFile.h"
#include "options/OptionsRecord.h"
#include "gui/WgItem.h"
#include "gui/WgManager.h"
#include "input/NI_Event.h"
#include "input/NoxInput.h"

const char *const KeysScreen::SCRIPT = "data/menu_keys.lua";
const char *const KeysScreen::WAIT_TEXT = "PRESS A KEY - ESC CANCELS";

namespace {

const char *const KEY_BUTTONS[KEY_COUNT] = {"btn_up", "btn_down", "btn_left", "btn_right", "btn_fire"};
const char *const KEY_LABELS[KEY_COUNT] = {"lbl_up", "lbl_down", "lbl_left", "lbl_right", "lbl_fire"};

KeysScreen &Of(void *screen) {
	return *static_cast<KeysScreen *>(static_cast<MenuScreen *>(screen)); // hooked with the base's this
}

} // namespace

KeysScreen::KeysScreen(MenuState &menu_, int player_)
	: MenuScreen(menu_), player(player_), state(STATE_IDLE), index(0), conflict(false), heldModifier(0),
	  modifierCharacter(0), pressesAtModifier(0), keyLabels(), errorLabel(nullptr), waitLabel(nullptr) {}

int32_t *KeysScreen::Codes() const {
	return player == 0 ? g_options.keys1 : g_options.keys2;
}

uint8_t *KeysScreen::Characters() const {
	return player == 0 ? g_options.keyChars1 : g_options.keyChars2;
}

bool KeysScreen::Build() {
	const bool ran = RunScript(SCRIPT);
	static void (*const handlers[KEY_COUNT])(WgItem *, void *) = {OnUp, OnDown, OnLeft, OnRight, OnFire};
	for (int i = 0; i < KEY_COUNT; i++) {
		HookButton(KEY_BUTTONS[i], handlers[i]);
		keyLabels[i] = FindLabel(KEY_LABELS[i]);
	}
	errorLabel = FindLabel("lbl_error");
	waitLabel = FindLabel("lbl_wait", true);
	if (waitLabel) {
		waitLabel->SetCaption(WAIT_TEXT);
	}
	HookButton("btn_back", OnBack);
	if (WgItem *title = FindLabel("lbl_title")) {
		title->SetCaption(player == 0 ? "PLAYER 1 KEYS" : "PLAYER 2 KEYS");
	}
	if (screen.GetManager()) {
		screen.GetManager()->UnfocusAll();
	}
	SetIdle();
	return ran;
}

void KeysScreen::OnUp(WgItem *, void *screen) {
	Of(screen).Wait(KEY_UP);
}

void KeysScreen::OnDown(WgItem *, void *screen) {
	Of(screen).Wait(KEY_DOWN);
}

void KeysScreen::OnLeft(WgItem *, void *screen) {
	Of(screen).Wait(KEY_LEFT);
}

void KeysScreen::OnRight(WgItem *, void *screen) {
	Of(screen).Wait(KEY_RIGHT);
}

void KeysScreen::OnFire(WgItem *, void *screen) {
	Of(screen).Wait(KEY_FIRE);
}

void KeysScreen::OnBack(WgItem *, void *screen) {
	Of(screen).Back();
}

bool KeysScreen::IsModifier(int code) {
	return code >= SDLK_RSHIFT && code <= SDLK_LALT;
}

void KeysScreen::Wait(int keyIndex) {
	index = keyIndex;
	state = STATE_WAITING;
	heldModifier = 0;
	if (keyLabels[index]) {
		keyLabels[index]->SetCaption("?");
	}
	if (waitLabel) {
		waitLabel->SetVisible(true);
	}
}

void KeysScreen::SetIdle() {
	state = STATE_IDLE;
	RefreshCaptions();
}

void KeysScreen::RefreshCaptions() {
	for (int i = 0; i < KEY_COUNT; i++) {
		if (!keyLabels[i]) {
			continue;
		}
		const char *name = KeyName(Codes()[i]);
		const char shown[2] = {static_cast<char>(Characters()[i]), '\0'};
		keyLabels[i]->SetCaption(name ? name : shown);
	}
	ShowConflict();
}

void KeysScreen::ShowConflict() {
	if (errorLabel) {
		errorLabel->SetVisible(conflict);
	}
	if (waitLabel) {
		waitLabel->SetVisible(state == STATE_WAITING);
	}
}

void KeysScreen::Back() {
	menu.RequestScreen(MenuState::SCREEN_MAIN);
	if (!g_optionsFile.Save(g_options, UserFilePath(USER_OPTIONS))) {
		Log(LOG_ERROR, "MENU: %s could not be written; the keys hold until the game ends", UserFilePath(USER_OPTIONS));
	}
}

void KeysScreen::TakeKey(int code, unsigned char character) {
	conflict = false;
	for (int i = 0; i < KEY_COUNT; i++) {
		conflict = conflict || Codes()[i] == code;
	}
	if (conflict) {
		ShowConflict();
		return;
	}
	Codes()[index] = code;
	Characters()[index] = character;
	SetIdle();
}

void KeysScreen::HandleEvent(const NI_Event *event) {
	if (state == STATE_IDLE) {
		if (IsKeyPress(event, SDLK_ESCAPE)) {
			Back();
		} else {
			PassOn(event);
		}
		return;
	}
	// Waiting: no widget sees the event; the mouse is only remembered.
	if (event && event->kind == NI_MOUSE_MOTION && event->mice) {
		screen.SetMousePosition(event->mice[0].x, event->mice[0].y);
		menu.SetMousePosition(event->mice[0].x, event->mice[0].y);
	}
	if (!event || (event->kind != NI_KEY_DOWN && event->kind != NI_KEY_UP) || !event->keyboards) {
		return;
	}
	const NI_Keyboard &keyboard = event->keyboards[0];
	if (event->kind == NI_KEY_UP) {
		// A modifier counts once it is let go with no other key pressed meanwhile: Alt+Enter
		// switches the screen and leaves no key behind.
		if (keyboard.lastKey == heldModifier && keyboard.presses == pressesAtModifier) {
			TakeKey(heldModifier, modifierCharacter);
		}
		if (keyboard.lastKey == heldModifier) {
			heldModifier = 0;
		}
		return;
	}
	if (keyboard.lastKey == SDLK_ESCAPE) {
		conflict = false; // Escape is never a player's key, so nothing is lost
		SetIdle();
	} else if (IsModifier(keyboard.lastKey)) {
		heldModifier = keyboard.lastKey;
		modifierCharacter = keyboard.lastChar;
		pressesAtModifier = keyboard.presses;
	} else if (IsAssignableKey(keyboard.lastKey)) {
		TakeKey(keyboard.lastKey, keyboard.lastChar);
	}
}

void KeysScreen::DrawOverlay(int frameTime) {
	screen.DrawWidgets(frameTime);
	if (state == STATE_IDLE) {
		screen.DrawCursor(frameTime);
	}
	menu.DrawLogo();
}
