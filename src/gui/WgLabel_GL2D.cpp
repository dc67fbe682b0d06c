#include "gui/WgLabel_GL2D.h"

#include <algorithm>

#include "gl2d/GL2D_BmpRect.h"
#include "gl2d/GL2D_BmpText.h"

namespace {

int ClampMargin(int value) {
	return std::max(-WgItem::MAX_SIZE, std::min(WgItem::MAX_SIZE, value));
}

// What a line covers on screen. A bitmap font's last glyph is followed by no kerning, and with
// a negative kerning its picture reaches past the advance: aligned by the advance alone, a
// right-aligned line would lose the end of its last letter to the clip.
int LineWidth(const GL2D_Font *font, const char *line) {
	const int width = font->GetTextWidth(line);
	const GL2D_BmpText *bitmapFont = dynamic_cast<const GL2D_BmpText *>(font);
	return bitmapFont && *line ? width - bitmapFont->GetKerning() : width;
}

} // namespace

WgLabel_GL2D::WgLabel_GL2D(const char *name)
	: WgLabel(name), verticalAlign(VALIGN_NONE), horizontalAlign(HALIGN_NONE), marginLeft(0), marginTop(0),
	  marginRight(0), marginBottom(0), scrollMode(false), currentFont(nullptr), firstLineX(0), blockY(0), textClip() {
	SetClassName("WgLabel_GL2D");
	for (GL2D_Color &color : colors) {
		color = GL2D_Color{1.0f, 1.0f, 1.0f, 1.0f};
	}
}

void WgLabel_GL2D::Draw(int originX, int originY, int frameTime) {
	WgItem::Draw(originX, originY, frameTime);
	const int state = StateIndex(GetStatus());
	GL2D_Font *font = fonts.Get(state);
	currentFont = font;

	const int left = originX + x + marginLeft;
	const int top = originY + y + marginTop;
	const int innerW = w - marginLeft - marginRight;
	const int innerH = h - marginTop - marginBottom;
	const int fontHeight = font ? std::max(0, font->GetFontHeight()) : 0;
	const int blockH = font ? (fontHeight + LINE_SPACING) * GetLineCount() : 0;

	// Right and bottom alignment come from the write's shifts below.
	blockY = verticalAlign == VALIGN_MIDDLE ? top - blockH / 2 + innerH / 2 : top;
	firstLineX = left;
	if (horizontalAlign == HALIGN_MIDDLE && GetLineCount() > 0 && font) {
		firstLineX = left - LineWidth(font, GetLine(0)) / 2 + innerW / 2;
	}

	const GL2D_Rect parentClip = ParentClipRect();
	if (GL2D_BmpRect *border = borders.Get(state)) {
		border->Draw(originX + x, originY + y, w, h, &parentClip);
	}
	int clipX = 0, clipY = 0, clipW = 0, clipH = 0;
	if (!font || !IntersectRectInt(left, top, innerW, innerH, parentClipX, parentClipY, parentClipW, parentClipH, clipX,
					 clipY, clipW, clipH)) {
		return;
	}
	textClip = GL2D_Rect{
		static_cast<float>(clipX), static_cast<float>(clipY), static_cast<float>(clipW), static_cast<float>(clipH)};
	const GL2D_Color &color = colors[state];
	font->SetColor(color.r, color.g, color.b, color.a);
	const GL2D_Rect *previousClip = font->GetClip();
	const int shiftY = verticalAlign == VALIGN_BOTTOM ? blockH - innerH : 0;
	for (int i = 0; i < GetLineCount(); i++) {
		const char *line = GetLine(i);
		const int lineW = LineWidth(font, line);
		int lineX = left;
		if (horizontalAlign == HALIGN_MIDDLE) {
			lineX = left - lineW / 2 + innerW / 2;
		}
		int shiftX = horizontalAlign == HALIGN_RIGHT ? lineW - innerW : 0;
		if (scrollMode && lineW > innerW) {
			shiftX = lineW - innerW;
		}
		font->Write(lineX, blockY + LINE_SPACING + i * fontHeight, line, &textClip, shiftX, shiftY);
	}
	// The font is shared; it must not keep pointing into this label.
	font->SetClip(previousClip);
}

void WgLabel_GL2D::GetCursorPos(int index, int *cursorX, int *cursorY) const {
	const GL2D_BmpText *text = dynamic_cast<const GL2D_BmpText *>(currentFont);
	const int advance = text ? text->GetCursorPos(std::max(0, index)) : 0;
	const int cx = advance <= w - marginRight ? firstLineX + advance : firstLineX - marginRight + w - 3;
	if (cursorX) {
		*cursorX = cx;
	}
	if (cursorY) {
		*cursorY = blockY + LINE_SPACING;
	}
}

void WgLabel_GL2D::ForgetObject(const void *object) {
	WgLabel::ForgetObject(object);
	fonts.Forget(object);
	borders.Forget(object);
	if (currentFont == object) {
		currentFont = nullptr;
	}
}

void WgLabel_GL2D::SetFontColor(int state, const GL2D_Color *color) {
	if (state >= 0 && state < GI_MAX_STATES && color) {
		colors[state] = *color;
	}
}

void WgLabel_GL2D::SetAlign(int vertical, int horizontal) {
	verticalAlign = vertical;
	horizontalAlign = horizontal;
}

void WgLabel_GL2D::SetMargin(int left, int top, int right, int bottom) {
	marginLeft = ClampMargin(left);
	marginTop = ClampMargin(top);
	marginRight = ClampMargin(right);
	marginBottom = ClampMargin(bottom);
}
