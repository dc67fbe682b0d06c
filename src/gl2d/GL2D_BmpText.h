#ifndef TAVRO_GL2D_GL2D_BMPTEXT_H
#define TAVRO_GL2D_GL2D_BMPTEXT_H

#include <cstddef>

#include "gl2d/GL2D_Bitmap.h"
#include "gl2d/GL2D_Font.h"

// A font whose glyphs are cells of a grid in a BMP image (".nbf" file). Glyph i of the
// sheet is the picture of character i of the character order.
class GL2D_BmpText : public GL2D_Font {
public:
	static constexpr int MAX_ORDER = 127;     // characters in the character order
	static constexpr int MAX_KERNING = 32767; // pixels either way; keeps advances in range

	GL2D_BmpText();
	~GL2D_BmpText() override;

	// Reads a ".nbf" file. False when the file cannot be opened, a field is missing or out of
	// range, or the image needs too many tiles; nothing is kept then. An image that cannot be
	// read still gives true: glyphs that measure but do not draw.
	bool Load(const char *file) override;

	int Write(int x, int y, const char *text, const GL2D_Rect *clip, int scrollX, int scrollY) override;
	int Write(int x, int y, const char *text) override;
	int Write(int x, int y) override;
	int Write() override;
	int GetFontWidth() const override;
	int GetFontHeight() const override;
	// A monospaced estimate: font width times the number of characters.
	int GetTextWidth(const char *text) const override;

	// Longer orders are cut to MAX_ORDER characters.
	bool SetCharOrder(const char *order);
	void SetKerning(int k);
	// A picture font has one size: it is drawn, measured and spaced this many times larger
	// (0.25 to 8; 1 as loaded), smoothed when not 1.
	void SetDrawScale(float scale);
	float GetDrawScale() const { return drawScale; }
	// Advance of the first n characters of the stored text, as Write counts it.
	int GetCursorPos(int n) const;

	const char *GetCharOrder() const { return order; }
	int GetKerning() const { return kerning; }
	const GL2D_Bitmap &GetGlyphSheet() const { return glyphs; }

protected:
	GL2D_Bitmap glyphs;
	int kerning; // pixels after every glyph
	int cursor;  // pixels, advance of the last write
	float drawScale;

private:
	// Glyph of a character, or -1 when the order lacks it or the sheet has no such region.
	int GlyphOf(unsigned char c) const;
	// Advance of the first count characters of the text, drawing them when asked.
	int Run(int count, bool draw) const;

	int cellWidth;  // pixels
	int cellHeight; // pixels
	int columns;    // cells per row of the image
	int originX;    // pixels, left of the first cell
	int originY;    // pixels, top of the first cell
	int unused;     // read from the file, not used
	char order[MAX_ORDER + 1];
	short glyphIndex[256]; // by character: first position in order, -1 when absent
};

#endif
