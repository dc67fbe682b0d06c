#ifndef TAVRO_MATCH_MENUKIT_H
#define TAVRO_MATCH_MENUKIT_H

#include "gui/WgItem.h"

class ScriptScreen;

// What the scripted menus share: their look, their buttons' focus sound and their warnings.

// The shared look "data/menu_style.lua" first, then the screen's own script, in the screen's
// Lua state. False when either fails (logged); the screen is then left empty.
bool RunMenuScript(ScriptScreen &screen, const char *script);

// The screen's button of that name, given the focus sound on GI_ON_FOCUS and onActivate on
// GI_ON_ACTIVATE; null, with a warning naming the button and the script, when the script made
// none (no warning for an optional one). Every menu screen and the in-game menu hook their
// buttons this way.
WgItem *HookMenuButton(ScriptScreen &screen, const char *script, const char *name, WgCallback onActivate, void *context,
	bool optional = false);

// The screen's widget of that type and name; null, with the same warning, when there is none.
WgItem *FindMenuWidget(ScriptScreen &screen, const char *script, int type, const char *name, bool optional = false);

#endif
