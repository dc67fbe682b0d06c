#include "script/ScriptPatterns.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "script/ScriptBudget.h"
#include "script/ScriptMemory.h"

// Nothing here holds a C++ object with a destructor: script errors jump out of any of it.

namespace {

const char ESCAPE = '%';
const char *const SPECIALS = "^$*+?.([%-";
const int MAX_CAPTURES = 32;
const ptrdiff_t UNFINISHED = -1; // capture lengths: still open, or a position capture
const ptrdiff_t POSITION = -2;
const long CHECK_EVERY = 1L << 16; // steps (about a byte compared each) between looks at the budget

struct Capture {
	const char *init;
	ptrdiff_t length;
};

struct Matcher {
	lua_State *L;
	const char *sourceStart;
	const char *sourceEnd;
	int level; // captures in use
	int depth; // recursion of Match
	long steps;
	long nextCheck;
	Capture captures[MAX_CAPTURES];
};

void Start(Matcher &m, lua_State *L, const char *source, size_t length) {
	m.L = L;
	m.sourceStart = source;
	m.sourceEnd = source + length;
	m.level = 0;
	m.depth = 0;
	m.steps = 0;
	m.nextCheck = CHECK_EVERY;
}

// Counts work; past the run's budget the search ends like any script that ran too long.
void Work(Matcher &m, long amount) {
	m.steps += amount;
	if (m.steps >= m.nextCheck) {
		m.nextCheck = m.steps + CHECK_EVERY;
		if (ScriptBudget::CheckNow()) {
			lua_pushstring(m.L, ScriptBudget::Reason());
			lua_error(m.L);
		}
	}
}

unsigned char Byte(const char *at) {
	return static_cast<unsigned char>(*at);
}

bool MatchesClass(int c, int cl) {
	bool result;
	switch (tolower(cl)) {
	case 'a': result = isalpha(c); break;
	case 'c': result = iscntrl(c); break;
	case 'd': result = isdigit(c); break;
	case 'l': result = islower(c); break;
	case 'p': result = ispunct(c); break;
	case 's': result = isspace(c); break;
	case 'u': result = isupper(c); break;
	case 'w': result = isalnum(c); break;
	case 'x': result = isxdigit(c); break;
	case 'z': result = c == 0; break;
	default: return cl == c;
	}
	return isupper(cl) ? !result : result;
}

// p at "[", end at its "]".
bool MatchesSet(int c, const char *p, const char *end) {
	bool inside = true;
	if (*(p + 1) == '^') {
		inside = false;
		p++;
	}
	while (++p < end) {
		if (*p == ESCAPE) {
			p++;
			if (MatchesClass(c, Byte(p))) {
				return inside;
			}
		} else if (*(p + 1) == '-' && p + 2 < end) {
			p += 2;
			if (Byte(p - 2) <= c && c <= Byte(p)) {
				return inside;
			}
		} else if (Byte(p) == c) {
			return inside;
		}
	}
	return !inside;
}

// The end of the single-character class at p.
const char *ClassEnd(Matcher &m, const char *p) {
	switch (*p++) {
	case ESCAPE:
		if (*p == '\0') {
			luaL_error(m.L, "malformed pattern (ends with '%%')");
		}
		return p + 1;
	case '[':
		if (*p == '^') {
			p++;
		}
		do {
			if (*p == '\0') {
				luaL_error(m.L, "malformed pattern (missing ']')");
			}
			if (*(p++) == ESCAPE && *p != '\0') {
				p++;
			}
		} while (*p != ']');
		return p + 1;
	default: return p;
	}
}

bool MatchesSingle(int c, const char *p, const char *end) {
	switch (*p) {
	case '.': return true;
	case ESCAPE: return MatchesClass(c, Byte(p + 1));
	case '[': return MatchesSet(c, p, end - 1);
	default: return Byte(p) == c;
	}
}

const char *Match(Matcher &m, const char *s, const char *p);

const char *MatchBalance(Matcher &m, const char *s, const char *p) {
	if (*p == '\0' || *(p + 1) == '\0') {
		luaL_error(m.L, "unbalanced pattern");
	}
	if (s >= m.sourceEnd || *s != *p) {
		return nullptr;
	}
	const char open = *p, close = *(p + 1);
	int depth = 1;
	while (++s < m.sourceEnd) {
		Work(m, 1);
		if (*s == close) {
			if (--depth == 0) {
				return s + 1;
			}
		} else if (*s == open) {
			depth++;
		}
	}
	return nullptr;
}

const char *MaxExpand(Matcher &m, const char *s, const char *p, const char *end) {
	ptrdiff_t count = 0;
	while (s + count < m.sourceEnd && MatchesSingle(Byte(s + count), p, end)) {
		Work(m, 1);
		count++;
	}
	for (; count >= 0; count--) {
		if (const char *result = Match(m, s + count, end + 1)) {
			return result;
		}
	}
	return nullptr;
}

const char *MinExpand(Matcher &m, const char *s, const char *p, const char *end) {
	for (;;) {
		if (const char *result = Match(m, s, end + 1)) {
			return result;
		}
		if (s < m.sourceEnd && MatchesSingle(Byte(s), p, end)) {
			s++;
		} else {
			return nullptr;
		}
	}
}

const char *StartCapture(Matcher &m, const char *s, const char *p, ptrdiff_t what) {
	if (m.level >= MAX_CAPTURES) {
		luaL_error(m.L, "too many captures");
	}
	m.captures[m.level].init = s;
	m.captures[m.level].length = what;
	m.level++;
	const char *result = Match(m, s, p);
	if (!result) {
		m.level--;
	}
	return result;
}

const char *EndCapture(Matcher &m, const char *s, const char *p) {
	int open = m.level - 1;
	while (open >= 0 && m.captures[open].length != UNFINISHED) {
		open--;
	}
	if (open < 0) {
		luaL_error(m.L, "invalid pattern capture");
	}
	m.captures[open].length = s - m.captures[open].init;
	const char *result = Match(m, s, p);
	if (!result) {
		m.captures[open].length = UNFINISHED;
	}
	return result;
}

int CheckedCapture(Matcher &m, int digit) {
	const int index = digit - '1';
	if (index < 0 || index >= m.level || m.captures[index].length == UNFINISHED) {
		luaL_error(m.L, "invalid capture index");
	}
	return index;
}

const char *MatchCapture(Matcher &m, const char *s, int digit) {
	const Capture &capture = m.captures[CheckedCapture(m, digit)];
	const size_t length = static_cast<size_t>(capture.length);
	Work(m, capture.length);
	if (static_cast<size_t>(m.sourceEnd - s) >= length && memcmp(capture.init, s, length) == 0) {
		return s + length;
	}
	return nullptr;
}

const char *MatchItems(Matcher &m, const char *s, const char *p) {
	for (;;) {
		Work(m, 1);
		switch (*p) {
		case '(': return *(p + 1) == ')' ? StartCapture(m, s, p + 2, POSITION) : StartCapture(m, s, p + 1, UNFINISHED);
		case ')': return EndCapture(m, s, p + 1);
		case '\0': return s;
		case ESCAPE:
			if (*(p + 1) == 'b') {
				s = MatchBalance(m, s, p + 2);
				if (!s) {
					return nullptr;
				}
				p += 4;
				continue;
			}
			if (*(p + 1) == 'f') {
				p += 2;
				if (*p != '[') {
					luaL_error(m.L, "missing '[' after '%%f' in pattern");
				}
				const char *end = ClassEnd(m, p);
				const int previous = s == m.sourceStart ? '\0' : Byte(s - 1);
				const int next = s < m.sourceEnd ? Byte(s) : '\0';
				if (MatchesSet(previous, p, end - 1) || !MatchesSet(next, p, end - 1)) {
					return nullptr;
				}
				p = end;
				continue;
			}
			if (isdigit(Byte(p + 1))) {
				s = MatchCapture(m, s, Byte(p + 1));
				if (!s) {
					return nullptr;
				}
				p += 2;
				continue;
			}
			break;
		case '$':
			if (*(p + 1) == '\0') {
				return s == m.sourceEnd ? s : nullptr;
			}
			break;
		default: break;
		}
		// A single-character class, perhaps with a repetition after it.
		const char *end = ClassEnd(m, p);
		const bool here = s < m.sourceEnd && MatchesSingle(Byte(s), p, end);
		switch (*end) {
		case '?':
			if (here) {
				if (const char *result = Match(m, s + 1, end + 1)) {
					return result;
				}
			}
			p = end + 1;
			continue;
		case '*': return MaxExpand(m, s, p, end);
		case '+': return here ? MaxExpand(m, s + 1, p, end) : nullptr;
		case '-': return MinExpand(m, s, p, end);
		default:
			if (!here) {
				return nullptr;
			}
			s++;
			p = end;
			continue;
		}
	}
}

const char *Match(Matcher &m, const char *s, const char *p) {
	if (++m.depth > MAX_PATTERN_DEPTH) {
		luaL_error(m.L, "pattern too complex");
	}
	const char *result = MatchItems(m, s, p);
	m.depth--;
	return result;
}

void PushCapture(Matcher &m, int index, const char *s, const char *e) {
	if (index >= m.level) {
		if (index != 0) {
			luaL_error(m.L, "invalid capture index");
		}
		lua_pushlstring(m.L, s, e - s); // the whole match
		return;
	}
	const Capture &capture = m.captures[index];
	if (capture.length == UNFINISHED) {
		luaL_error(m.L, "unfinished capture");
	}
	if (capture.length == POSITION) {
		lua_pushinteger(m.L, capture.init - m.sourceStart + 1);
	} else {
		lua_pushlstring(m.L, capture.init, capture.length);
	}
}

int PushCaptures(Matcher &m, const char *s, const char *e) {
	const int count = m.level == 0 && s ? 1 : m.level;
	luaL_checkstack(m.L, count, "too many captures");
	for (int i = 0; i < count; i++) {
		PushCapture(m, i, s, e);
	}
	return count;
}

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

const char *FindPlain(Matcher &m, const char *s, size_t length, const char *needle, size_t needleLength) {
	if (needleLength == 0) {
		return s;
	}
	const char *end = s + length;
	while (static_cast<size_t>(end - s) >= needleLength) {
		const char *at = static_cast<const char *>(memchr(s, *needle, end - s - needleLength + 1));
		if (!at) {
			return nullptr;
		}
		Work(m, static_cast<long>(needleLength));
		if (memcmp(at, needle, needleLength) == 0) {
			return at;
		}
		s = at + 1;
	}
	return nullptr;
}

int Find(lua_State *L, bool find) {
	size_t length = 0, patternLength = 0;
	const char *s = luaL_checklstring(L, 1, &length);
	const char *p = luaL_checklstring(L, 2, &patternLength);
	const size_t start = StartOffset(L, 3, length);
	Matcher m;
	Start(m, L, s, length);
	if (find && (lua_toboolean(L, 4) || strpbrk(p, SPECIALS) == nullptr)) {
		if (const char *at = FindPlain(m, s + start, length - start, p, patternLength)) {
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
			if (const char *end = Match(m, from, p)) {
				if (find) {
					lua_pushinteger(L, from - s + 1);
					lua_pushinteger(L, end - s);
					return PushCaptures(m, nullptr, nullptr) + 2;
				}
				return PushCaptures(m, from, end);
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
	Matcher m;
	Start(m, L, s, length);
	for (const char *from = s + static_cast<size_t>(lua_tointeger(L, lua_upvalueindex(3))); from <= m.sourceEnd;
		 from++) {
		m.level = 0;
		if (const char *end = Match(m, from, p)) {
			// An empty match moves on by one at least.
			lua_pushinteger(L, end - s + (end == from ? 1 : 0));
			lua_replace(L, lua_upvalueindex(3));
			return PushCaptures(m, from, end);
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

void AddReplacementText(Matcher &m, luaL_Buffer *b, const char *s, const char *e) {
	size_t length = 0;
	const char *text = lua_tolstring(m.L, 3, &length);
	for (size_t i = 0; i < length; i++) {
		if (text[i] != ESCAPE) {
			luaL_addchar(b, text[i]);
			continue;
		}
		i++;
		if (!isdigit(Byte(text + i))) {
			luaL_addchar(b, text[i]);
		} else if (text[i] == '0') {
			luaL_addlstring(b, s, e - s);
		} else {
			PushCapture(m, text[i] - '1', s, e);
			luaL_addvalue(b);
		}
	}
}

void AddReplacement(Matcher &m, luaL_Buffer *b, const char *s, const char *e) {
	lua_State *L = m.L;
	switch (lua_type(L, 3)) {
	case LUA_TNUMBER:
	case LUA_TSTRING: AddReplacementText(m, b, s, e); return;
	case LUA_TFUNCTION: {
		lua_pushvalue(L, 3);
		const int count = PushCaptures(m, s, e);
		lua_call(L, count, 1);
		break;
	}
	default:
		PushCapture(m, 0, s, e);
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
	Matcher m;
	Start(m, L, s, length);
	luaL_Buffer b;
	luaL_buffinit(L, &b);
	long count = 0;
	while (count < most) {
		m.level = 0;
		const char *end = Match(m, s, p);
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
