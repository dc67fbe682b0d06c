#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include "GLWindow.h"
#include "input/NoxInput.h"

namespace {

void PushKey(Uint8 type, SDLKey key, Uint16 unicode, Uint8 scancode = 24) {
	SDL_Event event = {};
	event.type = type;
	event.key.type = type;
	event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
	event.key.keysym.sym = key;
	event.key.keysym.mod = KMOD_LSHIFT;
	event.key.keysym.unicode = unicode;
	event.key.keysym.scancode = scancode;
	ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void PushMotion(int x, int y, int dx, int dy, Uint8 state) {
	SDL_Event event = {};
	event.type = SDL_MOUSEMOTION;
	event.motion.x = x;
	event.motion.y = y;
	event.motion.xrel = dx;
	event.motion.yrel = dy;
	event.motion.state = state;
	ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void PushButton(Uint8 type, Uint8 button, int x, int y) {
	SDL_Event event = {};
	event.type = type;
	event.button.button = button;
	event.button.x = x;
	event.button.y = y;
	ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void PushJoystickAxis() {
	SDL_Event event = {};
	event.type = SDL_JOYAXISMOTION;
	event.jaxis.which = 0;
	event.jaxis.axis = 1;
	event.jaxis.value = 1000;
	ASSERT_EQ(SDL_PushEvent(&event), 0);
}

int QueuedOfType(Uint32 mask) {
	SDL_Event events[64];
	return SDL_PeepEvents(events, 64, SDL_PEEKEVENT, mask);
}

// A window with the library set up as start-up leaves it.
class InputFixture {
public:
	InputFixture() : window(160, 120) {
		ok = window.IsOpen() && input.Init();
		// Events from the window system itself would get in the way of counting.
		SDL_Event drop;
		while (SDL_PollEvent(&drop)) {
		}
	}
	GLWindow window;
	NoxInput input;
	bool ok;
};

} // namespace

TEST(NoxInput, InitFindsOneKeyboardOneMouseAndEnablesNothing) {
	InputFixture f;
	ASSERT_TRUE(f.ok);
	EXPECT_EQ(f.input.GetInputMode(), NI_MODE_POLLING);
	EXPECT_EQ(f.input.GetEventMask(), 0u);
	EXPECT_EQ(f.input.GetJoystickCount(), 0);
	EXPECT_EQ(f.input.GetKeyboard(0), nullptr);
	EXPECT_EQ(f.input.GetKeyboard(1), nullptr);
	f.input.EnableKeyboard(0, true);
	f.input.EnableKeyboard(5, true);
	f.input.EnableMouse(0, true);
	NI_Keyboard *keyboard = f.input.GetKeyboard(0);
	ASSERT_NE(keyboard, nullptr);
	EXPECT_STREQ(keyboard->name, "NoxInput_Keyboard");
	EXPECT_GT(keyboard->keyCount, static_cast<int>(SDLK_z));
	EXPECT_EQ(f.input.GetKeyboard(1), nullptr);
	ASSERT_NE(f.input.GetMouse(0), nullptr);
	EXPECT_STREQ(f.input.GetMouse(0)->name, "NoxInput_Mouse");
	EXPECT_EQ(f.input.GetMouse(0)->buttonCount, 3);
	EXPECT_EQ(f.input.GetEventMask(), 0x7Cu);
	f.input.EnableKeyboard(0, false);
	EXPECT_EQ(f.input.GetEventMask(), 0x70u);
	EXPECT_EQ(f.input.GetKeyboard(0), nullptr);
}

TEST(NoxInput, EventModeTranslatesKeysAndMouse) {
	InputFixture f;
	ASSERT_TRUE(f.ok);
	f.input.EnableKeyboard(0, true);
	f.input.EnableMouse(0, true);
	f.input.SetInputMode(NI_MODE_EVENTS);
	EXPECT_FALSE(f.input.HasEvent());

	PushKey(SDL_KEYDOWN, SDLK_q, 'Q');
	PushKey(SDL_KEYUP, SDLK_q, 0);
	PushMotion(50, 40, 5, -3, SDL_BUTTON(1) | SDL_BUTTON(3));
	PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 60, 30);
	PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 61, 30);

	ASSERT_TRUE(f.input.HasEvent());
	NI_Event *event = f.input.GetEvent();
	ASSERT_NE(event, nullptr);
	EXPECT_EQ(event->kind, NI_KEY_DOWN);
	EXPECT_EQ(event->mode, NI_MODE_EVENTS);
	EXPECT_EQ(event->device, 0);
	ASSERT_NE(event->keyboards, nullptr);
	EXPECT_EQ(event->keyboards[0].lastKey, SDLK_q);
	EXPECT_EQ(event->keyboards[0].lastChar, 'Q');
	EXPECT_EQ(event->keyboards[0].lastModifiers, KMOD_LSHIFT);
	EXPECT_EQ(event->keyboards[0].lastScancode, 24);
	f.input.FreeEvent(event);

	event = f.input.GetEvent();
	ASSERT_NE(event, nullptr);
	EXPECT_EQ(event->kind, NI_KEY_UP);
	f.input.FreeEvent(event);

	event = f.input.GetEvent();
	ASSERT_NE(event, nullptr);
	EXPECT_EQ(event->kind, NI_MOUSE_MOTION);
	NI_Mouse &mouse = event->mice[0];
	EXPECT_EQ(mouse.x, 50);
	EXPECT_EQ(mouse.y, 40);
	EXPECT_EQ(mouse.relativeX, 5);
	EXPECT_EQ(mouse.relativeY, -3);
	EXPECT_EQ(mouse.buttons[0], 1);
	EXPECT_EQ(mouse.buttons[1], 0);
	EXPECT_EQ(mouse.buttons[2], 1);
	f.input.FreeEvent(event);

	event = f.input.GetEvent();
	ASSERT_NE(event, nullptr);
	EXPECT_EQ(event->kind, NI_MOUSE_BUTTON_DOWN);
	EXPECT_EQ(event->mice[0].relativeX, 10);
	EXPECT_EQ(event->mice[0].relativeY, -10);
	EXPECT_EQ(event->mice[0].x, 60);
	EXPECT_EQ(event->mice[0].lastButton, SDL_BUTTON_RIGHT);
	f.input.FreeEvent(event);

	event = f.input.GetEvent();
	ASSERT_NE(event, nullptr);
	EXPECT_EQ(event->kind, NI_MOUSE_BUTTON_UP);
	EXPECT_EQ(event->mice[0].relativeX, 1);
	f.input.FreeEvent(event);

	EXPECT_FALSE(f.input.HasEvent());
	EXPECT_EQ(f.input.GetEvent(), nullptr);
	f.input.FreeEvent(nullptr);
}

TEST(NoxInput, EventModeLeavesEventsOutsideTheMaskQueued) {
	InputFixture f;
	ASSERT_TRUE(f.ok);
	f.input.EnableKeyboard(0, true);
	f.input.EnableMouse(0, true);
	f.input.SetInputMode(NI_MODE_EVENTS);
	PushJoystickAxis();
	EXPECT_FALSE(f.input.HasEvent());
	EXPECT_EQ(f.input.GetEvent(), nullptr);
	EXPECT_EQ(QueuedOfType(SDL_JOYAXISMOTIONMASK), 1);

	// A disabled mouse leaves its events for somebody else.
	f.input.EnableMouse(0, false);
	PushMotion(1, 1, 1, 1, 0);
	EXPECT_FALSE(f.input.HasEvent());
	EXPECT_EQ(QueuedOfType(SDL_MOUSEMOTIONMASK), 1);
}

TEST(NoxInput, PollingModeNeverQueuesInputAndSnapshotsState) {
	InputFixture f;
	ASSERT_TRUE(f.ok);
	f.input.EnableKeyboard(0, true);
	f.input.EnableMouse(0, true);
	f.input.SetInputMode(NI_MODE_EVENTS);
	EXPECT_EQ(SDL_EventState(SDL_KEYDOWN, SDL_QUERY), SDL_ENABLE);
	f.input.SetInputMode(NI_MODE_POLLING);
	// SDL drops what the window system sends of these types, so nothing piles up in the queue.
	for (Uint8 type : {SDL_KEYDOWN, SDL_KEYUP, SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP,
			 SDL_JOYAXISMOTION, SDL_JOYBUTTONDOWN}) {
		EXPECT_EQ(SDL_EventState(type, SDL_QUERY), SDL_IGNORE) << int(type);
	}
	EXPECT_EQ(SDL_EventState(SDL_QUIT, SDL_QUERY), SDL_ENABLE);
	PushKey(SDL_KEYDOWN, SDLK_a, 'a');
	EXPECT_FALSE(f.input.HasEvent());

	NI_Event *event = f.input.GetEvent();
	ASSERT_NE(event, nullptr);
	EXPECT_EQ(event->kind, NI_SNAPSHOT);
	EXPECT_EQ(event->mode, NI_MODE_POLLING);
	ASSERT_NE(event->keyboards[0].keys, nullptr);
	// The key state comes from SDL's own array, which the test can set as a held key would.
	event->keyboards[0].keys[SDLK_x] = 1;
	f.input.FreeEvent(event);
	event = f.input.GetEvent();
	EXPECT_EQ(f.input.GetKeyboard(0)->keys[SDLK_x], 1);
	f.input.FreeEvent(event);
	SDL_GetKeyState(nullptr)[SDLK_x] = 0;

	// Key states handed in by a test replace SDL's until taken back.
	uint8_t held[SDLK_LAST] = {};
	held[SDLK_q] = 1;
	f.input.SetKeyStateSource(held, SDLK_LAST);
	f.input.FreeEvent(f.input.GetEvent());
	EXPECT_EQ(f.input.GetKeyboard(0)->keys, held);
	EXPECT_EQ(f.input.GetKeyboard(0)->keyCount, static_cast<int>(SDLK_LAST));
	f.input.SetKeyStateSource(nullptr, 0);
	f.input.FreeEvent(f.input.GetEvent());
	EXPECT_EQ(f.input.GetKeyboard(0)->keys, SDL_GetKeyState(nullptr));
}

TEST(NoxInput, BothModesLetAQueuedEventOverwriteTheSnapshot) {
	InputFixture f;
	ASSERT_TRUE(f.ok);
	f.input.EnableKeyboard(0, true);
	f.input.SetInputMode(NI_MODE_BOTH);
	EXPECT_EQ(f.input.GetEvent()->kind, NI_SNAPSHOT);
	PushKey(SDL_KEYDOWN, SDLK_RETURN, '\r');
	EXPECT_TRUE(f.input.HasEvent());
	NI_Event *event = f.input.GetEvent();
	ASSERT_NE(event, nullptr);
	EXPECT_EQ(event->kind, NI_KEY_DOWN);
	EXPECT_EQ(event->keyboards[0].lastKey, SDLK_RETURN);
	f.input.FreeEvent(event);
}

TEST(NoxInput, ManyEventsOutstandingAreAllUsable) {
	InputFixture f;
	ASSERT_TRUE(f.ok);
	f.input.EnableKeyboard(0, true);
	f.input.SetInputMode(NI_MODE_POLLING);
	NI_Event *events[10];
	for (NI_Event *&event : events) {
		event = f.input.GetEvent();
		ASSERT_NE(event, nullptr);
		EXPECT_EQ(event->kind, NI_SNAPSHOT);
	}
	for (int i = 0; i < 10; i++) {
		for (int j = i + 1; j < 10; j++) {
			EXPECT_NE(events[i], events[j]);
		}
	}
	for (NI_Event *event : events) {
		f.input.FreeEvent(event);
	}
}

TEST(NoxInput, ModeChangesKeepQueuedQuitRequests) {
	InputFixture f;
	ASSERT_TRUE(f.ok);
	f.input.EnableKeyboard(0, true);
	for (int mode : {NI_MODE_EVENTS, NI_MODE_POLLING, NI_MODE_BOTH, NI_MODE_POLLING}) {
		SCOPED_TRACE(mode);
		SDL_Event quit = {};
		quit.type = SDL_QUIT;
		ASSERT_EQ(SDL_PushEvent(&quit), 0);
		ASSERT_EQ(SDL_PushEvent(&quit), 0);
		f.input.SetInputMode(mode);
		EXPECT_EQ(QueuedOfType(SDL_QUITMASK), 2);
		SDL_Event drop;
		while (SDL_PollEvent(&drop)) {
		}
	}
}
