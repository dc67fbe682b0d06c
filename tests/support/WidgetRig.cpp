#include "WidgetRig.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "core/Overlay2D.h"
#include "gui/WgScriptRunner.h"

WidgetRig::WidgetRig(int width, int height) : ready(false) {
	std::filesystem::create_symlink(BuildDataDir(), "data");
	log.Open("Log.txt", "WidgetRig");
	g_log = &log;
	g_scriptRunner = &runner;
	// A display server that has just lost its last client refuses connections for a moment.
	for (int attempt = 0; attempt < 40 && !(window && window->IsOpen()); attempt++) {
		window.reset();
		if (attempt > 0) {
			SDL_Delay(50);
		}
		window.reset(new GLWindow(width, height));
	}
	if (!window->IsOpen() || !input.Init()) {
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
	g_log = nullptr;
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
	const int w = window->Width(), h = window->Height();
	window->Clear(0.0f, 0.0f, 0.0f);
	Begin2D(w, h);
	screen.DrawWidgets(frameTime);
	End2D();
	std::vector<uint8_t> rgb(w * h * 3);
	glPixelStorei(GL_PACK_ALIGNMENT, 1);
	glReadBuffer(GL_BACK);
	glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
	frame.assign(w * h, 0);
	for (int y = 0; y < h; y++) {
		const uint8_t *row = &rgb[(h - 1 - y) * w * 3];
		for (int x = 0; x < w; x++) {
			frame[y * w + x] = (uint32_t(row[x * 3]) << 16) | (uint32_t(row[x * 3 + 1]) << 8) | row[x * 3 + 2];
		}
	}
}

uint32_t WidgetRig::Pixel(int x, int y) const {
	const int w = window->Width(), h = window->Height();
	return x >= 0 && y >= 0 && x < w && y < h && !frame.empty() ? frame[y * w + x] : 0xFFFFFFFF;
}

void WidgetRig::Shot(const std::string &name) const {
	const char *folder = getenv("TAVRO_GUI_SHOTS");
	if (!folder || frame.empty()) {
		return;
	}
	const int w = window->Width(), h = window->Height();
	SDL_Surface *image = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0);
	for (int y = 0; y < h; y++) {
		memcpy(static_cast<uint8_t *>(image->pixels) + y * image->pitch, &frame[y * w], w * 4);
	}
	SDL_SaveBMP(image, (std::string(folder) + "/" + name + ".bmp").c_str());
	SDL_FreeSurface(image);
}
