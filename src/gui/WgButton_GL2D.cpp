#include "gui/WgButton_GL2D.h"

#include <algorithm>

#include "gl2d/GL2D_BmpRect.h"
#include "gui/WgLabel_GL2D.h"

WgButton_GL2D::WgButton_GL2D(const char *name) : WgButton(name), label(new WgLabel_GL2D(name)), clickTimer(0) {
	SetClassName("WgButton_GL2D");
	label->SetPartOf(this);
}

WgButton_GL2D::~WgButton_GL2D() {
	delete label;
}

void WgButton_GL2D::Draw(int originX, int originY, int frameTime) {
	WgItem::Draw(originX, originY, frameTime);
	if (clickPending) {
		clickTimer += std::max(0, frameTime);
		if (clickTimer >= CLICK_TIME) {
			clickTimer = 0;
			clickPending = false;
			FireEvent(GI_ON_CLICK);
		}
	}
	const GL2D_Rect clip = ParentClipRect();
	if (GL2D_BmpRect *border = borders.Get(GetStatus())) {
		border->Draw(originX + x, originY + y, w, h, &clip);
	}
	label->SetCoords(x, y);
	label->SetDim(w, h);
	label->SetParentClip(parentClipX, parentClipY, parentClipW, parentClipH);
	label->SetCaption(GetLabelText());
	label->Draw(originX, originY, frameTime);
}

void WgButton_GL2D::Focus(bool click) {
	WgButton::Focus(click);
	label->Focus(false);
	if (click) {
		clickPending = true;
	}
}

void WgButton_GL2D::Unfocus() {
	label->Unfocus();
	WgButton::Unfocus();
}

void WgButton_GL2D::ForgetObject(const void *object) {
	WgButton::ForgetObject(object);
	borders.Forget(object);
}
