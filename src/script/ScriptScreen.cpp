#include "script/ScriptScreen.h"

#include "core/VideoConfig.h"
#include "gl2d/GL2D_CacheManager.h"
#include "gl2d/GL2D_Mouse.h"
#include "gui/WgManager.h"
#include "input/NoxInput.h"
#include "script/ScriptObjects.h"
#include "script/ScriptState.h"

const char *const ScriptScreen::CURSOR_FILE = "data/rects/mouse.nmd";

ScriptScreen::ScriptScreen()
	: width(0), height(0), mouseX(0), mouseY(0), state(nullptr), manager(nullptr), cache(nullptr), cursor(nullptr) {}

ScriptScreen::~ScriptScreen() {
	TearDown();
}

bool ScriptScreen::Build(int screenWidth, int screenHeight, const char *cursorFile) {
	TearDown();
	width = screenWidth;
	height = screenHeight;
	MakeManager();
	cache = new GL2D_CacheManager();
	cursor = new GL2D_Mouse();
	cursor->SetScale(VideoConfig::ScreenScale(width, height));
	cursor->Load(cursorFile);
	state = new ScriptState();
	if (!state->IsOpen()) {
		return false;
	}
	HandOverGlobals();
	return true;
}

void ScriptScreen::MakeManager() {
	manager = new WgManager(true);
	manager->SetOnMouseMotion(true);
	manager->SetViewport(0, 0, width - 1, height - 1);
}

void ScriptScreen::HandOverGlobals() {
	state->SetObject("pManager", manager, "WgManager");
	state->SetObject("pCacheManager", cache, "GL2D_CacheManager");
	state->SetNumber("ScreenWidth", width);
	state->SetNumber("ScreenHeight", height);
	state->SetNumber("ScreenScale", VideoConfig::ScreenScale(width, height));
}

bool ScriptScreen::RunScript(const char *file) {
	if (!state || !state->IsOpen()) {
		return false;
	}
	if (state->RunFile(file)) {
		return true;
	}
	// Nothing half-built stays: a fresh, empty manager takes the place of the old one.
	state->ClearGlobals();
	state->ForgetObjects();
	delete manager;
	MakeManager();
	state->RegisterSurface();
	HandOverGlobals();
	return false;
}

void ScriptScreen::TearDown() {
	delete cursor;
	cursor = nullptr;
	if (cache) {
		ScriptObjects::CacheGone(cache);
		delete cache;
		cache = nullptr;
	}
	delete manager;
	manager = nullptr;
	if (state) {
		state->ClearGlobals();
		state->ForgetObjects();
		delete state;
		state = nullptr;
	}
}

void ScriptScreen::HandleEvent(const NI_Event *event) {
	if (!manager || !event) {
		return;
	}
	if (event->kind == NI_MOUSE_MOTION && event->mice &&
		(event->mode == NI_MODE_EVENTS || event->mode == NI_MODE_BOTH)) {
		mouseX = event->mice[0].x;
		mouseY = event->mice[0].y;
	}
	manager->SetInputEvent(event);
}

void ScriptScreen::DrawWidgets(int frameTime) {
	if (manager) {
		manager->DrawAll(frameTime);
	}
}

void ScriptScreen::DrawCursor(int frameTime) {
	if (cursor) {
		cursor->Draw(mouseX, mouseY, frameTime);
	}
}

void ScriptScreen::SetMousePosition(int x, int y) {
	mouseX = x;
	mouseY = y;
}

WgItem *ScriptScreen::Find(int type, const char *name) const {
	return manager ? manager->FindItemByNameAndType(type, name) : nullptr;
}
