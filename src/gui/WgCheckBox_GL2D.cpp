#include "gui/WgCheckBox_GL2D.h"

#include "gl2d/GL2D_SimpleBmpRect.h"

WgCheckBox_GL2D::WgCheckBox_GL2D(const char *name) : WgCheckBox(name) {
	SetClassName("WgCheckBox_GL2D");
}

void WgCheckBox_GL2D::Draw(int originX, int originY, int frameTime) {
	WgItem::Draw(originX, originY, frameTime);
	if (GL2D_SimpleBmpRect *image = images.Get(GetStatus())) {
		const GL2D_Rect clip = ParentClipRect();
		image->Draw(originX + x, originY + y, &clip);
	}
}

void WgCheckBox_GL2D::ForgetObject(const void *object) {
	WgCheckBox::ForgetObject(object);
	images.Forget(object);
}
