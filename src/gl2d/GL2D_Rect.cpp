#include "gl2d/GL2D_Rect.h"

#include <algorithm>

bool IntersectRect(const GL2D_Rect *a, const GL2D_Rect *b, GL2D_Rect *out) {
	if (!a && !b) {
		return false;
	}
	if (!a || !b) {
		if (out) {
			*out = a ? *a : *b;
		}
		return true;
	}
	if (b->y + b->h <= a->y || b->x + b->w <= a->x || a->y + a->h <= b->y || a->x + a->w <= b->x) {
		return false;
	}
	if (out) {
		// Built aside first: out may be a or b.
		GL2D_Rect cut;
		cut.x = std::max(a->x, b->x);
		cut.y = std::max(a->y, b->y);
		cut.w = std::min(a->x + a->w, b->x + b->w) - cut.x;
		cut.h = std::min(a->y + a->h, b->y + b->h) - cut.y;
		*out = cut;
	}
	return true;
}

bool IntersectRectInt(
	int ax, int ay, int aw, int ah, int bx, int by, int bw, int bh, int &outX, int &outY, int &outW, int &outH) {
	if (ay >= by + bh || ax >= bx + bw || ay + ah <= by || ax + aw <= bx) {
		return false;
	}
	outX = std::max(ax, bx);
	outY = std::max(ay, by);
	outW = std::min(ax + aw, bx + bw) - outX;
	outH = std::min(ay + ah, by + bh) - outY;
	return true;
}
