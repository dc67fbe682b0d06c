#ifndef TAVRO_GUI_WGKEYS_H
#define TAVRO_GUI_WGKEYS_H

struct NI_Event;

// The toolkit names keys by their PC keyboard scan codes (set 1), whatever the platform's key
// symbols are.
enum WgKey {
	WG_KEY_NONE = 0,
	WG_KEY_ESC = 1,
	WG_KEY_BACKSPACE = 14,
	WG_KEY_TAB = 15,
	WG_KEY_ENTER = 28,
	WG_KEY_UP = 72,
	WG_KEY_PAGEUP = 73,
	WG_KEY_LEFT = 75,
	WG_KEY_RIGHT = 77,
	WG_KEY_DOWN = 80,
	WG_KEY_PAGEDOWN = 81
};

// Set-1 scan code of an SDL key symbol; WG_KEY_NONE for keys that have none.
int WgScanCodeOf(int sdlKey);

// What a key event means to the toolkit: the key as a scan code, the character typed (0 for
// none) and whether a Shift key was held. Safe on any event, null included.
int WgEventKey(const NI_Event *event);
unsigned char WgEventChar(const NI_Event *event);
bool WgEventShift(const NI_Event *event);

#endif
