#include "gui/WgEditBox.h"

#include <algorithm>
#include <cstring>

#include "gui/WgKeys.h"

WgEditBox::WgEditBox(const char *name)
	: WgItem(name), limit(CONTENT_SIZE - 1), cursor(0), editing(false), loopMode(false), emptyUnfocus(false),
	  smartEdit(false) {
	SetType(WG_TYPE_EDITBOX);
	content[0] = '\0';
}

int WgEditBox::Length() const {
	return static_cast<int>(strlen(content));
}

void WgEditBox::SetInputEvent(const NI_Event *event) {
	switch (WgEventKey(event)) {
	case WG_KEY_ENTER:
		if (!editing) {
			StartEditing();
		} else {
			StopEditing();
			if (loopMode) {
				editing = true;
			}
		}
		return;
	case WG_KEY_ESC:
		if (editing) {
			StopEditing();
		}
		return;
	case WG_KEY_BACKSPACE:
		if (editing) {
			Backspace();
		}
		return;
	case WG_KEY_LEFT:
		if (editing && smartEdit) {
			cursor = std::max(0, cursor - 1);
		}
		return;
	case WG_KEY_RIGHT:
		if (editing && smartEdit) {
			cursor = std::min(cursor + 1, std::min(Length(), limit - 1));
		}
		return;
	default: break;
	}
	unsigned char c = WgEventChar(event);
	// Control characters are keys, not text.
	if (editing && c >= ' ' && c != 127) {
		Type(c);
	}
}

void WgEditBox::Type(unsigned char c) {
	int length = Length();
	content[cursor] = static_cast<char>(c);
	if (cursor == length) {
		content[cursor + 1] = '\0';
	}
	cursor = std::min(cursor + 1, limit - 1);
}

void WgEditBox::Backspace() {
	if (cursor == 0) {
		return;
	}
	// At the end this drops the last character; inside, the rest moves left over the gap.
	memmove(content + cursor - 1, content + cursor, Length() - cursor + 1);
	cursor--;
}

int WgEditBox::GetStatus() const {
	return editing ? GI_ISTATE_DISABLED : WgItem::GetStatus();
}

void WgEditBox::SetContent(const char *text) {
	if (!text) {
		return;
	}
	CopyText(content, limit + 1, text);
	cursor = std::min(Length(), limit - 1);
}

void WgEditBox::GetContent(char *buffer, int size) const {
	CopyText(buffer, size, content);
}

void WgEditBox::SetContentSize(int newLimit) {
	limit = std::max(1, std::min(CONTENT_SIZE - 1, newLimit));
	content[std::min(Length(), limit)] = '\0';
	cursor = std::min(cursor, std::min(Length(), limit - 1));
}

void WgEditBox::StartEditing() {
	editing = true;
	FireEvent(GI_ON_ACTIVATE);
}

void WgEditBox::StopEditing() {
	editing = false;
	FireEvent(GI_ON_DEACTIVATE);
}
