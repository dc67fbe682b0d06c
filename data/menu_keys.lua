-- One player's keys: the program sets the title and the key names, and shows the warning when
-- a key is in use already.
local cx, cy = math.floor(ScreenWidth / 2), math.floor(ScreenHeight / 2)
local bx, bw = cx - 230, 180
local lx, lw = cx - 35, 250

MenuPanel("pnl_keys", bx - 20, cy - 190, 500, 330)
MenuLabel("lbl_title", "", bx, cy - 180, 460, 40, HALIGN_MIDDLE)
local rows = {
	{"btn_up", "UP", "lbl_up"},
	{"btn_down", "DOWN", "lbl_down"},
	{"btn_left", "LEFT", "lbl_left"},
	{"btn_right", "RIGHT", "lbl_right"},
	{"btn_fire", "FIRE", "lbl_fire"},
}
for i, r in ipairs(rows) do
	local y = cy - 130 + (i - 1) * 48
	MenuButton(r[1], r[2], bx, y, bw)
	MenuLabel(r[3], "", lx, y, lw)
end
-- The warning takes the back button's place while it shows; added first, it stays below it, so
-- it never takes the button's clicks while hidden.
MenuWarning("lbl_error", "That key is in use already", bx, cy + 160, 460)
MenuButton("btn_back", "BACK", bx, cy + 160, bw)
