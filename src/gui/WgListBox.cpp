#include "gui/WgListBox.h"

#include <algorithm>
#include <cstring>

#include "gui/WgKeys.h"

WgListBox::WgListBox(const char *name) : WgItem(name), current(0), rowsPerPage(0) {
	SetType(WG_TYPE_LISTBOX);
	entries.reserve(LB_MAXENTRY);
}

void WgListBox::SetInputEvent(const NI_Event *event) {
	const int last = GetNumEntry() - 1;
	switch (WgEventKey(event)) {
	case WG_KEY_ENTER: FireEvent(GI_ON_ACTIVATE); break;
	case LB_CURSORUP:
		if (current > 0) {
			current--;
		}
		break;
	case LB_CURSORDOWN:
		if (current < last) {
			current++;
		}
		break;
	case LB_PAGEUP: current = std::max(0, current - rowsPerPage); break;
	case LB_PAGEDOWN:
		if (last >= 0) {
			current = std::min(last, current + rowsPerPage);
		}
		break;
	default: break;
	}
}

void WgListBox::AppendEntry(const char *text) {
	if (text && GetNumEntry() < LB_MAXENTRY) {
		entries.emplace_back(text, strnlen(text, LINE_SIZE - 1));
	}
}

void WgListBox::InsertEntry(const char *text, int position) {
	if (!text || position < 0 || position > GetNumEntry() || GetNumEntry() >= LB_MAXENTRY) {
		return;
	}
	entries.emplace(entries.begin() + position, text, strnlen(text, LINE_SIZE - 1));
	// The current entry stays the same text.
	if (position <= current && GetNumEntry() > 1) {
		current++;
	}
}

void WgListBox::DeleteEntry(int position) {
	if (position < 0 || position >= GetNumEntry()) {
		return;
	}
	entries.erase(entries.begin() + position);
	if (position < current) {
		current--;
	}
	current = std::max(0, std::min(current, GetNumEntry() - 1));
}

void WgListBox::DeleteAll() {
	entries.clear();
	current = 0;
}

void WgListBox::SetCurrentPos(int position) {
	if (position >= 0 && position < GetNumEntry()) {
		current = position;
	}
}

const char *WgListBox::GetCurrentEntry() const {
	return current < GetNumEntry() ? entries[current].c_str() : "";
}

void WgListBox::GetCurrentEntry(char *buffer, int size) const {
	CopyText(buffer, size, GetCurrentEntry());
}

const char *WgListBox::GetEntry(int index) const {
	return index >= 0 && index < GetNumEntry() ? entries[index].c_str() : nullptr;
}

void WgListBox::GetEntry(int index, char *buffer, int size) const {
	if (const char *entry = GetEntry(index)) {
		CopyText(buffer, size, entry);
	}
}

void WgListBox::SetRowsPerPage(int rows) {
	rowsPerPage = std::max(0, std::min(MAX_ROWS_PER_PAGE, rows));
}
