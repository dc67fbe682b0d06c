-- Playing over the network: host a match, or join one by its address or from the games found on
-- this network (a click joins); the program writes how it goes on the note below, and BACK (or
-- Escape) gives up whatever is under way. One column on a panel, clear of the logo's corner.
local width, pad, gap = 380, 12, 6
local inner = width - 2 * pad
local rows = 3
local listHeight = rows * 24 + 12
local noteHeight = 3 * 19
local height = pad + 36 + gap + 36 + gap + 36 + gap + 28 + listHeight + gap + noteHeight + gap + 36 + pad
local top = math.floor((ScreenHeight - height) / 2)
local x = MenuLeft + pad
local y = top + pad

MenuPanel("pnl_online", MenuLeft, top, width, height)
MenuLabel("lbl_title", "PLAY ONLINE", x, y, inner, 36, HALIGN_MIDDLE)
y = y + 36 + gap
MenuButton("btn_host", "HOST", x, y, 130, 36)
y = y + 36 + gap
MenuEditBox("edt_address", "", x, y, inner - 130 - gap, 36)
MenuButton("btn_join", "JOIN", x + inner - 130, y, 130, 36)
y = y + 36 + gap
MenuLabel("lbl_games", "LAN GAMES", x, y, inner, 28)
y = y + 28
MenuList("lst_games", x, y, inner, rows)
y = y + listHeight + gap
MenuNote("lbl_status", x, y, inner, noteHeight)
y = y + noteHeight + gap
MenuButton("btn_back", "BACK", x, y, 130, 36)
