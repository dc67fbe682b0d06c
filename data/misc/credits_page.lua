-- Runs first: the way every page of the credits is laid out, on the panel pPanel behind the
-- text. The credits keep one Lua state for the whole sequence, so the pages that follow find
-- this function.
-- Lengths are given for 640 x 480 and grow with the window, as the text font does.
local scale = ScreenScale or 1
local function Px(length)
	return math.floor(length * scale + 0.5)
end

function CreditsPage(title, lines)
	local gap, below = Px(6), Px(16)
	local height = pSpec1:GetFontHeight() + below + #lines * (pSpec2:GetFontHeight() + gap)
	local width = pSpec1:GetTextWidth(title)
	for _, text in ipairs(lines) do
		width = math.max(width, pSpec2:GetTextWidth(text))
	end
	local y = math.floor(ScreenHeight / 4)
	pPanel:Draw(math.floor((ScreenWidth - width) / 2) - Px(24), y - Px(18), width + Px(48), height + Px(30))

	local function centre(font, text)
		font:Write(math.floor((ScreenWidth - font:GetTextWidth(text)) / 2), y, text)
	end
	centre(pSpec1, title)
	y = y + pSpec1:GetFontHeight() + below
	for _, text in ipairs(lines) do
		centre(pSpec2, text)
		y = y + pSpec2:GetFontHeight() + gap
	end
end
