#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "WidgetRig.h"
#include "script/ScriptState.h"

extern "C" {
#include <lua.h>
}

// The script surface seen from Lua: its messages, its value mapping and the choices it makes
// where a script could otherwise break the program. Each script asserts what it expects.

namespace {

const char *const EXPECT_ERROR = R"(
function Fails(wanted, f, ...)
	local ok, message = pcall(f, ...)
	assert(not ok, "no error, wanted: " .. wanted)
	assert(string.find(message, wanted, 1, true), "got: " .. tostring(message))
end
)";

class Binding : public ::testing::Test {
protected:
	void SetUp() override {
		ASSERT_TRUE(rig.Ready());
		ASSERT_TRUE(rig.Run(EXPECT_ERROR));
	}
	WidgetRig rig;
};

// The next C++ allocation of this many bytes fails, as it would with the machine's memory gone.
size_t s_failingSize = 0;
// Blocks the program holds: allocated with new and not yet deleted.
long s_liveBlocks = 0;

int FailNextNew(lua_State *L) {
	s_failingSize = static_cast<size_t>(lua_tonumber(L, 1));
	return 0;
}

} // namespace

void *operator new(size_t size) {
	if (size == s_failingSize && size != 0) {
		s_failingSize = 0;
		throw std::bad_alloc();
	}
	void *block = malloc(size ? size : 1);
	if (!block) {
		throw std::bad_alloc();
	}
	s_liveBlocks++;
	return block;
}

void operator delete(void *block) noexcept {
	s_liveBlocks -= block != nullptr;
	free(block);
}

void operator delete(void *block, size_t) noexcept {
	s_liveBlocks -= block != nullptr;
	free(block);
}

TEST_F(Binding, RaisesItsFourMessages) {
	EXPECT_TRUE(rig.Run(R"(
		local button = WgButton_GL2D:new("b")
		Fails("error in function 'SetCaption'.", button.SetCaption, button, {})
		Fails("argument #2 is 'table'; 'string' expected.", button.SetCaption, button, {})
		Fails("error in function 'SetCoords'.", button.SetCoords, button, 1, 2, 3) -- one too many
		Fails("error in function 'GetCoords'.", button.GetCoords, button, 0) -- one number short
		Fails("invalid 'self' in function 'delete'", WgItem.delete, nil)
		Fails("invalid 'self' in function 'GetLabel'", WgButton_GL2D.GetLabel, nil)
		local rect = GL2D_Rect:new()
		rect.w = 2.5
		assert(rect.w == 2.5)
		Fails("invalid type in variable assignment.", function() rect.x = "wide" end)
		rect:delete()
		Fails("invalid 'self' in accessing variable 'x'", function() return rect.x end)
		Fails("invalid 'self' in function 'SetCaption'", button.SetCaption, nil, "x")
	)")) << rig.LogText();
}

TEST_F(Binding, MapsValuesAsTheSoundChoicesSay) {
	EXPECT_TRUE(rig.Run(R"(
		local button = WgButton_GL2D:new("b")
		button:SetName(string.rep("n", 80))
		assert(button:GetName() == string.rep("n", 49))
		button:SetCaption("one\n\ntwo")
		assert(button:GetCaption() == "one\ntwo\n")
		local lines = {}
		for i = 1, 40 do lines[i] = "line" .. i end
		button:SetCaption(table.concat(lines, "\n"))
		local _, count = string.gsub(button:GetCaption(), "\n", "")
		assert(count == 30)
		button:SetCaption(string.rep("x", 300))
		assert(button:GetCaption() == string.rep("x", 254) .. "\n")
		button:SetLabel("Go")
		assert(WgButton.GetLabel(button) == "Go" and tolua.type(button:GetLabel()) == "WgLabel_GL2D")
		assert(WgButton:new("plain"):GetLabel() == "")
		assert(button:IsVisible() == true and button:IsFocused() == false)
		button:SetCoords(3, -4.9)
		local x, y = button:GetCoords(0, 0)
		assert(x == 3 and y == -4)
		button:Focus() -- no click
		assert(button:GetStatus() == GI_ISTATE_FOCUSED)
		button:Focus(true)
		assert(button:GetStatus() == BB_ISTATE_CLICKED)

		local edit = WgEditBox_GL2D:new("e")
		edit:SetContentSize(300)
		edit:SetContent(string.rep("y", 300))
		assert(edit:GetContent() == string.rep("y", 255))

		local list = WgListBox_GL2D:new("l")
		assert(list:GetCurrentEntry() == "")
		for _, entry in ipairs({"a", "b", "c"}) do list:AppendEntry(entry) end
		list:InsertEntry("x", 1)
		list:InsertEntry("z", 9)
		list:DeleteEntry(0)
		list:DeleteEntry(-1)
		assert(list:GetNumEntry() == 3 and list:GetEntry(0) == "x" and list:GetEntry(2) == "c")
		assert(list:GetEntry(3) == nil and list:GetCurrentEntry() == "x")

		local label = WgLabel_GL2D:new("label")
		assert(pManager:AddItem(WgButton_GL2D:new("c"), pManager:AddItem(label)) == nil)
		assert(pManager:AddItem(WgButton_GL2D:new("d"), 12345) == nil)
		assert(pManager:AddItem(list:GetButtonUp()) == nil) -- the list box's own
		local window = WgWindow_GL2D:new("w")
		local inside = pManager:AddItem(window)
		assert(type(inside) == "number" and pManager:AddItem(button, inside) ~= nil)
		assert(pManager:AddItem(button) == nil) -- already in
		pManager:SetModal(window) -- a WgWindow_GL2D is a WgItem
		assert(window:IsFocused())
		assert(tolua.type(list:GetButtonUp()) == "WgButton_GL2D")
		assert(tolua.type(pManager:FindItemByNameAndType(4, "w")) == "WgWindow_GL2D")
	)")) << rig.LogText();
}

TEST_F(Binding, ScriptsReachNoFilesAndDeleteOnlyWhatTheyOwn) {
	EXPECT_TRUE(rig.Run(R"(
		assert(io == nil and os == nil and require == nil and package == nil)
		assert(dofile == nil and loadfile == nil and tolua.cast == nil and tolua.takeownership == nil)
		assert(string.format and math.floor and table.insert)
		Fails("belongs to the program", pManager.delete, pManager)
		Fails("belongs to the program", pCacheManager.delete, pCacheManager)
		local frame = pCacheManager:GetRect("data/rects/button.nbr")
		Fails("belongs to its cache manager", frame.delete, frame)
		local button = WgButton_GL2D:new("b")
		local label = button:GetLabel()
		Fails("is a part of 'b'", label.delete, label)
		button:delete()
		Fails("invalid 'self' in function 'SetCaption'", label.SetCaption, label, "x")
		Fails("invalid 'self' in function 'SetLabel'", button.SetLabel, button, "x")

		-- Looks and clips a script deletes are dropped by what used them.
		local font = GL2D_BmpText:new()
		assert(font:Load("data/fonts/menu.nbf"))
		local clip = GL2D_Rect:new()
		font:SetClip(clip)
		clip:delete()
		font:Write(0, 0, "A")
		local shown = WgLabel_GL2D:new("shown")
		shown:SetDim(100, 40)
		shown:SetCaption("Hi")
		shown:SetFont(GI_ISTATE_DEFAULT, font)
		pManager:AddItem(shown)
		font:delete()
		local cache = GL2D_CacheManager:new()
		local frameOfCache = cache:GetRect("data/rects/window.nbr")
		local window = WgWindow_GL2D:new("w")
		window:SetDim(100, 100)
		window:SetBorder(GI_ISTATE_DEFAULT, frameOfCache)
		pManager:AddItem(window)
		cache:delete()
		Fails("invalid 'self' in function 'GetMinHeight'", frameOfCache.GetMinHeight, frameOfCache)
	)")) << rig.LogText();
	rig.Draw(16); // nothing left points at what went
	EXPECT_EQ(rig.Pixel(10, 10), 0u);
}

TEST_F(Binding, NoScriptReachesTheBindingsOwnTables) {
	EXPECT_TRUE(rig.Run(R"(
		local b = WgButton_GL2D:new("b")
		pManager:AddItem(b)
		local rect = GL2D_Rect:new()
		assert(getmetatable(b) == false and getmetatable(rect) == false and getmetatable(WgButton_GL2D) == false)
		Fails("protected metatable", setmetatable, WgButton_GL2D, {})
		Fails("attempt to index", function() getmetatable(b).tolua_ubox[1] = nil end)
		for _, key in ipairs({"tolua_ubox", ".get", ".set", ".collector", "__gc", "__index", "__metatable"}) do
			assert(b[key] == nil and rect[key] == nil, key)
			assert(WgButton_GL2D[key] == nil and WgItem[key] == nil and GL2D_Rect[key] == nil, key)
			assert(rawget(WgButton_GL2D, key) == nil and rawget(WgItem, key) == nil, key)
		end
		-- The class globals stand in for the classes: changing them changes no object.
		rawset(WgButton_GL2D, "SetCaption", function() error("replaced") end)
		rawset(WgItem, "tolua_ubox", {})
		b:SetCaption("still")
		assert(b:GetCaption() == "still\n" and WgItem.GetCaption(b) == "still\n")
		Fails("the class WgItem cannot be changed", function() WgItem.SetCaption = print end)
		local c = WgButton_GL2D:new("c")
		assert(tolua.type(c) == "WgButton_GL2D" and WgItem.GetName(c) == "c" and WgButton.GetLabel(c) == "")
		b.tolua_ubox = {} -- a field of the object's own, nothing more
		assert(pManager:FindItemByNameAndType(5, "b") == b)
		b:delete()
		Fails("invalid 'self' in function 'SetCaption'", b.SetCaption, b, "gone")
	)")) << rig.LogText();
}

TEST_F(Binding, FailedAllocationsAndCppExceptionsAreScriptErrors) {
	lua_register(rig.screen.GetState()->GetLua(), "FailNextNew", FailNextNew);
	EXPECT_TRUE(rig.Run(R"(
		local ok, message = pcall(function()
			local s = "x"
			while #s < 2^27 do s = s .. s end
		end)
		assert(not ok and message == "not enough memory", message)
	)")) << rig.LogText();
	EXPECT_TRUE(rig.Run(R"(
		local list = WgListBox_GL2D:new("list")
		FailNextNew(202) -- the entry's copy
		Fails("not enough memory", list.AppendEntry, list, string.rep("e", 201))
		assert(list:GetNumEntry() == 0)
		list:AppendEntry("after")
		assert(list:GetNumEntry() == 1)
		collectgarbage()
		hog = string.rep("h", 16 * 2^20) -- kept: the host's own work in the state still goes on
	)")) << rig.LogText();
	EXPECT_TRUE(rig.Run("assert(#hog == 16 * 2^20) pManager:AddItem(WgButton_GL2D:new('b'))")) << rig.LogText();
	EXPECT_NE(rig.Find(WG_TYPE_BUTTON, "b"), nullptr);
}

// What a script makes and forgets goes with its Lua state (event scripts get a fresh one every
// time); what it hands to the screen's manager stays, and so does a look set on it.
TEST_F(Binding, ObjectsAScriptMakesAndForgetsGoWithItsState) {
	rig.Write("make.lua", R"(
		for i = 1, 200 do
			GL2D_Color:new()
			GL2D_Rect:new()
			WgButton_GL2D:new("b" .. i)
			local manager = WgManager:new(true)
			manager:AddItem(WgLabel_GL2D:new("owned"))
			coroutine.wrap(function() WgListBox_GL2D:new("l") end)()
		end
		GL2D_CacheManager:new():GetRect("data/rects/button.nbr")
	)");
	long grown[4] = {};
	for (long &growth : grown) {
		const long before = s_liveBlocks;
		{
			ScriptState state;
			ASSERT_TRUE(state.RunFile("make.lua")) << rig.LogText();
		}
		growth = s_liveBlocks - before;
	}
	EXPECT_EQ(grown[2], 0);
	EXPECT_EQ(grown[3], 0);
	{
		const std::string keep = R"(
			local kept = WgLabel_GL2D:new("kept")
			kept:SetDim(100, 40)
			kept:SetCaption("Hi")
			pManager:AddItem(kept)
			WgLabel_GL2D:new("forgotten")
		)";
		ScriptState state;
		state.SetObject("pManager", rig.screen.GetManager(), "WgManager");
		ASSERT_TRUE(state.RunBuffer(keep.data(), keep.size(), "keep")) << rig.LogText();
	}
	WgItem *kept = rig.Find(WG_TYPE_LABEL, "kept");
	ASSERT_NE(kept, nullptr);
	EXPECT_EQ(kept->GetCaption(), "Hi\n");
	rig.Draw(16);
}
