#include "gui/WgLabel.h"

WgLabel::WgLabel(const char *name) : WgItem(name) {
	SetType(WG_TYPE_LABEL);
	ReceiveFocus(false);
}
