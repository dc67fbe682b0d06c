#ifndef TAVRO_SCRIPT_SCRIPTMEMORY_H
#define TAVRO_SCRIPT_SCRIPTMEMORY_H

#include <cstddef>

// The allocator of one Lua state. While a script runs in the state it may hold at most LIMIT
// bytes: past that an allocation fails and the script gets Lua's "not enough memory", never the
// machine's memory. The host's own work in the state (registering the surface, handing over
// globals) is not held to it, so it never fails because of what a script left behind.
class ScriptMemory {
public:
	static constexpr size_t LIMIT = 64 * 1024 * 1024; // bytes

	ScriptMemory() : used(0), limited(false) {}

	// lua_Alloc, with the ScriptMemory as its user data.
	static void *Allocate(void *self, void *block, size_t oldSize, size_t newSize);

	void SetLimited(bool on) { limited = on; }
	size_t InUse() const { return used; }

private:
	size_t used; // bytes
	bool limited;
};

#endif
