#ifndef TAVRO_INPUT_SDLJOYSTICKS_H
#define TAVRO_INPUT_SDLJOYSTICKS_H

#include <vector>

#include "input/JoystickDriver.h"

struct _SDL_Joystick;

// The joysticks as SDL's joystick subsystem sees them; it must be started.
class SdlJoysticks : public JoystickDriver {
public:
	~SdlJoysticks() override;

	int Count() override;
	const char *Name(int index) override;
	bool Open(int index) override;
	void Close(int index) override;
	void Counts(int index, int *axes, int *hats, int *buttons, int *balls) override;
	void Update() override;
	int Axis(int index, int axis) override;
	int Hat(int index, int hat) override;
	int Button(int index, int button) override;
	void Ball(int index, int ball, int *dx, int *dy) override;
	void Rescan() override;

private:
	_SDL_Joystick *Handle(int index) const;
	void CloseAll();

	std::vector<_SDL_Joystick *> handles; // by SDL's joystick number; null while closed
};

#endif
