#ifndef TAVRO_GUI_WGWINDOW_GL2D_H
#define TAVRO_GUI_WGWINDOW_GL2D_H

#include "gui/WgLooks.h"
#include "gui/WgWindow.h"

class GL2D_BmpRect;

// A window drawn as a frame per state; the manager draws its children over it.
class WgWindow_GL2D : public WgWindow {
public:
	explicit WgWindow_GL2D(const char *name);

	void Draw(int x, int y, int frameTime) override;
	void ForgetObject(const void *object) override;

	void SetBorder(int state, GL2D_BmpRect *border) { borders.Set(state, border); }

private:
	WgLooks<GL2D_BmpRect> borders;
};

#endif
