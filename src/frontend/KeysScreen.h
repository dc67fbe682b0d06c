#ifndef TAVRO_FRONTEND_KEYSSCREEN_H
#define TAVRO_FRONTEND_KEYSSCREEN_H

#include "frontend/MenuScreen.h"

// One player's five keys. Activating a key's button makes the screen wait for the new key (its
// label shows "?" and the wait label says what to do); a key outside the assignable set is
// ignored, and one the player already uses is refused with the error label. Shift, Ctrl and Alt
// count when they are let go with no other key pressed meanwhile. Escape cancels the wait;
// leaving saves "options.dat". The back button is always in sight.
class KeysScreen : public MenuScreen {
public:
	static const char *const SCRIPT;
	static const char *const WAIT_TEXT; // single-byte, in the menu font's characters
	enum State {
		STATE_IDLE = 1,
		STATE_WAITING = 2
	};

	// player: 0 for player 1, 1 for player 2.
	KeysScreen(MenuState &menu, int player);

	bool Build() override;
	void HandleEvent(const NI_Event *event) override;
	void DrawOverlay(int frameTime) override;

	int GetState() const { return state; }
	int GetIndex() const { return index; }
	bool HasConflict() const { return conflict; }

private:
	static void OnUp(WgItem *, void *screen);
	static void OnDown(WgItem *, void *screen);
	static void OnLeft(WgItem *, void *screen);
	static void OnRight(WgItem *, void *screen);
	static void OnFire(WgItem *, void *screen);
	static void OnBack(WgItem *, void *screen);

	static bool IsModifier(int code);
	void Wait(int keyIndex);
	void SetIdle();
	void Back();
	void TakeKey(int code, unsigned char character);
	void RefreshCaptions();
	void ShowConflict();
	int32_t *Codes() const;
	uint8_t *Characters() const;

	int player;
	int state; // State
	int index; // 0 up, 1 down, 2 left, 3 right, 4 fire
	bool conflict;
	int heldModifier;                // Shift, Ctrl or Alt pressed while waiting; 0 for none
	unsigned char modifierCharacter; // what it typed
	unsigned pressesAtModifier;      // the keyboard's presses counted with it
	WgItem *keyLabels[5];
	WgItem *errorLabel;
	WgItem *waitLabel;
};

#endif
