-- Escape during play: leave the match or go on with it.
local cx, cy = math.floor(ScreenWidth / 2), math.floor(ScreenHeight / 2)

MenuPanel("pnl_ingame", cx - Px(190), cy - Px(80), Px(380), Px(160))
MenuLabel("lbl_question", "LEAVE THE MATCH?", cx - Px(170), cy - Px(65), Px(340), Px(40), HALIGN_MIDDLE)
MenuButton("btn_yes", "YES", cx - Px(160), cy + Px(5), Px(140))
MenuButton("btn_no", "NO", cx + Px(20), cy + Px(5), Px(140))
