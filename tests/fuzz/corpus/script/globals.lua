setmetatable(_G, {__index = function() error("no") end, __newindex = function() error("no") end})
getmetatable("").__index = nil
pManager = nil
ScreenWidth = "wide"
