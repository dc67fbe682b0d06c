#include "script/ScriptPatterns.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include <cctype>
#include <cmath>
#include <cstring>

#include "script/PatternMatcher.h"
#include "script/ScriptMemory.h"

// Nothing here holds a C++ object with a destructor: script errors jump out of any of it.

namespace {

const char *const SPECIALS = "^$*+?.([%-"; // a pattern without any is found as plain text

// Where a search starts: Lua's position (1 the first byte, negative from the end) as an offset
// within 0 to length, a position of any size held to the text.
size_t StartOffset(lua_State *L, int arg, size_t length) {
	double position = luaL_optnumber(L, arg, 1);
	if (std::isfinite(position)) {
		position = std::trunc(position); // as Lua takes an integer
	}
	if (position < 0) {
		position += static_cast<double>(length) + 1;
	}
	if (!(position >= 1)) {
		return 0;
	}
	return position > static_cast<double>(length) ? length : static_cast<size_t>(position) - 1;
}

int Find(lua_State *L, bool find) {
	size_t length = 0, patternLength = 0;
	const char *s = luaL_checklstring(L, 1, &length);
	const char *p = luaL_checklstring(L, 2, &patternLength);
	const size_t start = StartOffset(L, 3, length);
	PatternMatcher m;
	m.Start(L, s, length);
	if (find && (lua_toboolean(L, 4) || strpbrk(p, SPECIALS) == nullptr)) {
		if (const char *at = m.FindPlain(s + start, length - start, p, patternLength)) {
			lua_pushinteger(L, at - s + 1);
			lua_pushinteger(L, at - s + patternLength);
			return 2;
		}
	} else {
		const bool anchored = *p == '^';
		p += anchored ? 1 : 0;
		const char *from = s + start;
		do {
			m.level = 0;
			if (const char *end = m.Match(from, p)) {
				if (find) {
					lua_pushinteger(L, from - s + 1);
					lua_pushinteger(L, end - s);
					return m.PushCaptures(nullptr, nullptr) + 2;
				}
				return m.PushCaptures(from, end);
			}
		} while (from++ < m.sourceEnd && !anchored);
	}
	lua_pushnil(L);
	return 1;
}

int StringFind(lua_State *L) {
	return Find(L, true);
}

int StringMatch(lua_State *L) {
	return Find(L, false);
}

// Upvalues: the text, the pattern and the offset to go on from.
int NextMatch(lua_State *L) {
	size_t length = 0;
	const char *s = lua_tolstring(L, lua_upvalueindex(1), &length);
	const char *p = lua_tostring(L, lua_upvalueindex(2));
	PatternMatcher m;
	m.Start(L, s, length);
	for (const char *from = s + static_cast<size_t>(lua_tointeger(L, lua_upvalueindex(3))); from <= m.sourceEnd;
		 from++) {
		m.level = 0;
		if (const char *end = m.Match(from, p)) {
			// An empty match moves on by one at least.
			lua_pushinteger(L, end - s + (end == from ? 1 : 0));
			lua_replace(L, lua_upvalueindex(3));
			return m.PushCaptures(from, end);
		}
	}
	return 0;
}

int StringGmatch(lua_State *L) {
	luaL_checkstring(L, 1);
	luaL_checkstring(L, 2);
	lua_settop(L, 2);
	lua_pushinteger(L, 0);
	lua_pushcclosure(L, NextMatch, 3);
	return 1;
}

void AddReplacementText(PatternMatcher &m, luaL_Buffer *b, const char *s, const char *e) {
	size_t length = 0;
	const char *text = lua_tolstring(m.L, 3, &length);
	for (size_t i = 0; i < length; i++) {
		if (text[i] != PatternMatcher::ESCAPE) {
			luaL_addchar(b, text[i]);
			continue;
		}
		i++;
		if (!isdigit(static_cast<unsigned char>(text[i]))) {
			luaL_addchar(b, text[i]);
		} else if (text[i] == '0') {
			luaL_addlstring(b, s, e - s);
		} else {
			m.PushCapture(text[i] - '1', s, e);
			luaL_addvalue(b);
		}
	}
}

void AddReplacement(PatternMatcher &m, luaL_Buffer *b, const char *s, const char *e) {
	lua_State *L = m.L;
	switch (lua_type(L, 3)) {
	case LUA_TNUMBER:
	case LUA_TSTRING: AddReplacementText(m, b, s, e); return;
	case LUA_TFUNCTION: {
		lua_pushvalue(L, 3);
		const int count = m.PushCaptures(s, e);
		lua_call(L, count, 1);
		break;
	}
	default:
		m.PushCapture(0, s, e);
		lua_gettable(L, 3);
		break;
	}
	if (!lua_toboolean(L, -1)) {
		lua_pop(L, 1);
		lua_pushlstring(L, s, e - s); // the text stays
	} else if (!lua_isstring(L, -1)) {
		luaL_error(L, "invalid replacement value (a %s)", luaL_typename(L, -1));
	}
	luaL_addvalue(b);
}

int StringGsub(lua_State *L) {
	size_t length = 0;
	const char *s = luaL_checklstring(L, 1, &length);
	const char *p = luaL_checkstring(L, 2);
	const int kind = lua_type(L, 3);
	const double most = luaL_optnumber(L, 4, static_cast<double>(length) + 1);
	luaL_argcheck(L, kind == LUA_TNUMBER || kind == LUA_TSTRING || kind == LUA_TFUNCTION || kind == LUA_TTABLE, 3,
		"string/function/table expected");
	const bool anchored = *p == '^';
	p += anchored ? 1 : 0;
	PatternMatcher m;
	m.Start(L, s, length);
	luaL_Buffer b;
	luaL_buffinit(L, &b);
	long count = 0;
	while (count < most) {
		m.level = 0;
		const char *end = m.Match(s, p);
		if (end) {
			count++;
			AddReplacement(m, &b, s, end);
		}
		if (end && end > s) {
			s = end;
		} else if (s < m.sourceEnd) {
			luaL_addchar(&b, *s++);
		} else {
			break;
		}
		if (anchored) {
			break;
		}
	}
	luaL_addlstring(&b, s, m.sourceEnd - s);
	luaL_pushresult(&b);
	lua_pushinteger(L, count);
	return 2;
}

// string.rep, refusing what no state may hold: an empty text repeated endlessly loops for ever.
int StringRep(lua_State *L) {
	size_t length = 0;
	const char *s = luaL_checklstring(L, 1, &length);
	const double times = luaL_checknumber(L, 2);
	if (length == 0 || !(times >= 1)) {
		lua_pushliteral(L, "");
		return 1;
	}
	if (times > static_cast<double>(ScriptMemory::LIMIT / length)) {
		return luaL_error(L, "resulting string too large");
	}
	luaL_Buffer b;
	luaL_buffinit(L, &b);
	for (long i = static_cast<long>(times); i > 0; i--) {
		luaL_addlstring(&b, s, length);
	}
	luaL_pushresult(&b);
	return 1;
}

} // namespace

void OpenScriptPatterns(lua_State *L) {
	static const luaL_Reg functions[] = {
		{"find", StringFind},
		{"match", StringMatch},
		{"gmatch", StringGmatch},
		{"gsub", StringGsub},
		{"rep", StringRep},
	};
	for (const luaL_Reg &function : functions) {
		lua_pushstring(L, function.name);
		lua_pushcfunction(L, function.func);
		lua_rawset(L, -3);
	}
}
