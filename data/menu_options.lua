-- The match options: a button for each option with its value beside it. The program draws the
-- two characters' portraits at (ScreenWidth / 2 + 75, ScreenHeight / 2 + 25) and (..., + 90), so
-- the two character rows sit beside them.
local cx, cy = math.floor(ScreenWidth / 2), math.floor(ScreenHeight / 2)
local bx, bw = cx - 290, 200
local lx, lw = cx - 75, 145

MenuPanel("pnl_options", bx - 15, cy - 225, 445, 385)
local rows = {
	{"btn_match", "MATCH LENGTH", "lbl_match", cy - 215},
	{"btn_shoot", "SHOOT TIME", "lbl_shoot", cy - 175},
	{"btn_mode", "MODE", "lbl_mode", cy - 135},
	{"btn_daytime", "DAYTIME", "lbl_daytime", cy - 95},
	{"btn_music", "MUSIC", "lbl_music", cy - 55},
	{"btn_arena", "ARENA", "lbl_arena", cy - 15},
	{"btn_logo1", "PLAYER 1", "lbl_logo1", cy + 35},
	{"btn_logo2", "PLAYER 2", "lbl_logo2", cy + 100},
}
for _, r in ipairs(rows) do
	MenuButton(r[1], r[2], bx, r[4], bw, 36)
	MenuLabel(r[3], "", lx, r[4] - 2, lw)
end
-- The warning takes the back button's place while it shows; added first, it stays below it, so
-- it never takes the button's clicks while hidden.
MenuWarning("lbl_error", "Both players have the same character", bx, cy + 170, 420)
MenuButton("btn_back", "BACK", bx, cy + 170, bw)
