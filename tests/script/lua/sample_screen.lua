-- One of every widget with the game's own looks, to try by hand:
--   cd build && ./tavro --script ../tests/script/lua/sample_screen.lua
-- Tab and Shift+Tab move the focus, the mouse focuses what it points at, Escape leaves.

local function Color(r, g, b, a)
	local c = GL2D_Color:new()
	c.r, c.g, c.b, c.a = r, g, b, a
	return c
end

-- Laid out for 640 x 480 and grown with the window; the fonts are rendered at the size shown.
local scale = ScreenScale or 1
local function Px(length)
	return math.floor(length * scale + 0.5)
end

local white = Color(1, 1, 1, 1)
local menu = pCacheManager:GetFont("data/fonts/menu.ntf", white, scale)
local menuFocus = pCacheManager:GetFont("data/fonts/menu.ntf", Color(1, 0.824, 0.227, 1), scale)
local small = pCacheManager:GetFont("data/fonts/arial_green.ntf", white, scale)
local smallGold = pCacheManager:GetFont("data/fonts/arial_green.ntf", Color(1, 0.8, 0.2, 1), scale)
local ink = pCacheManager:GetFont("data/fonts/arial_green.ntf", Color(0.1, 0.06, 0.13, 1), scale)

local function StyleText(label, vertical, horizontal)
	label:SetFont(GI_ISTATE_DEFAULT, menu)
	label:SetFont(GI_ISTATE_DISABLED, menu)
	label:SetFont(GI_ISTATE_FOCUSED, menuFocus)
	label:SetFont(GI_ISTATE_HIGHLIGHTED, menu)
	label:SetAlign(vertical, horizontal)
end

local function Button(name, text, x, y, w, parent)
	local button = WgButton_GL2D:new(name)
	button:SetCoords(x, y)
	button:SetDim(w, Px(44))
	button:SetLabel(text)
	button:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/button.nbr"))
	button:SetBorder(GI_ISTATE_DISABLED, pCacheManager:GetRect("data/rects/button_disabled.nbr"))
	button:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/button_focus.nbr"))
	button:SetBorder(BB_ISTATE_CLICKED, pCacheManager:GetRect("data/rects/button_click.nbr"))
	StyleText(button:GetLabel(), VALIGN_MIDDLE, HALIGN_MIDDLE)
	pManager:AddItem(button, parent)
	return button
end

local window = WgWindow_GL2D:new("wnd_sample")
window:SetCoords(ScreenWidth / 2 - Px(300), ScreenHeight / 2 - Px(230))
window:SetDim(Px(600), Px(460))
window:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/window.nbr"))
window:SetBorder(GI_ISTATE_HIGHLIGHTED, pCacheManager:GetRect("data/rects/window_focus.nbr"))
local inside = pManager:AddItem(window)

local title = WgLabel_GL2D:new("lbl_title")
title:SetCoords(Px(20), Px(16))
title:SetDim(Px(560), Px(36))
title:SetCaption("Widget sampler")
StyleText(title, VALIGN_MIDDLE, HALIGN_MIDDLE)
pManager:AddItem(title, inside)

local name = WgLabel_GL2D:new("lbl_name")
name:SetCoords(Px(30), Px(70))
name:SetDim(Px(140), Px(40))
name:SetCaption("Name")
StyleText(name, VALIGN_MIDDLE, HALIGN_RIGHT)
pManager:AddItem(name, inside)

local edit = WgEditBox_GL2D:new("edt_name")
edit:SetCoords(Px(190), Px(70))
edit:SetDim(Px(360), Px(40))
edit:SetContent("Kelvane")
edit:SetSmartEdit(true)
edit:SetContentSize(20)
edit:SetCursor("data/rects/caret.nsbr")
local editText = edit:GetLabel()
editText:SetFont(GI_ISTATE_DEFAULT, ink)
editText:SetFont(GI_ISTATE_FOCUSED, ink)
editText:SetAlign(VALIGN_MIDDLE, HALIGN_LEFT)
editText:SetMargin(Px(10), 0, Px(10), 0)
editText:SetScrollMode(true)
editText:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/editbox.nbr"))
editText:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/editbox_focus.nbr"))
pManager:AddItem(edit, inside)

local music = WgLabel_GL2D:new("lbl_music")
music:SetCoords(Px(30), Px(130))
music:SetDim(Px(140), Px(30))
music:SetCaption("Music")
StyleText(music, VALIGN_MIDDLE, HALIGN_RIGHT)
pManager:AddItem(music, inside)

local check = WgCheckBox_GL2D:new("chk_music")
check:SetCoords(Px(190), Px(132))
check:SetDim(Px(26), Px(26))
check:SetBorder(CB_ISTATE_DEFAULT_NO, pCacheManager:GetSimpleRect("data/rects/check_no.nsbr"))
check:SetBorder(CB_ISTATE_DEFAULT_YES, pCacheManager:GetSimpleRect("data/rects/check_yes.nsbr"))
check:SetBorder(CB_ISTATE_FOCUSED_NO, pCacheManager:GetSimpleRect("data/rects/check_no_focus.nsbr"))
check:SetBorder(CB_ISTATE_FOCUSED_YES, pCacheManager:GetSimpleRect("data/rects/check_yes_focus.nsbr"))
check:SetChecked(true)
pManager:AddItem(check, inside)

local arenas = WgListBox_GL2D:new("lst_arena")
arenas:SetCoords(Px(190), Px(180))
arenas:SetDim(Px(360), 0)
arenas:SetMargins(Px(8), Px(8), Px(8), Px(8))
arenas:SetRowHeight(Px(32))
arenas:SetRowsPerPage(4)
arenas:SetFont(small, smallGold)
arenas:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/listbox.nbr"))
arenas:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/listbox.nbr"))
for _, entry in ipairs({"xeno", "tris", "random", "hippy", "johnny", "babe", "webby"}) do
	arenas:AppendEntry(entry)
end
for _, arrow in ipairs({{arenas:GetButtonUp(), "<"}, {arenas:GetButtonDown(), ">"}}) do
	local button, text = arrow[1], arrow[2]
	button:SetDim(Px(40), 0)
	button:SetLabel(text)
	button:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/button.nbr"))
	button:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/button_focus.nbr"))
	button:SetBorder(BB_ISTATE_CLICKED, pCacheManager:GetRect("data/rects/button_click.nbr"))
	StyleText(button:GetLabel(), VALIGN_MIDDLE, HALIGN_MIDDLE)
end
pManager:AddItem(arenas, inside)

local list = WgLabel_GL2D:new("lbl_arena")
list:SetCoords(Px(30), Px(180))
list:SetDim(Px(140), Px(40))
list:SetCaption("Arena")
StyleText(list, VALIGN_MIDDLE, HALIGN_RIGHT)
pManager:AddItem(list, inside)

Button("btn_ok", "OK", Px(190), Px(380), Px(170), inside)
Button("btn_cancel", "Cancel", Px(380), Px(380), Px(170), inside)
local off = Button("btn_off", "Off", Px(30), Px(380), Px(140), inside)
off:Disable()
