#include <gtest/gtest.h>

#include <string>

#include "EndToEnd.h"

// A hostile screen script tried out in the real program ("tavro --script"): its runs end when
// their time is up, it reaches neither the binding's tables nor files outside the game's tree,
// and the game closes in order when asked while its scripts spin.
TEST(HostileScript, EndsInScriptErrorsAndTheGameClosesInOrderWhenAsked) {
	GameRun run;
	run.dir.WriteText("hostile/screen.lua", R"(
		local function Half(name, x, script)
			local button = WgButton_GL2D:new(name)
			button:SetCoords(x, 0)
			button:SetDim(ScreenWidth / 2 - 10, ScreenHeight)
			button:SetCallbackLUA(GI_ON_FOCUS, script)
			pManager:AddItem(button)
			return button
		end
		local left = Half("spin", 0, "hostile/spin.lua")
		Half("refocus", ScreenWidth / 2 + 10, "hostile/refocus.lua")
		assert(left:ExecuteLua("/etc/os-release") == false and left:ExecuteLua("hostile/../Log.txt") == false)
		assert(getmetatable(left) == false and left.tolua_ubox == nil and string.dump == nil)
	)");
	run.dir.WriteText("hostile/spin.lua", "while true do end");
	run.dir.WriteText("hostile/refocus.lua", "while true do Me:Focus() end");
	ASSERT_TRUE(run.x.IsRunning());
	ASSERT_TRUE(run.game.Start(run.x.Display(), {"--script", "hostile/screen.lua"}));
	ASSERT_TRUE(run.WaitFor("SCRIPT: ...Done!")) << run.Log();
	// Back and forth over the two halves: every move is a focus script's run, queued up.
	std::string moves;
	for (int i = 0; i < 10; i++) {
		moves += " mousemove --window %1 100 100 mousemove --window %1 500 100";
	}
	run.Xdo(moves);
	ASSERT_TRUE(run.WaitFor("ran too long")) << run.Log();
	run.Xdo(moves);
	EXPECT_EQ(run.game.Terminate(), 0);

	const std::string log = run.Log();
	EXPECT_EQ(log.find("screen.lua:"), std::string::npos) << log; // its asserts held
	EXPECT_NE(log.find("Error: SCRIPT: /etc/os-release: refused"), std::string::npos) << log;
	EXPECT_NE(log.find("Error: SCRIPT: hostile/spin.lua: ran too long \n"), std::string::npos) << log;
	EXPECT_NE(log.find("the game is closing \n"), std::string::npos) << log;
	EXPECT_NE(log.find("--- Log closed on "), std::string::npos) << log;
	EXPECT_LT(log.size(), static_cast<size_t>(LogFile::BURST)) << log;
	const std::string errors = run.dir.ReadText(GameProcess::ERRORS_FILE);
	EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
	EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
}
