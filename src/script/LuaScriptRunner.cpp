#include "script/LuaScriptRunner.h"

#include "core/LogFile.h"
#include "gui/WgItem.h"
#include "script/ScriptBudget.h"
#include "script/ScriptFiles.h"
#include "script/ScriptObjects.h"
#include "script/ScriptState.h"

LuaScriptRunner::LuaScriptRunner() : nesting(0) {}

void LuaScriptRunner::RunEventScript(WgItem *item, const char *file) {
	Run(item, file, false);
}

bool LuaScriptRunner::RunItemScript(WgItem *item, const char *file) {
	return Run(item, file, true);
}

bool LuaScriptRunner::Run(WgItem *item, const char *file, bool withCache) {
	if (!item || !file) {
		return false;
	}
	// The item's slot may be changed by the script itself.
	char name[WgItem::SCRIPT_NAME_SIZE];
	WgItem::CopyText(name, sizeof(name), file);
	if (nesting >= MAX_NESTING) {
		Log(LOG_ERROR, "SCRIPT: %s: not run, scripts nested %d deep", name, nesting);
		return false;
	}
	if (!ScriptFiles::Allows(name)) {
		Log(LOG_ERROR, "SCRIPT: %s: refused, scripts name files inside the game's data folder only", name);
		return false;
	}
	// One budget for this run and all it starts; no state is opened for a run that may not start.
	ScriptBudget::Run budget;
	if (budget.Refused()) {
		Log(ScriptBudget::LogLevel(), "SCRIPT: %s: %s", name, ScriptBudget::Refusal());
		return false;
	}
	nesting++;
	bool ran = false;
	{
		ScriptState state;
		if (state.IsOpen()) {
			// Not protected: no script deletes an item while its event or ExecuteLua runs anyway.
			state.SetObject("Me", item, item->GetClassName(), false);
			if (withCache && item->GetCacheManager()) {
				state.SetObject("CacheManager", item->GetCacheManager(), "GL2D_CacheManager");
			}
			ran = state.RunFile(name);
		}
	}
	nesting--;
	return ran;
}

void LuaScriptRunner::ObjectGone(const void *object) {
	ScriptObjects::ToolkitObjectGone(object);
}
