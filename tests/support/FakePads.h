#ifndef TAVRO_TESTS_FAKEPADS_H
#define TAVRO_TESTS_FAKEPADS_H

#include <SDL/SDL.h>

#include <vector>

#include "input/JoystickDriver.h"

// Pads the test makes up: what each has, what it reads, and whether it is still plugged in.
class FakePads : public JoystickDriver {
public:
	struct Pad {
		const char *name;
		int axes, hats, buttons;
		int axis[2];
		int hat;
		int button[12];
	};
	std::vector<Pad> pads;
	int present = 0; // pads found by the last rescan
	int Count() override { return present; }
	const char *Name(int i) override { return pads[i].name; }
	bool Open(int i) override { return i < present; }
	void Close(int) override {}
	void Counts(int i, int *axes, int *hats, int *buttons, int *balls) override {
		*axes = pads[i].axes;
		*hats = pads[i].hats;
		*buttons = pads[i].buttons;
		*balls = 0;
	}
	void Update() override {}
	int Axis(int i, int a) override { return a < 2 ? pads[i].axis[a] : 0; }
	int Hat(int i, int) override { return pads[i].hat; }
	int Button(int i, int b) override { return pads[i].button[b]; }
	void Ball(int, int, int *dx, int *dy) override { *dx = *dy = 0; }
	void Rescan() override { present = static_cast<int>(pads.size()); }
};

// Queues a pad event as SDL would make it.
inline void PushPad(Uint8 type, int which, int element, int value) {
	SDL_Event event = {};
	event.type = type;
	if (type == SDL_JOYAXISMOTION) {
		event.jaxis = {type, Uint8(which), Uint8(element), Sint16(value)};
	} else if (type == SDL_JOYHATMOTION) {
		event.jhat = {type, Uint8(which), Uint8(element), Uint8(value)};
	} else {
		event.jbutton = {type, Uint8(which), Uint8(element), Uint8(type == SDL_JOYBUTTONDOWN)};
	}
	SDL_PushEvent(&event);
}

#endif
