#include "script/ScriptMemory.h"

#include <algorithm>
#include <cstdlib>

void *ScriptMemory::Allocate(void *self, void *block, size_t oldSize, size_t newSize) {
	ScriptMemory *memory = static_cast<ScriptMemory *>(self);
	if (newSize == 0) {
		free(block);
		memory->used -= oldSize;
		return nullptr;
	}
	if (memory->limited && newSize > oldSize && newSize - oldSize > LIMIT - std::min(memory->used, LIMIT)) {
		return nullptr;
	}
	void *grown = realloc(block, newSize);
	if (grown) {
		memory->used = memory->used - oldSize + newSize;
	}
	return grown;
}
