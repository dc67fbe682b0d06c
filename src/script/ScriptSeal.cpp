#include "script/ScriptSeal.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}
#include <tolua++.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Registry key of the stand-ins' shared metatable.
const char *const STAND_IN_META = "tavro_class_stand_in";

// The key, in a stand-in, of the name of the class it stands for: a light user data, which no
// script can make.
char s_classKey;

// tolua's lookup for objects, which every class metatable holds: found at the first sealing.
lua_CFunction s_toluaIndex = nullptr;

// The classes of the surface, the same in every state: found at the first sealing.
std::vector<std::string> &ClassNames() {
	static std::vector<std::string> names;
	return names;
}

// The binding's own entries of a class metatable: ".get", ".set", ".collector", "__gc",
// "__index"... and the table of object handles.
bool IsBindingEntry(lua_State *L, int key) {
	if (lua_type(L, key) != LUA_TSTRING) {
		return false;
	}
	const char *name = lua_tostring(L, key);
	return name[0] == '.' || name[0] == '_' || strcmp(name, "tolua_ubox") == 0;
}

// __index of an object: tolua's lookup, which would also give out the metatables' raw entries,
// minus those. Called directly, not through Lua, so a lookup costs no extra call.
int SealedIndex(lua_State *L) {
	if (IsBindingEntry(L, 2)) {
		lua_pushnil(L);
		return 1;
	}
	const lua_CFunction lookup = lua_tocfunction(L, lua_upvalueindex(1));
	lua_settop(L, 2);
	return lookup(L);
}

// The name of the class a stand-in stands for, pushed (nil when none).
void PushClassName(lua_State *L, int table) {
	lua_pushlightuserdata(L, &s_classKey);
	lua_rawget(L, table);
}

// __index of a stand-in: the class's methods, its bases' included; nothing else.
int StandInIndex(lua_State *L) {
	if (IsBindingEntry(L, 2)) {
		lua_pushnil(L);
		return 1;
	}
	PushClassName(L, 1);
	if (!lua_isstring(L, -1)) {
		lua_pushnil(L);
		return 1;
	}
	luaL_getmetatable(L, lua_tostring(L, -1));
	while (lua_istable(L, -1)) {
		lua_pushvalue(L, 2);
		lua_rawget(L, -2);
		if (lua_isfunction(L, -1)) {
			return 1;
		}
		lua_pop(L, 1);
		if (!lua_getmetatable(L, -1)) {
			break;
		}
		lua_remove(L, -2);
	}
	lua_pushnil(L);
	return 1;
}

int StandInNewIndex(lua_State *L) {
	PushClassName(L, 1);
	return luaL_error(L, "the class %s cannot be changed", lua_isstring(L, -1) ? lua_tostring(L, -1) : "?");
}

void RawSetField(lua_State *L, int table, const char *key) {
	lua_pushstring(L, key);
	lua_insert(L, -2);
	lua_rawset(L, table);
}

// Pushes the state's stand-in metatable, made on first use.
void PushStandInMeta(lua_State *L) {
	lua_getfield(L, LUA_REGISTRYINDEX, STAND_IN_META);
	if (lua_istable(L, -1)) {
		return;
	}
	lua_pop(L, 1);
	lua_createtable(L, 0, 3);
	const int meta = lua_gettop(L);
	lua_pushcfunction(L, StandInIndex);
	RawSetField(L, meta, "__index");
	lua_pushcfunction(L, StandInNewIndex);
	RawSetField(L, meta, "__newindex");
	lua_pushboolean(L, 0);
	RawSetField(L, meta, "__metatable");
	lua_pushvalue(L, meta);
	lua_setfield(L, LUA_REGISTRYINDEX, STAND_IN_META);
}

// The globals that are class metatables, as tolua registers them.
void FindClasses(lua_State *L) {
	lua_pushnil(L);
	while (lua_next(L, LUA_GLOBALSINDEX) != 0) {
		if (lua_type(L, -2) == LUA_TSTRING && lua_istable(L, -1)) {
			lua_pushvalue(L, -1);
			lua_rawget(L, LUA_REGISTRYINDEX);
			if (lua_isstring(L, -1)) {
				luaL_getmetatable(L, lua_tostring(L, -1));
				if (lua_rawequal(L, -1, -3)) {
					ClassNames().push_back(lua_tostring(L, -4));
				}
				lua_pop(L, 1);
			}
			lua_pop(L, 1);
		}
		lua_pop(L, 1);
	}
}

} // namespace

void SealSurface(lua_State *L) {
	if (ClassNames().empty()) {
		FindClasses(L);
	}
	PushStandInMeta(L);
	const int meta = lua_gettop(L);
	lua_pushliteral(L, "__index");
	const int indexKey = lua_gettop(L);
	lua_pushnil(L);
	const int lookup = lua_gettop(L); // the sealed lookup, made for the first class
	// Per class: the metatable's lookup sealed (once; registering again finds it so), and a
	// new stand-in in the global (the old one, if any, goes with the garbage).
	for (const std::string &name : ClassNames()) {
		lua_pushstring(L, name.c_str());
		const int className = lua_gettop(L);
		lua_pushvalue(L, className);
		lua_rawget(L, LUA_REGISTRYINDEX);
		if (lua_istable(L, -1)) {
			lua_pushvalue(L, indexKey);
			lua_rawget(L, -2);
			const lua_CFunction original = lua_tocfunction(L, -1);
			lua_pop(L, 1);
			if (!s_toluaIndex && original != SealedIndex) {
				s_toluaIndex = original;
			}
			if (original && original != SealedIndex) {
				if (original == s_toluaIndex && !lua_isnil(L, lookup)) {
					lua_pushvalue(L, lookup);
				} else {
					lua_pushcfunction(L, original);
					lua_pushcclosure(L, SealedIndex, 1);
					if (original == s_toluaIndex) {
						lua_pushvalue(L, -1);
						lua_replace(L, lookup);
					}
				}
				lua_pushvalue(L, indexKey);
				lua_insert(L, -2);
				lua_rawset(L, -3);
			}
		}
		lua_pop(L, 1);
		lua_createtable(L, 0, 1);
		lua_pushvalue(L, meta);
		lua_setmetatable(L, -2);
		lua_pushlightuserdata(L, &s_classKey);
		lua_pushvalue(L, className);
		lua_rawset(L, -3);
		lua_rawset(L, LUA_GLOBALSINDEX); // global className = the stand-in
	}
	lua_pop(L, 3);
}

int TavroIsClass(lua_State *L, int index, const char *name, tolua_Error *error) {
	if (lua_istable(L, index)) {
		PushClassName(L, index);
		const bool same = lua_isstring(L, -1) && strcmp(lua_tostring(L, -1), name) == 0;
		lua_pop(L, 1);
		if (same) {
			return 1;
		}
	}
	error->index = index;
	error->array = 0;
	error->type = name;
	return 0;
}

int ScriptGetMetatable(lua_State *L) {
	luaL_checkany(L, 1);
	if (lua_type(L, 1) == LUA_TUSERDATA) {
		lua_pushboolean(L, 0);
		return 1;
	}
	if (!lua_getmetatable(L, 1)) {
		lua_pushnil(L);
		return 1;
	}
	luaL_getmetafield(L, 1, "__metatable");
	return 1;
}
