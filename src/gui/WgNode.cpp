#include "gui/WgNode.h"

#include <cassert>

WgNode::WgNode(WgItem *owner_)
	: owner(owner_), parent(nullptr), firstChild(nullptr), lastChild(nullptr), next(nullptr), prev(nullptr), handle(0) {
}

WgNode::~WgNode() {
	Detach();
}

void WgNode::AttachTo(WgNode *newParent) {
	assert(newParent && newParent != this);
	Detach();
	parent = newParent;
	prev = newParent->lastChild;
	if (prev) {
		prev->next = this;
	} else {
		newParent->firstChild = this;
	}
	newParent->lastChild = this;
}

void WgNode::Detach() {
	if (!parent) {
		return;
	}
	if (prev) {
		prev->next = next;
	} else {
		parent->firstChild = next;
	}
	if (next) {
		next->prev = prev;
	} else {
		parent->lastChild = prev;
	}
	parent = nullptr;
	next = nullptr;
	prev = nullptr;
}

void WgNode::DeleteChildren() {
	while (firstChild) {
		WgNode *child = firstChild;
		child->DeleteChildren();
		delete child; // detaches itself
	}
}

bool WgNode::Contains(const WgNode *node) const {
	for (; node; node = node->parent) {
		if (node == this) {
			return true;
		}
	}
	return false;
}

int WgNode::GetDepth() const {
	int depth = 0;
	for (const WgNode *node = this; node && node->owner; node = node->parent) {
		depth++;
	}
	return depth;
}
