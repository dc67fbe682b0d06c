#ifndef TAVRO_INPUT_NOXINPUT_H
#define TAVRO_INPUT_NOXINPUT_H

#include <cstdint>

#include "input/NI_Event.h"

struct _SDL_Joystick;
union SDL_Event;

struct NI_Joystick {
	static constexpr int MAX_AXES = 8;
	static constexpr int MAX_HATS = 2;
	static constexpr int MAX_BUTTONS = 32;
	static constexpr int MAX_BALLS = 2;

	char name[256];
	int index;          // SDL's joystick number
	bool enabled;
	int axisCount, hatCount, buttonCount, ballCount;
	int axes[MAX_AXES];
	int hats[MAX_HATS];
	int buttons[MAX_BUTTONS];
	int balls[MAX_BALLS * 2]; // relative x values, then relative y values
	int lastElement;    // axis, hat, button or ball of the last joystick event
};

struct NI_Keyboard {
	char name[256];
	int index;
	bool enabled;
	int keyCount;           // length of SDL's key-state array
	uint8_t *keys;          // SDL's key-state array, one byte per key code (1 = held)
	int lastKey;            // SDL key code of the last key event
	int lastModifiers;      // SDL modifier bits of the last key event
	int lastScancode;       // hardware scan code of the last key event, for the widget toolkit
	unsigned char lastChar; // low byte of the last key event's Unicode value
};

struct NI_Mouse {
	static constexpr int MAX_BUTTONS = 32;

	char name[256];
	int index;
	bool enabled;
	int buttonCount;
	int x, y;                 // pixels in the window
	int relativeX, relativeY; // pixels moved since the previous update
	int buttons[MAX_BUTTONS]; // 1 while held
	int lastButton;           // SDL button number of the last button event
};

enum NI_Mode {
	NI_MODE_EVENTS = 0,
	NI_MODE_POLLING = 1,
	NI_MODE_BOTH = 2
};

// Keyboard, mouse and joystick records over SDL, filled by polling SDL's state or by
// translating SDL events.
class NoxInput {
public:
	NoxInput();
	~NoxInput();

	bool Init();

	void EnableKeyboard(int index, bool on);
	void EnableMouse(int index, bool on);
	NI_Keyboard *GetKeyboard(int index) const;
	NI_Mouse *GetMouse(int index) const;

	void SetInputMode(int mode);
	int GetInputMode() const { return mode; }
	uint32_t GetEventMask() const { return eventMask; }
	int GetJoystickCount() const { return joystickCount; }

	// Polling reads these key states instead of SDL's, so tests hold keys without the window
	// system resetting them on a focus change. Null gives SDL's back.
	void SetKeyStateSource(uint8_t *keys, int count);

	bool HasEvent() const;
	NI_Event *GetEvent();
	void FreeEvent(NI_Event *event);

	// Alt+Enter belongs to the whole program (the switch between window and full screen), never
	// to a screen: in event mode it is taken out of the events, and once a frame the program
	// looks at the keys for it. True once for each press.
	void WatchFullScreenKey();
	bool TakeFullScreenRequest();

private:
	static constexpr int EVENT_POOL_SIZE = 4;

	NI_Event *NewEvent();
	void Poll(NI_Event *event);
	void Translate(const SDL_Event &sdlEvent, NI_Event *event);
	void SetMaskBits(uint32_t bits, bool on);
	const uint8_t *KeyStates(int *count) const;
	static bool IsFullScreenKey(const SDL_Event &event);

	_SDL_Joystick **joystickHandles; // room for opened joysticks; none is kept open
	NI_Joystick *joysticks;
	NI_Keyboard *keyboards;
	NI_Mouse *mice;
	int joystickCount;
	int keyboardCount;
	int mouseCount;
	int mode;           // NI_Mode
	uint32_t eventMask; // SDL event types taken from the queue in event mode
	bool joystickSubsystem;
	uint8_t *keySource;  // replaces SDL's key states when set
	int keySourceCount;
	bool fullScreenKeyDown;   // Alt+Enter held at the last look
	bool fullScreenRequested; // pressed since the last TakeFullScreenRequest
	// Events are handed out every frame; a few reusable records avoid allocating for each.
	NI_Event eventPool[EVENT_POOL_SIZE];
	bool eventInUse[EVENT_POOL_SIZE];
};

// The process-wide input library; exists between start-up and shut-down.
extern NoxInput *g_input;

#endif
