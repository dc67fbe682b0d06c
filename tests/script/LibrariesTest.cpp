#include <gtest/gtest.h>

#include <string>

#include "SteppedScriptClock.h"
#include "WidgetRig.h"
#include "script/ScriptState.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

// The string library's pattern functions as scripts get them: what Lua 5.1's own give, without
// its stack overflows and endless searches.

namespace {

// Every call's results (or its error), one line each, into the global "seen".
const char *const CALLS = R"lua(
local calls = {
	{"find", "hello world", "o w"}, {"find", "hello world", "o", 6}, {"find", "hello", "l", -2},
	{"find", "hello", "l", -100}, {"find", "hello", "", 10}, {"find", "hello", "", 6}, {"find", "a.b", ".", 1, true},
	{"find", "hello", "(l)(l)"
}
, {"find", "hello", "()ll()"}, {"find", "x = 10", "^(%w+)%s*=%s*(%d+)$"}, {"find", "[[x]]", "%b[]"},
	{"find", "THE (quick) fox", "%f[%a]%a+", 5}, {"find", "aaa", "a-", 2.7}, {"find", "abc", "[a-b]+"},
	{"find", "abc", "[^%a]"}, {"find", "a]b", "[]]"}, {"find", "a-b", "[a%-]+"}, {"find", "abc", "%"},
	{"find", "abc", "[a"}, {"find", "abc", "(a"}, {"find", "abc", "a)"}, {"find", "abc", "%1"}, {"find", "abc", "%b"},
	{"find", "abc", "%fa"}, {"find", "a\0b", "%z"}, {"find", "a$b", "$b"}, {"match", "key=value", "(%w+)=(%w+)"},
	{"match", "2026-12-07", "(%d+)-(%d+)-(%d+)"}, {"match", "abcabc", "(abc)%1"}, {"match", "  trim  ", "^%s*(.-)%s*$"},
	{"match", "hello", ".-"}, {"match", "hello", "l*"}, {"match", "x", "x?x?y?"}, {"match", "abc", "()b()"},
	{"match", "%d", "%%d"}, {"match", "A1 b2", "%u%d"}, {"match", "AB", "%L+"}, {"gsub", "hello world", "o", "0"},
	{"gsub", "hello world", "(%w+)", "<%1>"}, {"gsub", "abc", "", "-"}, {"gsub", "abc", "%w", "%0%0", 2},
	{"gsub", "abc", "^a", "x"}, {"gsub", "a b", "%w", {a = "A", b = false}},
	{"gsub", "a b", "%w", function(c) return c == "a" and c : upper() or nil end}, {"gsub", "abc", "b", "%2"},
	{"gsub", "abc", "b", "%"}, {"gsub", "abc", "b", 5}, {"gsub", "abc", "b", true}, {"gsub", "a", "a", {a = {}}},
	{"gsub", "abc", "(b)", "[%1%%]"}, {"gsub", "one two", "(%w+) (%w+)", "%2 %1"}, {"gsub", "abc", "x*", "-", 0 / 0},
	{"rep", "ab", 3}, {"rep", "ab", 0}, {"rep", "ab", 2.9}, {"rep", "", 5},
}
local out = {}
for i, call in ipairs(calls) do
	local result = {pcall(string[call[1]], unpack(call, 2, 5))}
	for j = 1, #result do result[j] = tostring(result[j]) end
	out[i] = table.concat(result, ",")
end
for _, text in ipairs({"a1 b2 c3", "", "xx"}) do
	local parts = {}
	for word, digit in string.gmatch(text, "(%a)(%d)") do parts[#parts + 1] = word .. digit end
	for empty in string.gmatch(text, "x*") do parts[#parts + 1] = "<" .. empty .. ">" end
	for position in string.gmatch(text, "()") do parts[#parts + 1] = position end
	out[#out + 1] = table.concat(parts, ",")
end
seen = table.concat(out, "\n")
)lua";

std::string Seen(lua_State *L) {
	lua_getglobal(L, "seen");
	const std::string seen = lua_isstring(L, -1) ? lua_tostring(L, -1) : "(none)";
	lua_pop(L, 1);
	return seen;
}

} // namespace

TEST(ScriptLibraries, PatternFunctionsAnswerAsLuasOwn) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	lua_State *plain = luaL_newstate();
	luaL_openlibs(plain);
	ASSERT_EQ(luaL_dostring(plain, CALLS), 0) << lua_tostring(plain, -1);
	ScriptState state;
	ASSERT_TRUE(state.RunBuffer(CALLS, strlen(CALLS), "calls")) << rig.LogText();
	EXPECT_EQ(Seen(state.GetLua()), Seen(plain));
	lua_close(plain);
}

TEST(ScriptLibraries, NoPatternOverflowsTheStackOrOutrunsTheBudget) {
	SteppedScriptClock clock(1000);
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	EXPECT_TRUE(rig.Run(R"(
		local long = string.rep("a", 300000)
		local ok, message = pcall(string.find, long, string.rep("a?", 300000))
		assert(not ok and string.find(message, "pattern too complex", 1, true), message)
		assert(string.rep("", 1e15) == "" and string.rep("x", -1) == "")
		ok, message = pcall(string.rep, "x", 1e15)
		assert(not ok and string.find(message, "resulting string too large", 1, true), message)
	)")) << rig.LogText();
	for (const char *search : {"string.find(string.rep('a', 100000), '.-b')",
			 "string.find(string.rep('a', 1000000), string.rep('a', 100000) .. 'b', 1, true)",
			 "string.gsub(string.rep('a', 100000), '.-.-b', '')",
			 "for x in string.gmatch(string.rep('(', 100000), '%b()') do end"}) {
		EXPECT_FALSE(rig.Run(search)) << search;
		EXPECT_TRUE(rig.log.Has("Error: SCRIPT: screen.lua: ran too long \n")) << rig.LogText();
	}
}
