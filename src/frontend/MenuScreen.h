#ifndef TAVRO_FRONTEND_MENUSCREEN_H
#define TAVRO_FRONTEND_MENUSCREEN_H

#include "script/ScriptScreen.h"

class MenuState;
struct NI_Event;

// One screen of the menu, built by its script out of widgets and drawn over the background.
// The program finds the script's widgets by name and hooks its handlers to them; every button
// plays the focus sound when it gains the focus.
class MenuScreen {
public:
	explicit MenuScreen(MenuState &menu);
	virtual ~MenuScreen();
	MenuScreen(const MenuScreen &) = delete;
	MenuScreen &operator=(const MenuScreen &) = delete;

	// Runs the script and hooks the widgets. A script that fails leaves the screen empty
	// (logged); the background, cursor and pictures are still drawn.
	virtual bool Build() = 0;
	// One input event of the frame.
	virtual void HandleEvent(const NI_Event *event);
	// Once a frame, after the events and before the drawing.
	virtual void Update(int frameTime) { static_cast<void>(frameTime); }
	// Inside the 2D overlay.
	virtual void DrawOverlay(int frameTime) = 0;

	ScriptScreen &GetScreen() { return screen; }

protected:
	// Builds the screen's manager, cache and cursor and runs the script.
	bool RunScript(const char *file);
	// The script's button of that name with the focus sound and the handler for activation;
	// null (logged, naming the script) when the script made none.
	WgItem *HookButton(const char *name, WgCallback onActivate, bool optional = false);
	// The script's label of that name; null (logged) when there is none.
	WgItem *FindLabel(const char *name, bool optional = false);
	// Hands the event to the widgets, remembering the mouse.
	void PassOn(const NI_Event *event);
	static bool IsKeyPress(const NI_Event *event, int key);

	MenuState &menu;
	ScriptScreen screen;
	const char *scriptFile;
};

#endif
