#ifndef TAVRO_SCRIPT_LUASCRIPTRUNNER_H
#define TAVRO_SCRIPT_LUASCRIPTRUNNER_H

#include "gui/WgScriptRunner.h"

// Runs the toolkit's scripts: every widget event script and every ExecuteLua in a fresh Lua
// state of its own, with the item as Me, closed again at the end of the run.
class LuaScriptRunner : public WgScriptRunner {
public:
	// Event scripts may fire further events; a chain deeper than this is cut off.
	static constexpr int MAX_NESTING = 8;

	LuaScriptRunner();

	void RunEventScript(WgItem *item, const char *file) override;
	bool RunItemScript(WgItem *item, const char *file) override;
	void ObjectGone(const void *object) override;

private:
	bool Run(WgItem *item, const char *file, bool withCache);

	int nesting; // runs in progress
};

#endif
