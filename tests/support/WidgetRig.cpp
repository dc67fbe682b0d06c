#include "WidgetRig.h"

#include "core/Overlay2D.h"
#include "gui/WgScriptRunner.h"

WidgetRig::WidgetRig(int width, int height) : log("WidgetRig"), window(width, height), ready(false) {
	dir.LinkData();
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
	SDL_Event event = {};
	event.type = SDL_KEYDOWN;
	event.key.state = SDL_PRESSED;
	event.key.keysym.sym = key;
	event.key.keysym.mod = modifiers;
	event.key.keysym.unicode = unicode;
	if (!deliver) {
		SDL_PushEvent(&event);
		return;
	}
	Push(event);
	event.type = SDL_KEYUP;
	event.key.state = SDL_RELEASED;
	Push(event);
}

void WidgetRig::Type(const std::string &text) {
	for (char c : text) {
		Key(static_cast<SDLKey>(c), static_cast<Uint16>(c));
	}
}

void WidgetRig::Move(int x, int y) {
	SDL_Event event = {};
	event.type = SDL_MOUSEMOTION;
	event.motion.x = static_cast<Uint16>(x);
	event.motion.y = static_cast<Uint16>(y);
	event.motion.xrel = static_cast<Sint16>(x - screen.GetMouseX());
	event.motion.yrel = static_cast<Sint16>(y - screen.GetMouseY());
	Push(event);
}

void WidgetRig::Press(int x, int y) {
	Button(SDL_MOUSEBUTTONDOWN, x, y);
}

void WidgetRig::Release(int x, int y) {
	Button(SDL_MOUSEBUTTONUP, x, y);
}

void WidgetRig::Button(Uint8 type, int x, int y) {
	SDL_Event event = {};
	event.type = type;
	event.button.button = SDL_BUTTON_LEFT;
	event.button.x = static_cast<Uint16>(x);
	event.button.y = static_cast<Uint16>(y);
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
