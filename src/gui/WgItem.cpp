#include "gui/WgItem.h"

#include <algorithm>
#include <cstring>

#include "gui/WgManager.h"
#include "gui/WgNode.h"
#include "gui/WgScriptRunner.h"
#include "input/NoxInput.h"

WgItem *WgItem::firstLive = nullptr;
int WgItem::dispatchDepth = 0;

namespace {

int ClampCoord(int value) {
	return std::max(-WgItem::MAX_COORD, std::min(WgItem::MAX_COORD, value));
}

int ClampSize(int value) {
	return std::max(0, std::min(WgItem::MAX_SIZE, value));
}

} // namespace

WgItem::WgItem(const char *newName)
	: x(0), y(0), w(0), h(0), parentClipX(0), parentClipY(0), parentClipW(0), parentClipH(0), drawOriginX(0),
	  drawOriginY(0), grabX(-1), grabY(-1), focused(false), highlighted(false), lineCount(0), enabled(true),
	  canReceiveFocus(true), canLoseFocus(true), visible(true), container(false), type(WG_TYPE_ITEM), handlers(),
	  zOrder(0), dragX(0), dragY(0), dragW(0), dragH(0), draggable(false), cacheManager(nullptr), focusNode(nullptr),
	  treeNode(nullptr), manager(nullptr), managerIndex(-1), partOf(nullptr), prevLive(nullptr), nextLive(firstLive) {
	SetName(newName);
	SetClassName("WgItem");
	if (firstLive) {
		firstLive->prevLive = this;
	}
	firstLive = this;
}

WgItem::~WgItem() {
	if (manager) {
		manager->ForgetItem(this);
	}
	if (prevLive) {
		prevLive->nextLive = nextLive;
	} else {
		firstLive = nextLive;
	}
	if (nextLive) {
		nextLive->prevLive = prevLive;
	}
	if (g_scriptRunner) {
		g_scriptRunner->ObjectGone(this);
	}
}

WgNode *WgItem::CreateFocusNode(WgNode *parent) {
	focusNode = new WgNode(this);
	focusNode->AttachTo(parent);
	return focusNode;
}

int WgItem::GetStatus() const {
	if (focused) {
		return GI_ISTATE_FOCUSED;
	}
	if (highlighted) {
		return GI_ISTATE_HIGHLIGHTED;
	}
	return enabled ? GI_ISTATE_DEFAULT : GI_ISTATE_DISABLED;
}

void WgItem::Focus(bool click) {
	if (click && focused) {
		return;
	}
	focused = true;
	FireEvent(GI_ON_FOCUS);
}

void WgItem::Unfocus() {
	focused = false;
	FireEvent(GI_ON_UNFOCUS);
}

void WgItem::HighLight() {
	if (container) {
		highlighted = true;
	}
}

void WgItem::UnhighLight() {
	highlighted = false;
}

void WgItem::SetInputEvent(const NI_Event *) {}

bool WgItem::IsThisYourEventKeyboard(const NI_Event *) const {
	return false;
}

bool WgItem::IsThisYourEventMouse(int atX, int atY, const NI_Event *event) {
	if (!event || !event->mice) {
		return false;
	}
	const NI_Mouse &mouse = event->mice[0];
	if (mouse.x < atX || mouse.x > atX + w || mouse.y < atY || mouse.y > atY + h) {
		return false;
	}
	grabX = mouse.x - atX;
	grabY = mouse.y - atY;
	return true;
}

void WgItem::Draw(int originX, int originY, int) {
	drawOriginX = originX;
	drawOriginY = originY;
}

void WgItem::GetInternalClip(int *clipX, int *clipY, int *clipW, int *clipH) const {
	// Into the item's own coordinates, cut to the item, and back.
	int ownX = parentClipX - drawOriginX - x;
	int ownY = parentClipY - drawOriginY - y;
	int cutX = 0, cutY = 0, cutW = 0, cutH = 0;
	if (!IntersectRectInt(ownX, ownY, parentClipW, parentClipH, 0, 0, w, h, cutX, cutY, cutW, cutH)) {
		cutX = cutY = cutW = cutH = 0;
	}
	if (clipX) {
		*clipX = cutX + drawOriginX + x;
	}
	if (clipY) {
		*clipY = cutY + drawOriginY + y;
	}
	if (clipW) {
		*clipW = cutW;
	}
	if (clipH) {
		*clipH = cutH;
	}
}

void WgItem::ForgetObject(const void *object) {
	if (cacheManager == object) {
		cacheManager = nullptr;
	}
}

void WgItem::SetCallback(int slot, WgCallback function, void *context) {
	if (slot < 0 || slot >= SLOT_COUNT) {
		return;
	}
	handlers[slot].function = function;
	handlers[slot].context = context;
}

void WgItem::SetCallbackLUA(int slot, const char *file) {
	if (slot < 0 || slot >= SLOT_COUNT || !file) {
		return;
	}
	scripts[slot].assign(file, strnlen(file, SCRIPT_NAME_SIZE - 1));
}

const char *WgItem::GetCallbackLUA(int slot) const {
	return slot >= 0 && slot < SLOT_COUNT ? scripts[slot].c_str() : "";
}

void WgItem::FireEvent(int slot) {
	if (slot < 0 || slot >= SLOT_COUNT) {
		return;
	}
	DispatchScope dispatch;
	if (handlers[slot].function) {
		handlers[slot].function(this, handlers[slot].context);
	}
	if (!scripts[slot].empty() && g_scriptRunner) {
		g_scriptRunner->RunEventScript(this, scripts[slot].c_str());
	}
}

bool WgItem::ExecuteLua(const char *file) {
	if (!file || !g_scriptRunner) {
		return false;
	}
	DispatchScope dispatch;
	return g_scriptRunner->RunItemScript(this, file);
}

bool WgItem::IsOnDragRect(int mouseX, int mouseY, const NI_Event *event) const {
	if (!event || !event->mice) {
		return false;
	}
	const NI_Mouse &mouse = event->mice[0];
	return mouse.x >= mouseX + dragX && mouse.x <= mouseX + dragX + dragW && mouse.y >= mouseY + dragY &&
		   mouse.y <= mouseY + dragY + dragH;
}

void WgItem::SetDragRect(int newX, int newY, int newW, int newH) {
	dragX = ClampCoord(newX);
	dragY = ClampCoord(newY);
	dragW = ClampSize(newW);
	dragH = ClampSize(newH);
}

void WgItem::SetParentClip(int clipX, int clipY, int clipW, int clipH) {
	parentClipX = clipX;
	parentClipY = clipY;
	parentClipW = clipW;
	parentClipH = clipH;
}

void WgItem::SetCoords(int newX, int newY) {
	x = ClampCoord(newX);
	y = ClampCoord(newY);
}

void WgItem::GetCoords(int *outX, int *outY) const {
	if (outX) {
		*outX = x;
	}
	if (outY) {
		*outY = y;
	}
}

void WgItem::SetDim(int newW, int newH) {
	w = ClampSize(newW);
	h = ClampSize(newH);
}

void WgItem::GetDim(int *outW, int *outH) const {
	if (outW) {
		*outW = w;
	}
	if (outH) {
		*outH = h;
	}
}

void WgItem::SetName(const char *newName) {
	CopyText(name, NAME_SIZE, newName);
}

void WgItem::GetName(char *buffer, int size) const {
	CopyText(buffer, size, name);
}

void WgItem::SetCaption(const char *text) {
	if (!text) {
		return;
	}
	lineCount = 0;
	if (!*text) {
		CaptionLine(0).clear();
		lineCount = 1;
		return;
	}
	const char *at = text;
	while (*at && lineCount < CAPTION_LINES) {
		while (*at == '\n') {
			at++;
		}
		if (!*at) {
			break;
		}
		const char *end = strchr(at, '\n');
		size_t length = end ? static_cast<size_t>(end - at) : strlen(at);
		size_t kept = std::min(length, static_cast<size_t>(LINE_SIZE - 1));
		CaptionLine(lineCount).assign(at, kept);
		lineCount++;
		at += length;
	}
}

void WgItem::GetCaption(char *buffer, int size) const {
	if (!buffer || size <= 0) {
		return;
	}
	int used = 0;
	buffer[0] = '\0';
	for (int i = 0; i < lineCount && used < size - 1; i++) {
		CopyText(buffer + used, size - used, lines[i].c_str());
		used += static_cast<int>(strlen(buffer + used));
		if (used < size - 1) {
			buffer[used++] = '\n';
			buffer[used] = '\0';
		}
	}
}

std::string WgItem::GetCaption() const {
	std::string text;
	for (int i = 0; i < lineCount; i++) {
		text += lines[i];
		text += '\n';
	}
	return text;
}

const char *WgItem::GetLine(int index) const {
	return index >= 0 && index < lineCount ? lines[index].c_str() : "";
}

std::string &WgItem::CaptionLine(int index) {
	if (static_cast<int>(lines.size()) <= index) {
		lines.resize(index + 1);
	}
	return lines[index];
}

GL2D_Rect WgItem::ParentClipRect() const {
	return GL2D_Rect{static_cast<float>(parentClipX), static_cast<float>(parentClipY), static_cast<float>(parentClipW),
		static_cast<float>(parentClipH)};
}

void WgItem::GetDrawOrigin(int *outX, int *outY) const {
	*outX = drawOriginX;
	*outY = drawOriginY;
}

void WgItem::GetGrabOffset(int *outX, int *outY) const {
	*outX = grabX;
	*outY = grabY;
}

void WgItem::ForgetEverywhere(const void *object) {
	if (!object) {
		return;
	}
	for (WgItem *item = firstLive; item; item = item->nextLive) {
		item->ForgetObject(object);
	}
}

void WgItem::CopyText(char *to, int size, const char *from) {
	if (!to || size <= 0) {
		return;
	}
	int i = 0;
	for (; from && from[i] && i < size - 1; i++) {
		to[i] = from[i];
	}
	to[i] = '\0';
}

void WgItem::SetClassName(const char *newName) {
	CopyText(className, CLASS_NAME_SIZE, newName);
}
