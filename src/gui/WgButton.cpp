#include "gui/WgButton.h"

#include "gui/WgKeys.h"

WgButton::WgButton(const char *name) : WgItem(name), clickPending(false) {
	SetType(WG_TYPE_BUTTON);
	label[0] = '\0';
}

void WgButton::SetInputEvent(const NI_Event *event) {
	if (WgEventKey(event) == WG_KEY_ENTER) {
		clickPending = true;
	}
}

int WgButton::GetStatus() const {
	return clickPending ? BB_ISTATE_CLICKED : WgItem::GetStatus();
}

void WgButton::SetLabel(const char *text) {
	if (text) {
		CopyText(label, LABEL_SIZE, text);
	}
}

void WgButton::GetLabel(char *buffer, int size) const {
	CopyText(buffer, size, label);
}
