#include "gui/WgEditBox_GL2D.h"

#include <algorithm>

#include "gl2d/GL2D_SimpleBmpRect.h"
#include "gui/WgLabel_GL2D.h"

WgEditBox_GL2D::WgEditBox_GL2D(const char *name)
	: WgEditBox(name), label(new WgLabel_GL2D(name)), blinkTimer(0), caretVisible(true) {
	SetClassName("WgEditBox_GL2D");
	label->SetPartOf(this);
}

WgEditBox_GL2D::~WgEditBox_GL2D() {
	delete label;
}

void WgEditBox_GL2D::Draw(int originX, int originY, int frameTime) {
	WgItem::Draw(originX, originY, frameTime);
	label->SetCoords(x, y);
	label->SetDim(w, h);
	label->SetParentClip(parentClipX, parentClipY, parentClipW, parentClipH);
	label->SetCaption(content);
	label->Draw(originX, originY, frameTime);
	if (!editing) {
		return;
	}
	blinkTimer += std::max(0, frameTime);
	if (blinkTimer >= BLINK_TIME) {
		blinkTimer = 0;
		caretVisible = !caretVisible;
	}
	if (caretVisible && caret) {
		int caretX = 0, caretY = 0;
		label->GetCursorPos(cursor, &caretX, &caretY);
		const GL2D_Rect clip = ParentClipRect();
		caret->Draw(caretX, caretY, &clip);
	}
}

void WgEditBox_GL2D::Focus(bool click) {
	label->Focus(false);
	// Not passing the click on: the focus event fires again on every click.
	WgEditBox::Focus(false);
	if (click && !editing) {
		StartEditing();
	}
}

void WgEditBox_GL2D::Unfocus() {
	if (editing) {
		if (emptyUnfocus) {
			editing = false;
		} else {
			StopEditing();
		}
	}
	label->Unfocus();
	WgEditBox::Unfocus();
}

void WgEditBox_GL2D::SetCursor(const char *file) {
	caret.reset(new GL2D_SimpleBmpRect);
	if (!file || !caret->Load(file)) {
		caret.reset();
	}
}
