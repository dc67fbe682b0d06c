-- The match options: a button for each option with its value beside it, in two columns. The
-- program draws the two characters' portraits at (ScreenWidth / 2 + 75, ScreenHeight / 2 + 25)
-- and (..., + 90), so the two character rows sit beside them.
local cx, cy = math.floor(ScreenWidth / 2), math.floor(ScreenHeight / 2)
local bw, lw = 160, 134
local left = cx - 305
local right = left + bw + lw + 14

MenuPanel("pnl_options", left - 10, cy - 228, 2 * (bw + lw) + 34, 220)
MenuPanel("pnl_players", left - 10, cy + 20, bw + lw + 150, 138)
local rows = {
	{"btn_match", "MATCH LENGTH", "lbl_match", left, cy - 218},
	{"btn_shoot", "SHOOT TIME", "lbl_shoot", left, cy - 178},
	{"btn_mode", "MODE", "lbl_mode", left, cy - 138},
	{"btn_daytime", "DAYTIME", "lbl_daytime", left, cy - 98},
	{"btn_music", "MUSIC", "lbl_music", left, cy - 58},
	{"btn_arena", "ARENA", "lbl_arena", right, cy - 218},
	{"btn_level", "PC LEVEL", "lbl_level", right, cy - 178},
	{"btn_guide", "AIM GUIDE", "lbl_guide", right, cy - 138},
	{"btn_replay", "REPLAY", "lbl_replay", right, cy - 98},
	{"btn_logo1", "PLAYER 1", "lbl_logo1", left, cy + 35},
	{"btn_logo2", "PLAYER 2", "lbl_logo2", left, cy + 100},
}
for _, r in ipairs(rows) do
	MenuButton(r[1], r[2], r[4], r[5], bw, 36)
	MenuLabel(r[3], "", r[4] + bw + 6, r[5] - 2, lw)
end
-- The warning takes the back button's place while it shows; added first, it stays below it, so
-- it never takes the button's clicks while hidden.
MenuWarning("lbl_error", "Both players have the same character", left, cy + 170, 420)
MenuButton("btn_back", "BACK", left, cy + 170, bw)
