#include "input/NoxInput.h"

#include <SDL/SDL.h>

#include <cstring>

#include "input/SdlJoysticks.h"

NoxInput *g_input = nullptr;

NoxInput::NoxInput()
	: joysticks(nullptr), keyboards(nullptr), mice(nullptr), joystickCount(0), keyboardCount(0), mouseCount(0),
	  mode(NI_MODE_POLLING), eventMask(0), joystickSubsystem(false), sdlJoysticks(nullptr), driver(nullptr),
	  joysticksEnabled(false), keySource(nullptr), keySourceCount(0), fullScreenKeyDown(false),
	  fullScreenRequested(false), eventPool(), eventInUse() {}

NoxInput::~NoxInput() {
	UnloadJoysticks();
	delete[] keyboards;
	delete[] mice;
	delete sdlJoysticks; // closes its joysticks before the subsystem goes
	if (joystickSubsystem) {
		SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
	}
}

void NoxInput::LoadJoysticks() {
	UnloadJoysticks();
	joystickCount = driver ? driver->Count() : 0;
	if (joystickCount <= 0) {
		joystickCount = 0;
		return;
	}
	joysticks = new NI_Joystick[joystickCount]();
	padLatch.assign(size_t(joystickCount) * 2, 0);
	for (int i = 0; i < joystickCount; i++) {
		NI_Joystick &joy = joysticks[i];
		snprintf(joy.name, sizeof(joy.name), "%s", driver->Name(i));
		joy.index = i;
		joy.open = driver->Open(i);
		if (joy.open) {
			driver->Counts(i, &joy.axisCount, &joy.hatCount, &joy.buttonCount, &joy.ballCount);
		}
		joy.enabled = joysticksEnabled && joy.open;
	}
}

void NoxInput::UnloadJoysticks() {
	for (int i = 0; i < joystickCount; i++) {
		if (joysticks[i].open) {
			driver->Close(i);
		}
	}
	delete[] joysticks;
	joysticks = nullptr;
	joystickCount = 0;
}

bool NoxInput::Init() {
	if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) == -1) {
		return false;
	}
	joystickSubsystem = true;
	sdlJoysticks = new SdlJoysticks();
	driver = sdlJoysticks;
	LoadJoysticks();

	keyboardCount = 1;
	keyboards = new NI_Keyboard[keyboardCount]();
	snprintf(keyboards[0].name, sizeof(keyboards[0].name), "NoxInput_Keyboard");
	keyboards[0].index = 0;
	keyboards[0].keys = SDL_GetKeyState(&keyboards[0].keyCount);
	keyboards[0].lastKey = 0;
	keyboards[0].enabled = false;

	mouseCount = 1;
	mice = new NI_Mouse[mouseCount]();
	snprintf(mice[0].name, sizeof(mice[0].name), "NoxInput_Mouse");
	mice[0].index = 0;
	mice[0].buttonCount = 3;
	mice[0].enabled = false;

	mode = NI_MODE_POLLING;
	eventMask = 0;
	return true;
}

void NoxInput::SetMaskBits(uint32_t bits, bool on) {
	if (on) {
		eventMask |= bits;
	} else {
		eventMask &= ~bits;
	}
}

void NoxInput::EnableKeyboard(int index, bool on) {
	if (index < 0 || index >= keyboardCount) {
		return;
	}
	keyboards[index].enabled = on;
	SetMaskBits(SDL_EVENTMASK(SDL_KEYDOWN) | SDL_EVENTMASK(SDL_KEYUP), on);
}

void NoxInput::EnableMouse(int index, bool on) {
	if (index < 0 || index >= mouseCount) {
		return;
	}
	mice[index].enabled = on;
	SetMaskBits(
		SDL_EVENTMASK(SDL_MOUSEMOTION) | SDL_EVENTMASK(SDL_MOUSEBUTTONDOWN) | SDL_EVENTMASK(SDL_MOUSEBUTTONUP), on);
}

NI_Keyboard *NoxInput::GetKeyboard(int index) const {
	if (index < 0 || index >= keyboardCount || !keyboards[index].enabled) {
		return nullptr;
	}
	return &keyboards[index];
}

NI_Mouse *NoxInput::GetMouse(int index) const {
	if (index < 0 || index >= mouseCount || !mice[index].enabled) {
		return nullptr;
	}
	return &mice[index];
}

void NoxInput::SetInputMode(int newMode) {
	// clang-format off
	static const Uint8 inputTypes[] = {
		SDL_KEYDOWN, SDL_KEYUP, SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION,
		SDL_JOYBUTTONDOWN, SDL_JOYBUTTONUP, SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP,
	};
	// clang-format on
	mode = newMode;
	// SDL_EventState empties the whole queue; a quit request waiting in it must survive.
	SDL_Event quit;
	int quits = 0;
	while (SDL_PeepEvents(&quit, 1, SDL_GETEVENT, SDL_QUITMASK) > 0) {
		quits++;
	}
	// In polling mode these events never reach the queue, so nothing piles up in it.
	int state = (mode == NI_MODE_EVENTS || mode == NI_MODE_BOTH) ? SDL_ENABLE : SDL_IGNORE;
	for (Uint8 type : inputTypes) {
		SDL_EventState(type, state);
	}
	SDL_JoystickEventState(state);
	SDL_EnableUNICODE(state == SDL_ENABLE ? 1 : 0);
	for (int i = 0; i < quits; i++) {
		SDL_Event event = {};
		event.type = SDL_QUIT;
		SDL_PushEvent(&event);
	}
}

bool NoxInput::HasEvent() const {
	if (mode == NI_MODE_POLLING) {
		return false;
	}
	SDL_Event event;
	return SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, eventMask) > 0;
}

void NoxInput::Poll(NI_Event *event) {
	event->kind = NI_SNAPSHOT;
	if (driver && joystickCount > 0) {
		driver->Update();
	}
	for (int i = 0; i < joystickCount; i++) {
		NI_Joystick &joy = joysticks[i];
		if (!joy.enabled) {
			continue;
		}
		for (int a = 0; a < joy.axisCount && a < NI_Joystick::MAX_AXES; a++) {
			joy.axes[a] = driver->Axis(i, a);
		}
		for (int b = 0; b < joy.buttonCount && b < NI_Joystick::MAX_BUTTONS; b++) {
			joy.buttons[b] = driver->Button(i, b);
		}
		for (int h = 0; h < joy.hatCount && h < NI_Joystick::MAX_HATS; h++) {
			joy.hats[h] = driver->Hat(i, h);
		}
		for (int b = 0; b < joy.ballCount && b < NI_Joystick::MAX_BALLS; b++) {
			driver->Ball(i, b, &joy.balls[b], &joy.balls[NI_Joystick::MAX_BALLS + b]);
		}
	}
	for (int i = 0; i < keyboardCount; i++) {
		if (!keyboards[i].enabled) {
			continue;
		}
		keyboards[i].keys = const_cast<uint8_t *>(KeyStates(&keyboards[i].keyCount));
	}
	for (int i = 0; i < mouseCount; i++) {
		NI_Mouse &mouse = mice[i];
		if (!mouse.enabled) {
			continue;
		}
		int oldX = mouse.x;
		int oldY = mouse.y;
		Uint8 buttons = SDL_GetMouseState(&mouse.x, &mouse.y);
		mouse.relativeX = mouse.x - oldX;
		mouse.relativeY = mouse.y - oldY;
		for (int b = 0; b < mouse.buttonCount && b < NI_Mouse::MAX_BUTTONS; b++) {
			mouse.buttons[b] = (buttons >> b) & 1;
		}
	}
}

void NoxInput::Translate(const SDL_Event &sdlEvent, NI_Event *event) {
	event->device = 0;
	switch (sdlEvent.type) {
	case SDL_KEYDOWN:
	case SDL_KEYUP: {
		event->kind = sdlEvent.type == SDL_KEYDOWN ? NI_KEY_DOWN : NI_KEY_UP;
		NI_Keyboard &keyboard = keyboards[0];
		keyboard.lastKey = sdlEvent.key.keysym.sym;
		keyboard.lastModifiers = sdlEvent.key.keysym.mod;
		keyboard.lastScancode = sdlEvent.key.keysym.scancode;
		keyboard.lastChar = static_cast<unsigned char>(sdlEvent.key.keysym.unicode & 0xFF);
		keyboard.presses += sdlEvent.type == SDL_KEYDOWN;
		break;
	}
	case SDL_MOUSEMOTION: {
		event->kind = NI_MOUSE_MOTION;
		NI_Mouse &mouse = mice[0];
		mouse.x = sdlEvent.motion.x;
		mouse.y = sdlEvent.motion.y;
		mouse.relativeX = sdlEvent.motion.xrel;
		mouse.relativeY = sdlEvent.motion.yrel;
		for (int b = 0; b < mouse.buttonCount && b < NI_Mouse::MAX_BUTTONS; b++) {
			mouse.buttons[b] = (sdlEvent.motion.state >> b) & 1;
		}
		break;
	}
	case SDL_MOUSEBUTTONDOWN:
	case SDL_MOUSEBUTTONUP: {
		event->kind = sdlEvent.type == SDL_MOUSEBUTTONDOWN ? NI_MOUSE_BUTTON_DOWN : NI_MOUSE_BUTTON_UP;
		NI_Mouse &mouse = mice[0];
		mouse.relativeX = sdlEvent.button.x - mouse.x;
		mouse.relativeY = sdlEvent.button.y - mouse.y;
		mouse.x = sdlEvent.button.x;
		mouse.y = sdlEvent.button.y;
		mouse.lastButton = sdlEvent.button.button;
		break;
	}
	default: break;
	}

	// Joystick events name their device; ignore one that was not there at Init.
	int which = -1;
	switch (sdlEvent.type) {
	case SDL_JOYAXISMOTION: which = sdlEvent.jaxis.which; break;
	case SDL_JOYHATMOTION: which = sdlEvent.jhat.which; break;
	case SDL_JOYBUTTONDOWN:
	case SDL_JOYBUTTONUP: which = sdlEvent.jbutton.which; break;
	case SDL_JOYBALLMOTION: which = sdlEvent.jball.which; break;
	default: return;
	}
	if (which < 0 || which >= joystickCount || !joysticks[which].enabled) {
		return;
	}
	NI_Joystick &joy = joysticks[which];
	event->device = which;
	switch (sdlEvent.type) {
	case SDL_JOYAXISMOTION:
		event->kind = NI_JOY_AXIS;
		joy.lastElement = sdlEvent.jaxis.axis;
		if (sdlEvent.jaxis.axis < NI_Joystick::MAX_AXES) {
			joy.axes[sdlEvent.jaxis.axis] = sdlEvent.jaxis.value;
		}
		break;
	case SDL_JOYHATMOTION:
		event->kind = NI_JOY_HAT;
		joy.lastElement = sdlEvent.jhat.hat;
		if (sdlEvent.jhat.hat < NI_Joystick::MAX_HATS) {
			joy.hats[sdlEvent.jhat.hat] = sdlEvent.jhat.value;
		}
		break;
	case SDL_JOYBUTTONDOWN:
	case SDL_JOYBUTTONUP:
		event->kind = sdlEvent.type == SDL_JOYBUTTONDOWN ? NI_JOY_BUTTON_DOWN : NI_JOY_BUTTON_UP;
		joy.lastElement = sdlEvent.jbutton.button;
		if (sdlEvent.jbutton.button < NI_Joystick::MAX_BUTTONS) {
			joy.buttons[sdlEvent.jbutton.button] = sdlEvent.type == SDL_JOYBUTTONDOWN;
		}
		break;
	case SDL_JOYBALLMOTION:
		event->kind = NI_JOY_BALL;
		joy.lastElement = sdlEvent.jball.ball;
		if (sdlEvent.jball.ball < NI_Joystick::MAX_BALLS) {
			joy.balls[sdlEvent.jball.ball] = sdlEvent.jball.xrel;
			joy.balls[NI_Joystick::MAX_BALLS + sdlEvent.jball.ball] = sdlEvent.jball.yrel;
		}
		break;
	default: break;
	}
}

NI_Event *NoxInput::GetEvent() {
	SDL_PumpEvents();
	NI_Event *event = nullptr;
	if (mode == NI_MODE_POLLING || mode == NI_MODE_BOTH) {
		event = NewEvent();
		Poll(event);
	}
	if (mode == NI_MODE_EVENTS || mode == NI_MODE_BOTH) {
		SDL_Event sdlEvent;
		bool taken = eventMask != 0 && SDL_PeepEvents(&sdlEvent, 1, SDL_GETEVENT, eventMask) > 0;
		while (taken && IsFullScreenKey(sdlEvent)) {
			fullScreenRequested = true;
			keyboards[0].presses++; // no screen sees it, but a key was pressed
			taken = SDL_PeepEvents(&sdlEvent, 1, SDL_GETEVENT, eventMask) > 0;
		}
		if (taken) {
			if (!event) {
				event = NewEvent();
			}
			Translate(sdlEvent, event);
			PadToKey(sdlEvent, event);
			if (event->kind == NI_NONE) {
				// From a pad that is gone: nobody is told of it.
				FreeEvent(event);
				event = nullptr;
			}
		}
	}
	if (event) {
		event->keyboards = keyboards;
		event->joysticks = joysticks;
		event->mice = mice;
	}
	return event;
}

void NoxInput::EnableJoysticks(bool on) {
	joysticksEnabled = on;
	for (int i = 0; i < joystickCount; i++) {
		joysticks[i].enabled = on && joysticks[i].open;
	}
	SetMaskBits(SDL_EVENTMASK(SDL_JOYAXISMOTION) | SDL_EVENTMASK(SDL_JOYBALLMOTION) | SDL_EVENTMASK(SDL_JOYHATMOTION) |
					SDL_EVENTMASK(SDL_JOYBUTTONDOWN) | SDL_EVENTMASK(SDL_JOYBUTTONUP),
		on);
}

NI_Joystick *NoxInput::GetJoystick(int index) const {
	if (index < 0 || index >= joystickCount || !joysticks[index].enabled) {
		return nullptr;
	}
	return &joysticks[index];
}

void NoxInput::RescanJoysticks() {
	UnloadJoysticks();
	if (driver) {
		driver->Rescan();
	}
	LoadJoysticks();
}

void NoxInput::SetJoystickDriver(JoystickDriver *newDriver) {
	UnloadJoysticks();
	driver = newDriver ? newDriver : sdlJoysticks;
	LoadJoysticks();
}

void NoxInput::PadToKey(const SDL_Event &sdlEvent, NI_Event *event) {
	if (event->kind != NI_JOY_AXIS && event->kind != NI_JOY_HAT && event->kind != NI_JOY_BUTTON_DOWN) {
		return;
	}
	const int pad = event->device;
	int step = 0; // 1 next, -1 previous
	bool press = false;
	if (event->kind == NI_JOY_HAT && sdlEvent.jhat.hat == 0) {
		const int hat = sdlEvent.jhat.value;
		step = (hat & (SDL_HAT_DOWN | SDL_HAT_RIGHT)) ? 1 : ((hat & (SDL_HAT_UP | SDL_HAT_LEFT)) ? -1 : 0);
	} else if (event->kind == NI_JOY_AXIS && sdlEvent.jaxis.axis < 2) {
		// A push past half way counts once; the stick must come back near the middle for the next.
		int &latch = padLatch[size_t(pad) * 2 + sdlEvent.jaxis.axis];
		const int value = sdlEvent.jaxis.value;
		if (latch == 0 && (value > PAD_STEP || value < -PAD_STEP)) {
			latch = step = value > 0 ? 1 : -1;
		} else if (value < PAD_REST && value > -PAD_REST) {
			latch = 0;
		}
	} else if (event->kind == NI_JOY_BUTTON_DOWN) {
		press = sdlEvent.jbutton.button == PAD_FIRE;
	}
	if (step == 0 && !press) {
		return;
	}
	NI_Keyboard &keyboard = keyboards[0];
	event->kind = NI_KEY_DOWN;
	event->device = 0;
	keyboard.lastKey = press ? SDLK_RETURN : SDLK_TAB;
	keyboard.lastChar = press ? '\r' : '\t';
	keyboard.lastModifiers = step < 0 ? KMOD_LSHIFT : KMOD_NONE;
	keyboard.lastScancode = 0;
	keyboard.presses++;
}

const uint8_t *NoxInput::KeyStates(int *count) const {
	if (keySource) {
		*count = keySourceCount;
		return keySource;
	}
	return SDL_GetKeyState(count);
}

bool NoxInput::IsFullScreenKey(const SDL_Event &event) {
	return event.type == SDL_KEYDOWN && (event.key.keysym.mod & KMOD_ALT) &&
		   (event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER);
}

void NoxInput::WatchFullScreenKey() {
	SDL_PumpEvents();
	int count = 0;
	const uint8_t *keys = KeyStates(&count);
	auto held = [&](int key) { return key < count && keys[key]; };
	const bool down = (held(SDLK_LALT) || held(SDLK_RALT)) && (held(SDLK_RETURN) || held(SDLK_KP_ENTER));
	// In event mode the press itself is taken from the events; the held keys only show it when
	// nothing reads events (polling).
	if (down && !fullScreenKeyDown && mode == NI_MODE_POLLING) {
		fullScreenRequested = true;
	}
	fullScreenKeyDown = down;
}

bool NoxInput::TakeFullScreenRequest() {
	const bool requested = fullScreenRequested;
	fullScreenRequested = false;
	return requested;
}

void NoxInput::SetKeyStateSource(uint8_t *keys, int count) {
	keySource = keys;
	keySourceCount = keys ? count : 0;
}

NI_Event *NoxInput::NewEvent() {
	NI_Event *event = nullptr;
	for (int i = 0; i < EVENT_POOL_SIZE && !event; i++) {
		if (!eventInUse[i]) {
			eventInUse[i] = true;
			event = &eventPool[i];
		}
	}
	if (!event) {
		event = new NI_Event;
	}
	*event = NI_Event();
	event->mode = mode;
	return event;
}

void NoxInput::FreeEvent(NI_Event *event) {
	if (!event) {
		return;
	}
	if (event >= eventPool && event < eventPool + EVENT_POOL_SIZE) {
		eventInUse[event - eventPool] = false;
	} else {
		delete event;
	}
}
