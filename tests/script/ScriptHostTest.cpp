#include <gtest/gtest.h>

#include <string>

#include "SteppedScriptClock.h"
#include "WidgetRig.h"
#include "frontend/ScriptTryout.h"
#include "gui/WgButton_GL2D.h"
#include "gui/WgManager.h"
#include "script/ScriptFiles.h"
#include "script/ScriptState.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

// Lua states, event scripts, ExecuteLua, the scripted screen and the --script tryout.

TEST(ScriptHost, EventScriptsRunInAFreshStateWithMeTypedByItsClass) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	// A global left by one run would show at the next.
	rig.Write("focus.lua", "assert(seen == nil, 'left over') seen = true Me:SetCaption(tolua.type(Me))");
	rig.Write("delete.lua", "Me:delete()");
	ASSERT_TRUE(rig.Run(R"(
		for _, item in ipairs({WgButton_GL2D:new("fancy"), WgButton:new("plain")}) do
			item:SetCallbackLUA(GI_ON_FOCUS, "focus.lua")
			item:SetCallbackLUA(GI_ON_CLICK, "delete.lua")
			pManager:AddItem(item)
		end)"));
	WgItem *fancy = rig.Find(WG_TYPE_BUTTON, "fancy"), *plain = rig.Find(WG_TYPE_BUTTON, "plain");
	fancy->Focus(false);
	fancy->Focus(false);
	plain->Focus(false);
	EXPECT_EQ(fancy->GetCaption(), "WgButton_GL2D\n");
	EXPECT_EQ(plain->GetCaption(), "WgItem\n");
	rig.Key(SDLK_RETURN, '\r');
	rig.Draw(20); // its click: the script may not delete the widget whose event runs
	EXPECT_EQ(rig.Find(WG_TYPE_BUTTON, "fancy"), fancy);
	EXPECT_FALSE(rig.log.Has("left over")) << rig.LogText();
	EXPECT_TRUE(rig.log.Has("Error: SCRIPT: delete.lua: delete.lua:1: cannot delete 'fancy' while a widget event runs"))
		<< rig.LogText();
}

TEST(ScriptHost, ExecuteLuaReportsFailuresAndHandsOverTheCacheManager) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	rig.Write("cache.lua", "assert(CacheManager ~= nil) Me:SetName('ran')");
	rig.Write("broken.lua", "Me:SetCaption(");
	rig.Write("deep.lua", "assert(Me:ExecuteLua('deep.lua'))");
	ASSERT_TRUE(rig.Run(R"(
		local item = WgLabel_GL2D:new("item")
		assert(item:ExecuteLua("missing.lua") == false)
		assert(item:ExecuteLua("broken.lua") == false)
		assert(item:ExecuteLua("cache.lua") == false) -- no cache manager yet
		item:SetCacheManager(pCacheManager)
		assert(item:GetCacheManager() ~= nil)
		assert(item:ExecuteLua("cache.lua") == true and item:GetName() == "ran")
		assert(item:ExecuteLua("deep.lua") == false) -- cut off, not a stack overflow
	)")) << rig.LogText();
	EXPECT_TRUE(rig.log.Has("Error: SCRIPT: missing.lua: cannot open missing.lua")) << rig.LogText();
	EXPECT_TRUE(rig.log.Has("Error: SCRIPT: broken.lua: broken.lua:1: unexpected symbol near '<eof>'"))
		<< rig.LogText();
	EXPECT_TRUE(rig.log.Has("Error: SCRIPT: deep.lua: not run, scripts nested 8 deep")) << rig.LogText();
}

TEST(ScriptHost, AScreenThatFailsIsLeftEmptyAndItsObjectsGoWithIt) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	ASSERT_TRUE(rig.Run(R"(
		assert(tolua.type(pManager) == "WgManager" and tolua.type(pCacheManager) == "GL2D_CacheManager")
		assert(ScreenWidth == 640 and ScreenHeight == 480)
		kept = WgButton_GL2D:new("kept")
		pManager:AddItem(kept))"));
	EXPECT_FALSE(rig.Run("pManager:AddItem(WgButton_GL2D:new('half')) error('stop')"));
	EXPECT_EQ(rig.Find(WG_TYPE_BUTTON, "half"), nullptr);
	EXPECT_EQ(rig.Find(WG_TYPE_BUTTON, "kept"), nullptr);
	EXPECT_TRUE(rig.log.Has("Error: SCRIPT: screen.lua: screen.lua:1: stop"));
	// The state goes on with fresh globals; what the old screen held is out of reach.
	EXPECT_TRUE(rig.Run(R"(
		assert(not pcall(kept.SetLabel, kept, "x"))
		pManager:AddItem(WgButton_GL2D:new("again")))"));
	EXPECT_NE(rig.Find(WG_TYPE_BUTTON, "again"), nullptr);
}

TEST(ScriptHost, StatesClearEveryRegisteredNameAndLogTheirErrors) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	ScriptState state;
	ASSERT_TRUE(state.IsOpen());
	state.SetNumber("ScreenWidth", 320);
	const char check[] = "assert(WgButton_GL2D and GI_ON_FOCUS == 1 and ScreenWidth == 320)";
	EXPECT_TRUE(state.RunBuffer(check, sizeof(check) - 1, "check"));
	state.ClearGlobals();
	const char cleared[] =
		"assert(WgButton_GL2D == nil and GI_ON_FOCUS == nil and ScreenWidth == nil and tolua == nil)";
	EXPECT_TRUE(state.RunBuffer(cleared, sizeof(cleared) - 1, "cleared"));
	EXPECT_TRUE(state.RegisterSurface());
	const char again[] = "assert(WgItem and tolua.type(WgItem:new('x')) == 'WgItem' and tolua.cast == nil)";
	EXPECT_TRUE(state.RunBuffer(again, sizeof(again) - 1, "again"));
	EXPECT_FALSE(state.RunBuffer("error({})", 9, "odd"));
	EXPECT_TRUE(rig.log.Has("Error: SCRIPT: odd: (error object is not a string)"));
}

TEST(ScriptHost, TryoutRunsItsScriptUntilEscape) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	NoxInput *input = g_input;
	g_input = &rig.input;
	{
		ScriptTryout tryout(TAVRO_SOURCE_DIR "/tests/script/lua/sample_screen.lua", 640, 480);
		ASSERT_TRUE(tryout.Enter());
		EXPECT_NE(tryout.GetScreen().Find(WG_TYPE_BUTTON, "btn_ok"), nullptr);
		EXPECT_NE(tryout.GetScreen().Find(WG_TYPE_LISTBOX, "lst_arena"), nullptr);
		// Other keys go to the screen. The mouse is left out: the pointer's move to the centre
		// arrives whenever the window system sends it, and hovering there would unfocus.
		rig.input.EnableMouse(0, false);
		WgItem *ok = tryout.GetScreen().Find(WG_TYPE_BUTTON, "btn_ok");
		tryout.GetScreen().GetManager()->FocusItem(ok);
		rig.Key(SDLK_TAB, '\t', KMOD_NONE, false);
		EXPECT_TRUE(tryout.Frame());
		EXPECT_NE(tryout.GetScreen().GetManager()->GetFocusedItem(), ok);
		EXPECT_NE(tryout.GetScreen().GetManager()->GetFocusedItem(), nullptr);
		rig.Key(SDLK_ESCAPE, 27, KMOD_NONE, false);
		EXPECT_FALSE(tryout.Frame());
		tryout.Leave();
	}
	{
		ScriptTryout broken("missing.lua", 640, 480);
		ASSERT_TRUE(broken.Enter()); // logged; the empty screen stays
		EXPECT_TRUE(broken.Frame());
		broken.Leave();
	}
	g_input = input;
	EXPECT_FALSE(rig.log.Has("sample_screen.lua:")) << rig.LogText();
	EXPECT_TRUE(rig.log.Has("Error: SCRIPT: missing.lua: cannot open missing.lua")) << rig.LogText();
}

namespace {

int Collect(lua_State *, const void *piece, size_t size, void *out) {
	static_cast<std::string *>(out)->append(static_cast<const char *>(piece), size);
	return 0;
}

// Byte code of a chunk, made by a plain Lua state of the test's own.
std::string Compiled(const char *source) {
	std::string bytes;
	lua_State *L = luaL_newstate();
	if (luaL_loadstring(L, source) == 0) {
		lua_dump(L, Collect, &bytes);
	}
	lua_close(L);
	return bytes;
}

// The bytes as a Lua string literal.
std::string Literal(const std::string &bytes) {
	std::string literal = "\"";
	for (unsigned char c : bytes) {
		literal += "\\" + std::to_string(c);
	}
	return literal + "\"";
}

} // namespace

TEST(ScriptHost, PrecompiledChunksAreRefusedEverywhere) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	const std::string bytes = Compiled("Me:SetName('compiled')");
	ASSERT_FALSE(bytes.empty());
	rig.Write("binary.lua", bytes);
	rig.Write("shebang.lua", "#!/usr/bin/lua\nassert(debug == nil) Me:SetName('text')");
	EXPECT_TRUE(rig.Run("bytes = " + Literal(bytes) + R"(
		assert(string.dump == nil and newproxy == nil and dofile == nil and loadfile == nil)
		local f, message = loadstring(bytes)
		assert(f == nil and message == "precompiled chunks are refused", message)
		local given = false
		f, message = load(function() if not given then given = true return bytes end end)
		assert(f == nil and message == "precompiled chunks are refused", message)
		f, message = loadstring(string.rep(" ", 1024 * 1024 + 1))
		assert(f == nil and message == "chunk too large", message)
		assert(loadstring("return 1 + 1")() == 2)
		local parts = {"return ", "3"}
		assert(load(function() return table.remove(parts, 1) end)() == 3)
		local item = WgLabel_GL2D:new("item")
		assert(item:ExecuteLua("binary.lua") == false and item:GetName() == "item")
		assert(item:ExecuteLua("shebang.lua") == true and item:GetName() == "text")
		print("printed", 1, nil)
	)")) << rig.LogText();
	EXPECT_FALSE(rig.screen.RunScript("binary.lua"));
	ScriptState state;
	EXPECT_FALSE(state.RunBuffer(bytes.data(), bytes.size(), "credits step"));
	EXPECT_EQ(rig.log.Count("SCRIPT: binary.lua: precompiled chunks are refused"), 2) << rig.LogText();
	EXPECT_TRUE(rig.log.Has("Error: SCRIPT: credits step: precompiled chunks are refused")) << rig.LogText();
	EXPECT_TRUE(rig.log.Has("Message: SCRIPT: printed\t1\tnil \n")) << rig.LogText();
}

TEST(ScriptHost, EveryTopLevelRunHasOneTimeBudgetThatNoScriptEscapes) {
	SteppedScriptClock clock(100);
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	rig.Write("spin.lua", "while true do end");
	// Ten focus events at each of eight levels: 10^8 runs without one budget for them all.
	rig.Write("fan.lua", "for i = 1, 10 do Me:Focus() end");
	rig.Write("catch.lua", "while true do pcall(function() while true do end end) end");
	rig.Write(
		"handler.lua", "while true do xpcall(function() while true do end end, function() while true do end end) end");
	rig.Write("resume.lua", "while true do coroutine.resume(coroutine.create(function() while true do end end)) end");
	EXPECT_FALSE(rig.Run("while true do end"));
	EXPECT_TRUE(rig.log.Has("Error: SCRIPT: screen.lua: ran too long \n")) << rig.LogText();
	ASSERT_TRUE(rig.Run(R"(
		local fan = WgButton_GL2D:new("fan")
		fan:SetCallbackLUA(GI_ON_FOCUS, "fan.lua")
		pManager:AddItem(fan)
		pManager:AddItem(WgLabel_GL2D:new("runner")))"));
	const uint64_t start = clock.now;
	rig.Find(WG_TYPE_BUTTON, "fan")->Focus(false);
	EXPECT_LT(clock.now - start, 2 * ScriptBudget::LIMIT);
	EXPECT_TRUE(rig.log.Has("Error: SCRIPT: fan.lua: ran too long \n")) << rig.LogText();
	WgItem *runner = rig.Find(WG_TYPE_LABEL, "runner");
	for (const char *script : {"spin.lua", "catch.lua", "handler.lua", "resume.lua"}) {
		EXPECT_FALSE(runner->ExecuteLua(script)) << script;
		EXPECT_TRUE(rig.log.Has(std::string("Error: SCRIPT: ") + script + ": ran too long \n")) << rig.LogText();
	}
	// The next run has its whole budget again.
	EXPECT_TRUE(rig.Run("for i = 1, 1000 do Me = i end pManager:AddItem(WgButton_GL2D:new('after'))"));
	EXPECT_NE(rig.Find(WG_TYPE_BUTTON, "after"), nullptr);
}

namespace {

int s_probes = 0;

// The player asks to quit at the third look.
bool QuitAtThirdLook() {
	return ++s_probes >= 3;
}

} // namespace

TEST(ScriptHost, AQuitRequestEndsEveryRunWithinASecond) {
	SteppedScriptClock clock(1000);
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	rig.Write("spin.lua", "while true do end");
	ASSERT_TRUE(rig.Run("pManager:AddItem(WgLabel_GL2D:new('runner'))"));
	s_probes = 0;
	ScriptBudget::SetQuitProbe(QuitAtThirdLook);
	WgItem *runner = rig.Find(WG_TYPE_LABEL, "runner");
	const uint64_t start = clock.now;
	EXPECT_FALSE(runner->ExecuteLua("spin.lua"));
	EXPECT_LT(clock.now - start, 3 * ScriptBudget::QUIT_LOOK + 10000);
	EXPECT_FALSE(runner->ExecuteLua("spin.lua"));
	EXPECT_FALSE(rig.Run("Me = 1"));
	// Messages, not errors: the player's quit request is no fault of the scripts'.
	EXPECT_TRUE(rig.log.Has("Message: SCRIPT: spin.lua: the game is closing \n")) << rig.LogText();
	EXPECT_TRUE(rig.log.Has("Message: SCRIPT: spin.lua: not run, the game is closing \n")) << rig.LogText();
	EXPECT_TRUE(rig.log.Has("Message: SCRIPT: screen.lua: not run, the game is closing \n")) << rig.LogText();
	EXPECT_FALSE(rig.log.Has("Error: SCRIPT")) << rig.LogText();
	ScriptBudget::SetQuitProbe(nullptr);
	EXPECT_TRUE(rig.Run("Me = 1"));
}

TEST(ScriptHost, ScriptsNameFilesInsideTheDataTreeOnly) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	rig.Write("outside.lua", "Me:SetName('outside')");
	rig.Write("mod/beside.lua", "Me:SetName('beside')");
	ScriptFiles::AllowFolder(""); // as the game runs without --script
	EXPECT_TRUE(rig.Run(R"(
		local item = WgLabel_GL2D:new("item")
		for _, path in ipairs({"/etc/os-release", "outside.lua", "data/../outside.lua", "./data/../../x.lua", "data",
				"mod/beside.lua", ""}) do
			assert(item:ExecuteLua(path) == false, path)
		end
		item:SetCallbackLUA(GI_ON_FOCUS, "/etc/os-release")
		item:Focus()
		assert(item:GetName() == "item")
		local font = GL2D_BmpText:new()
		assert(font:Load("/etc/passwd") == false and font:Load("data/fonts/menu.nbf") == true)
		assert(pCacheManager:GetRect("/etc/passwd") == nil and pCacheManager:GetRect("data/../data/rects/button.nbr") == nil)
		assert(pCacheManager:GetRect("./data//rects/button.nbr") ~= nil)
		assert(GL2D_Mouse:new():Load("/proc/self/environ") == false)
	)")) << rig.LogText();
	EXPECT_TRUE(
		rig.log.Has("Error: SCRIPT: /etc/os-release: refused, scripts name files inside the game's data folder only"))
		<< rig.LogText();
	EXPECT_FALSE(rig.log.Has("os-release:1:")) << rig.LogText(); // never run
	// With "--script mod/screen.lua": the script's folder too, however it is named.
	ScriptFiles::AllowFolder("mod");
	EXPECT_TRUE(rig.Run("local item = WgLabel_GL2D:new('item') "
						"assert(item:ExecuteLua('mod/beside.lua') and item:ExecuteLua('" +
						rig.dir.File("mod/beside.lua") +
						"')) "
						"assert(not item:ExecuteLua('mod/../outside.lua') and not item:ExecuteLua('outside.lua'))"))
		<< rig.LogText();
}
