#include "gl2d/GL2D_Font.h"

#include <cstring>

GL2D_Font::GL2D_Font() : x(0), y(0), clip(nullptr) {
	text[0] = '\0';
	color.r = color.g = color.b = color.a = 1.0f;
}

GL2D_Font::~GL2D_Font() {}

void GL2D_Font::SetString(const char *newText) {
	if (!newText) {
		text[0] = '\0';
		return;
	}
	if (newText == text) {
		return;
	}
	strncpy(text, newText, MAX_TEXT);
	text[MAX_TEXT] = '\0';
}

void GL2D_Font::SetCoords(int newX, int newY) {
	x = newX;
	y = newY;
}

void GL2D_Font::SetColor(float r, float g, float b, float a) {
	color.r = r;
	color.g = g;
	color.b = b;
	color.a = a;
}

void GL2D_Font::SetClip(const GL2D_Rect *newClip) {
	clip = newClip;
}
