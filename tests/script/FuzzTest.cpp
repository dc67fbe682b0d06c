#include <gtest/gtest.h>

#include <random>
#include <string>

#include "WidgetRig.h"

// Random calls on the whole surface from Lua: wrong types, nil and deleted objects, numbers out
// of every range, deletes of what is not the script's, widgets' event scripts doing the same,
// with real input events and drawing in between. Script errors are expected; a crash or a
// sanitizer report is the failure (run this in the -DTAVRO_SANITIZE=ON build too).

namespace {

const unsigned SEED = 20261207;

const char *const DRIVER = R"(
local classes = {"WgManager", "WgItem", "WgLabel", "WgEditBox", "WgWindow", "WgButton", "WgCheckBox",
	"WgListBox", "WgLabel_GL2D", "WgEditBox_GL2D", "WgButton_GL2D", "WgCheckBox_GL2D", "WgWindow_GL2D",
	"WgListBox_GL2D", "GL2D_Rect", "GL2D_Color", "GL2D_Font", "GL2D_BmpText", "GL2D_TrueTypeText",
	"GL2D_BmpRect", "GL2D_SimpleBmpRect", "GL2D_Mouse", "GL2D_CacheManager", "NI_Event"}
local numbers = {0, 1, 2, 3, 4, 5, 9, 10, 20, 40, 100, 300, -1, -7, 255, 256, 4096, 100000, 2^31, -2^31,
	2^53, 1e300, -1e300, 0/0, 1/0, -1/0, 0.5, -0.5}
local strings = {"", "x", "data/rects/button.nbr", "data/rects/check_no.nsbr", "data/fonts/menu.nbf",
	"data/fonts/arial_green.ntf", "data/rects/mouse.nmd", "fuzz_event.lua", "missing.lua", "a\nb\n\nc",
	string.rep("w", 400), "%s%d%n", "\0"}

-- Every method a class answers to, its bases' included, in a fixed order.
local methods = {}
for _, class in ipairs(classes) do
	local names, found, t = {}, {}, _G[class]
	while type(t) == "table" do
		for name, value in pairs(t) do
			local first = string.sub(name, 1, 1)
			if type(value) == "function" and not found[name] and first ~= "." and first ~= "_" then
				found[name] = value
				names[#names + 1] = name
			end
		end
		t = getmetatable(t)
	end
	table.sort(names)
	local functions = {}
	for i, name in ipairs(names) do
		functions[i] = found[name]
	end
	methods[class] = functions
end

objects = objects or {}
handles = handles or {}
calls = calls or {ok = 0, failed = 0}

local function Pick(list)
	return list[math.random(#list)]
end

local function Keep(value)
	if type(value) == "userdata" and #objects < 300 then
		objects[#objects + 1] = value
	elseif type(value) == "number" and #handles < 100 then
		handles[#handles + 1] = value
	end
end

local function Value()
	local r = math.random(10)
	if r <= 3 and #objects > 0 then
		return Pick(objects)
	elseif r <= 5 then
		return Pick(numbers)
	elseif r <= 7 then
		return Pick(strings)
	elseif r == 8 then
		return math.random(2) == 1
	elseif r == 9 then
		return nil
	end
	return {}
end

-- Mostly arguments of the kinds the surface takes, so calls get past the type checks and reach
-- the program; the rest anything at all.
local function Arguments()
	local args, count, flavour = {}, math.random(0, 4), math.random(10)
	for i = 1, count do
		if flavour <= 4 then
			args[i] = Pick(numbers)
		elseif flavour <= 5 then
			args[i] = i == 1 and Pick(strings) or Pick(numbers)
		elseif flavour <= 7 then
			args[i] = i == 1 and Pick(numbers) or Value()
		else
			args[i] = Value()
		end
	end
	return args, count
end

local function Call(f, ...)
	local ok, a, b = pcall(f, ...)
	if ok then
		calls.ok = calls.ok + 1
		Keep(a)
		Keep(b)
	else
		calls.failed = calls.failed + 1
	end
end

local widgets = {"WgLabel_GL2D", "WgEditBox_GL2D", "WgButton_GL2D", "WgCheckBox_GL2D", "WgWindow_GL2D",
	"WgListBox_GL2D"}
local looks = {"data/rects/button.nbr", "data/rects/window.nbr", "data/rects/editbox.nbr"}

-- A widget as a screen script makes one, with looks, an event script and a place on screen.
local function Widget()
	local ok, widget = pcall(_G[Pick(widgets)].new, _G[Pick(widgets)], "w" .. math.random(20))
	if not ok or not widget then
		return
	end
	Keep(widget)
	pcall(widget.SetCoords, widget, math.random(0, 600), math.random(0, 450))
	pcall(widget.SetDim, widget, math.random(0, 300), math.random(0, 200))
	pcall(widget.SetBorder, widget, math.random(0, 4), pCacheManager and pCacheManager:GetRect(Pick(looks)))
	if math.random(2) == 1 then
		widget:SetCallbackLUA(math.random(0, 5), "fuzz_event.lua")
	end
	if pManager then
		Keep(pManager:AddItem(widget, #handles > 0 and math.random(2) == 1 and Pick(handles) or nil))
	end
end

function Fuzz(start, steps)
	for _, object in pairs(start) do
		Keep(object)
	end
	for step = 1, steps do
		local r = math.random(20)
		local object = #objects > 0 and Pick(objects) or nil
		if r <= 2 then
			local class = _G[Pick(classes)]
			if class.new then
				Call(class.new, class, math.random(2) == 1 and Pick(strings) or nil)
			end
		elseif r <= 4 then
			Widget()
		elseif r == 5 and object and object.delete then
			Call(object.delete, object)
		else
			local class = (math.random(4) == 1 or not object) and Pick(classes) or tolua.type(object)
			local functions = methods[class]
			if functions and #functions > 0 then
				local args, count = Arguments()
				local self = math.random(8) == 1 and Value() or object
				Call(Pick(functions), self, unpack(args, 1, count))
			end
		end
	end
end
)";

} // namespace

TEST(ScriptFuzz, RandomCallsGiveScriptErrorsNeverACrash) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	rig.Write("fuzz_event.lua", std::string(DRIVER) + "Fuzz({Me, CacheManager}, 30)");
	std::mt19937 random(SEED);
	const SDLKey keys[] = {SDLK_TAB, SDLK_RETURN, SDLK_ESCAPE, SDLK_BACKSPACE, SDLK_LEFT, SDLK_RIGHT, SDLK_UP,
		SDLK_DOWN, SDLK_PAGEUP, SDLK_PAGEDOWN, SDLK_a, SDLK_z, SDLK_SPACE};
	for (int round = 0; round < 60; round++) {
		if (round % 15 == 0 && round > 0) { // a screen torn down in whatever state the calls left it
			ASSERT_TRUE(rig.screen.Build(640, 480));
		}
		const std::string run = std::string(DRIVER) + "math.randomseed(" + std::to_string(random() % 100000) +
								") Fuzz({pManager, pCacheManager}, 300)";
		ASSERT_TRUE(rig.Run(run)) << rig.LogText();
		for (int event = 0; event < 30; event++) {
			const int x = static_cast<int>(random() % 700), y = static_cast<int>(random() % 520);
			switch (random() % 5) {
			case 0: {
				const SDLKey key = keys[random() % (sizeof(keys) / sizeof(keys[0]))];
				rig.Key(key, key < 128 ? key : 0, random() % 2 ? KMOD_LSHIFT : KMOD_NONE);
				break;
			}
			case 1: rig.Move(x, y); break;
			case 2: rig.Press(x, y); break;
			case 3: rig.Release(x, y); break;
			default: rig.Draw(static_cast<int>(random() % 40)); break;
			}
		}
	}
	// Both kinds of outcome happened, and the screen still works.
	EXPECT_TRUE(rig.Run("assert(calls.ok > 300 and calls.failed > 300, calls.ok .. ' ' .. calls.failed)"))
		<< rig.LogText();
	EXPECT_TRUE(rig.Run("pManager:AddItem(WgButton_GL2D:new('after'))"));
	EXPECT_NE(rig.Find(WG_TYPE_BUTTON, "after"), nullptr);
}
