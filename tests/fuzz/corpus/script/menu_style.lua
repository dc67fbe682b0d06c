-- The look every menu screen shares: the program runs this before the screen's own script, in
-- the same Lua state, so the screens build their widgets with these functions.

local function Color(r, g, b, a)
	local c = GL2D_Color:new()
	c.r, c.g, c.b, c.a = r, g, b, a
	return c
end

-- The cache keeps its own copy of a font's colour, so ours go at once: a screen is built every
-- time it is shown, and colours left behind would pile up.
local white = Color(1, 1, 1, 1)
local orange = Color(1, 0.68, 0.25, 1)
local menuFont = pCacheManager:GetFont("data/fonts/menu.nbf", white)
local focusFont = pCacheManager:GetFont("data/fonts/menu_focus.nbf", white)
local warnFont = pCacheManager:GetFont("data/fonts/warning.ntf", orange)
white:delete()
orange:delete()

-- The menu screens stand at the left, each an edge of panels at the same distance from the
-- screen's edge: the flying arena keeps the right, and the logo its corner (the program draws it
-- 250 pixels from the right edge and 110 from the bottom), so nothing is drawn under it. The
-- question during a match is a dialog over play, in the middle.
MenuLeft = math.max(8, math.floor((ScreenWidth - 640) / 4) + 8)

local function StyleText(label, horizontal)
	for _, state in ipairs({GI_ISTATE_DEFAULT, GI_ISTATE_DISABLED, GI_ISTATE_HIGHLIGHTED}) do
		label:SetFont(state, menuFont)
	end
	label:SetFont(GI_ISTATE_FOCUSED, focusFont)
	label:SetAlign(VALIGN_MIDDLE, horizontal)
end

-- A frame behind a group of widgets; it never takes the focus, so Tab stays with the buttons.
function MenuPanel(name, x, y, w, h)
	local panel = WgWindow_GL2D:new(name)
	panel:SetCoords(x, y)
	panel:SetDim(w, h)
	panel:ReceiveFocus(false)
	panel:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/window.nbr"))
	panel:SetBorder(GI_ISTATE_HIGHLIGHTED, pCacheManager:GetRect("data/rects/window.nbr"))
	pManager:AddItem(panel)
	return panel
end

function MenuButton(name, text, x, y, w, h)
	local button = WgButton_GL2D:new(name)
	button:SetCoords(x, y)
	button:SetDim(w, h or 40)
	button:SetLabel(text)
	button:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/button.nbr"))
	button:SetBorder(GI_ISTATE_DISABLED, pCacheManager:GetRect("data/rects/button_disabled.nbr"))
	button:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/button_focus.nbr"))
	button:SetBorder(BB_ISTATE_CLICKED, pCacheManager:GetRect("data/rects/button_click.nbr"))
	StyleText(button:GetLabel(), HALIGN_MIDDLE)
	pManager:AddItem(button)
	return button
end

-- A line of text; a value shown beside its button is left-aligned, a title centred.
function MenuLabel(name, text, x, y, w, h, horizontal)
	local label = WgLabel_GL2D:new(name)
	label:SetCoords(x, y)
	label:SetDim(w, h or 40)
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
