-- The look every menu screen shares: the program runs this before the screen's own script, in
-- the same Lua state, so the screens build their widgets with these functions.

local function Color(r, g, b, a)
	local c = GL2D_Color:new()
	c.r, c.g, c.b, c.a = r, g, b, a
	return c
end

-- Every screen is laid out for 640 x 480 and grows with the window: Px turns a length at that
-- size into pixels of this window, and the fonts are rendered at the size they are shown.
MenuScale = ScreenScale or 1
function Px(length)
	return math.floor(length * MenuScale + 0.5)
end

-- The cache keeps its own copy of a font's colour, so ours go at once: a screen is built every
-- time it is shown, and colours left behind would pile up.
local white = Color(1, 1, 1, 1)
local cream = Color(1, 0.965, 0.878, 1)
local gold = Color(1, 0.824, 0.227, 1)
local orange = Color(1, 0.68, 0.25, 1)
local menuFont = pCacheManager:GetFont("data/fonts/menu.ntf", cream, MenuScale)
local focusFont = pCacheManager:GetFont("data/fonts/menu.ntf", gold, MenuScale)
local warnFont = pCacheManager:GetFont("data/fonts/warning.ntf", orange, MenuScale)
local noteFont = pCacheManager:GetFont("data/fonts/warning.ntf", white, MenuScale)
local ink = Color(0.1, 0.06, 0.13, 1)
local chosen = Color(1, 0.8, 0.2, 1)
local inkFont = pCacheManager:GetFont("data/fonts/warning.ntf", ink, MenuScale)
local chosenFont = pCacheManager:GetFont("data/fonts/warning.ntf", chosen, MenuScale)
cream:delete()
white:delete()
orange:delete()
ink:delete()
gold:delete()
chosen:delete()

-- The menu screens stand at the left, each an edge of panels at the same distance from the
-- screen's edge: the flying arena keeps the right, and the logo its corner (the program draws it
-- Px(250) from the right edge and Px(110) from the bottom), so nothing is drawn under it. The
-- question during a match is a dialog over play, in the middle.
MenuLeft = math.max(Px(8), math.floor((ScreenWidth - Px(640)) / 4) + Px(8))

local function StyleText(label, horizontal)
	for _, state in ipairs({GI_ISTATE_DEFAULT, GI_ISTATE_DISABLED, GI_ISTATE_HIGHLIGHTED}) do
		label:SetFont(state, menuFont)
	end
	label:SetFont(GI_ISTATE_FOCUSED, focusFont)
	label:SetAlign(VALIGN_MIDDLE, horizontal)
end

-- Where a widget stands; 40 high at 640 x 480 unless told.
local function Place(widget, x, y, w, h)
	widget:SetCoords(x, y)
	widget:SetDim(w, h or Px(40))
	return widget
end

-- A button's frames for the states a player sees, and its label.
local function StyleButton(button)
	button:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/button.nbr"))
	button:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/button_focus.nbr"))
	button:SetBorder(BB_ISTATE_CLICKED, pCacheManager:GetRect("data/rects/button_click.nbr"))
	StyleText(button:GetLabel(), HALIGN_MIDDLE)
end

-- A frame behind a group of widgets; it never takes the focus, so Tab stays with the buttons.
function MenuPanel(name, x, y, w, h)
	local panel = Place(WgWindow_GL2D:new(name), x, y, w, h)
	panel:ReceiveFocus(false)
	panel:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/window.nbr"))
	panel:SetBorder(GI_ISTATE_HIGHLIGHTED, pCacheManager:GetRect("data/rects/window.nbr"))
	pManager:AddItem(panel)
	return panel
end

function MenuButton(name, text, x, y, w, h)
	local button = Place(WgButton_GL2D:new(name), x, y, w, h)
	button:SetLabel(text)
	StyleButton(button)
	button:SetBorder(GI_ISTATE_DISABLED, pCacheManager:GetRect("data/rects/button_disabled.nbr"))
	pManager:AddItem(button)
	return button
end

-- A line of text; a value shown beside its button is left-aligned, a title centred.
function MenuLabel(name, text, x, y, w, h, horizontal)
	local label = Place(WgLabel_GL2D:new(name), x, y, w, h)
	label:SetCaption(text)
	label:ReceiveFocus(false)
	StyleText(label, horizontal or HALIGN_LEFT)
	pManager:AddItem(label)
	return label
end

-- A warning the program shows and hides; it goes on a panel, in a place of its own, so it is
-- read against the panel and never covered.
function MenuWarning(name, text, x, y, w, h)
	local label = MenuLabel(name, text, x, y, w, h, HALIGN_MIDDLE)
	label:SetFont(GI_ISTATE_DEFAULT, warnFont)
	label:SetVisible(false)
	return label
end

-- Plain words the program writes, over as many lines as the box holds; it never takes the focus.
function MenuNote(name, x, y, w, h)
	local label = MenuLabel(name, "", x, y, w, h)
	for _, state in ipairs({GI_ISTATE_DEFAULT, GI_ISTATE_DISABLED, GI_ISTATE_HIGHLIGHTED, GI_ISTATE_FOCUSED}) do
		label:SetFont(state, noteFont)
	end
	label:SetAlign(VALIGN_TOP, HALIGN_LEFT)
	return label
end

-- A line to type in: dark letters on a light field, the end of a long text in sight.
function MenuEditBox(name, text, x, y, w, h)
	local edit = Place(WgEditBox_GL2D:new(name), x, y, w, h)
	edit:SetContent(text)
	edit:SetSmartEdit(true)
	edit:SetCursor("data/rects/caret.nsbr")
	local label = edit:GetLabel()
	label:SetFont(GI_ISTATE_DEFAULT, inkFont)
	label:SetFont(GI_ISTATE_FOCUSED, inkFont)
	label:SetAlign(VALIGN_MIDDLE, HALIGN_LEFT)
	label:SetMargin(Px(10), 0, Px(10), 0)
	label:SetScrollMode(true)
	label:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/editbox.nbr"))
	label:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/editbox_focus.nbr"))
	pManager:AddItem(edit)
	return edit
end

-- A list the program fills, rows rows high (each 24 at 640 x 480), with the arrows beside it; a click on a row
-- chooses it.
function MenuList(name, x, y, w, rows)
	local list = WgListBox_GL2D:new(name)
	list:SetCoords(x, y)
	list:SetDim(w, 0)
	list:SetMargins(Px(8), Px(6), Px(8), Px(6))
	list:SetRowHeight(Px(24))
	list:SetRowsPerPage(rows)
	list:SetFont(noteFont, chosenFont)
	list:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/listbox.nbr"))
	list:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/listbox.nbr"))
	for _, arrow in ipairs({{list:GetButtonUp(), "<"}, {list:GetButtonDown(), ">"}}) do
		local button, sign = arrow[1], arrow[2]
		button:SetDim(Px(30), 0)
		button:SetLabel(sign)
		StyleButton(button)
	end
	pManager:AddItem(list)
	return list
end
