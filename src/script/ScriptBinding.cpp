#include "script/ScriptBinding.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}
#include <tolua++.h>

#include <algorithm>
#include <cmath>

#include "core/LogFile.h"
#include "script/ScriptFiles.h"
#include "script/ScriptObjects.h"
#include "script/ScriptSeal.h"

// Made by tolua++5.1 from tavro.pkg.
int tolua_tavro_open(lua_State *L);

namespace {

// Far beyond any position, size or count, and small enough that sums of a few never overflow;
// floats hold it exactly.
const double SCRIPT_INT_LIMIT = 16777216.0;

// A node number from a script: a whole number in the range of the manager's handles, or -1,
// which names no node.
long long ToHandle(lua_State *L, int narg) {
	const double number = lua_tonumber(L, narg);
	const bool whole = number >= 1 && number < 9007199254740992.0 && number == std::floor(number);
	return whole ? static_cast<long long>(number) : -1;
}

// Returns the node handle, or nil when nothing was added. A nil parent is none.
int AddItem(lua_State *L) {
	tolua_Error error;
	if (!tolua_isusertype(L, 1, "WgManager", 0, &error) || !tolua_isusertype(L, 2, "WgItem", 0, &error) ||
		(!lua_isnoneornil(L, 3) && !tolua_isnumber(L, 3, 1, &error)) || !tolua_isnoobj(L, 4, &error)) {
		tolua_error(L, "#ferror in function 'AddItem'.", &error);
		return 0;
	}
	WgManager *self = static_cast<WgManager *>(tolua_tousertype(L, 1, nullptr));
	WgItem *item = static_cast<WgItem *>(tolua_tousertype(L, 2, nullptr));
	const long long parent = lua_isnoneornil(L, 3) ? 0 : ToHandle(L, 3);
	if (!self) {
		tolua_error(L, "invalid 'self' in function 'AddItem'", nullptr);
	}
	const long long handle = self->AddItemHandle(item, parent);
	if (handle && self->OwnsItems()) {
		ScriptObjects::Disown(item);
	}
	if (handle) {
		lua_pushnumber(L, static_cast<lua_Number>(handle));
	} else {
		lua_pushnil(L);
	}
	return 1;
}

// Only what cannot break the program: no casts, no ownership changes. tolua++ makes its table
// once per state, so the cut-down one is kept for the registrations that follow a clearing.
void RestrictTolua(lua_State *L) {
	lua_getfield(L, LUA_REGISTRYINDEX, "tavro_tolua");
	if (!lua_istable(L, -1)) {
		lua_pop(L, 1);
		lua_newtable(L);
		lua_pushstring(L, "tolua");
		lua_rawget(L, LUA_GLOBALSINDEX);
		if (lua_istable(L, -1)) {
			lua_pushstring(L, "type");
			lua_rawget(L, -2);
			lua_setfield(L, -3, "type");
		}
		lua_pop(L, 1);
		lua_pushvalue(L, -1);
		lua_setfield(L, LUA_REGISTRYINDEX, "tavro_tolua");
	}
	lua_pushstring(L, "tolua");
	lua_insert(L, -2);
	lua_rawset(L, LUA_GLOBALSINDEX);
}

void Refuse(lua_State *L, const void *object, const char *what) {
	if (ScriptObjects::IsProtected(object)) {
		luaL_error(L, "cannot delete this %s: it belongs to the program", what);
	}
	if (ScriptObjects::IsLent(object)) {
		luaL_error(L, "cannot delete this %s: it belongs to its cache manager", what);
	}
}

// What else must let go of an object that is going, by its kind.
void LetGo(const GL2D_Rect *rect) {
	ScriptObjects::RectGone(rect);
}

void LetGo(const GL2D_BmpText *font) {
	ScriptObjects::FontGone(font);
}

void LetGo(const GL2D_CacheManager *cache) {
	ScriptObjects::CacheGone(cache);
}

void LetGo(const void *object) {
	ScriptObjects::Gone(object);
}

template <class T>
void DeleteObject(lua_State *L, T *object, const char *what) {
	Refuse(L, object, what);
	LetGo(object);
	delete object;
}

} // namespace

void RegisterScriptSurface(lua_State *L) {
	tolua_tavro_open(L);
	tolua_beginmodule(L, nullptr);
	tolua_beginmodule(L, "WgManager");
	tolua_function(L, "AddItem", TavroGuarded<AddItem>);
	tolua_endmodule(L);
	tolua_endmodule(L);
	RestrictTolua(L);
	SealSurface(L);
}

int TavroRaise(lua_State *L, const char *message) {
	return luaL_error(L, "%s", message);
}

int TavroToInt(lua_State *L, int narg, double def) {
	const double value = tolua_tonumber(L, narg, def);
	if (std::isnan(value)) {
		return 0;
	}
	return static_cast<int>(std::max(-SCRIPT_INT_LIMIT, std::min(SCRIPT_INT_LIMIT, value)));
}

float TavroToFloat(lua_State *L, int narg, double def) {
	const double value = tolua_tonumber(L, narg, def);
	if (std::isnan(value)) {
		return 0.0f;
	}
	return static_cast<float>(std::max(-SCRIPT_INT_LIMIT, std::min(SCRIPT_INT_LIMIT, value)));
}

const char *TavroScriptPath(lua_State *, const char *file) {
	if (file && !ScriptFiles::Allows(file)) {
		Log(LOG_ERROR, "SCRIPT: %s: refused, scripts name files inside the game's data folder only", file);
		return nullptr;
	}
	return file;
}

void TavroNoteNew(GL2D_Font *font) {
	ScriptObjects::AddFont(font);
}

void TavroMade(lua_State *L, void *object, void (*release)(void *)) {
	ScriptObjects::Made(ScriptObjects::StateKey(L), object, release);
}

void TavroLetGoMade(WgItem *item) {
	ScriptObjects::Disown(item);
}

void TavroLetGoMade(WgManager *manager) {
	ScriptObjects::Disown(manager);
}

void TavroLetGoMade(const GL2D_Rect *rect) {
	LetGo(rect);
}

void TavroLetGoMade(const GL2D_BmpText *font) {
	LetGo(font);
}

void TavroLetGoMade(const GL2D_CacheManager *cache) {
	LetGo(cache);
}

void TavroLetGoMade(const void *object) {
	LetGo(object);
}

void TavroScriptDelete(lua_State *L, WgItem *item) {
	Refuse(L, item, item->GetClassName());
	if (item->GetPartOf()) {
		luaL_error(L, "cannot delete '%s': it is a part of '%s'", item->GetName(), item->GetPartOf()->GetName());
	}
	if (WgItem::IsDispatching()) {
		luaL_error(L, "cannot delete '%s' while a widget event runs", item->GetName());
	}
	// Its destructor takes it out of its manager and out of every script's reach.
	ScriptObjects::Disown(item);
	delete item;
}

void TavroScriptDelete(lua_State *L, WgManager *manager) {
	Refuse(L, manager, "WgManager");
	if (WgItem::IsDispatching()) {
		luaL_error(L, "cannot delete a WgManager while a widget event runs");
	}
	ScriptObjects::Disown(manager);
	delete manager;
}

void TavroScriptDelete(lua_State *L, GL2D_Rect *rect) {
	DeleteObject(L, rect, "GL2D_Rect");
}

void TavroScriptDelete(lua_State *L, GL2D_Color *color) {
	DeleteObject(L, color, "GL2D_Color");
}

void TavroScriptDelete(lua_State *L, GL2D_BmpRect *rect) {
	DeleteObject(L, rect, "GL2D_BmpRect");
}

void TavroScriptDelete(lua_State *L, GL2D_SimpleBmpRect *rect) {
	DeleteObject(L, rect, "GL2D_SimpleBmpRect");
}

void TavroScriptDelete(lua_State *L, GL2D_BmpText *font) {
	DeleteObject(L, font, "font");
}

void TavroScriptDelete(lua_State *L, GL2D_Mouse *mouse) {
	DeleteObject(L, mouse, "GL2D_Mouse");
}

void TavroScriptDelete(lua_State *L, GL2D_CacheManager *cache) {
	DeleteObject(L, cache, "GL2D_CacheManager");
}

GL2D_Font *ScriptCacheGetFont(GL2D_CacheManager *cache, const char *file, GL2D_Color *color, float scale) {
	const GL2D_Color white = {1.0f, 1.0f, 1.0f, 1.0f};
	const GL2D_Color &wanted = color ? *color : white;
	GL2D_Font *font = cache->GetFont(file, wanted.r, wanted.g, wanted.b, wanted.a, scale);
	if (font && !ScriptObjects::IsLent(font)) {
		ScriptObjects::Lend(cache, font);
		ScriptObjects::AddFont(font);
	}
	return font;
}

GL2D_BmpRect *ScriptCacheGetRect(GL2D_CacheManager *cache, const char *file) {
	GL2D_BmpRect *rect = cache->GetRect(file);
	ScriptObjects::Lend(cache, rect);
	return rect;
}

GL2D_SimpleBmpRect *ScriptCacheGetSimpleRect(GL2D_CacheManager *cache, const char *file) {
	GL2D_SimpleBmpRect *rect = cache->GetSimpleRect(file);
	ScriptObjects::Lend(cache, rect);
	return rect;
}

void ScriptMouseDraw(GL2D_Mouse *mouse, int x, int y) {
	mouse->Draw(x, y, 0);
}

int ScriptTextWidth(const GL2D_Font *font, const char *text) {
	char kept[GL2D_Font::MAX_TEXT + 1];
	WgItem::CopyText(kept, sizeof(kept), text);
	return font->GetTextWidth(kept);
}

void ScriptSetKerning(GL2D_BmpText *font, int kerning) {
	font->SetKerning(std::max(-GL2D_BmpText::MAX_KERNING, std::min(GL2D_BmpText::MAX_KERNING, kerning)));
}

void ScriptBmpRectDraw(GL2D_BmpRect *rect, int x, int y, int w, int h, const GL2D_Rect *clip) {
	rect->Draw(x, y, std::max(0, std::min(WgItem::MAX_SIZE, w)), std::max(0, std::min(WgItem::MAX_SIZE, h)), clip);
}
