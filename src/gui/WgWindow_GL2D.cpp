#include "gui/WgWindow_GL2D.h"

#include "gl2d/GL2D_BmpRect.h"

WgWindow_GL2D::WgWindow_GL2D(const char *name) : WgWindow(name) {
	SetClassName("WgWindow_GL2D");
}

void WgWindow_GL2D::Draw(int originX, int originY, int frameTime) {
	WgItem::Draw(originX, originY, frameTime);
	if (GL2D_BmpRect *border = borders.Get(GetStatus())) {
		const GL2D_Rect clip = ParentClipRect();
		border->Draw(originX + x, originY + y, w, h, &clip);
	}
}

void WgWindow_GL2D::ForgetObject(const void *object) {
	WgWindow::ForgetObject(object);
	borders.Forget(object);
}
