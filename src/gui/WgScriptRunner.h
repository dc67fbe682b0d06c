#ifndef TAVRO_GUI_WGSCRIPTRUNNER_H
#define TAVRO_GUI_WGSCRIPTRUNNER_H

class WgItem;

// What the toolkit needs from the scripting host. The toolkit never includes the host: the
// program installs one at start-up, tests install their own.
class WgScriptRunner {
public:
	virtual ~WgScriptRunner() {}

	// An event script of the item (Me = item); its result is not examined.
	virtual void RunEventScript(WgItem *item, const char *file) = 0;
	// ExecuteLua: like an event script, with the item's cache manager handed over too.
	virtual bool RunItemScript(WgItem *item, const char *file) = 0;
	// A toolkit object (an item or a manager) is being destroyed: no script may reach it any
	// more.
	virtual void ObjectGone(const void *object) = 0;
};

// Null: items run no scripts.
extern WgScriptRunner *g_scriptRunner;

#endif
