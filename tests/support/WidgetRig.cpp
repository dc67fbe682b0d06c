#include "WidgetRig.h"

#include "core/Overlay2D.h"
#include "gui/WgScriptRunner.h"
#include "script/ScriptFiles.h"

WidgetRig::WidgetRig(int width, int height) : log("WidgetRig"), window(width, height), ready(false) {
	dir.LinkData();
	// As "tavro --script" with a script in the scratch folder: the tests' scripts lie there.
	ScriptFiles::AllowFolder(".");
	g_scriptRunner = &runner;
	if (!window.IsOpen() || !input.Init()) {
		return;
	}
	input.EnableKeyboard(0, true);
	input.EnableMouse(0, true);
	input.SetInputMode(NI_MODE_EVENTS);
	ready = screen.Build(width, height);
}

WidgetRig::~WidgetRig() {
	screen.TearDown();
	ScriptFiles::AllowFolder("");
	g_scriptRunner = nullptr;
}

bool WidgetRig::Run(const std::string &script) {
	dir.WriteText("screen.lua", script);
	return screen.RunScript("screen.lua");
}

void WidgetRig::Push(SDL_Event &event) {
	SDL_PushEvent(&event);
	while (input.HasEvent()) {
		NI_Event *taken = input.GetEvent();
		screen.HandleEvent(taken);
		input.FreeEvent(taken);
	}
}

void WidgetRig::Key(SDLKey key, Uint16 unicode, SDLMod modifiers, bool deliver) {
	SDL_Event event = KeyEvent(true, key, unicode, modifiers);
	if (!deliver) {
		SDL_PushEvent(&event);
		return;
	}
	Push(event);
	event = KeyEvent(false, key, unicode, modifiers);
	Push(event);
}

void WidgetRig::Type(const std::string &text) {
	for (char c : text) {
		Key(static_cast<SDLKey>(c), static_cast<Uint16>(c));
	}
}

void WidgetRig::Move(int x, int y) {
	SDL_Event event = MotionEvent(x, y, x - screen.GetMouseX(), y - screen.GetMouseY());
	Push(event);
}

void WidgetRig::Press(int x, int y) {
	SDL_Event event = ButtonEvent(true, SDL_BUTTON_LEFT, x, y);
	Push(event);
}

void WidgetRig::Release(int x, int y) {
	SDL_Event event = ButtonEvent(false, SDL_BUTTON_LEFT, x, y);
	Push(event);
}

void WidgetRig::Click(int x, int y) {
	Press(x, y);
	Release(x, y);
}

void WidgetRig::Draw(int frameTime) {
	window.Clear(0.0f, 0.0f, 0.0f);
	Begin2D(window.Width(), window.Height());
	screen.DrawWidgets(frameTime);
	End2D();
	window.Grab();
}
