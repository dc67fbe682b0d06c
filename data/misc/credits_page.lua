-- Runs first: the way every page of the credits is laid out. The credits keep one Lua state
-- for the whole sequence, so the pages that follow find this function.
function CreditsPage(title, lines)
	local function centre(font, y, text)
		font:Write(math.floor((ScreenWidth - font:GetTextWidth(text)) / 2), math.floor(y), text)
	end
	local y = ScreenHeight / 4
	centre(pSpec1, y, title)
	y = y + pSpec1:GetFontHeight() + 16
	for _, text in ipairs(lines) do
		centre(pSpec2, y, text)
		y = y + pSpec2:GetFontHeight() + 6
	end
end
