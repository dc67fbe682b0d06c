-- The match options: a button for each option with its value beside it, in two columns on one
-- panel; below it a panel with the two players' characters (the program draws each portrait
-- just right of its name), the warning when both chose the same one, and the way back.
-- The portraits are pictures of one size, drawn as they are at any scale.
local bw, lw, pad, gap = Px(160), Px(130), Px(8), Px(8)
local row, buttonHeight, space = Px(40), Px(36), Px(4)
local column = bw + space + lw
local left = MenuLeft + pad
local right = left + column + gap
local rowsHeight = 5 * row - space + 2 * pad
local portrait, nameWidth = Px(60), Px(100)
local playersWidth = bw + space + nameWidth + Px(8) + portrait + 2 * pad
local playersHeight = pad + Px(12 + 66 + 36 + 16 + 30 + 4 + 40) + pad
local top = math.max(Px(8), math.floor((ScreenHeight - rowsHeight - Px(8) - playersHeight) / 2))

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
	local y = top + pad + r[5] * row
	MenuButton(r[1], r[2], r[4], y, bw, buttonHeight)
	MenuLabel(r[3], "", r[4] + bw + space, y - Px(2), lw)
end

local players = top + rowsHeight + Px(8)
MenuPanel("pnl_players", MenuLeft, players, playersWidth, playersHeight)
local y1 = players + pad + Px(12) -- the portrait, 60 high, stands 12 above its 36-high button
local y2 = y1 + Px(66)
MenuButton("btn_logo1", "PLAYER 1", left, y1, bw, buttonHeight)
MenuLabel("lbl_logo1", "", left + bw + space, y1 - Px(2), nameWidth)
MenuButton("btn_logo2", "PLAYER 2", left, y2, bw, buttonHeight)
MenuLabel("lbl_logo2", "", left + bw + space, y2 - Px(2), nameWidth)
local warning = y2 + buttonHeight + Px(16)
MenuWarning("lbl_error", "Both players have the same character", left, warning, playersWidth - 2 * pad, Px(30))
MenuButton("btn_back", "BACK", left, warning + Px(34), bw)
