#ifndef TAVRO_SCRIPT_SCRIPTPATTERNS_H
#define TAVRO_SCRIPT_SCRIPTPATTERNS_H

struct lua_State;

// string.find, match, gmatch and gsub as Lua 5.1 gives them, with two limits Lua's own lack:
// the matcher's recursion is held to MAX_PATTERN_DEPTH ("pattern too complex"; a pattern of a
// few hundred thousand items overflowed the C stack), and a long search looks at the script's
// time budget as it goes (a pattern over a long text could take hours inside one call, where no
// hook reaches). string.rep refuses results larger than a Lua state may hold. The string table
// must be on top of the stack; run inside a protected call.
void OpenScriptPatterns(lua_State *L);

#endif
