#ifndef TAVRO_GL2D_GL2D_RECT_H
#define TAVRO_GL2D_GL2D_RECT_H

// A rectangle in pixels: left, top, width, height. As a clip it is the area where drawing is allowed.
struct GL2D_Rect {
	float x;
	float y;
	float w;
	float h;
};

// A colour with channels in 0..1.
struct GL2D_Color {
	float r;
	float g;
	float b;
	float a;
};

// Intersection of two optional rectangles. Only one given: out is a copy of it (true).
// Neither given: false. Rectangles that merely touch do not intersect. out may be null
// when only the answer is wanted.
bool IntersectRect(const GL2D_Rect *a, const GL2D_Rect *b, GL2D_Rect *out);

// The same on integers; out is written only when the rectangles intersect.
bool IntersectRectInt(
	int ax, int ay, int aw, int ah, int bx, int by, int bw, int bh, int &outX, int &outY, int &outW, int &outH);

#endif
