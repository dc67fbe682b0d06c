#ifndef TAVRO_INPUT_JOYSTICKDRIVER_H
#define TAVRO_INPUT_JOYSTICKDRIVER_H

// What the input library asks of the joysticks: SDL's by default; tests hand in pads of their
// own, since no test machine has one.
class JoystickDriver {
public:
	virtual ~JoystickDriver() {}
	// The joysticks attached at the last rescan.
	virtual int Count() = 0;
	virtual const char *Name(int index) = 0;
	// Kept open for reading until closed; false when it cannot be (it went away).
	virtual bool Open(int index) = 0;
	virtual void Close(int index) = 0;
	virtual void Counts(int index, int *axes, int *hats, int *buttons, int *balls) = 0;
	// Fresh states for the reads that follow.
	virtual void Update() = 0;
	virtual int Axis(int index, int axis) = 0;
	virtual int Hat(int index, int hat) = 0;
	virtual int Button(int index, int button) = 0;
	virtual void Ball(int index, int ball, int *dx, int *dy) = 0;
	// Looks for joysticks again, so pads plugged in since are found; every joystick is closed.
	virtual void Rescan() = 0;
};

#endif
