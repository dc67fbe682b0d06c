local function f(n) return f(n + 1) + 1 end
local co = coroutine.create(function() f(1) end)
print(coroutine.resume(co))
print(pcall(string.rep, "ab", 1e9))
print(string.find(string.rep("a", 5000), string.rep("a?", 300) .. string.rep("a", 300)))
