#include "gui/WgManager.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/LogFile.h"
#include "gui/WgItem.h"
#include "gui/WgKeys.h"
#include "gui/WgNode.h"
#include "gui/WgScriptRunner.h"
#include "input/NoxInput.h"

namespace {

const int LEFT_BUTTON = 1;

// Positions are summed down the tree; with the depth capped no sum comes near int's range.
static_assert((WgManager::MAX_DEPTH + 2LL) * WgItem::MAX_COORD + WgItem::MAX_SIZE < (1LL << 30),
	"summed positions must stay far inside int");

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
	  busy(0), depthRefused(false) {}

WgManager::~WgManager() {
	// The items let go of the manager first, so none of them calls back into it.
	for (WgItem *item : items) {
		item->manager = nullptr;
		item->managerIndex = -1;
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
		if (parent->GetDepth() >= MAX_DEPTH) {
			if (!depthRefused) {
				depthRefused = true;
				Log(LOG_WARNING, "GUI: '%s' not added: it would lie deeper than %d containers", item->GetName(),
					MAX_DEPTH);
			}
			return nullptr;
		}
		focusParent = container->focusNode;
	}
	item->treeNode = new WgNode(item);
	item->treeNode->AttachTo(parent ? parent : itemRoot);
	item->CreateFocusNode(focusParent);
	if (!item->manager) {
		item->managerIndex = static_cast<int>(items.size());
		items.push_back(item);
		item->manager = this;
	}
	if (item->CanReceiveFocus() && focused == focusRoot) {
		focused = item->focusNode;
	}
	return item->treeNode;
}

long long WgManager::AddItemHandle(WgItem *item, long long parentHandle) {
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

long long WgManager::GetHandle(WgNode *node) {
	if (!node || !itemRoot->Contains(node) || node == itemRoot) {
		return 0;
	}
	return handles.Issue(node);
}

WgNode *WgManager::GetNodeOfHandle(long long handle) const {
	return handles.Find(handle);
}

void WgManager::ForgetItem(WgItem *item) {
	// Handlers must not destroy items while the manager walks its trees.
	assert(busy == 0);
	if (item->treeNode) {
		RemoveFromTrees(item->treeNode);
	}
	// The last item takes the place of the one that goes.
	WgItem *last = items.back();
	items[item->managerIndex] = last;
	last->managerIndex = item->managerIndex;
	items.pop_back();
	item->managerIndex = -1;
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
	handles.Release(treeNode);
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
	// Known by its key as well: Shift+Tab types no character under X.
	const bool tab = WgEventChar(event) == '\t' || WgEventKey(event) == WG_KEY_TAB;
	if (!tab || (old && old->IsThisYourEventKeyboard(event))) {
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
	return item && item->CanReceiveFocus() && item->IsEnabled() && IsShown(item);
}

bool WgManager::IsShown(const WgItem *item) {
	if (!item->IsVisible()) {
		return false;
	}
	for (const WgNode *node = item->treeNode ? item->treeNode->GetParent() : nullptr; node && node->GetOwner();
		 node = node->GetParent()) {
		if (!node->GetOwner()->IsVisible()) {
			return false;
		}
	}
	return true;
}

WgNode *WgManager::ClickTarget(WgNode *hit) {
	if (hit->GetOwner()->IsContainer()) {
		for (WgNode *child = hit->GetFirstChild(); child; child = child->GetNext()) {
			if (!child->GetOwner()->IsContainer() && child->GetOwner()->IsVisible()) {
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
	if (item->IsDraggable() && item->IsEnabled() && IsShown(item) && onDragRect) {
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
	if (modal && modal->treeNode && IsShown(modal)) {
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
		// It takes the hit itself (and then fails the caller's visibility test), but what a
		// hidden item holds is not there.
		if (!item->IsVisible()) {
			hitResolved = true;
			return;
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

void WgManager::SetForegroundHandle(double handle) {
	if (handle >= 1 && handle < 9007199254740992.0 && handle == static_cast<double>(static_cast<long long>(handle))) {
		SetForeground(GetNodeOfHandle(static_cast<long long>(handle)));
	}
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
			continue; // with all it holds
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
	if (!item || item->manager != this || !item->treeNode || !item->focusNode || !Qualifies(item)) {
		return;
	}
	if (focused != item->focusNode) {
		FocusHit(item->treeNode, false);
	}
}
