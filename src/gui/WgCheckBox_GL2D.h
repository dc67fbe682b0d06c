#ifndef TAVRO_GUI_WGCHECKBOX_GL2D_H
#define TAVRO_GUI_WGCHECKBOX_GL2D_H

#include "gui/WgCheckBox.h"
#include "gui/WgLooks.h"

class GL2D_SimpleBmpRect;

// A check box drawn as one picture per state (checked or not, focused or not), at its own size.
class WgCheckBox_GL2D : public WgCheckBox {
public:
	explicit WgCheckBox_GL2D(const char *name);

	void Draw(int x, int y, int frameTime) override;
	void ForgetObject(const void *object) override;

	void SetBorder(int state, GL2D_SimpleBmpRect *image) { images.Set(state, image); }

private:
	WgLooks<GL2D_SimpleBmpRect> images;
};

#endif
