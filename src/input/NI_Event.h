#ifndef TAVRO_INPUT_NI_EVENT_H
#define TAVRO_INPUT_NI_EVENT_H

struct NI_Joystick;
struct NI_Keyboard;
struct NI_Mouse;

enum NI_EventKind {
	NI_NONE = 0,
	NI_KEY_UP = 1,
	NI_KEY_DOWN = 2,
	NI_MOUSE_MOTION = 4,
	NI_MOUSE_BUTTON_UP = 5,
	NI_MOUSE_BUTTON_DOWN = 6,
	NI_JOY_AXIS = 8,
	NI_JOY_BUTTON_UP = 9,
	NI_JOY_BUTTON_DOWN = 10,
	NI_JOY_HAT = 11,
	NI_JOY_BALL = 12,
	NI_SNAPSHOT = 14
};

// One input event as the library hands it out; it points at the library's device records,
// which stay valid as long as the library lives. Made by NoxInput::GetEvent, freed with FreeEvent.
struct NI_Event {
	int mode;   // the library's input mode when the event was made
	int kind;   // NI_EventKind
	int device; // joystick number for joystick events, else 0
	NI_Keyboard *keyboards;
	NI_Joystick *joysticks;
	NI_Mouse *mice;
};

#endif
