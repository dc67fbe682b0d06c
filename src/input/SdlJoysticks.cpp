#include "input/SdlJoysticks.h"

#include <SDL/SDL.h>

SdlJoysticks::~SdlJoysticks() {
	CloseAll();
}

int SdlJoysticks::Count() {
	int count = SDL_NumJoysticks();
	return count < 0 ? 0 : count;
}

const char *SdlJoysticks::Name(int index) {
	const char *name = SDL_JoystickName(index);
	return name ? name : "";
}

bool SdlJoysticks::Open(int index) {
	if (index < 0 || index >= Count()) {
		return false;
	}
	if (static_cast<int>(handles.size()) <= index) {
		handles.resize(index + 1, nullptr);
	}
	if (!handles[index]) {
		handles[index] = SDL_JoystickOpen(index);
	}
	return handles[index] != nullptr;
}

void SdlJoysticks::Close(int index) {
	if (SDL_Joystick *handle = Handle(index)) {
		SDL_JoystickClose(handle);
		handles[index] = nullptr;
	}
}

void SdlJoysticks::CloseAll() {
	for (size_t i = 0; i < handles.size(); i++) {
		Close(static_cast<int>(i));
	}
}

SDL_Joystick *SdlJoysticks::Handle(int index) const {
	return index >= 0 && index < static_cast<int>(handles.size()) ? handles[index] : nullptr;
}

void SdlJoysticks::Counts(int index, int *axes, int *hats, int *buttons, int *balls) {
	SDL_Joystick *handle = Handle(index);
	*axes = handle ? SDL_JoystickNumAxes(handle) : 0;
	*hats = handle ? SDL_JoystickNumHats(handle) : 0;
	*buttons = handle ? SDL_JoystickNumButtons(handle) : 0;
	*balls = handle ? SDL_JoystickNumBalls(handle) : 0;
}

void SdlJoysticks::Update() {
	SDL_JoystickUpdate();
}

int SdlJoysticks::Axis(int index, int axis) {
	SDL_Joystick *handle = Handle(index);
	return handle ? SDL_JoystickGetAxis(handle, axis) : 0;
}

int SdlJoysticks::Hat(int index, int hat) {
	SDL_Joystick *handle = Handle(index);
	return handle ? SDL_JoystickGetHat(handle, hat) : 0;
}

int SdlJoysticks::Button(int index, int button) {
	SDL_Joystick *handle = Handle(index);
	return handle ? SDL_JoystickGetButton(handle, button) : 0;
}

void SdlJoysticks::Ball(int index, int ball, int *dx, int *dy) {
	*dx = *dy = 0;
	if (SDL_Joystick *handle = Handle(index)) {
		SDL_JoystickGetBall(handle, ball, dx, dy);
	}
}

void SdlJoysticks::Rescan() {
	// SDL 1.2 counts its joysticks when the subsystem starts: start it again.
	CloseAll();
	SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
	SDL_InitSubSystem(SDL_INIT_JOYSTICK);
}
