-- The match options: a button for each option with its value beside it, in two columns on one
-- panel; below it a panel with the two players' characters (the program draws each portrait
-- just right of its name), the warning when both chose the same one, and the way back.
local bw, lw, pad, gap = 160, 130, 8, 8
local column = bw + 4 + lw
local left = MenuLeft + pad
local right = left + column + gap
local rowsHeight = 5 * 40 - 4 + 2 * pad
local portrait, nameWidth = 60, 100
local playersWidth = bw + 4 + nameWidth + 8 + portrait + 2 * pad
local playersHeight = pad + 12 + 66 + 36 + 16 + 30 + 4 + 40 + pad
local top = math.max(8, math.floor((ScreenHeight - rowsHeight - 8 - playersHeight) / 2))

MenuPanel("pnl_options", MenuLeft, top, 2 * column + gap + 2 * pad, rowsHeight)
local rows = {
	{"btn_match", "MATCH LENGTH", "lbl_match", left, 0},
	{"btn_shoot", "SHOOT TIME", "lbl_shoot", left, 1},
	{"btn_mode", "MODE", "lbl_mode", left, 2},
	{"btn_daytime", "DAYTIME", "lbl_daytime", left, 3},
	{"btn_music", "MUSIC", "lbl_music", left, 4},
	{"btn_arena", "ARENA", "lbl_arena", right, 0},
	{"btn_level", "PC LEVEL", "lbl_level", right, 1},
	{"btn_guide", "AIM GUIDE", "lbl_guide", right, 2},
	{"btn_replay", "REPLAY", "lbl_replay", right, 3},
}
for _, r in ipairs(rows) do
	local y = top + pad + r[5] * 40
	MenuButton(r[1], r[2], r[4], y, bw, 36)
	MenuLabel(r[3], "", r[4] + bw + 4, y - 2, lw)
end

local players = top + rowsHeight + 8
MenuPanel("pnl_players", MenuLeft, players, playersWidth, playersHeight)
local y1 = players + pad + 12 -- the portrait, 60 high, stands 12 above its 36-high button
local y2 = y1 + 66
MenuButton("btn_logo1", "PLAYER 1", left, y1, bw, 36)
MenuLabel("lbl_logo1", "", left + bw + 4, y1 - 2, nameWidth)
MenuButton("btn_logo2", "PLAYER 2", left, y2, bw, 36)
MenuLabel("lbl_logo2", "", left + bw + 4, y2 - 2, nameWidth)
local warning = y2 + 36 + 16
MenuWarning("lbl_error", "Both players have the same character", left, warning, playersWidth - 2 * pad, 30)
MenuButton("btn_back", "BACK", left, warning + 34, bw)
