-- Playing over the network: host a match, or join one by its address or from the games found on
-- this network (a click joins); the program writes how it goes on the note below, and BACK (or
-- Escape) gives up whatever is under way. One column on a panel, clear of the logo's corner.
local width, pad, gap = Px(380), Px(12), Px(6)
local inner = width - 2 * pad
local rows = 3
local row, title, button = Px(36), Px(28), Px(130)
local listHeight = rows * Px(24) + Px(12)
local noteHeight = 3 * Px(19)
local height = pad + row + gap + row + gap + row + gap + title + listHeight + gap + noteHeight + gap + row + pad
local top = math.floor((ScreenHeight - height) / 2)
local x = MenuLeft + pad
local y = top + pad

MenuPanel("pnl_online", MenuLeft, top, width, height)
MenuLabel("lbl_title", "PLAY ONLINE", x, y, inner, row, HALIGN_MIDDLE)
y = y + row + gap
MenuButton("btn_host", "HOST", x, y, button, row)
y = y + row + gap
MenuEditBox("edt_address", "", x, y, inner - button - gap, row)
MenuButton("btn_join", "JOIN", x + inner - button, y, button, row)
y = y + row + gap
MenuLabel("lbl_games", "LAN GAMES", x, y, inner, title)
y = y + title
MenuList("lst_games", x, y, inner, rows)
y = y + listHeight + gap
MenuNote("lbl_status", x, y, inner, noteHeight)
y = y + noteHeight + gap
MenuButton("btn_back", "BACK", x, y, button, row)
