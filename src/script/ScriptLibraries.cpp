#include "script/ScriptLibraries.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

#include <initializer_list>

#include "core/LogFile.h"
#include "script/ScriptBudget.h"
#include "script/ScriptPatterns.h"
#include "script/ScriptSeal.h"

namespace {

const char *const BINARY_REFUSED = "precompiled chunks are refused";
const char *const TOO_LARGE = "chunk too large";

void RawSetGlobal(lua_State *L, const char *name) {
	lua_pushstring(L, name);
	lua_insert(L, -2);
	lua_rawset(L, LUA_GLOBALSINDEX);
}

void DropGlobal(lua_State *L, const char *name) {
	lua_pushnil(L);
	RawSetGlobal(L, name);
}

// nil and the message, as load and loadstring answer a failure.
int Refuse(lua_State *L, const char *message) {
	lua_pushnil(L);
	lua_pushstring(L, message);
	return 2;
}

int LoadString(lua_State *L) {
	size_t length = 0;
	const char *text = luaL_checklstring(L, 1, &length);
	const char *name = luaL_optstring(L, 2, text);
	if (IsBinaryChunk(text, length)) {
		return Refuse(L, BINARY_REFUSED);
	}
	if (length > MAX_CHUNK) {
		return Refuse(L, TOO_LARGE);
	}
	if (luaL_loadbuffer(L, text, length, name) != 0) {
		lua_pushnil(L);
		lua_insert(L, -2);
		return 2;
	}
	return 1;
}

struct Pieces {
	size_t total; // bytes read so far
	bool refused; // a binary chunk or too much text
	const char *why;
};

// Calls the script's reader (argument 1) for each piece; slot 3 keeps the piece alive.
const char *ReadPiece(lua_State *L, void *data, size_t *size) {
	Pieces *pieces = static_cast<Pieces *>(data);
	*size = 0;
	if (pieces->refused) {
		return nullptr;
	}
	luaL_checkstack(L, 2, "too many nested functions");
	lua_pushvalue(L, 1);
	lua_call(L, 0, 1);
	if (lua_isnil(L, -1)) {
		lua_pop(L, 1);
		return nullptr;
	}
	if (!lua_isstring(L, -1)) {
		luaL_error(L, "reader function must return a string");
	}
	lua_replace(L, 3);
	size_t length = 0;
	const char *piece = lua_tolstring(L, 3, &length);
	if ((pieces->total == 0 && IsBinaryChunk(piece, length)) || length > MAX_CHUNK - pieces->total) {
		pieces->refused = true;
		pieces->why = pieces->total == 0 && IsBinaryChunk(piece, length) ? BINARY_REFUSED : TOO_LARGE;
		return nullptr;
	}
	pieces->total += length;
	*size = length;
	return piece;
}

int Load(lua_State *L) {
	const char *name = luaL_optstring(L, 2, "=(load)");
	luaL_checktype(L, 1, LUA_TFUNCTION);
	lua_settop(L, 3);
	Pieces pieces = {0, false, nullptr};
	const int status = lua_load(L, ReadPiece, &pieces, name);
	if (pieces.refused) {
		return Refuse(L, pieces.why);
	}
	if (status != 0) {
		lua_pushnil(L);
		lua_insert(L, -2);
		return 2;
	}
	return 1;
}

// To the log, one line per call. No C++ object lives here: a script error jumps out.
int Print(lua_State *L) {
	char line[LogFile::LINE_SIZE];
	size_t used = 0;
	const int count = lua_gettop(L);
	lua_getglobal(L, "tostring");
	for (int i = 1; i <= count; i++) {
		lua_pushvalue(L, -1);
		lua_pushvalue(L, i);
		lua_call(L, 1, 1);
		size_t length = 0;
		const char *text = lua_tolstring(L, -1, &length);
		if (!text) {
			return luaL_error(L, "'tostring' must return a string to 'print'");
		}
		if (i > 1 && used < sizeof(line) - 1) {
			line[used++] = '\t';
		}
		for (size_t at = 0; at < length && used < sizeof(line) - 1; at++) {
			line[used++] = text[at];
		}
		lua_pop(L, 1);
	}
	line[used] = '\0';
	Log(LOG_MESSAGE, "SCRIPT: %s", line);
	return 0;
}

// pcall or coroutine.resume (upvalue 1), except that an error that stops the run is passed on
// instead of caught.
int CatchUnlessStopping(lua_State *L) {
	lua_pushvalue(L, lua_upvalueindex(1));
	lua_insert(L, 1);
	lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
	if (ScriptBudget::Stopping() && lua_isboolean(L, 1) && !lua_toboolean(L, 1)) {
		lua_settop(L, 2);
		return lua_error(L);
	}
	return lua_gettop(L);
}

// A script's error handler (upvalue 1), not run for an error that stops the run: Lua runs
// handlers of an error raised by a hook with the hook off, so nothing could stop one.
int HandleUnlessStopping(lua_State *L) {
	if (ScriptBudget::Stopping()) {
		lua_settop(L, 1);
		return 1;
	}
	lua_pushvalue(L, lua_upvalueindex(1));
	lua_insert(L, 1);
	lua_call(L, lua_gettop(L) - 1, 1);
	return 1;
}

// xpcall (upvalue 1) with the handler guarded, catching like CatchUnlessStopping.
int GuardedXpcall(lua_State *L) {
	luaL_checkany(L, 2);
	lua_settop(L, 2);
	lua_pushcclosure(L, HandleUnlessStopping, 1);
	return CatchUnlessStopping(L);
}

// Replaces table[name] (the table on top of the stack) with wrapper around it.
void Wrap(lua_State *L, const char *name, lua_CFunction wrapper) {
	lua_pushstring(L, name);
	lua_pushstring(L, name);
	lua_rawget(L, -3);
	lua_pushcclosure(L, wrapper, 1);
	lua_rawset(L, -3);
}

} // namespace

bool IsBinaryChunk(const char *text, size_t length) {
	return text && length > 0 && text[0] == LUA_SIGNATURE[0];
}

int OpenScriptLibraries(lua_State *L) {
	static const luaL_Reg libraries[] = {
		{"", luaopen_base},
		{LUA_TABLIBNAME, luaopen_table},
		{LUA_STRLIBNAME, luaopen_string},
		{LUA_MATHLIBNAME, luaopen_math},
	};
	for (const luaL_Reg &library : libraries) {
		lua_pushcfunction(L, library.func);
		lua_pushstring(L, library.name);
		lua_call(L, 1, 0);
	}
	for (const char *name : {"dofile", "loadfile", "newproxy"}) {
		DropGlobal(L, name);
	}
	lua_pushcfunction(L, LoadString);
	RawSetGlobal(L, "loadstring");
	lua_pushcfunction(L, Load);
	RawSetGlobal(L, "load");
	lua_pushcfunction(L, Print);
	RawSetGlobal(L, "print");
	lua_pushcfunction(L, ScriptGetMetatable);
	RawSetGlobal(L, "getmetatable");
	lua_pushstring(L, LUA_STRLIBNAME);
	lua_rawget(L, LUA_GLOBALSINDEX);
	lua_pushstring(L, "dump");
	lua_pushnil(L);
	lua_rawset(L, -3);
	OpenScriptPatterns(L);
	lua_pop(L, 1);
	lua_pushvalue(L, LUA_GLOBALSINDEX);
	Wrap(L, "pcall", CatchUnlessStopping);
	Wrap(L, "xpcall", GuardedXpcall);
	lua_pop(L, 1);
	lua_pushstring(L, "coroutine");
	lua_rawget(L, LUA_GLOBALSINDEX);
	Wrap(L, "resume", CatchUnlessStopping);
	lua_pop(L, 1);
	return 0;
}
