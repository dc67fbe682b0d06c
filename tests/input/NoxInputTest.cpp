#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <vector>

#include "GLWindow.h"
#include "FakePads.h"
#include "input/NoxInput.h"

namespace {

void Push(SDL_Event event) {
	ASSERT_EQ(SDL_PushEvent(&event), 0);
}

int QueuedOfType(Uint32 mask) {
	SDL_Event events[64];
	return SDL_PeepEvents(events, 64, SDL_PEEKEVENT, mask);
}

void DropQueued() {
	SDL_Event drop;
	while (SDL_PollEvent(&drop)) {
	}
}

// A window with the library set up as start-up leaves it, the keyboard and mouse enabled.
class NoxInputModes : public ::testing::Test {
protected:
	void SetUp() override {
		ASSERT_TRUE(window.IsOpen());
		ASSERT_TRUE(input.Init());
		// Events from the window system itself would get in the way of counting.
		DropQueued();
		input.EnableKeyboard(0, true);
		input.EnableMouse(0, true);
	}
	// The next event, which must be of the kind.
	NI_Event *Next(int kind) {
		NI_Event *event = input.GetEvent();
		EXPECT_NE(event, nullptr);
		if (event) {
			EXPECT_EQ(event->kind, kind);
			taken.push_back(event);
		}
		return event;
	}
	void TearDown() override {
		for (NI_Event *event : taken) {
			input.FreeEvent(event);
		}
	}

	GLWindow window{160, 120};
	NoxInput input;
	std::vector<NI_Event *> taken;
};

} // namespace

TEST(NoxInput, InitFindsOneKeyboardOneMouseAndEnablesNothing) {
	GLWindow window(160, 120);
	NoxInput input;
	ASSERT_TRUE(window.IsOpen() && input.Init());
	EXPECT_EQ(input.GetInputMode(), NI_MODE_POLLING);
	EXPECT_EQ(input.GetEventMask(), 0u);
	EXPECT_EQ(input.GetJoystickCount(), 0);
	EXPECT_EQ(input.GetKeyboard(0), nullptr);
	input.EnableKeyboard(0, true);
	input.EnableKeyboard(5, true);
	input.EnableMouse(0, true);
	NI_Keyboard *keyboard = input.GetKeyboard(0);
	ASSERT_NE(keyboard, nullptr);
	EXPECT_STREQ(keyboard->name, "NoxInput_Keyboard");
	EXPECT_GT(keyboard->keyCount, static_cast<int>(SDLK_z));
	EXPECT_EQ(input.GetKeyboard(1), nullptr);
	ASSERT_NE(input.GetMouse(0), nullptr);
	EXPECT_STREQ(input.GetMouse(0)->name, "NoxInput_Mouse");
	EXPECT_EQ(input.GetMouse(0)->buttonCount, 3);
	EXPECT_EQ(input.GetEventMask(), 0x7Cu);
	input.EnableKeyboard(0, false);
	EXPECT_EQ(input.GetEventMask(), 0x70u);
	EXPECT_EQ(input.GetKeyboard(0), nullptr);
}

TEST_F(NoxInputModes, EventModeTranslatesKeysAndMouseAndLeavesOthersQueued) {
	input.SetInputMode(NI_MODE_EVENTS);
	EXPECT_FALSE(input.HasEvent());
	SDL_Event key = KeyEvent(true, SDLK_q, 'Q', KMOD_LSHIFT);
	key.key.keysym.scancode = 24;
	Push(key);
	Push(KeyEvent(false, SDLK_q));
	Push(MotionEvent(50, 40, 5, -3, SDL_BUTTON(1) | SDL_BUTTON(3)));
	Push(ButtonEvent(true, SDL_BUTTON_RIGHT, 60, 30));
	Push(ButtonEvent(false, SDL_BUTTON_RIGHT, 61, 30));

	ASSERT_TRUE(input.HasEvent());
	NI_Event *event = Next(NI_KEY_DOWN);
	ASSERT_NE(event, nullptr);
	EXPECT_EQ(event->mode, NI_MODE_EVENTS);
	EXPECT_EQ(event->device, 0);
	ASSERT_NE(event->keyboards, nullptr);
	EXPECT_EQ(event->keyboards[0].lastKey, SDLK_q);
	EXPECT_EQ(event->keyboards[0].lastChar, 'Q');
	EXPECT_EQ(event->keyboards[0].lastModifiers, KMOD_LSHIFT);
	EXPECT_EQ(event->keyboards[0].lastScancode, 24);
	Next(NI_KEY_UP);
	event = Next(NI_MOUSE_MOTION);
	ASSERT_NE(event, nullptr);
	const NI_Mouse &mouse = event->mice[0];
	EXPECT_EQ(
		std::vector<int>({mouse.x, mouse.y, mouse.relativeX, mouse.relativeY}), std::vector<int>({50, 40, 5, -3}));
	EXPECT_EQ(std::vector<int>({mouse.buttons[0], mouse.buttons[1], mouse.buttons[2]}), std::vector<int>({1, 0, 1}));
	// Buttons carry the motion since the last event.
	event = Next(NI_MOUSE_BUTTON_DOWN);
	ASSERT_NE(event, nullptr);
	EXPECT_EQ(std::vector<int>({event->mice[0].x, event->mice[0].relativeX, event->mice[0].relativeY}),
		std::vector<int>({60, 10, -10}));
	EXPECT_EQ(event->mice[0].lastButton, SDL_BUTTON_RIGHT);
	event = Next(NI_MOUSE_BUTTON_UP);
	ASSERT_NE(event, nullptr);
	EXPECT_EQ(event->mice[0].relativeX, 1);
	EXPECT_FALSE(input.HasEvent());
	EXPECT_EQ(input.GetEvent(), nullptr);
	input.FreeEvent(nullptr);

	// A joystick, or a mouse once disabled, leaves its events for somebody else.
	SDL_Event axis = {};
	axis.type = SDL_JOYAXISMOTION;
	axis.jaxis.value = 1000;
	Push(axis);
	input.EnableMouse(0, false);
	Push(MotionEvent(1, 1, 1, 1));
	EXPECT_FALSE(input.HasEvent());
	EXPECT_EQ(input.GetEvent(), nullptr);
	EXPECT_EQ(QueuedOfType(SDL_JOYAXISMOTIONMASK), 1);
	EXPECT_EQ(QueuedOfType(SDL_MOUSEMOTIONMASK), 1);
}

TEST_F(NoxInputModes, PollingModeNeverQueuesInputAndSnapshotsState) {
	input.SetInputMode(NI_MODE_EVENTS);
	EXPECT_EQ(SDL_EventState(SDL_KEYDOWN, SDL_QUERY), SDL_ENABLE);
	input.SetInputMode(NI_MODE_POLLING);
	// SDL drops what the window system sends of these types, so nothing piles up in the queue.
	for (Uint8 type : {SDL_KEYDOWN, SDL_KEYUP, SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP,
			 SDL_JOYAXISMOTION, SDL_JOYBUTTONDOWN}) {
		EXPECT_EQ(SDL_EventState(type, SDL_QUERY), SDL_IGNORE) << int(type);
	}
	EXPECT_EQ(SDL_EventState(SDL_QUIT, SDL_QUERY), SDL_ENABLE);
	Push(KeyEvent(true, SDLK_a, 'a'));
	EXPECT_FALSE(input.HasEvent());

	// The key state comes from SDL's own array, which the test can set as a held key would.
	NI_Event *event = Next(NI_SNAPSHOT);
	ASSERT_NE(event, nullptr);
	EXPECT_EQ(event->mode, NI_MODE_POLLING);
	ASSERT_NE(event->keyboards[0].keys, nullptr);
	event->keyboards[0].keys[SDLK_x] = 1;
	Next(NI_SNAPSHOT);
	EXPECT_EQ(input.GetKeyboard(0)->keys[SDLK_x], 1);
	SDL_GetKeyState(nullptr)[SDLK_x] = 0;

	// Key states handed in by a test replace SDL's until taken back.
	uint8_t held[SDLK_LAST] = {};
	input.SetKeyStateSource(held, SDLK_LAST);
	Next(NI_SNAPSHOT);
	EXPECT_EQ(input.GetKeyboard(0)->keys, held);
	EXPECT_EQ(input.GetKeyboard(0)->keyCount, static_cast<int>(SDLK_LAST));
	input.SetKeyStateSource(nullptr, 0);
	Next(NI_SNAPSHOT);
	EXPECT_EQ(input.GetKeyboard(0)->keys, SDL_GetKeyState(nullptr));

	// Many snapshots outstanding are all distinct and usable.
	for (int i = 0; i < 10; i++) {
		Next(NI_SNAPSHOT);
	}
	for (size_t i = 0; i < taken.size(); i++) {
		for (size_t j = i + 1; j < taken.size(); j++) {
			EXPECT_NE(taken[i], taken[j]);
		}
	}
}

TEST_F(NoxInputModes, BothModesLetAQueuedEventOverwriteTheSnapshot) {
	input.EnableMouse(0, false); // the keyboard alone
	input.SetInputMode(NI_MODE_BOTH);
	Next(NI_SNAPSHOT);
	Push(KeyEvent(true, SDLK_RETURN, '\r'));
	EXPECT_TRUE(input.HasEvent());
	NI_Event *event = Next(NI_KEY_DOWN);
	ASSERT_NE(event, nullptr);
	EXPECT_EQ(event->keyboards[0].lastKey, SDLK_RETURN);
}

TEST_F(NoxInputModes, ModeChangesKeepQueuedQuitRequests) {
	for (int mode : {NI_MODE_EVENTS, NI_MODE_POLLING, NI_MODE_BOTH, NI_MODE_POLLING}) {
		SCOPED_TRACE(mode);
		SDL_Event quit = {};
		quit.type = SDL_QUIT;
		Push(quit);
		Push(quit);
		input.SetInputMode(mode);
		EXPECT_EQ(QueuedOfType(SDL_QUITMASK), 2);
		DropQueued();
	}
}

TEST_F(NoxInputModes, AltEnterIsTheProgramsNeverAScreens) {
	input.SetInputMode(NI_MODE_EVENTS);
	// Taken out of the events between the keys around it, and reported once.
	Push(KeyEvent(true, SDLK_a, 'a'));
	Push(KeyEvent(true, SDLK_RETURN, '\r', KMOD_LALT));
	Push(KeyEvent(true, SDLK_RETURN, '\r'));
	std::vector<int> keys;
	while (input.HasEvent()) {
		NI_Event *event = input.GetEvent();
		if (event && event->kind == NI_KEY_DOWN) {
			keys.push_back(event->keyboards[0].lastKey);
		}
		input.FreeEvent(event);
	}
	EXPECT_EQ(keys, std::vector<int>({SDLK_a, SDLK_RETURN})); // the plain Return stays
	input.WatchFullScreenKey();
	EXPECT_TRUE(input.TakeFullScreenRequest());
	EXPECT_FALSE(input.TakeFullScreenRequest());

	// Polling: the held keys show it, once while they stay down.
	uint8_t held[SDLK_LAST] = {};
	input.SetKeyStateSource(held, SDLK_LAST);
	input.SetInputMode(NI_MODE_POLLING);
	held[SDLK_RALT] = held[SDLK_KP_ENTER] = 1;
	for (int frame = 0; frame < 3; frame++) {
		input.WatchFullScreenKey();
		EXPECT_EQ(input.TakeFullScreenRequest(), frame == 0) << frame;
	}
	held[SDLK_KP_ENTER] = 0;
	input.WatchFullScreenKey();
	held[SDLK_KP_ENTER] = 1;
	input.WatchFullScreenKey();
	EXPECT_TRUE(input.TakeFullScreenRequest());
	input.SetKeyStateSource(nullptr, 0);
}

namespace {

// The keys the menus would see from what is queued: "T" Tab, "S" Shift+Tab, "R" Return,
// "j" another pad event.
std::string MenuKeys(NoxInput &input) {
	std::string seen;
	while (input.HasEvent()) {
		NI_Event *event = input.GetEvent();
		if (event && event->kind == NI_KEY_DOWN) {
			const NI_Keyboard &k = event->keyboards[0];
			seen += k.lastKey == SDLK_RETURN ? "R" : (k.lastModifiers & KMOD_SHIFT ? "S" : "T");
		} else if (event) {
			seen += "j";
		}
		input.FreeEvent(event);
	}
	return seen;
}

} // namespace

TEST_F(NoxInputModes, GamepadsAreReadAndStepTheMenusFocus) {
	FakePads pads;
	pads.pads = {
		{"full", 2, 1, 12, {0, 0}, 0, {}}, {"no hat", 2, 0, 4, {0, 0}, 0, {}}, {"one button", 0, 0, 1, {0, 0}, 0, {}}};
	pads.Rescan();
	input.SetJoystickDriver(&pads);
	input.EnableJoysticks(true);
	ASSERT_EQ(input.GetJoystickCount(), 3);
	EXPECT_STREQ(input.GetJoystick(1)->name, "no hat");
	EXPECT_EQ(input.GetJoystick(1)->hatCount, 0);
	EXPECT_EQ(input.GetJoystick(2)->buttonCount, 1);

	// Polling reads what each pad holds.
	pads.pads[0].axis[0] = -20000;
	pads.pads[0].hat = SDL_HAT_UP;
	pads.pads[2].button[0] = 1;
	input.FreeEvent(input.GetEvent());
	EXPECT_EQ(input.GetJoystick(0)->axes[0], -20000);
	EXPECT_EQ(input.GetJoystick(0)->hats[0], SDL_HAT_UP);
	EXPECT_EQ(input.GetJoystick(1)->hats[0], 0);
	EXPECT_EQ(input.GetJoystick(2)->buttons[0], 1);

	// In event mode the hat and the sticks step the focus, the first button presses Return.
	input.SetInputMode(NI_MODE_EVENTS);
	PushPad(SDL_JOYHATMOTION, 0, 0, SDL_HAT_DOWN);
	PushPad(SDL_JOYHATMOTION, 0, 0, SDL_HAT_CENTERED);
	PushPad(SDL_JOYHATMOTION, 0, 0, SDL_HAT_LEFT);
	PushPad(SDL_JOYAXISMOTION, 1, 1, 30000); // a push counts once...
	PushPad(SDL_JOYAXISMOTION, 1, 1, 32000);
	PushPad(SDL_JOYAXISMOTION, 1, 1, 1000); // ...until the stick comes back
	PushPad(SDL_JOYAXISMOTION, 1, 1, -30000);
	PushPad(SDL_JOYAXISMOTION, 1, 0, 5000); // within the middle: nothing
	PushPad(SDL_JOYBUTTONDOWN, 2, 0, 0);
	PushPad(SDL_JOYBUTTONDOWN, 1, 3, 0); // another button stays a pad event
	PushPad(SDL_JOYBUTTONDOWN, 7, 0, 0); // no such pad: dropped
	EXPECT_EQ(MenuKeys(input), "TjSTjjSjRj");

	// A pad that goes away is gone after the next scan; the others stay.
	pads.pads.pop_back();
	input.RescanJoysticks();
	EXPECT_EQ(input.GetJoystickCount(), 2);
	EXPECT_EQ(input.GetJoystick(2), nullptr);
	PushPad(SDL_JOYBUTTONDOWN, 2, 0, 0);
	PushPad(SDL_JOYBUTTONDOWN, 1, 0, 0);
	EXPECT_EQ(MenuKeys(input), "R");
	input.SetJoystickDriver(nullptr);
}
