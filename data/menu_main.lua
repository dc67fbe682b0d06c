-- The main menu: six buttons in a column on a panel at the left.
local w, gap = 280, 50
local x = math.floor(ScreenWidth / 12)
local top = math.floor(ScreenHeight / 2 - 3 * gap - 10)

MenuPanel("pnl_main", x - 20, top - 20, w + 40, 6 * gap + 30)
local buttons = {
	{"btn_start", "START MATCH"},
	{"btn_options", "OPTIONS"},
	{"btn_keyb1", "PLAYER 1 KEYS"},
	{"btn_keyb2", "PLAYER 2 KEYS"},
	{"btn_credits", "CREDITS"},
	{"btn_exit", "EXIT"},
}
for i, b in ipairs(buttons) do
	MenuButton(b[1], b[2], x, top + (i - 1) * gap, w)
end
