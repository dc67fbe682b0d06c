#include "match/MenuKit.h"

#include "core/LogFile.h"
#include "audio/SoundBank.h"
#include "script/ScriptScreen.h"

namespace {

void PlayFocusSound(WgItem *, void *) {
	if (g_sound) {
		g_sound->PlaySample(SOUND_BUTTON_FOCUS, -1);
	}
}

const char *const STYLE_SCRIPT = "data/menu_style.lua";

} // namespace

bool RunMenuScript(ScriptScreen &screen, const char *script) {
	return screen.RunScript(STYLE_SCRIPT) && screen.RunScript(script);
}

WgItem *FindMenuWidget(ScriptScreen &screen, const char *script, int type, const char *name, bool optional) {
	WgItem *item = screen.Find(type, name);
	if (!item && !optional) {
		Log(LOG_WARNING, "MENU: %s makes no widget \"%s\"", script, name);
	}
	return item;
}

WgItem *HookMenuButton(
	ScriptScreen &screen, const char *script, const char *name, WgCallback onActivate, void *context, bool optional) {
	WgItem *button = FindMenuWidget(screen, script, WG_TYPE_BUTTON, name, optional);
	if (button) {
		button->SetCallback(GI_ON_FOCUS, PlayFocusSound, nullptr);
		button->SetCallback(GI_ON_ACTIVATE, onActivate, context);
	}
	return button;
}
