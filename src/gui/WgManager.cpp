#include "gui/WgManager.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "gui/WgItem.h"
#include "gui/WgKeys.h"
#include "gui/WgNode.h"
#include "gui/WgScriptRunner.h"
#include "input/NoxInput.h"

namespace {

const int LEFT_BUTTON = 1;

// Counts a running event or draw for as long as it lives.
class BusyScope {
public:
	explicit BusyScope(int &depth_) : depth(depth_) { depth++; }
	~BusyScope() { depth--; }
	BusyScope(const BusyScope &) = delete;
	BusyScope &operator=(const BusyScope &) = delete;

private:
	int &depth;
};

} // namespace

WgManager::WgManager(bool ownsItems_)
	: ownsItems(ownsItems_), itemRoot(new WgNode(nullptr)), focusRoot(new WgNode(nullptr)), focused(focusRoot),
	  pendingFirstFocus(true), viewX(0), viewY(0), viewW(1024), viewH(768), currentEvent(nullptr), hitNode(nullptr),
	  hitResolved(false), onDragRect(false), mouseMotionFocus(false), modal(nullptr), dragged(nullptr), frameTime(0),
	  busy(0) {}

WgManager::~WgManager() {
	// The items let go of the manager first, so none of them calls back into it.
	for (WgItem *item : items) {
		item->manager = nullptr;
		item->treeNode = nullptr;
		item->focusNode = nullptr;
	}
	itemRoot->DeleteChildren();
	focusRoot->DeleteChildren();
	delete itemRoot;
	delete focusRoot;
	if (ownsItems) {
		for (WgItem *item : items) {
			delete item;
		}
	}
	if (g_scriptRunner) {
		g_scriptRunner->ObjectGone(this);
	}
}

WgNode *WgManager::AddItem(WgItem *item, WgNode *parent) {
	// A widget's part is drawn and deleted by its widget.
	if (!item || item->treeNode || item->GetPartOf() || (item->manager && item->manager != this)) {
		return nullptr;
	}
	WgNode *focusParent = focusRoot;
	if (parent) {
		WgItem *container = parent->GetOwner();
		if (!container || container->manager != this || container->treeNode != parent || !container->IsContainer() ||
			!container->focusNode) {
			return nullptr;
		}
		focusParent = container->focusNode;
	}
	item->treeNode = new WgNode(item);
	item->treeNode->AttachTo(parent ? parent : itemRoot);
	item->CreateFocusNode(focusParent);
	if (!item->manager) {
		items.push_back(item);
		item->manager = this;
	}
	if (item->CanReceiveFocus() && focused == focusRoot) {
		focused = item->focusNode;
	}
	return item->treeNode;
}

int WgManager::AddItemHandle(WgItem *item, int parentHandle) {
	WgNode *parent = nullptr;
	if (parentHandle != 0) {
		parent = GetNodeOfHandle(parentHandle);
		if (!parent) {
			return 0;
		}
	}
	WgNode *node = AddItem(item, parent);
	return node ? GetHandle(node) : 0;
}

int WgManager::GetHandle(const WgNode *node) {
	if (!node) {
		return 0;
	}
	for (size_t i = 0; i < handles.size(); i++) {
		if (handles[i] == node) {
			return static_cast<int>(i) + 1;
		}
	}
	handles.push_back(const_cast<WgNode *>(node));
	return static_cast<int>(handles.size());
}

WgNode *WgManager::GetNodeOfHandle(int handle) const {
	return handle >= 1 && handle <= static_cast<int>(handles.size()) ? handles[handle - 1] : nullptr;
}

void WgManager::ForgetItem(WgItem *item) {
	// Handlers must not destroy items while the manager walks its trees.
	assert(busy == 0);
	if (item->treeNode) {
		RemoveFromTrees(item->treeNode);
	}
	items.erase(std::remove(items.begin(), items.end(), item), items.end());
	item->manager = nullptr;
}

void WgManager::RemoveFromTrees(WgNode *treeNode) {
	// Children first: their focus nodes hang below the item's.
	while (treeNode->GetFirstChild()) {
		RemoveFromTrees(treeNode->GetFirstChild());
	}
	WgItem *item = treeNode->GetOwner();
	if (focused == item->focusNode) {
		focused = focusRoot;
	}
	if (modal == item) {
		modal = nullptr;
	}
	if (dragged == item) {
		dragged = nullptr;
	}
	if (hitNode == treeNode) {
		hitNode = nullptr;
	}
	std::replace(handles.begin(), handles.end(), treeNode, static_cast<WgNode *>(nullptr));
	if (item->focusNode) {
		item->focusNode->DeleteChildren();
		delete item->focusNode;
		item->focusNode = nullptr;
	}
	delete treeNode;
	item->treeNode = nullptr;
}

WgItem *WgManager::GetFocusedItem() const {
	return focused == focusRoot ? nullptr : focused->GetOwner();
}

void WgManager::FirstFocus() {
	if (pendingFirstFocus) {
		pendingFirstFocus = false;
		if (focused != focusRoot) {
			focused->GetOwner()->Focus(false);
		}
	}
}

void WgManager::SetInputEvent(const NI_Event *event) {
	BusyScope scope(busy);
	FirstFocus();
	if (!event || (event->mode != NI_MODE_EVENTS && event->mode != NI_MODE_BOTH)) {
		return;
	}
	currentEvent = event;
	switch (event->kind) {
	case NI_KEY_DOWN: HandleKey(event); break;
	case NI_MOUSE_BUTTON_UP: HandleRelease(event); break;
	case NI_MOUSE_BUTTON_DOWN: HandlePress(event); break;
	case NI_MOUSE_MOTION: HandleMotion(event); break;
	default: break;
	}
	currentEvent = nullptr;
}

void WgManager::HandleKey(const NI_Event *event) {
	WgItem *old = GetFocusedItem();
	if (WgEventChar(event) != '\t' || (old && old->IsThisYourEventKeyboard(event))) {
		if (old) {
			old->SetInputEvent(event);
		}
		return;
	}
	WgNode *winner = NextFocusCandidate(WgEventShift(event));
	if (!winner) {
		return;
	}
	WgItem *item = winner->GetOwner();
	if (old) {
		old->Unfocus();
	}
	item->Focus(false);
	focused = winner;
	HighlightPath(item->treeNode);
}

WgNode *WgManager::NextFocusCandidate(bool backward) const {
	auto step = [backward](const WgNode *node) { return backward ? node->GetPrev() : node->GetNext(); };
	if (focused == focusRoot) {
		for (WgNode *node = backward ? focusRoot->GetLastChild() : focusRoot->GetFirstChild(); node;
			 node = step(node)) {
			if (Qualifies(node->GetOwner())) {
				return node;
			}
		}
		return nullptr;
	}
	// Around the focused node's siblings once, wrapping at the end.
	const WgNode *parent = focused->GetParent();
	WgNode *node = step(focused);
	while (node != focused) {
		if (!node) {
			node = backward ? parent->GetLastChild() : parent->GetFirstChild();
			continue;
		}
		if (Qualifies(node->GetOwner())) {
			return node;
		}
		node = step(node);
	}
	return nullptr;
}

bool WgManager::Qualifies(const WgItem *item) {
	return item && item->CanReceiveFocus() && item->IsEnabled() && item->IsVisible();
}

WgNode *WgManager::ClickTarget(WgNode *hit) {
	if (hit->GetOwner()->IsContainer()) {
		for (WgNode *child = hit->GetFirstChild(); child; child = child->GetNext()) {
			if (!child->GetOwner()->IsContainer()) {
				return child;
			}
		}
	}
	return hit;
}

void WgManager::HandleRelease(const NI_Event *event) {
	if (!event->mice || event->mice[0].lastButton != LEFT_BUTTON) {
		return;
	}
	dragged = nullptr;
	WgNode *hit = HitTest(event);
	if (hit && Qualifies(hit->GetOwner())) {
		FocusHit(ClickTarget(hit), true);
	}
}

void WgManager::FocusHit(WgNode *hit, bool click) {
	WgItem *item = hit->GetOwner();
	BringToFront(hit);
	if (focused != item->focusNode && focused != focusRoot) {
		focused->GetOwner()->Unfocus();
	}
	item->Focus(click);
	focused = item->focusNode;
	HighlightPath(hit);
}

void WgManager::HandlePress(const NI_Event *event) {
	if (!event->mice || event->mice[0].lastButton != LEFT_BUTTON) {
		return;
	}
	WgNode *hit = HitTest(event);
	if (!hit) {
		return;
	}
	WgItem *item = hit->GetOwner();
	if (item->IsDraggable() && item->IsEnabled() && item->IsVisible() && onDragRect) {
		dragged = item;
	}
}

void WgManager::HandleMotion(const NI_Event *event) {
	if (mouseMotionFocus) {
		WgNode *hit = HitTest(event);
		if (hit && Qualifies(hit->GetOwner())) {
			hit = ClickTarget(hit);
			if (hit->GetOwner()->focusNode != focused) {
				FocusHit(hit, false);
			}
		} else if (focused != focusRoot && focused->GetOwner()->CanLoseFocus()) {
			WgItem *old = focused->GetOwner();
			focused = focusRoot;
			old->Unfocus();
		}
	}
	if (dragged && event->mice) {
		const NI_Mouse &mouse = event->mice[0];
		if (mouse.x > viewX && mouse.x < viewX + viewW && mouse.y > viewY && mouse.y < viewY + viewH) {
			dragged->SetCoords(dragged->GetX() + mouse.relativeX, dragged->GetY() + mouse.relativeY);
		}
	}
}

WgNode *WgManager::HitTest(const NI_Event *event) {
	hitNode = nullptr;
	hitResolved = false;
	onDragRect = false;
	if (!event->mice) {
		return nullptr;
	}
	if (modal && modal->treeNode) {
		// The modal item is placed relative to its parents.
		int originX = viewX, originY = viewY;
		for (WgNode *node = modal->treeNode->GetParent(); node && node != itemRoot; node = node->GetParent()) {
			originX += node->GetOwner()->GetX();
			originY += node->GetOwner()->GetY();
		}
		HitTestNode(modal->treeNode, originX, originY, false);
	} else {
		HitTestNode(itemRoot, viewX, viewY, true);
	}
	return hitNode;
}

void WgManager::HitTestNode(WgNode *node, int originX, int originY, bool isRoot) {
	if (!isRoot) {
		WgItem *item = node->GetOwner();
		originX += item->GetX();
		originY += item->GetY();
		if (!item->IsThisYourEventMouse(originX, originY, currentEvent)) {
			return;
		}
		if (!hitResolved) {
			hitNode = node;
			onDragRect = item->IsOnDragRect(originX, originY, currentEvent);
		}
	}
	// Topmost first.
	for (WgNode *child = node->GetLastChild(); child; child = child->GetPrev()) {
		HitTestNode(child, originX, originY, false);
	}
	if (!isRoot) {
		hitResolved = true;
	}
}

void WgManager::HighlightPath(WgNode *treeNode) {
	UnhighlightTree(itemRoot);
	for (WgNode *node = treeNode ? treeNode->GetParent() : nullptr; node && node != itemRoot;
		 node = node->GetParent()) {
		node->GetOwner()->HighLight();
	}
}

void WgManager::UnhighlightTree(WgNode *node) {
	for (WgNode *child = node->GetFirstChild(); child; child = child->GetNext()) {
		UnhighlightTree(child);
	}
	if (node != itemRoot) {
		node->GetOwner()->UnhighLight();
	}
}

void WgManager::BringToFront(WgNode *treeNode) {
	for (WgNode *node = treeNode; node && node != itemRoot; node = node->GetParent()) {
		if (node->GetOwner()->IsContainer() && (node->GetPrev() || node->GetNext())) {
			node->AttachTo(node->GetParent());
		}
	}
}

void WgManager::SetForeground(WgNode *node) {
	if (node && itemRoot->Contains(node)) {
		BringToFront(node);
	}
}

void WgManager::SetForegroundHandle(int handle) {
	SetForeground(GetNodeOfHandle(handle));
}

void WgManager::DrawAll(int time) {
	BusyScope scope(busy);
	frameTime = time;
	FirstFocus();
	DrawChildren(itemRoot, viewX, viewY, viewX, viewY, viewW, viewH);
}

void WgManager::DrawChildren(WgNode *node, int originX, int originY, int clipX, int clipY, int clipW, int clipH) {
	for (WgNode *child = node->GetFirstChild(); child; child = child->GetNext()) {
		WgItem *item = child->GetOwner();
		if (!item->IsVisible()) {
			DrawChildren(child, originX, originY, clipX, clipY, clipW, clipH);
			continue;
		}
		item->SetParentClip(clipX, clipY, clipW, clipH);
		item->Draw(originX, originY, frameTime);
		int innerX = 0, innerY = 0, innerW = 0, innerH = 0;
		item->GetInternalClip(&innerX, &innerY, &innerW, &innerH);
		DrawChildren(child, originX + item->GetX(), originY + item->GetY(), innerX, innerY, innerW, innerH);
	}
}

void WgManager::SetViewport(int x, int y, int w, int h) {
	viewX = std::max(-WgItem::MAX_COORD, std::min(WgItem::MAX_COORD, x));
	viewY = std::max(-WgItem::MAX_COORD, std::min(WgItem::MAX_COORD, y));
	viewW = std::max(0, std::min(WgItem::MAX_COORD, w));
	viewH = std::max(0, std::min(WgItem::MAX_COORD, h));
}

WgItem *WgManager::FindItemByNameAndType(int type, const char *name) const {
	if (!name) {
		return nullptr;
	}
	// Names are kept cut to their array; a long name finds the item it named.
	char wanted[WgItem::NAME_SIZE];
	WgItem::CopyText(wanted, WgItem::NAME_SIZE, name);
	WgItem *result = nullptr;
	FindInTree(itemRoot, type, wanted, &result);
	return result;
}

void WgManager::FindInTree(const WgNode *node, int type, const char *name, WgItem **result) {
	for (const WgNode *child = node->GetFirstChild(); child; child = child->GetNext()) {
		FindInTree(child, type, name, result);
		WgItem *item = child->GetOwner();
		if (item->GetType() == type && strcmp(item->GetName(), name) == 0) {
			*result = item;
		}
	}
}

void WgManager::UnfocusAll() {
	if (focused != focusRoot) {
		WgItem *old = focused->GetOwner();
		focused = focusRoot;
		old->Unfocus();
	}
}

void WgManager::SetModal(WgItem *item) {
	if (!item || !item->IsContainer() || item->manager != this || !item->treeNode) {
		return;
	}
	UnfocusAll();
	modal = item;
	item->Focus(false);
}

void WgManager::UnsetModal() {
	modal = nullptr;
	focused = focusRoot;
}

void WgManager::FocusItem(WgItem *item) {
	if (!item || !item->treeNode || !item->focusNode || !Qualifies(item) ||
		std::find(items.begin(), items.end(), item) == items.end()) {
		return;
	}
	if (focused != item->focusNode) {
		FocusHit(item->treeNode, false);
	}
}
