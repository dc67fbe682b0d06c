#include "script/PatternMatcher.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include <cctype>
#include <cstring>

#include "script/ScriptBudget.h"

// Nothing here holds a C++ object with a destructor: script errors jump out of any of it.

namespace {

const ptrdiff_t UNFINISHED = -1; // capture lengths: still open, or a position capture
const ptrdiff_t POSITION = -2;
const long CHECK_EVERY = 1L << 16; // steps (about a byte compared each) between looks at the budget

void StartMatcher(PatternMatcher &m, lua_State *L, const char *source, size_t length) {
	m.L = L;
	m.sourceStart = source;
	m.sourceEnd = source + length;
	m.level = 0;
	m.depth = 0;
	m.steps = 0;
	m.nextCheck = CHECK_EVERY;
}

// Counts work; past the run's budget the search ends like any script that ran too long.
void Work(PatternMatcher &m, long amount) {
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
		if (*p == PatternMatcher::ESCAPE) {
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
const char *ClassEnd(PatternMatcher &m, const char *p) {
	switch (*p++) {
	case PatternMatcher::ESCAPE:
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
			if (*(p++) == PatternMatcher::ESCAPE && *p != '\0') {
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
	case PatternMatcher::ESCAPE: return MatchesClass(c, Byte(p + 1));
	case '[': return MatchesSet(c, p, end - 1);
	default: return Byte(p) == c;
	}
}

const char *MatchAt(PatternMatcher &m, const char *s, const char *p);

const char *MatchBalance(PatternMatcher &m, const char *s, const char *p) {
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

const char *MaxExpand(PatternMatcher &m, const char *s, const char *p, const char *end) {
	ptrdiff_t count = 0;
	while (s + count < m.sourceEnd && MatchesSingle(Byte(s + count), p, end)) {
		Work(m, 1);
		count++;
	}
	for (; count >= 0; count--) {
		if (const char *result = MatchAt(m, s + count, end + 1)) {
			return result;
		}
	}
	return nullptr;
}

const char *MinExpand(PatternMatcher &m, const char *s, const char *p, const char *end) {
	for (;;) {
		if (const char *result = MatchAt(m, s, end + 1)) {
			return result;
		}
		if (s < m.sourceEnd && MatchesSingle(Byte(s), p, end)) {
			s++;
		} else {
			return nullptr;
		}
	}
}

const char *StartCapture(PatternMatcher &m, const char *s, const char *p, ptrdiff_t what) {
	if (m.level >= PatternMatcher::MAX_CAPTURES) {
		luaL_error(m.L, "too many captures");
	}
	m.captures[m.level].init = s;
	m.captures[m.level].length = what;
	m.level++;
	const char *result = MatchAt(m, s, p);
	if (!result) {
		m.level--;
	}
	return result;
}

const char *EndCapture(PatternMatcher &m, const char *s, const char *p) {
	int open = m.level - 1;
	while (open >= 0 && m.captures[open].length != UNFINISHED) {
		open--;
	}
	if (open < 0) {
		luaL_error(m.L, "invalid pattern capture");
	}
	m.captures[open].length = s - m.captures[open].init;
	const char *result = MatchAt(m, s, p);
	if (!result) {
		m.captures[open].length = UNFINISHED;
	}
	return result;
}

int CheckedCapture(PatternMatcher &m, int digit) {
	const int index = digit - '1';
	if (index < 0 || index >= m.level || m.captures[index].length == UNFINISHED) {
		luaL_error(m.L, "invalid capture index");
	}
	return index;
}

const char *MatchCapture(PatternMatcher &m, const char *s, int digit) {
	const PatternMatcher::Capture &capture = m.captures[CheckedCapture(m, digit)];
	const size_t length = static_cast<size_t>(capture.length);
	Work(m, capture.length);
	if (static_cast<size_t>(m.sourceEnd - s) >= length && memcmp(capture.init, s, length) == 0) {
		return s + length;
	}
	return nullptr;
}

const char *MatchItems(PatternMatcher &m, const char *s, const char *p) {
	for (;;) {
		Work(m, 1);
		switch (*p) {
		case '(': return *(p + 1) == ')' ? StartCapture(m, s, p + 2, POSITION) : StartCapture(m, s, p + 1, UNFINISHED);
		case ')': return EndCapture(m, s, p + 1);
		case '\0': return s;
		case PatternMatcher::ESCAPE:
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
				if (const char *result = MatchAt(m, s + 1, end + 1)) {
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

const char *MatchAt(PatternMatcher &m, const char *s, const char *p) {
	if (++m.depth > MAX_PATTERN_DEPTH) {
		luaL_error(m.L, "pattern too complex");
	}
	const char *result = MatchItems(m, s, p);
	m.depth--;
	return result;
}

void PushOneCapture(PatternMatcher &m, int index, const char *s, const char *e) {
	if (index >= m.level) {
		if (index != 0) {
			luaL_error(m.L, "invalid capture index");
		}
		lua_pushlstring(m.L, s, e - s); // the whole match
		return;
	}
	const PatternMatcher::Capture &capture = m.captures[index];
	if (capture.length == UNFINISHED) {
		luaL_error(m.L, "unfinished capture");
	}
	if (capture.length == POSITION) {
		lua_pushinteger(m.L, capture.init - m.sourceStart + 1);
	} else {
		lua_pushlstring(m.L, capture.init, capture.length);
	}
}

int PushAllCaptures(PatternMatcher &m, const char *s, const char *e) {
	const int count = m.level == 0 && s ? 1 : m.level;
	luaL_checkstack(m.L, count, "too many captures");
	for (int i = 0; i < count; i++) {
		PushOneCapture(m, i, s, e);
	}
	return count;
}

const char *FindPlainText(PatternMatcher &m, const char *s, size_t length, const char *needle, size_t needleLength) {
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

} // namespace

void PatternMatcher::Start(lua_State *state, const char *source, size_t length) {
	StartMatcher(*this, state, source, length);
}

const char *PatternMatcher::Match(const char *s, const char *p) {
	return MatchAt(*this, s, p);
}

void PatternMatcher::PushCapture(int index, const char *s, const char *e) {
	PushOneCapture(*this, index, s, e);
}

int PatternMatcher::PushCaptures(const char *s, const char *e) {
	return PushAllCaptures(*this, s, e);
}

const char *PatternMatcher::FindPlain(const char *s, size_t length, const char *needle, size_t needleLength) {
	return FindPlainText(*this, s, length, needle, needleLength);
}
