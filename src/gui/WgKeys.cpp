#include "gui/WgKeys.h"

#include <SDL/SDL_keysym.h>

#include "input/NoxInput.h"

namespace {

struct KeyCode {
	int sdlKey;
	int scanCode; // set 1
};

// Keys of the extended block (arrows, Home, keypad Enter, right Ctrl and Alt...) share the code
// of their main-block or keypad twin; only the set-1 prefix byte tells them apart.
// clang-format off
const KeyCode KEY_CODES[] = {
	{SDLK_ESCAPE, 1},
	{SDLK_1, 2}, {SDLK_2, 3}, {SDLK_3, 4}, {SDLK_4, 5}, {SDLK_5, 6},
	{SDLK_6, 7}, {SDLK_7, 8}, {SDLK_8, 9}, {SDLK_9, 10}, {SDLK_0, 11},
	{SDLK_MINUS, 12}, {SDLK_EQUALS, 13}, {SDLK_BACKSPACE, 14}, {SDLK_TAB, 15},
	{SDLK_q, 16}, {SDLK_w, 17}, {SDLK_e, 18}, {SDLK_r, 19}, {SDLK_t, 20},
	{SDLK_y, 21}, {SDLK_u, 22}, {SDLK_i, 23}, {SDLK_o, 24}, {SDLK_p, 25},
	{SDLK_LEFTBRACKET, 26}, {SDLK_RIGHTBRACKET, 27}, {SDLK_RETURN, 28}, {SDLK_LCTRL, 29},
	{SDLK_a, 30}, {SDLK_s, 31}, {SDLK_d, 32}, {SDLK_f, 33}, {SDLK_g, 34},
	{SDLK_h, 35}, {SDLK_j, 36}, {SDLK_k, 37}, {SDLK_l, 38},
	{SDLK_SEMICOLON, 39}, {SDLK_QUOTE, 40}, {SDLK_BACKQUOTE, 41}, {SDLK_LSHIFT, 42},
	{SDLK_BACKSLASH, 43},
	{SDLK_z, 44}, {SDLK_x, 45}, {SDLK_c, 46}, {SDLK_v, 47}, {SDLK_b, 48},
	{SDLK_n, 49}, {SDLK_m, 50},
	{SDLK_COMMA, 51}, {SDLK_PERIOD, 52}, {SDLK_SLASH, 53}, {SDLK_RSHIFT, 54},
	{SDLK_KP_MULTIPLY, 55}, {SDLK_LALT, 56}, {SDLK_SPACE, 57}, {SDLK_CAPSLOCK, 58},
	{SDLK_F1, 59}, {SDLK_F2, 60}, {SDLK_F3, 61}, {SDLK_F4, 62}, {SDLK_F5, 63},
	{SDLK_F6, 64}, {SDLK_F7, 65}, {SDLK_F8, 66}, {SDLK_F9, 67}, {SDLK_F10, 68},
	{SDLK_NUMLOCK, 69}, {SDLK_SCROLLOCK, 70},
	{SDLK_KP7, 71}, {SDLK_KP8, 72}, {SDLK_KP9, 73}, {SDLK_KP_MINUS, 74},
	{SDLK_KP4, 75}, {SDLK_KP5, 76}, {SDLK_KP6, 77}, {SDLK_KP_PLUS, 78},
	{SDLK_KP1, 79}, {SDLK_KP2, 80}, {SDLK_KP3, 81}, {SDLK_KP0, 82}, {SDLK_KP_PERIOD, 83},
	{SDLK_F11, 87}, {SDLK_F12, 88},
	{SDLK_KP_ENTER, 28}, {SDLK_RCTRL, 29}, {SDLK_KP_DIVIDE, 53}, {SDLK_PRINT, 55},
	{SDLK_RALT, 56}, {SDLK_PAUSE, 69},
	{SDLK_HOME, 71}, {SDLK_UP, 72}, {SDLK_PAGEUP, 73}, {SDLK_LEFT, 75}, {SDLK_RIGHT, 77},
	{SDLK_END, 79}, {SDLK_DOWN, 80}, {SDLK_PAGEDOWN, 81}, {SDLK_INSERT, 82}, {SDLK_DELETE, 83},
	{SDLK_LSUPER, 91}, {SDLK_RSUPER, 92}, {SDLK_MENU, 93},
};
// clang-format on

// Indexed by SDL key symbol, filled once from the list above.
class ScanCodeTable {
public:
	ScanCodeTable() : codes() {
		for (const KeyCode &key : KEY_CODES) {
			codes[key.sdlKey] = static_cast<unsigned char>(key.scanCode);
		}
	}
	int Get(int sdlKey) const {
		return sdlKey >= 0 && sdlKey < SDLK_LAST ? codes[sdlKey] : static_cast<int>(WG_KEY_NONE);
	}

private:
	unsigned char codes[SDLK_LAST];
};

const NI_Keyboard *KeyboardOf(const NI_Event *event) {
	return event && event->keyboards ? &event->keyboards[0] : nullptr;
}

} // namespace

int WgScanCodeOf(int sdlKey) {
	static const ScanCodeTable table;
	return table.Get(sdlKey);
}

int WgEventKey(const NI_Event *event) {
	const NI_Keyboard *keyboard = KeyboardOf(event);
	return keyboard ? WgScanCodeOf(keyboard->lastKey) : WG_KEY_NONE;
}

unsigned char WgEventChar(const NI_Event *event) {
	const NI_Keyboard *keyboard = KeyboardOf(event);
	return keyboard ? keyboard->lastChar : 0;
}

bool WgEventShift(const NI_Event *event) {
	const NI_Keyboard *keyboard = KeyboardOf(event);
	return keyboard && (keyboard->lastModifiers & (KMOD_LSHIFT | KMOD_RSHIFT)) != 0;
}
