#ifndef TAVRO_GUI_WGLISTBOX_GL2D_H
#define TAVRO_GUI_WGLISTBOX_GL2D_H

#include <vector>

#include "gui/WgListBox.h"
#include "gui/WgLooks.h"

class GL2D_BmpRect;
class GL2D_Font;
class WgButton_GL2D;
class WgLabel_GL2D;

// A list box drawn as a frame with one label per visible row and a column of two buttons
// (up, down) at its right. Its height follows from the rows: row height x rows per page plus
// the margins. The buttons and row labels belong to the list box, not to a manager.
class WgListBox_GL2D : public WgListBox {
public:
	explicit WgListBox_GL2D(const char *name);
	~WgListBox_GL2D() override;

	void Draw(int x, int y, int frameTime) override;
	// A click on the button column moves the current entry; a click on a row chooses it.
	void Focus(bool click = false) override;
	// The buttons lose their focused look with the list box.
	void Unfocus() override;
	void ForgetObject(const void *object) override;

	void SetBorder(int state, GL2D_BmpRect *border) { borders.Set(state, border); }
	void SetMargins(int left, int top, int right, int bottom);
	// normal for the rows, selected for the current entry's row. Not owned.
	void SetFont(GL2D_Font *normal, GL2D_Font *selected);
	void SetRowHeight(int height);
	// Owned by the list box; scripts style them.
	WgButton_GL2D *GetButtonUp() const { return buttonUp; }
	WgButton_GL2D *GetButtonDown() const { return buttonDown; }
	int GetFirstVisible() const { return firstVisible; }
	int GetRowCount() const { return static_cast<int>(rows.size()); }

private:
	void RebuildRows(int count);
	void StyleRow(WgLabel_GL2D *row) const;
	int ButtonWidth() const;

	WgLooks<GL2D_BmpRect> borders;
	int marginLeft, marginTop, marginRight, marginBottom; // pixels
	int rowHeight;                                        // pixels
	GL2D_Font *normalFont;
	GL2D_Font *selectedFont;
	int firstVisible; // index of the entry in the top row
	WgButton_GL2D *buttonUp;
	WgButton_GL2D *buttonDown;
	std::vector<WgLabel_GL2D *> rows; // owned
};

#endif
