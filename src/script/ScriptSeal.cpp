#include "script/ScriptSeal.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include <cstring>
#include <string>
#include <vector>

namespace {

// Registry keys: the stand-ins' shared metatable, and the stand-in of each class by name (made
// once per state, so registering the surface again adds nothing).
const char *const STAND_IN_META = "tavro_class_stand_in";
const char *const STAND_INS = "tavro_class_stand_ins";

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

// The class name a table stands for, pushed (nil when none).
void PushClassName(lua_State *L, int table) {
	lua_pushvalue(L, table);
	lua_rawget(L, LUA_REGISTRYINDEX);
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

// Once per metatable: getmetatable answers false, and objects get the sealed lookup. The
// lookup closure at `lookup` wraps tolua's own, which every class shares; one made for the first
// metatable serves the rest.
void SealMetatable(lua_State *L, int mt, int lookup) {
	lua_pushstring(L, "__metatable");
	lua_rawget(L, mt);
	const bool sealed = !lua_isnil(L, -1);
	lua_pop(L, 1);
	if (sealed) {
		return;
	}
	lua_pushboolean(L, 0);
	RawSetField(L, mt, "__metatable");
	lua_pushstring(L, "__index");
	lua_rawget(L, mt);
	const lua_CFunction original = lua_tocfunction(L, -1);
	if (!original) {
		lua_pop(L, 1);
		return;
	}
	if (lua_isnil(L, lookup)) {
		lua_pushcclosure(L, SealedIndex, 1);
		lua_pushvalue(L, -1);
		lua_replace(L, lookup);
	} else {
		lua_getupvalue(L, lookup, 1);
		const bool shared = lua_tocfunction(L, -1) == original;
		lua_pop(L, 1);
		if (shared) {
			lua_pop(L, 1);
			lua_pushvalue(L, lookup);
		} else {
			lua_pushcclosure(L, SealedIndex, 1);
		}
	}
	RawSetField(L, mt, "__index");
}

bool IsStandIn(lua_State *L, int table, int standInMeta) {
	if (!lua_getmetatable(L, table)) {
		return false;
	}
	const bool same = lua_rawequal(L, -1, standInMeta);
	lua_pop(L, 1);
	return same;
}

// The registry maps every metatable tolua made to its type name (the classes, their "const"
// twins and tolua's common base); each is sealed.
void SealMetatables(lua_State *L) {
	lua_getfield(L, LUA_REGISTRYINDEX, STAND_IN_META);
	const int standInMeta = lua_gettop(L);
	lua_pushnil(L);
	const int lookup = lua_gettop(L);
	lua_pushnil(L);
	while (lua_next(L, LUA_REGISTRYINDEX) != 0) {
		const int value = lua_gettop(L);
		if (lua_istable(L, value - 1) && lua_type(L, value) == LUA_TSTRING && !IsStandIn(L, value - 1, standInMeta)) {
			SealMetatable(L, value - 1, lookup);
		}
		lua_pop(L, 1);
	}
	lua_pop(L, 2);
}

void MakeStandInMeta(lua_State *L) {
	lua_getfield(L, LUA_REGISTRYINDEX, STAND_IN_META);
	const bool made = lua_istable(L, -1);
	lua_pop(L, 1);
	if (made) {
		return;
	}
	lua_newtable(L);
	const int meta = lua_gettop(L);
	lua_pushcfunction(L, StandInIndex);
	RawSetField(L, meta, "__index");
	lua_pushcfunction(L, StandInNewIndex);
	RawSetField(L, meta, "__newindex");
	lua_pushboolean(L, 0);
	RawSetField(L, meta, "__metatable");
	lua_setfield(L, LUA_REGISTRYINDEX, STAND_IN_META);
	lua_newtable(L);
	lua_setfield(L, LUA_REGISTRYINDEX, STAND_INS);
}

// The stand-in of a class, made on first use.
void PushStandIn(lua_State *L, const char *name) {
	lua_getfield(L, LUA_REGISTRYINDEX, STAND_INS);
	lua_getfield(L, -1, name);
	if (lua_istable(L, -1)) {
		lua_remove(L, -2);
		return;
	}
	lua_pop(L, 1);
	lua_newtable(L);
	lua_getfield(L, LUA_REGISTRYINDEX, STAND_IN_META);
	lua_setmetatable(L, -2);
	// A constructor accepts the table the registry names as its class.
	lua_pushvalue(L, -1);
	lua_pushstring(L, name);
	lua_rawset(L, LUA_REGISTRYINDEX);
	lua_pushvalue(L, -1);
	lua_setfield(L, -3, name);
	lua_remove(L, -2);
}

// Every global that is a class metatable gives way to its stand-in.
void PlaceStandIns(lua_State *L) {
	std::vector<std::string> classes;
	lua_pushnil(L);
	while (lua_next(L, LUA_GLOBALSINDEX) != 0) {
		if (lua_type(L, -2) == LUA_TSTRING && lua_istable(L, -1)) {
			PushClassName(L, lua_gettop(L));
			if (lua_isstring(L, -1)) {
				luaL_getmetatable(L, lua_tostring(L, -1));
				if (lua_rawequal(L, -1, -3)) {
					classes.push_back(lua_tostring(L, -4));
				}
				lua_pop(L, 1);
			}
			lua_pop(L, 1);
		}
		lua_pop(L, 1);
	}
	for (const std::string &name : classes) {
		lua_pushstring(L, name.c_str());
		PushStandIn(L, name.c_str());
		lua_rawset(L, LUA_GLOBALSINDEX);
	}
}

} // namespace

void SealSurface(lua_State *L) {
	MakeStandInMeta(L);
	SealMetatables(L);
	PlaceStandIns(L);
}
