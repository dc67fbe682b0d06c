#ifndef TAVRO_GUI_WGLABEL_H
#define TAVRO_GUI_WGLABEL_H

#include "gui/WgItem.h"

// Text that takes no focus: its caption is what it shows.
class WgLabel : public WgItem {
public:
	explicit WgLabel(const char *name);
};

#endif
