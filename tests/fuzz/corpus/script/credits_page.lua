-- Runs first: the way every page of the credits is laid out, on the panel pPanel behind the
-- text. The credits keep one Lua state for the whole sequence, so the pages that follow find
-- this function.
function CreditsPage(title, lines)
	local gap = 6
	local height = pSpec1:GetFontHeight() + 16 + #lines * (pSpec2:GetFontHeight() + gap)
	local width = pSpec1:GetTextWidth(title)
	for _, text in ipairs(lines) do
		width = math.max(width, pSpec2:GetTextWidth(text))
	end
	local y = math.floor(ScreenHeight / 4)
	pPanel:Draw(math.floor((ScreenWidth - width) / 2) - 24, y - 18, width + 48, height + 30)

	local function centre(font, text)
		font:Write(math.floor((ScreenWidth - font:GetTextWidth(text)) / 2), y, text)
	end
	centre(pSpec1, title)
	y = y + pSpec1:GetFontHeight() + 16
	for _, text in ipairs(lines) do
		centre(pSpec2, text)
		y = y + pSpec2:GetFontHeight() + gap
	end
end
