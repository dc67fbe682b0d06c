#ifndef TAVRO_SCRIPT_SCRIPTLIBRARIES_H
#define TAVRO_SCRIPT_SCRIPTLIBRARIES_H

#include <cstddef>

struct lua_State;

// The standard libraries a data script gets: base, table, string and math, without what could
// reach the file system, build byte code or outlast a run:
// - no dofile, loadfile, newproxy (a collector that runs after the run) or string.dump;
// - load and loadstring refuse precompiled chunks and chunks over MAX_CHUNK bytes;
// - string.find, match, gmatch, gsub and rep cannot overflow the stack or run past the time
//   budget (OpenScriptPatterns);
// - print writes to the log; getmetatable shows no object's metatable;
// - pcall, xpcall and coroutine.resume catch no error once the run is being stopped
//   (ScriptBudget), so a script cannot go on past its time.
// Run inside a protected call.
int OpenScriptLibraries(lua_State *L);

// The largest chunk of source a script may load or run, in bytes.
constexpr size_t MAX_CHUNK = 1024 * 1024;

// Whether text is a precompiled chunk (its first byte the signature's escape).
bool IsBinaryChunk(const char *text, size_t length);

#endif
