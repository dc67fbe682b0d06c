#ifndef TAVRO_GUI_WGLISTBOX_H
#define TAVRO_GUI_WGLISTBOX_H

#include <string>
#include <vector>

#include "gui/WgItem.h"

enum WgListBoxLimits {
	LB_MAXENTRY = 256
};

// Scan codes of the keys that move through a list.
enum WgListBoxKeys {
	LB_CURSORUP = 72,
	LB_PAGEUP = 73,
	LB_CURSORDOWN = 80,
	LB_PAGEDOWN = 81
};

// A list of texts with a current entry, moved by the arrow and page keys; Enter chooses the
// current entry (GI_ON_ACTIVATE).
class WgListBox : public WgItem {
public:
	static constexpr int MAX_ROWS_PER_PAGE = LB_MAXENTRY;

	explicit WgListBox(const char *name);

	void SetInputEvent(const NI_Event *event) override;

	// Ignored beyond LB_MAXENTRY entries, and for null. An entry is drawn on one row as a caption
	// line is: it keeps at most LINE_SIZE - 1 characters.
	void AppendEntry(const char *text);
	// Before position (0 to the entry count); the entries from there move down one.
	void InsertEntry(const char *text, int position);
	// The entries after it move up one. Positions outside the list change nothing.
	void DeleteEntry(int position);
	void DeleteAll();
	int GetNumEntry() const { return static_cast<int>(entries.size()); }
	int GetCurrentPos() const { return current; }
	void SetCurrentPos(int position);
	// "" for an empty list.
	const char *GetCurrentEntry() const;
	void GetCurrentEntry(char *buffer, int size) const;
	// Null for an index outside the list.
	const char *GetEntry(int index) const;
	// Copies only for an index inside the list.
	void GetEntry(int index, char *buffer, int size) const;
	void SetRowsPerPage(int rows);
	int GetRowsPerPage() const { return rowsPerPage; }

protected:
	std::vector<std::string> entries;
	int current; // index of the current entry
	int rowsPerPage;
};

#endif
