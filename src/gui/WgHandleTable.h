#ifndef TAVRO_GUI_WGHANDLETABLE_H
#define TAVRO_GUI_WGHANDLETABLE_H

#include <cstddef>
#include <vector>

class WgNode;

// The numbers scripts hold for tree nodes, never pointers; 0 is no node. A number names a slot
// and the slot's generation: a slot is used again once its node is gone, under a number its old
// holders never had.
class WgHandleTable {
public:
	// The node's number, given it now if it has none; 0 once the table is full.
	long long Issue(WgNode *node);
	// Null for a number of no node, or of a node that is gone.
	WgNode *Find(long long handle) const;
	// The node is going: its number names nothing from now on.
	void Release(WgNode *node);
	// Slots, used or free.
	size_t GetSize() const { return slots.size(); }

private:
	struct Slot {
		WgNode *node;         // null while free
		long long generation; // of the node in it, or of the next one
	};

	std::vector<Slot> slots;
	std::vector<int> freeSlots; // indices of free slots that may be used again
};

#endif
