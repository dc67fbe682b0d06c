#ifndef TAVRO_GUI_WGWINDOW_H
#define TAVRO_GUI_WGWINDOW_H

#include "gui/WgItem.h"

// A container: items added under it are placed and clipped inside it, and it shows the
// highlighted look while one of them has the focus.
class WgWindow : public WgItem {
public:
	explicit WgWindow(const char *name);
};

#endif
