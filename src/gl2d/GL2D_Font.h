#ifndef TAVRO_GL2D_GL2D_FONT_H
#define TAVRO_GL2D_GL2D_FONT_H

#include "gl2d/GL2D_Rect.h"

// What every font holds for its next write: text, position, colour and clip.
class GL2D_Font {
public:
	static constexpr int MAX_TEXT = 255; // characters, single-byte

	GL2D_Font();
	virtual ~GL2D_Font();
	GL2D_Font(const GL2D_Font &) = delete;
	GL2D_Font &operator=(const GL2D_Font &) = delete;

	virtual bool Load(const char *file) = 0;
	// Each returns the advance of the text drawn, in pixels.
	virtual int Write(int x, int y, const char *text, const GL2D_Rect *clip, int scrollX, int scrollY) = 0;
	virtual int Write(int x, int y, const char *text) = 0;
	virtual int Write(int x, int y) = 0;
	virtual int Write() = 0;
	virtual int GetFontWidth() const = 0;
	virtual int GetFontHeight() const = 0;
	virtual int GetTextWidth(const char *text) const = 0;

	// Longer texts are cut to MAX_TEXT characters; null is the empty text.
	void SetString(const char *text);
	void SetCoords(int x, int y);
	void SetColor(float r, float g, float b, float a);
	// Not owned; stays in force for every later write until changed. Null for none.
	void SetClip(const GL2D_Rect *clip);

	const char *GetString() const { return text; }
	int GetX() const { return x; }
	int GetY() const { return y; }
	const GL2D_Color &GetColor() const { return color; }
	const GL2D_Rect *GetClip() const { return clip; }

protected:
	int x; // pixels, left of the first glyph
	int y; // pixels, top of the first glyph
	char text[MAX_TEXT + 1];
	GL2D_Color color;
	const GL2D_Rect *clip;
};

#endif
