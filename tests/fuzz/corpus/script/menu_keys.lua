-- One player's keys: the program sets the title and the key names, shows the line that asks for
-- a key while it waits for one, and the warning when a key is in use already.
local width, pad = 360, 16
local bw, lw = 130, 200
local height = 56 + 4 * 46 + 40 + 6 + 30 + 2 + 30 + 6 + 40 + 10
local top = math.floor((ScreenHeight - height) / 2)
local x = MenuLeft + pad
local inner = width - 2 * pad

MenuPanel("pnl_keys", MenuLeft, top, width, height)
MenuLabel("lbl_title", "", x, top + 10, inner, 40, HALIGN_MIDDLE)
local rows = {
	{"btn_up", "UP", "lbl_up"},
	{"btn_down", "DOWN", "lbl_down"},
	{"btn_left", "LEFT", "lbl_left"},
	{"btn_right", "RIGHT", "lbl_right"},
	{"btn_fire", "FIRE", "lbl_fire"},
}
local y = top + 56
for _, r in ipairs(rows) do
	MenuButton(r[1], r[2], x, y, bw)
	MenuLabel(r[3], "", x + bw + 8, y, lw)
	y = y + 46
end
y = y - 46 + 40 + 6
MenuLabel("lbl_wait", "", x, y, inner, 30, HALIGN_MIDDLE)
MenuWarning("lbl_error", "That key is in use already", x, y + 32, inner, 30)
MenuButton("btn_back", "BACK", x, y + 68, bw)
