-- Runs until the budget ends it; pcall must not catch that.
while true do pcall(function() while true do end end) end
