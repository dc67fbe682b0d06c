#ifndef TAVRO_SCRIPT_PATTERNMATCHER_H
#define TAVRO_SCRIPT_PATTERNMATCHER_H

#include <cstddef>

struct lua_State;

constexpr int MAX_PATTERN_DEPTH = 200;

// One search of a Lua 5.1 pattern over a text, with its captures. The recursion is held to
// MAX_PATTERN_DEPTH and the work is counted against the script's time budget; both end the search
// with a Lua error, so run it inside a protected call.
struct PatternMatcher {
	static constexpr char ESCAPE = '%';
	static constexpr int MAX_CAPTURES = 32;

	struct Capture {
		const char *init;
		ptrdiff_t length;
	};

	lua_State *L;
	const char *sourceStart;
	const char *sourceEnd;
	int level; // captures in use
	int depth; // recursion of Match
	long steps;
	long nextCheck;
	Capture captures[MAX_CAPTURES];

	void Start(lua_State *state, const char *source, size_t length);
	// Where the pattern p matched from s ends, or null.
	const char *Match(const char *s, const char *p);
	// Capture 0 with no captures is the whole match s to e.
	void PushCapture(int index, const char *s, const char *e);
	// The captures, or the whole match when there are none; with s null, none at all.
	int PushCaptures(const char *s, const char *e);
	const char *FindPlain(const char *s, size_t length, const char *needle, size_t needleLength);
};

#endif
