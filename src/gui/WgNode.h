#ifndef TAVRO_GUI_WGNODE_H
#define TAVRO_GUI_WGNODE_H

class WgItem;

// A node of one of a manager's two trees (items, focus). Children are kept in drawing order:
// the first child is drawn first (bottom), the last child last (top).
class WgNode {
public:
	// owner is null for a tree's root.
	explicit WgNode(WgItem *owner);
	// Unlinks itself; the children are left to whoever deletes them (DeleteChildren).
	~WgNode();
	WgNode(const WgNode &) = delete;
	WgNode &operator=(const WgNode &) = delete;

	// Detaches, then appends as the last child of parent.
	void AttachTo(WgNode *parent);
	void Detach();
	// Depth first: detaches and deletes every descendant. The owner items stay.
	void DeleteChildren();

	WgItem *GetOwner() const { return owner; }
	WgNode *GetParent() const { return parent; }
	WgNode *GetFirstChild() const { return firstChild; }
	WgNode *GetLastChild() const { return lastChild; }
	WgNode *GetNext() const { return next; }
	WgNode *GetPrev() const { return prev; }
	// Whether node is this one or lies below it.
	bool Contains(const WgNode *node) const;
	// Nodes with an owner from this one up: how deep inside containers an item added here sits.
	int GetDepth() const;

	// The number the manager gave a tree node for scripts; 0 for none.
	long long GetHandle() const { return handle; }
	void SetHandle(long long number) { handle = number; }

private:
	WgItem *owner;
	WgNode *parent;
	WgNode *firstChild;
	WgNode *lastChild;
	WgNode *next;
	WgNode *prev;
	long long handle;
};

#endif
