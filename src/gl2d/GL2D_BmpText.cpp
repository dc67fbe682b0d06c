#include "gl2d/GL2D_BmpText.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <string>

#include "core/LogFile.h"
#include "gl2d/GL2D_ImagePair.h"
#include "gl2d/GL2D_TextFile.h"

namespace {

// Space to underscore, then e grave where the grave accent would be, the lower case letters
// and braces, and e acute where DEL would be.
const char DEFAULT_ORDER[] = " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_"
							 "\xE8"
							 "abcdefghijklmnopqrstuvwxyz{|}~"
							 "\xE9";

// Region coordinates are 16-bit: x and y signed, w and h unsigned.
bool Fits16(long long x, long long y, long long w, long long h) {
	return x >= -32768 && x <= 32767 && y >= -32768 && y <= 32767 && w >= 0 && w <= 65535 && h >= 0 && h <= 65535;
}

} // namespace

GL2D_BmpText::GL2D_BmpText()
	: kerning(1), cursor(0), drawScale(1.0f), cellWidth(0), cellHeight(0), columns(1), originX(0), originY(0),
	  unused(0) {
	order[0] = '\0';
	SetCharOrder(DEFAULT_ORDER);
}

GL2D_BmpText::~GL2D_BmpText() {}

bool GL2D_BmpText::Load(const char *file) {
	GL2D_TextFile text;
	if (!text.Open(file)) {
		return false;
	}
	std::string imagePath, alphaPath, orderTail;
	int values[7]; // cell width, cell height, columns, unused, origin x, origin y, kerning
	bool read = text.NextWord(imagePath, GL2D_TextFile::MAX_FILE_NAME) &&
				text.NextWord(alphaPath, GL2D_TextFile::MAX_FILE_NAME) && text.NextWord(orderTail, MAX_ORDER - 1);
	for (int i = 0; read && i < 7; i++) {
		read = text.NextInt(values[i]);
	}
	if (!read) {
		Log(LOG_WARNING, "GL2D: %s lacks a field (or one is too long), refused", file);
		return false;
	}
	const int newCellWidth = values[0], newCellHeight = values[1], newColumns = values[2];
	const int newOriginX = values[4], newOriginY = values[5], newKerning = values[6];
	if (newCellWidth < 1 || newCellHeight < 1 || newColumns < 1 || newKerning < -MAX_KERNING ||
		newKerning > MAX_KERNING) {
		Log(LOG_WARNING, "GL2D: %s: cell size, columns or kerning out of range, refused", file);
		return false;
	}
	const std::string newOrder = " " + orderTail;
	const int glyphCount = static_cast<int>(newOrder.size());
	for (int i = 0; i < glyphCount; i++) {
		long long cx = newOriginX + static_cast<long long>(i % newColumns) * newCellWidth;
		long long cy = newOriginY + static_cast<long long>(i / newColumns) * newCellHeight;
		if (!Fits16(cx, cy, newCellWidth, newCellHeight)) {
			Log(LOG_WARNING, "GL2D: %s: glyph cells lie outside 16-bit coordinates, refused", file);
			return false;
		}
	}

	GL2D_ImagePair images;
	images.Load(imagePath, alphaPath);
	glyphs.Release();
	if (images.Oversized() || (images.Image() && !glyphs.CreateFromSurfaces(images.Image(), images.Alpha()))) {
		return false;
	}
	cellWidth = newCellWidth;
	cellHeight = newCellHeight;
	columns = newColumns;
	unused = values[3];
	originX = newOriginX;
	originY = newOriginY;
	kerning = newKerning;
	SetCharOrder(newOrder.c_str());
	for (int i = 0; i < glyphCount; i++) {
		glyphs.AddRegion(
			originX + (i % columns) * cellWidth, originY + (i / columns) * cellHeight, cellWidth, cellHeight);
	}
	return true;
}

bool GL2D_BmpText::SetCharOrder(const char *newOrder) {
	if (!newOrder) {
		newOrder = "";
	}
	if (newOrder != order) {
		strncpy(order, newOrder, MAX_ORDER);
		order[MAX_ORDER] = '\0';
	}
	std::fill(glyphIndex, glyphIndex + 256, static_cast<short>(-1));
	for (int i = static_cast<int>(strlen(order)) - 1; i >= 0; i--) {
		glyphIndex[static_cast<unsigned char>(order[i])] = static_cast<short>(i);
	}
	return true;
}

void GL2D_BmpText::SetKerning(int k) {
	assert(k >= -MAX_KERNING && k <= MAX_KERNING);
	kerning = std::max(-MAX_KERNING, std::min(MAX_KERNING, k));
}

int GL2D_BmpText::GlyphOf(unsigned char c) const {
	int glyph = glyphIndex[c];
	return glyph < glyphs.GetRegionCount() ? glyph : -1;
}

int GL2D_BmpText::Run(int count, bool draw) const {
	int advance = 0;
	for (int i = 0; i < count && text[i] != '\0'; i++) {
		// A character the font lacks neither draws nor advances.
		int glyph = GlyphOf(static_cast<unsigned char>(text[i]));
		if (glyph < 0) {
			continue;
		}
		const GL2D_Rect cell = glyphs.GetRegion(glyph);
		if (draw && drawScale == 1.0f) {
			glyphs.DrawRegion(glyph, static_cast<float>(x) + advance, static_cast<float>(y), clip);
		} else if (draw) {
			glyphs.DrawRegionScaled(
				glyph, x + advance + cell.w * drawScale * 0.5f, y + cell.h * drawScale * 0.5f, drawScale, drawScale);
		}
		advance = static_cast<int>((static_cast<float>(kerning) + cell.w) * drawScale + advance);
	}
	return advance;
}

int GL2D_BmpText::Write() {
	glyphs.BeginQuads();
	cursor = Run(MAX_TEXT, true);
	glyphs.EndQuads();
	return cursor;
}

int GL2D_BmpText::Write(int newX, int newY) {
	SetCoords(newX, newY);
	return Write();
}

int GL2D_BmpText::Write(int newX, int newY, const char *newText) {
	SetString(newText);
	return Write(newX, newY);
}

int GL2D_BmpText::Write(int newX, int newY, const char *newText, const GL2D_Rect *newClip, int scrollX, int scrollY) {
	SetClip(newClip);
	SetString(newText);
	return Write(newX - scrollX, newY - scrollY);
}

int GL2D_BmpText::GetCursorPos(int n) const {
	return n > 0 ? Run(n, false) : 0;
}

int GL2D_BmpText::GetFontWidth() const {
	return static_cast<int>(std::lround((cellWidth + kerning) * drawScale));
}

int GL2D_BmpText::GetFontHeight() const {
	return static_cast<int>(std::lround(cellHeight * drawScale));
}

void GL2D_BmpText::SetDrawScale(float scale) {
	drawScale = scale >= 0.25f ? std::min(scale, 8.0f) : (scale > 0.0f ? 0.25f : 1.0f);
	glyphs.SetSmooth(drawScale != 1.0f);
}

int GL2D_BmpText::GetTextWidth(const char *measured) const {
	return measured ? GetFontWidth() * static_cast<int>(strlen(measured)) : 0;
}
