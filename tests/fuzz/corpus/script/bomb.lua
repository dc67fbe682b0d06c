-- Grows past the memory cap.
local s = "x"
local t = {}
for i = 1, 40 do s = s .. s; t[i] = s end
