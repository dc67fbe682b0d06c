#ifndef TAVRO_INPUT_NOXINPUT_H
#define TAVRO_INPUT_NOXINPUT_H

#include <cstdint>
#include <vector>

#include "input/NI_Event.h"

class JoystickDriver;
class SdlJoysticks;
union SDL_Event;

struct NI_Joystick {
	static constexpr int MAX_AXES = 8;
	static constexpr int MAX_HATS = 2;
	static constexpr int MAX_BUTTONS = 32;
	static constexpr int MAX_BALLS = 2;

	char name[256];
	int index; // SDL's joystick number
	bool open; // found and opened at the last scan
	bool enabled;
	int axisCount, hatCount, buttonCount, ballCount;
	int axes[MAX_AXES];
	int hats[MAX_HATS];
	int buttons[MAX_BUTTONS];
	int balls[MAX_BALLS * 2]; // relative x values, then relative y values
	int lastElement;          // axis, hat, button or ball of the last joystick event
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
	unsigned presses;       // key presses taken from the events so far, Alt+Enter's among them
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
// translating SDL events. Gamepads work the menus too: in event mode the first stick and the
// first hat step the focus as Tab and Shift+Tab do, and the first button presses Return.
class NoxInput {
public:
	NoxInput();
	~NoxInput();

	bool Init();

	void EnableKeyboard(int index, bool on);
	void EnableMouse(int index, bool on);
	// Every joystick found (and opened) at the last scan.
	void EnableJoysticks(bool on);
	NI_Keyboard *GetKeyboard(int index) const;
	NI_Mouse *GetMouse(int index) const;
	NI_Joystick *GetJoystick(int index) const;
	// Finds the joysticks again, so a pad plugged in meanwhile joins (the menu does this when it
	// is entered); the records are made anew.
	void RescanJoysticks();
	// The joysticks come from this driver (tests); null gives SDL's back. Not owned.
	void SetJoystickDriver(JoystickDriver *driver);

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
	static constexpr int PAD_STEP = 16384; // stick travel (of 32767) that steps the focus once
	static constexpr int PAD_REST = 8192;  // back within this, the stick may step again
	static constexpr int PAD_FIRE = 0;     // the button that presses Return in the menus

	NI_Event *NewEvent();
	void Poll(NI_Event *event);
	void Translate(const SDL_Event &sdlEvent, NI_Event *event);
	void SetMaskBits(uint32_t bits, bool on);
	void LoadJoysticks();
	void UnloadJoysticks();
	// A pad's stick, hat or first button becomes Tab, Shift+Tab or Return for the menus.
	void PadToKey(const SDL_Event &sdlEvent, NI_Event *event);
	const uint8_t *KeyStates(int *count) const;
	static bool IsFullScreenKey(const SDL_Event &event);

	NI_Joystick *joysticks;
	NI_Keyboard *keyboards;
	NI_Mouse *mice;
	int joystickCount;
	int keyboardCount;
	int mouseCount;
	int mode;           // NI_Mode
	uint32_t eventMask; // SDL event types taken from the queue in event mode
	bool joystickSubsystem;
	SdlJoysticks *sdlJoysticks; // owned
	JoystickDriver *driver;     // sdlJoysticks or a test's
	bool joysticksEnabled;
	std::vector<int> padLatch; // per joystick and stick axis: the step already taken, or 0
	uint8_t *keySource;        // replaces SDL's key states when set
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
