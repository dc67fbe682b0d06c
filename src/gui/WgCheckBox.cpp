#include "gui/WgCheckBox.h"

#include "gui/WgKeys.h"

WgCheckBox::WgCheckBox(const char *name) : WgItem(name), checked(false) {
	SetType(WG_TYPE_CHECKBOX);
}

void WgCheckBox::SetInputEvent(const NI_Event *event) {
	if (WgEventKey(event) == WG_KEY_ENTER) {
		Toggle();
	}
}

void WgCheckBox::Focus(bool click) {
	WgItem::Focus(click);
	if (click) {
		Toggle();
	}
}

int WgCheckBox::GetStatus() const {
	if (focused) {
		return checked ? CB_ISTATE_FOCUSED_YES : CB_ISTATE_FOCUSED_NO;
	}
	return checked ? CB_ISTATE_DEFAULT_YES : CB_ISTATE_DEFAULT_NO;
}

void WgCheckBox::SetChecked(bool on) {
	checked = on;
	FireEvent(GI_ON_ACTIVATE);
}

void WgCheckBox::Toggle() {
	SetChecked(!checked);
}
