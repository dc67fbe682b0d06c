#ifndef TAVRO_GUI_WGMANAGER_H
#define TAVRO_GUI_WGMANAGER_H

#include <cstddef>
#include <vector>

#include "gui/WgHandleTable.h"

class WgItem;
class WgNode;
struct NI_Event;

// The items of one screen in two trees: the item tree (drawing order, hit tests, highlight)
// and the focus tree (Tab order). Draws them, routes input events to them and decides which
// item has the keyboard focus. An item that is not visible hides what it holds: none of it is
// drawn, hit or focused.
class WgManager {
public:
	// Containers nest at most this deep, so the tree walks' recursion stays shallow and the
	// summed positions of nested items stay far inside int.
	static constexpr int MAX_DEPTH = 32;

	// ownsItems: the manager deletes the items added to it when it goes.
	explicit WgManager(bool ownsItems);
	~WgManager();
	WgManager(const WgManager &) = delete;
	WgManager &operator=(const WgManager &) = delete;

	// Adds the item at the top level, or inside the container whose tree node parent is.
	// Returns the item's tree node; null (nothing added) for a null item, an item already in
	// a manager's trees, a part of a widget (an inner label, a list box button), a parent
	// that is not a container's node of this manager, or one MAX_DEPTH containers deep (logged
	// once).
	WgNode *AddItem(WgItem *item, WgNode *parent = nullptr);
	// What scripts see of tree nodes: numbers issued by this manager's handle table.
	long long AddItemHandle(WgItem *item, long long parentHandle);
	long long GetHandle(WgNode *node);
	WgNode *GetNodeOfHandle(long long handle) const;
	// Slots in the node table, used or free.
	size_t GetNodeTableSize() const { return handles.GetSize(); }

	// One input event; null only gives a pending first focus.
	void SetInputEvent(const NI_Event *event);
	// frameTime: ms, handed to every Draw.
	void DrawAll(int frameTime);
	// Brings the containers on the node's path to the top of their siblings.
	void SetForeground(WgNode *node);
	// Scripts' numbers arrive as doubles; one that names no node changes nothing.
	void SetForegroundHandle(double handle);
	void SetViewport(int x, int y, int w, int h);
	// Null name: null. The last item met (children before parents, siblings in order) wins.
	WgItem *FindItemByNameAndType(int type, const char *name) const;
	void UnfocusAll();
	// Moves the focus to the item, as Tab would: nothing happens for an item that is not in
	// this manager or cannot take the focus.
	void FocusItem(WgItem *item);
	// Containers only: clicks reach only the item and what it holds.
	void SetModal(WgItem *item);
	// Leaves the focused item showing its focus until something unfocuses it.
	void UnsetModal();
	void SetOnMouseMotion(bool on) { mouseMotionFocus = on; }
	bool GetOnMouseMotion() const { return mouseMotionFocus; }

	WgItem *GetFocusedItem() const;
	WgItem *GetModalItem() const { return modal; }
	WgItem *GetDraggedItem() const { return dragged; }
	const WgNode *GetItemRoot() const { return itemRoot; }
	const WgNode *GetFocusRoot() const { return focusRoot; }
	bool OwnsItems() const { return ownsItems; }

private:
	friend class WgItem;

	// The item is being destroyed: it leaves both trees and the item list.
	void ForgetItem(WgItem *item);
	// The items of the subtree leave both trees; they stay in the item list.
	void RemoveFromTrees(WgNode *treeNode);
	// Whether the item and every container above it are visible.
	static bool IsShown(const WgItem *item);
	void FirstFocus();
	void HandleKey(const NI_Event *event);
	void HandleRelease(const NI_Event *event);
	void HandlePress(const NI_Event *event);
	void HandleMotion(const NI_Event *event);
	// Moves the focus to the item of a hit, a click or not.
	void FocusHit(WgNode *hit, bool click);
	WgNode *NextFocusCandidate(bool backward) const;
	static bool Qualifies(const WgItem *item);
	// A container's hit goes to its first visible child that is not a container, if it has one.
	static WgNode *ClickTarget(WgNode *hit);
	WgNode *HitTest(const NI_Event *event);
	void HitTestNode(WgNode *node, int originX, int originY, bool isRoot);
	void HighlightPath(WgNode *treeNode);
	void UnhighlightTree(WgNode *node);
	void BringToFront(WgNode *treeNode);
	void DrawChildren(WgNode *node, int originX, int originY, int clipX, int clipY, int clipW, int clipH);
	static void FindInTree(const WgNode *node, int type, const char *name, WgItem **result);

	bool ownsItems;
	std::vector<WgItem *> items; // every item added and not yet destroyed; each knows its index
	WgHandleTable handles;
	WgNode *itemRoot;
	WgNode *focusRoot;
	WgNode *focused; // a focus-tree node; focusRoot when nothing is focused
	bool pendingFirstFocus;
	int viewX, viewY, viewW, viewH; // pixels
	const NI_Event *currentEvent;
	WgNode *hitNode;
	bool hitResolved;
	bool onDragRect;
	bool mouseMotionFocus;
	WgItem *modal;
	WgItem *dragged;
	int frameTime;     // ms, of the last DrawAll
	int busy;          // depth of event handling and drawing
	bool depthRefused; // the refusal of a too deep parent was logged
};

#endif
