-- One of every widget with the game's own looks, to try by hand:
--   cd build && ./tavro --script ../tests/script/lua/sample_screen.lua
-- Tab and Shift+Tab move the focus, the mouse focuses what it points at, Escape leaves.

local function Color(r, g, b, a)
	local c = GL2D_Color:new()
	c.r, c.g, c.b, c.a = r, g, b, a
	return c
end

local white = Color(1, 1, 1, 1)
local menu = pCacheManager:GetFont("data/fonts/menu.nbf", white)
local menuFocus = pCacheManager:GetFont("data/fonts/menu_focus.nbf", white)
local small = pCacheManager:GetFont("data/fonts/arial_green.ntf", white)
local smallGold = pCacheManager:GetFont("data/fonts/arial_green.ntf", Color(1, 0.8, 0.2, 1))
local ink = pCacheManager:GetFont("data/fonts/arial_green.ntf", Color(0.1, 0.06, 0.13, 1))

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
	button:SetDim(w, 44)
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
window:SetCoords(ScreenWidth / 2 - 300, ScreenHeight / 2 - 230)
window:SetDim(600, 460)
window:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/window.nbr"))
window:SetBorder(GI_ISTATE_HIGHLIGHTED, pCacheManager:GetRect("data/rects/window_focus.nbr"))
local inside = pManager:AddItem(window)

local title = WgLabel_GL2D:new("lbl_title")
title:SetCoords(20, 16)
title:SetDim(560, 36)
title:SetCaption("Widget sampler")
StyleText(title, VALIGN_MIDDLE, HALIGN_MIDDLE)
pManager:AddItem(title, inside)

local name = WgLabel_GL2D:new("lbl_name")
name:SetCoords(30, 70)
name:SetDim(140, 40)
name:SetCaption("Name")
StyleText(name, VALIGN_MIDDLE, HALIGN_RIGHT)
pManager:AddItem(name, inside)

local edit = WgEditBox_GL2D:new("edt_name")
edit:SetCoords(190, 70)
edit:SetDim(360, 40)
edit:SetContent("Kelvane")
edit:SetSmartEdit(true)
edit:SetContentSize(20)
edit:SetCursor("data/rects/caret.nsbr")
local editText = edit:GetLabel()
editText:SetFont(GI_ISTATE_DEFAULT, ink)
editText:SetFont(GI_ISTATE_FOCUSED, ink)
editText:SetAlign(VALIGN_MIDDLE, HALIGN_LEFT)
editText:SetMargin(10, 0, 10, 0)
editText:SetScrollMode(true)
editText:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/editbox.nbr"))
editText:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/editbox_focus.nbr"))
pManager:AddItem(edit, inside)

local music = WgLabel_GL2D:new("lbl_music")
music:SetCoords(30, 130)
music:SetDim(140, 30)
music:SetCaption("Music")
StyleText(music, VALIGN_MIDDLE, HALIGN_RIGHT)
pManager:AddItem(music, inside)

local check = WgCheckBox_GL2D:new("chk_music")
check:SetCoords(190, 132)
check:SetDim(26, 26)
check:SetBorder(CB_ISTATE_DEFAULT_NO, pCacheManager:GetSimpleRect("data/rects/check_no.nsbr"))
check:SetBorder(CB_ISTATE_DEFAULT_YES, pCacheManager:GetSimpleRect("data/rects/check_yes.nsbr"))
check:SetBorder(CB_ISTATE_FOCUSED_NO, pCacheManager:GetSimpleRect("data/rects/check_no_focus.nsbr"))
check:SetBorder(CB_ISTATE_FOCUSED_YES, pCacheManager:GetSimpleRect("data/rects/check_yes_focus.nsbr"))
check:SetChecked(true)
pManager:AddItem(check, inside)

local arenas = WgListBox_GL2D:new("lst_arena")
arenas:SetCoords(190, 180)
arenas:SetDim(360, 0)
arenas:SetMargins(8, 8, 8, 8)
arenas:SetRowHeight(32)
arenas:SetRowsPerPage(4)
arenas:SetFont(small, smallGold)
arenas:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/listbox.nbr"))
arenas:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/listbox.nbr"))
for _, entry in ipairs({"xeno", "tris", "random", "hippy", "johnny", "babe", "webby"}) do
	arenas:AppendEntry(entry)
end
for _, arrow in ipairs({{arenas:GetButtonUp(), "<"}, {arenas:GetButtonDown(), ">"}}) do
	local button, text = arrow[1], arrow[2]
	button:SetDim(40, 0)
	button:SetLabel(text)
	button:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/button.nbr"))
	button:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/button_focus.nbr"))
	button:SetBorder(BB_ISTATE_CLICKED, pCacheManager:GetRect("data/rects/button_click.nbr"))
	StyleText(button:GetLabel(), VALIGN_MIDDLE, HALIGN_MIDDLE)
end
pManager:AddItem(arenas, inside)

local list = WgLabel_GL2D:new("lbl_arena")
list:SetCoords(30, 180)
list:SetDim(140, 40)
list:SetCaption("Arena")
StyleText(list, VALIGN_MIDDLE, HALIGN_RIGHT)
pManager:AddItem(list, inside)

Button("btn_ok", "OK", 190, 380, 170, inside)
Button("btn_cancel", "Cancel", 380, 380, 170, inside)
local off = Button("btn_off", "Off", 30, 380, 140, inside)
off:Disable()
