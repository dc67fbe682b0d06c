-- Widgets with extreme values, nested, their events naming scripts.
local w = WgWindow_GL2D:new("w")
w:SetCoords(-2147483648, 2147483647)
w:SetDim(1e30, -1)
local node = pManager:AddItem(w)
local parent = node
for i = 1, 40 do
	local inner = WgWindow_GL2D:new("inner" .. i)
	parent = pManager:AddItem(inner, parent) or parent
end
local list = WgListBox_GL2D:new("list")
for i = 1, 100 do list:AppendEntry(string.rep("e", i * 10)) end
list:DeleteEntry(-1)
list:InsertEntry("x", 1e9)
pManager:AddItem(list, node)
local b = WgButton_GL2D:new("b")
b:SetCallbackLUA(GI_ON_ACTIVATE, "data/fuzz.lua")
b:SetCallbackLUA(GI_ON_FOCUS, "/etc/passwd")
b:ExecuteLua("data/fuzz.lua")
b:ExecuteLua("../../etc/passwd")
pManager:AddItem(b, node)
pManager:SetForeground(0 / 0)
pManager:SetModal(b)
b:Focus(true)
local f = pCacheManager:GetFont("data/fonts/arial_green.ntf", GL2D_Color:new())
f:SetString(string.rep("W", 10000))
f:SetClip(nil)
f:Write(1e9, -1e9)
local e = WgEditBox_GL2D:new("e")
e:SetContentSize(-5)
e:SetContent(string.rep("\255", 3000))
pManager:AddItem(e)
w:delete()
