-- One player's keys: the program sets the title and the key names, shows the line that asks for
-- a key while it waits for one, and the warning when a key is in use already.
local width, pad = Px(360), Px(16)
local bw, lw = Px(130), Px(200)
local step = Px(46)
local height = Px(56) + 4 * step + Px(40 + 6 + 30 + 2 + 30 + 6 + 40 + 10)
local top = math.floor((ScreenHeight - height) / 2)
local x = MenuLeft + pad
local inner = width - 2 * pad

MenuPanel("pnl_keys", MenuLeft, top, width, height)
MenuLabel("lbl_title", "", x, top + Px(10), inner, Px(40), HALIGN_MIDDLE)
local rows = {
	{"btn_up", "UP", "lbl_up"},
	{"btn_down", "DOWN", "lbl_down"},
	{"btn_left", "LEFT", "lbl_left"},
	{"btn_right", "RIGHT", "lbl_right"},
	{"btn_fire", "FIRE", "lbl_fire"},
}
local y = top + Px(56)
for _, r in ipairs(rows) do
	MenuButton(r[1], r[2], x, y, bw)
	MenuLabel(r[3], "", x + bw + Px(8), y, lw)
	y = y + step
end
y = y - step + Px(40 + 6)
MenuLabel("lbl_wait", "", x, y, inner, Px(30), HALIGN_MIDDLE)
MenuWarning("lbl_error", "That key is in use already", x, y + Px(32), inner, Px(30))
MenuButton("btn_back", "BACK", x, y + Px(68), bw)
