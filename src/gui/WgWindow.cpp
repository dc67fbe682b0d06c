#include "gui/WgWindow.h"

WgWindow::WgWindow(const char *name) : WgItem(name) {
	SetType(WG_TYPE_WINDOW);
	SetContainer(true);
	ReceiveFocus(false);
}
