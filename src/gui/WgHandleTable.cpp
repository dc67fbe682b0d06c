#include "gui/WgHandleTable.h"

#include "gui/WgNode.h"

namespace {

// A handle is its slot's index plus one, plus its generation times SLOT_RANGE; it stays an
// integer a Lua number holds exactly. A slot whose generations are used up is not used again.
const long long SLOT_RANGE = 1LL << 24;
const long long MAX_GENERATION = 1LL << 28;

} // namespace

long long WgHandleTable::Issue(WgNode *node) {
	if (node->GetHandle() == 0) {
		int index = 0;
		if (freeSlots.empty()) {
			if (static_cast<long long>(slots.size()) >= SLOT_RANGE) {
				return 0;
			}
			index = static_cast<int>(slots.size());
			slots.push_back(Slot{nullptr, 0});
		} else {
			index = freeSlots.back();
			freeSlots.pop_back();
		}
		slots[index].node = node;
		node->SetHandle(index + 1 + slots[index].generation * SLOT_RANGE);
	}
	return node->GetHandle();
}

WgNode *WgHandleTable::Find(long long handle) const {
	if (handle < 1) {
		return nullptr;
	}
	const long long index = (handle - 1) % SLOT_RANGE, generation = (handle - 1) / SLOT_RANGE;
	if (index >= static_cast<long long>(slots.size()) || slots[index].generation != generation) {
		return nullptr;
	}
	return slots[index].node;
}

void WgHandleTable::Release(WgNode *node) {
	const long long handle = node->GetHandle();
	if (handle == 0) {
		return;
	}
	Slot &slot = slots[(handle - 1) % SLOT_RANGE];
	slot.node = nullptr;
	if (++slot.generation < MAX_GENERATION) {
		freeSlots.push_back(static_cast<int>((handle - 1) % SLOT_RANGE));
	}
	node->SetHandle(0);
}
