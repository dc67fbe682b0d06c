-- Escape during play: leave the match or go on with it.
local cx, cy = math.floor(ScreenWidth / 2), math.floor(ScreenHeight / 2)

MenuPanel("pnl_ingame", cx - 190, cy - 80, 380, 160)
MenuLabel("lbl_question", "LEAVE THE MATCH?", cx - 170, cy - 65, 340, 40, HALIGN_MIDDLE)
MenuButton("btn_yes", "YES", cx - 160, cy + 5, 140)
MenuButton("btn_no", "NO", cx + 20, cy + 5, 140)
