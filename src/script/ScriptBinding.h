#ifndef TAVRO_SCRIPT_SCRIPTBINDING_H
#define TAVRO_SCRIPT_SCRIPTBINDING_H

// The hand-written half of the script surface. The generated binding includes this header and,
// after its post-processing, calls these functions for numbers, constructors and destructors.

#include <cstdio>
#include <exception>
#include <new>

#include "gl2d/GL2D_BmpRect.h"
#include "gl2d/GL2D_BmpText.h"
#include "gl2d/GL2D_CacheManager.h"
#include "gl2d/GL2D_Font.h"
#include "gl2d/GL2D_Mouse.h"
#include "gl2d/GL2D_Rect.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "gl2d/GL2D_TrueTypeText.h"
#include "gui/WgButton_GL2D.h"
#include "gui/WgCheckBox_GL2D.h"
#include "gui/WgEditBox_GL2D.h"
#include "gui/WgLabel_GL2D.h"
#include "gui/WgListBox_GL2D.h"
#include "gui/WgManager.h"
#include "gui/WgWindow_GL2D.h"
#include "input/NI_Event.h"
#include "script/ScriptSeal.h"

struct lua_State;

// Registers the whole surface into the state; run it inside a protected call.
void RegisterScriptSurface(lua_State *L);

// Raises a script error with the message; does not return.
int TavroRaise(lua_State *L, const char *message);

// Every bound function runs inside this: a C++ exception (a failed allocation among them) ends
// the script's call with a script error instead of the program. Nothing here outlives a jump.
template <int (*F)(lua_State *)>
int TavroGuarded(lua_State *L) {
	const char *message = "a C++ exception";
	char text[128];
	try {
		return F(L);
	} catch (const std::bad_alloc &) {
		message = "not enough memory";
	} catch (const std::exception &exception) {
		snprintf(text, sizeof(text), "%s", exception.what());
		message = text;
	} catch (...) {
	}
	return TavroRaise(L, message);
}

// A number argument as an integer: truncated toward zero, held within +-2^24, NaN as 0.
int TavroToInt(lua_State *L, int narg, double def);
// The same for a float argument or field (a double beyond a float's range has no float value).
float TavroToFloat(lua_State *L, int narg, double def);

// A file name from a script: itself when scripts may name it (ScriptFiles::Allows), else null
// (the call then finds no file), with a log line.
const char *TavroScriptPath(lua_State *L, const char *file);

// Constructors: fonts a script makes are known to the binding (they may hold a clip), and
// whatever a script makes belongs to its Lua state until the script deletes it or hands it to
// a manager that owns its items (ScriptObjects::Made).
void TavroNoteNew(GL2D_Font *font);
inline void TavroNoteNew(const void *) {}
void TavroMade(lua_State *L, void *object, void (*release)(void *));
// What the state does with what it still holds when it closes: everything that points at the
// object lets go (widgets and managers see to that themselves), then it is deleted.
void TavroLetGoMade(WgItem *item);
void TavroLetGoMade(WgManager *manager);
void TavroLetGoMade(const GL2D_Rect *rect);
void TavroLetGoMade(const GL2D_BmpText *font);
void TavroLetGoMade(const GL2D_CacheManager *cache);
void TavroLetGoMade(const void *object);
template <class T>
void TavroReleaseMade(void *object) {
	T *made = static_cast<T *>(object);
	TavroLetGoMade(made);
	delete made;
}
template <class T>
T *TavroTrackNew(lua_State *L, T *object) {
	TavroNoteNew(object);
	TavroMade(L, object, TavroReleaseMade<T>);
	return object;
}

// Destructors. A script error instead when the object is not the script's to delete: it
// belongs to the program, to a cache manager or to a widget, or a widget event is running.
void TavroScriptDelete(lua_State *L, WgItem *item);
void TavroScriptDelete(lua_State *L, WgManager *manager);
void TavroScriptDelete(lua_State *L, GL2D_Rect *rect);
void TavroScriptDelete(lua_State *L, GL2D_Color *color);
void TavroScriptDelete(lua_State *L, GL2D_BmpRect *rect);
void TavroScriptDelete(lua_State *L, GL2D_SimpleBmpRect *rect);
void TavroScriptDelete(lua_State *L, GL2D_BmpText *font);
void TavroScriptDelete(lua_State *L, GL2D_Mouse *mouse);
void TavroScriptDelete(lua_State *L, GL2D_CacheManager *cache);

// Methods that scripts call in another form than the program.
GL2D_Font *ScriptCacheGetFont(GL2D_CacheManager *cache, const char *file, GL2D_Color *color, float scale);
GL2D_BmpRect *ScriptCacheGetRect(GL2D_CacheManager *cache, const char *file);
GL2D_SimpleBmpRect *ScriptCacheGetSimpleRect(GL2D_CacheManager *cache, const char *file);
void ScriptMouseDraw(GL2D_Mouse *mouse, int x, int y);
// A text measured as fonts write it, at most GL2D_Font::MAX_TEXT characters.
int ScriptTextWidth(const GL2D_Font *font, const char *text);
// Held to what a font takes, +-GL2D_BmpText::MAX_KERNING.
void ScriptSetKerning(GL2D_BmpText *font, int kerning);
// Sizes held to 0 to WgItem::MAX_SIZE: a frame's pieces are walked one by one.
void ScriptBmpRectDraw(GL2D_BmpRect *rect, int x, int y, int w, int h, const GL2D_Rect *clip);

#endif
