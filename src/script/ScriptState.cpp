#include "script/ScriptState.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}
#include <tolua++.h>

#include <algorithm>
#include <cstring>

#include "core/LogFile.h"
#include "gl2d/GL2D_Font.h"
#include "script/ScriptBinding.h"
#include "script/ScriptBudget.h"
#include "script/ScriptFiles.h"
#include "script/ScriptLibraries.h"
#include "script/ScriptObjects.h"

ScriptState *ScriptState::firstOpen = nullptr;

namespace {

// Registry key of the list of the state's user-data boxes: tolua keeps one per class family.
const char *const UBOX_LIST = "tavro_uboxes";

// Globals the host sets are set raw: a script may have given the globals a metatable, and none
// of its code may run outside a run.
void RawSetGlobal(lua_State *L, const char *name) {
	lua_pushstring(L, name);
	lua_insert(L, -2);
	lua_rawset(L, LUA_GLOBALSINDEX);
}

// An error outside every protected call: Lua ends the program after this.
int Panic(lua_State *L) {
	Log(LOG_ERROR, "SCRIPT: unprotected error: %s", lua_isstring(L, -1) ? lua_tostring(L, -1) : "?");
	return 0;
}

std::vector<std::string> GlobalNames(lua_State *L) {
	std::vector<std::string> names;
	lua_pushnil(L);
	while (lua_next(L, LUA_GLOBALSINDEX) != 0) {
		lua_pop(L, 1);
		if (lua_type(L, -1) == LUA_TSTRING) {
			names.push_back(lua_tostring(L, -1));
		}
	}
	return names;
}

// The names the surface adds to the globals; the same in every state.
std::vector<std::string> &SurfaceNames() {
	static std::vector<std::string> names;
	return names;
}

int OpenSurface(lua_State *L) {
	RegisterScriptSurface(L);
	return 0;
}

// Collects every distinct user-data box of the surface's classes into the registry list.
void ListBoxes(lua_State *L) {
	lua_newtable(L);
	for (const std::string &name : SurfaceNames()) {
		luaL_getmetatable(L, name.c_str());
		if (lua_istable(L, -1)) {
			lua_pushstring(L, "tolua_ubox");
			lua_rawget(L, -2);
			if (lua_istable(L, -1)) {
				lua_pushboolean(L, 1);
				lua_rawset(L, -4);
			} else {
				lua_pop(L, 1);
			}
		}
		lua_pop(L, 1);
	}
	lua_pushstring(L, "tolua_ubox");
	lua_rawget(L, LUA_REGISTRYINDEX);
	if (lua_istable(L, -1)) {
		lua_pushboolean(L, 1);
		lua_rawset(L, -3);
	} else {
		lua_pop(L, 1);
	}
	lua_setfield(L, LUA_REGISTRYINDEX, UBOX_LIST);
}

// Nils the box of one object in one user-data box table (at the top of the stack).
void ClearBox(lua_State *L, const void *object) {
	lua_pushlightuserdata(L, const_cast<void *>(object));
	lua_rawget(L, -2);
	if (void **box = static_cast<void **>(lua_touserdata(L, -1))) {
		*box = nullptr;
	}
	lua_pop(L, 1);
	lua_pushlightuserdata(L, const_cast<void *>(object));
	lua_pushnil(L);
	lua_rawset(L, -3);
}

// Every box of the table on top of the stack is nilled, then the table emptied.
void ClearAllBoxes(lua_State *L) {
	lua_pushnil(L);
	while (lua_next(L, -2) != 0) {
		if (void **box = static_cast<void **>(lua_touserdata(L, -1))) {
			*box = nullptr;
		}
		lua_pop(L, 1);
	}
	for (;;) {
		lua_pushnil(L);
		if (lua_next(L, -2) == 0) {
			break;
		}
		lua_pop(L, 1);
		lua_pushnil(L);
		lua_rawset(L, -3);
	}
}

// Calls visit with each user-data box table of the state on top of the stack.
template <class Visit>
void ForEachBoxTable(lua_State *L, Visit visit) {
	if (!L) {
		return;
	}
	lua_getfield(L, LUA_REGISTRYINDEX, UBOX_LIST);
	if (lua_istable(L, -1)) {
		lua_pushnil(L);
		while (lua_next(L, -2) != 0) {
			lua_pop(L, 1);
			visit(L);
		}
	}
	lua_pop(L, 1);
}

bool IsFontClass(const char *className) {
	return strcmp(className, "GL2D_Font") == 0 || strcmp(className, "GL2D_BmpText") == 0 ||
		   strcmp(className, "GL2D_TrueTypeText") == 0;
}

} // namespace

ScriptState::ScriptState() : lua(lua_newstate(ScriptMemory::Allocate, &memory)), prevOpen(nullptr), nextOpen(nullptr) {
	if (!lua) {
		Log(LOG_ERROR, "SCRIPT: Could not open a Lua state!");
		return;
	}
	lua_atpanic(lua, Panic);
	if (lua_cpcall(lua, OpenScriptLibraries, nullptr) != 0) {
		Report(1, "(standard libraries)");
	}
	ScriptBudget::Watch(lua);
	nextOpen = firstOpen;
	if (firstOpen) {
		firstOpen->prevOpen = this;
	}
	firstOpen = this;
	RegisterSurface();
}

ScriptState::~ScriptState() {
	if (!lua) {
		return;
	}
	ClearGlobals();
	const void *registry = ScriptObjects::StateKey(lua);
	lua_close(lua);
	if (prevOpen) {
		prevOpen->nextOpen = nextOpen;
	} else {
		firstOpen = nextOpen;
	}
	if (nextOpen) {
		nextOpen->prevOpen = prevOpen;
	}
	// What its scripts made and neither deleted nor handed over goes with the state.
	ScriptObjects::ReleaseMade(registry);
}

bool ScriptState::RegisterSurface() {
	if (!lua) {
		return false;
	}
	const bool first = SurfaceNames().empty();
	std::vector<std::string> before;
	if (first) {
		before = GlobalNames(lua);
	}
	if (lua_cpcall(lua, OpenSurface, nullptr) != 0) {
		return Report(1, "(script surface)");
	}
	if (first) {
		for (const std::string &name : GlobalNames(lua)) {
			if (std::find(before.begin(), before.end(), name) == before.end()) {
				SurfaceNames().push_back(name);
			}
		}
	}
	ListBoxes(lua);
	return true;
}

void ScriptState::SetObject(const char *name, void *object, const char *className, bool protect) {
	if (!lua || !name || !className) {
		return;
	}
	luaL_getmetatable(lua, className);
	const bool known = lua_istable(lua, -1);
	lua_pop(lua, 1);
	if (object && known) {
		tolua_pushusertype(lua, object, className);
		const bool font = IsFontClass(className);
		if (protect) {
			ScriptObjects::Protect(object);
		}
		if (font) {
			ScriptObjects::AddFont(static_cast<GL2D_Font *>(object));
		}
		handedObjects.push_back(HandedObject{object, font, protect});
	} else {
		if (object) {
			Log(LOG_ERROR, "SCRIPT: No class \"%s\" for the global %s", className, name);
		}
		lua_pushnil(lua);
	}
	RawSetGlobal(lua, name);
	if (std::find(handedOver.begin(), handedOver.end(), name) == handedOver.end()) {
		handedOver.push_back(name);
	}
}

void ScriptState::SetNumber(const char *name, double value) {
	if (!lua || !name) {
		return;
	}
	lua_pushnumber(lua, value);
	RawSetGlobal(lua, name);
	if (std::find(handedOver.begin(), handedOver.end(), name) == handedOver.end()) {
		handedOver.push_back(name);
	}
}

bool ScriptState::RunFile(const char *file) {
	if (!lua || !file) {
		return false;
	}
	std::string text, problem;
	if (!ScriptFiles::Read(file, &text, &problem)) {
		Log(LOG_ERROR, "SCRIPT: %s: %s", file, problem.c_str());
		return false;
	}
	// Named as Lua names files, so messages read "file:line: ...".
	return Run(text.data(), text.size(), ("@" + std::string(file)).c_str(), file);
}

bool ScriptState::RunBuffer(const char *text, size_t length, const char *name) {
	if (!lua || !text) {
		return false;
	}
	name = name ? name : "(buffer)";
	if (IsBinaryChunk(text, length) || length > MAX_CHUNK) {
		Log(LOG_ERROR, "SCRIPT: %s: %s", name,
			IsBinaryChunk(text, length) ? "precompiled chunks are refused" : "chunk too large");
		return false;
	}
	return Run(text, length, name, name);
}

bool ScriptState::Run(const char *text, size_t length, const char *chunkName, const char *name) {
	ScriptBudget::Run budget;
	if (budget.Refused()) {
		Log(ScriptBudget::LogLevel(), "SCRIPT: %s: %s", name, ScriptBudget::Refusal());
		return false;
	}
	memory.SetLimited(true);
	int result = luaL_loadbuffer(lua, text, length, chunkName);
	if (result == 0) {
		result = lua_pcall(lua, 0, 0, 0);
	}
	memory.SetLimited(false);
	return Report(result, name);
}

bool ScriptState::Report(int result, const char *name) {
	if (result == 0) {
		return true;
	}
	const char *message = lua_isstring(lua, -1) ? lua_tostring(lua, -1) : "(error object is not a string)";
	// One log line: the binding's messages span several.
	char line[LogFile::LINE_SIZE];
	size_t i = 0;
	for (; message[i] && i < sizeof(line) - 1; i++) {
		line[i] = message[i] == '\n' || message[i] == '\t' ? ' ' : message[i];
	}
	line[i] = '\0';
	Log(ScriptBudget::LogLevel(), "SCRIPT: %s: %s", name, line);
	lua_pop(lua, 1);
	return false;
}

void ScriptState::ClearGlobals() {
	if (!lua) {
		return;
	}
	for (const std::vector<std::string> *names : {&SurfaceNames(), &handedOver}) {
		for (const std::string &name : *names) {
			lua_pushnil(lua);
			RawSetGlobal(lua, name.c_str());
		}
	}
	handedOver.clear();
	for (const HandedObject &handed : handedObjects) {
		if (handed.protect) {
			ScriptObjects::Unprotect(handed.object);
		}
		if (handed.font) {
			ScriptObjects::RemoveFont(static_cast<const GL2D_Font *>(handed.object));
		}
	}
	handedObjects.clear();
}

void ScriptState::ForgetObjects() {
	ForEachBoxTable(lua, ClearAllBoxes);
}

void ScriptState::Forget(const void *object) {
	ForEachBoxTable(lua, [object](lua_State *L) { ClearBox(L, object); });
}

void ScriptState::ObjectGone(const void *object) {
	for (ScriptState *state = firstOpen; state; state = state->nextOpen) {
		state->Forget(object);
	}
}
