#include "gui/WgListBox_GL2D.h"

#include <algorithm>
#include <string>

#include "gl2d/GL2D_BmpRect.h"
#include "gui/WgButton_GL2D.h"
#include "gui/WgLabel_GL2D.h"

namespace {

WgButton_GL2D *MakeButton(WgItem *listBox, const char *suffix) {
	const std::string name = std::string(listBox->GetName()) + suffix;
	return new WgButton_GL2D(name.c_str());
}

int ClampMargin(int value) {
	return std::max(0, std::min(WgItem::MAX_SIZE, value));
}

} // namespace

WgListBox_GL2D::WgListBox_GL2D(const char *name)
	: WgListBox(name), marginLeft(0), marginTop(0), marginRight(0), marginBottom(0), rowHeight(0), normalFont(nullptr),
	  selectedFont(nullptr), firstVisible(0), buttonUp(MakeButton(this, "_ButtonUp")),
	  buttonDown(MakeButton(this, "_ButtonDown")) {
	SetClassName("WgListBox_GL2D");
	buttonUp->SetPartOf(this);
	buttonDown->SetPartOf(this);
	rows.reserve(MAX_ROWS_PER_PAGE);
}

WgListBox_GL2D::~WgListBox_GL2D() {
	RebuildRows(0);
	delete buttonUp;
	delete buttonDown;
}

int WgListBox_GL2D::ButtonWidth() const {
	return buttonUp->GetW();
}

void WgListBox_GL2D::Draw(int originX, int originY, int frameTime) {
	WgItem::Draw(originX, originY, frameTime);
	h = std::min(MAX_SIZE, rowHeight * rowsPerPage + marginTop + marginBottom);

	// Keep the current entry in view, and the view inside the list.
	if (current >= firstVisible + rowsPerPage) {
		firstVisible = current - rowsPerPage + 1;
	}
	if (current < firstVisible) {
		firstVisible = current;
	}
	const int visible = std::min(GetNumEntry(), rowsPerPage);
	firstVisible = std::max(0, std::min(firstVisible, GetNumEntry() - visible));
	if (static_cast<int>(rows.size()) != visible) {
		RebuildRows(visible);
	}

	const GL2D_Rect clip = ParentClipRect();
	if (GL2D_BmpRect *border = borders.Get(GetStatus())) {
		border->Draw(originX + x, originY + y, w, h, &clip);
	}
	const int buttonW = ButtonWidth();
	const int absoluteX = originX + x, absoluteY = originY + y;
	for (int i = 0; i < visible; i++) {
		WgLabel_GL2D *row = rows[i];
		const int entry = firstVisible + i;
		row->SetCaption(GetEntry(entry));
		if (entry == current) {
			row->Focus(false);
		} else if (row->IsFocused()) {
			row->Unfocus();
		}
		row->SetCoords(marginLeft, marginTop + rowHeight * i);
		row->SetDim(w - marginLeft - marginRight - buttonW, rowHeight);
		row->SetParentClip(parentClipX, parentClipY, parentClipW, parentClipH);
		row->Draw(absoluteX, absoluteY, frameTime);
	}
	const int buttonH = (h - marginTop - marginBottom) / 2;
	WgButton_GL2D *buttons[] = {buttonUp, buttonDown};
	for (int i = 0; i < 2; i++) {
		buttons[i]->SetCoords(w - marginRight - buttonW, marginTop + buttonH * i);
		buttons[i]->SetDim(buttonW, buttonH);
		buttons[i]->SetParentClip(parentClipX, parentClipY, parentClipW, parentClipH);
		buttons[i]->Draw(absoluteX, absoluteY, frameTime);
	}
}

void WgListBox_GL2D::Focus(bool click) {
	WgListBox::Focus(click);
	if (!click) {
		return;
	}
	const int buttonW = ButtonWidth();
	const int columnX = w - marginRight - buttonW;
	if (grabX >= columnX && grabX < w - marginRight) {
		const bool upper = grabY >= marginTop && grabY < h / 2;
		const bool lower = grabY >= h / 2 && grabY < h - marginBottom;
		if (upper) {
			buttonDown->Unfocus();
			buttonUp->Focus(true);
			if (current > 0) {
				current--;
			}
		} else if (lower) {
			buttonUp->Unfocus();
			buttonDown->Focus(true);
			if (current < GetNumEntry() - 1) {
				current++;
			}
		}
		return;
	}
	if (grabX >= marginLeft && grabX < columnX && grabY >= marginTop && grabY < h - marginBottom) {
		buttonUp->Unfocus();
		buttonDown->Unfocus();
		const int entry = rowHeight > 0 ? (grabY - marginTop) / rowHeight + firstVisible : -1;
		if (entry >= 0 && entry < GetNumEntry()) {
			current = entry;
			FireEvent(GI_ON_ACTIVATE);
		}
	}
}

void WgListBox_GL2D::Unfocus() {
	buttonUp->Unfocus();
	buttonDown->Unfocus();
	WgListBox::Unfocus();
}

void WgListBox_GL2D::ForgetObject(const void *object) {
	WgListBox::ForgetObject(object);
	borders.Forget(object);
	if (normalFont == object) {
		normalFont = nullptr;
	}
	if (selectedFont == object) {
		selectedFont = nullptr;
	}
}

void WgListBox_GL2D::SetMargins(int left, int top, int right, int bottom) {
	marginLeft = ClampMargin(left);
	marginTop = ClampMargin(top);
	marginRight = ClampMargin(right);
	marginBottom = ClampMargin(bottom);
}

void WgListBox_GL2D::SetFont(GL2D_Font *normal, GL2D_Font *selected) {
	normalFont = normal;
	selectedFont = selected;
	for (WgLabel_GL2D *row : rows) {
		StyleRow(row);
	}
}

void WgListBox_GL2D::SetRowHeight(int height) {
	rowHeight = std::max(0, std::min(MAX_SIZE, height));
}

void WgListBox_GL2D::RebuildRows(int count) {
	for (WgLabel_GL2D *row : rows) {
		delete row;
	}
	rows.clear();
	for (int i = 0; i < count; i++) {
		const std::string name = std::string(GetName()) + "_" + std::to_string(i);
		WgLabel_GL2D *row = new WgLabel_GL2D(name.c_str());
		row->SetPartOf(this);
		StyleRow(row);
		rows.push_back(row);
	}
}

void WgListBox_GL2D::StyleRow(WgLabel_GL2D *row) const {
	row->SetFont(GI_ISTATE_DEFAULT, normalFont);
	row->SetFont(GI_ISTATE_FOCUSED, selectedFont);
	row->SetAlign(VALIGN_MIDDLE, HALIGN_LEFT);
	row->SetMargin(2, 0, 2, 0);
}
