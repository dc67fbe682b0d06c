#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>

#include "SteppedScriptClock.h"
#include "WidgetRig.h"

// Random calls on the whole surface from Lua: wrong types, nil and deleted objects, numbers out
// of every range, deletes of what is not the script's, widgets' event scripts doing the same,
// with real input events and drawing in between. Script errors are expected; a crash or a
// sanitizer report is the failure (run this in the -DTAVRO_SANITIZE=ON build too).

namespace {

const unsigned SEED = 20261207;

// The surface as tavro.pkg declares it, as a Lua table: each class with its base and its
// methods, each method with the kinds of its arguments ("n" number, "b" boolean, "s" string,
// "o:Class" object).
std::string SurfaceTable() {
	std::ifstream in(TAVRO_SOURCE_DIR "/src/script/tavro.pkg");
	const std::regex classLine(R"(^(class|struct) (\w+)( : public (\w+))? \{)");
	const std::regex parameter(R"(^\s*(const )?(\w+)\s*(\*?)\s*\w+(\s*=.*)?$)");
	std::string table = "surface = {\n", line, className;
	std::smatch match;
	while (std::getline(in, line)) {
		if (std::regex_search(line, match, classLine)) {
			className = match[2];
			table += "{name = '" + className + "', base = '" + std::string(match[4]) + "', methods = {\n";
		} else if (line == "};" && !className.empty()) {
			table += "}},\n";
			className.clear();
		} else if (!className.empty() && line.find('(') != std::string::npos) {
			const size_t open = line.find('('), close = line.rfind(')');
			std::string head = line.substr(0, open);
			const size_t at = head.find('@');
			head = head.substr(at == std::string::npos ? 0 : at + 1);
			head.erase(head.find_last_not_of(" \t") + 1);
			std::string name = head.substr(head.find_last_of(" \t*") + 1);
			name = name == className ? "new" : name[0] == '~' ? "delete" : name;
			table += "\t{name = '" + name + "', args = {";
			std::stringstream params(line.substr(open + 1, close - open - 1));
			std::string param;
			while (std::getline(params, param, ',')) {
				if (!std::regex_match(param, match, parameter)) {
					continue;
				}
				const std::string type = match[2];
				const bool pointer = match[3] == "*";
				table += type == "char"                                           ? "'s', "
						 : type == "bool"                                         ? "'b', "
						 : (type == "int" || type == "float" || type == "double") ? "'n', "
						 : pointer                                                ? "'o:" + type + "', "
																				  : "'?', ";
			}
			table += "}},\n";
		}
	}
	return table + "}\n";
}

const char *const DRIVER = R"(
local byName, classes, methods = {}, {}, {}
for _, class in ipairs(surface) do
	byName[class.name] = class
	classes[#classes + 1] = class.name
end
-- Every method a class answers to, its bases' included, in a fixed order.
for _, class in ipairs(surface) do
	local names, found, at = {}, {}, class
	while at do
		for _, method in ipairs(at.methods) do
			if not found[method.name] then
				found[method.name] = true
				names[#names + 1] = method.name
			end
		end
		at = byName[at.base]
	end
	table.sort(names)
	local functions = {}
	for _, name in ipairs(names) do
		functions[#functions + 1] = _G[class.name][name]
	end
	methods[class.name] = functions
end
local numbers = {0, 1, 2, 3, 4, 5, 9, 10, 20, 40, 100, 300, -1, -7, 255, 256, 4096, 100000, 2^31, -2^31,
	2^53, 1e300, -1e300, 0/0, 1/0, -1/0, 0.5, -0.5}
local strings = {"", "x", "data/rects/button.nbr", "data/rects/check_no.nsbr", "data/fonts/menu.nbf",
	"data/fonts/arial_green.ntf", "data/rects/mouse.nmd", "fuzz_event.lua", "missing.lua", "a\nb\n\nc",
	string.rep("w", 400), "%s%d%n", "\0"}

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

// Every method with a number among its arguments, on an object of its class that is on the
// screen with loaded fonts, with each extreme number in every numeric place and in all at once.
// The other arguments are the plainest that pass the type checks.
const char *const SWEEP = R"(
local extremes = {2^24, -2^24, 2^24 + 1, 2^31, -2^31 - 1, 2^53, -2^53, 1e300, -1e300, 1/0, -1/0, 0/0, 32767,
	32768, -32769, 40000, -40000, 65536, 4097, 1e6, -1e6, 0.5, -0.5}
local byName, instances = {}, {}
for _, class in ipairs(surface) do byName[class.name] = class end
local function Make(class)
	for _, method in ipairs(class.methods) do
		if method.name == "new" then
			local args = {s = {"o" .. class.name}, b = {false}}
			local ok, object = pcall(_G[class.name].new, _G[class.name], unpack(args[method.args[1]] or {}))
			return ok and object or nil
		end
	end
end
local white = GL2D_Color:new()
white.r, white.g, white.b, white.a = 1, 1, 1, 1
local fonts = {GL2D_BmpText = "data/fonts/menu.nbf", GL2D_TrueTypeText = "data/fonts/arial_green.ntf"}
for _, class in ipairs(surface) do
	local object = Make(class)
	if object then
		if fonts[class.name] then assert(object:Load(fonts[class.name])) end
		if class.name:sub(1, 2) == "Wg" and class.name ~= "WgManager" then
			object:SetDim(200, 60)
			object:SetCaption("Caption")
			pcall(object.SetFont, object, 0, pCacheManager:GetFont("data/fonts/menu.nbf", white))
			pManager:AddItem(object)
		end
		-- The object stands for its class and every base of it that has none yet.
		local at = class
		while at do
			instances[at.name] = instances[at.name] or object
			at = byName[at.base]
		end
	end
end
local function Arguments(kinds, value, place)
	local args = {}
	for i, kind in ipairs(kinds) do
		if kind == "n" then
			args[i] = (place == nil or place == i) and value or 1
		elseif kind == "s" then
			args[i] = "x"
		elseif kind == "b" then
			args[i] = true
		else
			args[i] = instances[kind:sub(3)]
		end
	end
	return args
end
swept = 0
for _, class in ipairs(surface) do
	local object = instances[class.name]
	for _, method in ipairs(class.methods) do
		local numbers = 0
		for _, kind in ipairs(method.args) do numbers = numbers + (kind == "n" and 1 or 0) end
		if object and numbers > 0 and method.name ~= "new" then
			for _, value in ipairs(extremes) do
				for place = 0, #method.args do
					if place == 0 or method.args[place] == "n" then
						local args = Arguments(method.args, value, place > 0 and place or nil)
						pcall(object[method.name], object, unpack(args, 1, #method.args))
						swept = swept + 1
					end
				end
			end
		end
	end
end
-- What is measured or written whole, at its longest; and clips and colours out of every range.
local long = string.rep("w", 3000000)
local clip = GL2D_Rect:new()
for _, name in ipairs({"GL2D_BmpText", "GL2D_TrueTypeText"}) do
	local font = instances[name]
	font:GetTextWidth(long)
	font:SetString(long)
	font:Write(0, 0, long)
	for _, value in ipairs(extremes) do
		clip.x, clip.y, clip.w, clip.h = value, value, value, value
		white.r, white.g, white.b, white.a = value, value, value, value
		font:SetColor(value, value, value, value)
		font:Write(10, 10, "Text", clip, 0, 0)
		instances.WgLabel_GL2D:SetFontColor(0, white)
	end
end
instances.GL2D_BmpText:SetKerning(40000)
instances.WgLabel_GL2D:SetFont(0, instances.GL2D_BmpText)
instances.WgLabel_GL2D:SetCaption(string.rep("k", 300))
instances.WgListBox_GL2D:AppendEntry(long)
assert(#instances.WgListBox_GL2D:GetEntry(0) < 300)
)";

} // namespace

TEST(ScriptFuzz, ExtremeNumbersInEveryNumericPlaceAreHeldToWhatTheCalleeTakes) {
	SteppedScriptClock clock(0); // long runs, on slow sanitized builds too
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	ASSERT_TRUE(rig.Run(SurfaceTable() + SWEEP)) << rig.LogText();
	for (int frame = 0; frame < 3; frame++) {
		rig.Draw(frame * 1000000);
		rig.Move(100 + frame, 30);
		rig.Click(100, 30);
		rig.Key(SDLK_TAB, '\t');
		rig.Key(SDLK_RETURN, '\r');
	}
	EXPECT_TRUE(rig.Run("assert(swept > 2000, swept)")) << rig.LogText();
}

TEST(ScriptFuzz, RandomCallsGiveScriptErrorsNeverACrash) {
	SteppedScriptClock clock(0);
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	const std::string driver = SurfaceTable() + DRIVER;
	rig.Write("fuzz_event.lua", driver + "Fuzz({Me, CacheManager}, 30)");
	std::mt19937 random(SEED);
	const SDLKey keys[] = {SDLK_TAB, SDLK_RETURN, SDLK_ESCAPE, SDLK_BACKSPACE, SDLK_LEFT, SDLK_RIGHT, SDLK_UP,
		SDLK_DOWN, SDLK_PAGEUP, SDLK_PAGEDOWN, SDLK_a, SDLK_z, SDLK_SPACE};
	for (int round = 0; round < 60; round++) {
		if (round % 15 == 0 && round > 0) { // a screen torn down in whatever state the calls left it
			ASSERT_TRUE(rig.screen.Build(640, 480));
		}
		const std::string run =
			driver + "math.randomseed(" + std::to_string(random() % 100000) + ") Fuzz({pManager, pCacheManager}, 300)";
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
