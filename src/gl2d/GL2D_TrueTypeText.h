#ifndef TAVRO_GL2D_GL2D_TRUETYPETEXT_H
#define TAVRO_GL2D_GL2D_TRUETYPETEXT_H

#include <SDL/SDL_ttf.h>

#include "gl2d/GL2D_BmpText.h"

// A TrueType font (".ntf" file) rendered once through SDL_ttf into a glyph sheet of eight
// glyphs per row in the font's colour; from then on it writes exactly like a bitmap font.
// A font with an outline is rendered smooth (blended edges) with a dark ring round each glyph;
// one without keeps the hard-edged glyphs over the colour key.
class GL2D_TrueTypeText : public GL2D_BmpText {
public:
	static constexpr int MAX_POINT_SIZE = 256;
	static constexpr int GLYPHS_PER_ROW = 8;
	static constexpr float MIN_SCALE = 0.25f; // of the sizes in the file
	static constexpr float MAX_SCALE = 8.0f;
	static constexpr float MAX_OUTLINE = 16.0f; // pixels, before scaling

	GL2D_TrueTypeText();
	~GL2D_TrueTypeText() override;

	// Reads a ".ntf" file: font file name, point size, colour key "r,g,b" (first value -1 for
	// none) and, optionally, the width of a dark outline in pixels and the colour "r,g,b" the
	// letters fade to at their foot. The point size and the
	// outline are multiplied by the scale set before. The font is looked for beside the ".ntf" file, then in the system font directories.
	// The glyphs take the colour set before this call. False when the file cannot be opened,
	// a field is missing or out of range, the font is found nowhere or a glyph cannot be
	// rendered; nothing is kept then.
	bool Load(const char *file) override;

	// All three are -1 while no font is open. The width of a font is its height.
	int GetFontWidth() const override;
	int GetFontHeight() const override;
	int GetTextWidth(const char *text) const override;

	// Held between MIN_SCALE and MAX_SCALE; takes effect at the next Load.
	void SetScale(float scale);
	// The scale as SetScale holds it; NaN gives 1.
	static float HeldScale(float scale);
	float GetScale() const { return scale; }
	int GetPointSize() const { return pointSize; }
	int GetOutline() const { return outline; }

	bool IsOpen() const { return font != nullptr; }
	// Number of TrueType font objects holding SDL_ttf initialised.
	static int GetLibraryUsers() { return libraryUsers; }

private:
	// The letters a sheet holds, a glyph's height and the rows they take.
	struct SheetShape {
		const char *chars;
		int count, height, rows; // letters, pixels, rows
	};
	// False when there is nothing to lay out.
	bool MeasureSheet(SheetShape &shape) const;
	bool BuildSheet(const int *key);
	// The glyphs rendered smooth, each with its outline, into an image and its alpha.
	bool BuildOutlinedSheet();
	bool SheetFits(long long sheetWidth, long long sheetHeight) const;
	// The glyphs side by side, GLYPHS_PER_ROW to a row of the given height.
	void AddGlyphRegions(const int *widths, int count, int height);
	void CloseFont();

	TTF_Font *font;
	bool holdsLibrary; // this object counts among the SDL_ttf users
	float scale;       // of the point size and outline in the file
	int pointSize;     // points, as opened
	int outline;       // pixels round each glyph, as rendered; 0 for none
	bool shaded;       // the letters fade to shadeColor towards their foot
	int shadeColor[3]; // 0 to 255

	// SDL_ttf stays initialised while any TrueType font object lives.
	static int libraryUsers;
};

#endif
