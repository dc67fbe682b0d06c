-- The main menu: seven buttons in a column on a panel at the left, as every menu screen stands.
local w, gap = Px(280), Px(50)
local height = 7 * gap + Px(30)
local top = math.floor((ScreenHeight - height) / 2)

MenuPanel("pnl_main", MenuLeft, top, w + Px(40), height)
local buttons = {
	{"btn_start", "START MATCH"},
	{"btn_online", "PLAY ONLINE"},
	{"btn_options", "OPTIONS"},
	{"btn_keyb1", "PLAYER 1 KEYS"},
	{"btn_keyb2", "PLAYER 2 KEYS"},
	{"btn_credits", "CREDITS"},
	{"btn_exit", "EXIT"},
}
for i, b in ipairs(buttons) do
	MenuButton(b[1], b[2], MenuLeft + Px(20), top + Px(20) + (i - 1) * gap, w)
end
