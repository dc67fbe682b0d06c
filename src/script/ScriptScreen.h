#ifndef TAVRO_SCRIPT_SCRIPTSCREEN_H
#define TAVRO_SCRIPT_SCRIPTSCREEN_H

#include "gui/WgItem.h"

class GL2D_CacheManager;
class GL2D_Mouse;
class ScriptState;
class WgManager;
struct NI_Event;

// One scripted screen: its Lua state, widget manager, cache manager and cursor. The script
// builds the widgets through the globals pManager, pCacheManager, ScreenWidth and ScreenHeight;
// the program then looks them up and hooks its handlers, hands the screen its input events and
// draws it every frame. The menu screens, the in-game menu and "tavro --script" are all one.
class ScriptScreen {
public:
	static const char *const CURSOR_FILE;

	ScriptScreen();
	~ScriptScreen();
	ScriptScreen(const ScriptScreen &) = delete;
	ScriptScreen &operator=(const ScriptScreen &) = delete;

	// The manager (owning its items, focus following the mouse, viewport of the screen),
	// the cache, the cursor and the Lua state with the four globals. False when the Lua state
	// cannot be opened; a cursor that does not load draws nothing.
	bool Build(int width, int height, const char *cursorFile = CURSOR_FILE);
	// Runs the screen's script. On failure (logged) the screen is left empty: whatever the
	// script made before it failed is gone.
	bool RunScript(const char *file);
	// Deletes what Build made; the screen's objects are out of every script's reach. Done by
	// the destructor too.
	void TearDown();

	// Remembers the mouse position of motion events, then hands the event to the manager.
	void HandleEvent(const NI_Event *event);
	// Inside the 2D overlay; frameTime in ms.
	void DrawWidgets(int frameTime);
	void DrawCursor(int frameTime);
	void SetMousePosition(int x, int y);
	int GetMouseX() const { return mouseX; }
	int GetMouseY() const { return mouseY; }

	// A widget the script made; null when there is none.
	WgItem *Find(int type, const char *name) const;

	WgManager *GetManager() const { return manager; }
	GL2D_CacheManager *GetCacheManager() const { return cache; }
	ScriptState *GetState() const { return state; }

private:
	void MakeManager();
	void HandOverGlobals();

	int width, height;  // pixels
	int mouseX, mouseY; // pixels, of the last mouse motion
	ScriptState *state;
	WgManager *manager;
	GL2D_CacheManager *cache;
	GL2D_Mouse *cursor;
};

#endif
