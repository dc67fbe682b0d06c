#ifndef TAVRO_GL2D_GL2D_TRUETYPETEXT_H
#define TAVRO_GL2D_GL2D_TRUETYPETEXT_H

#include <SDL/SDL_ttf.h>

#include "gl2d/GL2D_BmpText.h"

// A TrueType font (".ntf" file) rendered once through SDL_ttf into a glyph sheet of eight
// glyphs per row in the font's colour; from then on it writes exactly like a bitmap font.
class GL2D_TrueTypeText : public GL2D_BmpText {
public:
	static constexpr int MAX_POINT_SIZE = 256;
	static constexpr int GLYPHS_PER_ROW = 8;

	GL2D_TrueTypeText();
	~GL2D_TrueTypeText() override;

	// Reads a ".ntf" file: font file name, point size, colour key "r,g,b" (first value -1 for
	// none). The font is looked for beside the ".ntf" file, then in the system font directories.
	// The glyphs take the colour set before this call. False when the file cannot be opened,
	// a field is missing or out of range, the font is found nowhere or a glyph cannot be
	// rendered; nothing is kept then.
	bool Load(const char *file) override;

	// All three are -1 while no font is open. The width of a font is its height.
	int GetFontWidth() const override;
	int GetFontHeight() const override;
	int GetTextWidth(const char *text) const override;

	bool IsOpen() const { return font != nullptr; }
	// Number of TrueType font objects holding SDL_ttf initialised.
	static int GetLibraryUsers() { return libraryUsers; }

private:
	bool BuildSheet(const int *key);
	void CloseFont();

	TTF_Font *font;
	bool holdsLibrary; // this object counts among the SDL_ttf users

	// SDL_ttf stays initialised while any TrueType font object lives.
	static int libraryUsers;
};

#endif
