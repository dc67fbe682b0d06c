#ifndef TAVRO_GUI_WGLABEL_GL2D_H
#define TAVRO_GUI_WGLABEL_GL2D_H

#include "gl2d/GL2D_Rect.h"
#include "gui/WgLabel.h"
#include "gui/WgLooks.h"

class GL2D_BmpRect;
class GL2D_Font;

enum WgVerticalAlign {
	VALIGN_NONE = -1,
	VALIGN_TOP = 0,
	VALIGN_MIDDLE = 1,
	VALIGN_BOTTOM = 2
};

enum WgHorizontalAlign {
	HALIGN_NONE = -1,
	HALIGN_LEFT = 0,
	HALIGN_MIDDLE = 1,
	HALIGN_RIGHT = 2
};

// Draws the caption, line by line, in the font, colour and border of the current state, aligned
// inside the margins and clipped to the parent's clip. The other widgets draw their texts with
// one of these.
class WgLabel_GL2D : public WgLabel {
public:
	static constexpr int LINE_SPACING = 2; // pixels

	explicit WgLabel_GL2D(const char *name);

	void Draw(int x, int y, int frameTime) override;
	void ForgetObject(const void *object) override;

	// Where the caret of a character index goes: after the first index characters of the text
	// the font last wrote, pinned to the right edge when that lies beyond it.
	void GetCursorPos(int index, int *cursorX, int *cursorY) const;

	// States outside 0 to GI_MAX_STATES - 1 and null colours are ignored. Not owned.
	void SetFont(int state, GL2D_Font *font) { fonts.Set(state, font); }
	void SetFontColor(int state, const GL2D_Color *color);
	void SetBorder(int state, GL2D_BmpRect *border) { borders.Set(state, border); }
	void SetAlign(int vertical, int horizontal);
	void SetMargin(int left, int top, int right, int bottom);
	// Lines wider than the box show their end instead of their start.
	void SetScrollMode(bool on) { scrollMode = on; }

	GL2D_Font *GetFont(int state) const { return fonts.Get(state); }

private:
	WgLooks<GL2D_Font> fonts;
	GL2D_Color colors[GI_MAX_STATES];
	WgLooks<GL2D_BmpRect> borders;
	int verticalAlign;                                    // WgVerticalAlign
	int horizontalAlign;                                  // WgHorizontalAlign
	int marginLeft, marginTop, marginRight, marginBottom; // pixels
	bool scrollMode;

	// Of the last draw.
	GL2D_Font *currentFont;
	int firstLineX;     // pixels, absolute
	int blockY;         // pixels, absolute
	GL2D_Rect textClip; // the font keeps pointing here while it writes
};

#endif
