#ifndef TAVRO_TOOLS_CANVAS_H
#define TAVRO_TOOLS_CANVAS_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgba {
	float r = 0, g = 0, b = 0, a = 1;
	Rgba() = default;
	Rgba(float r_, float g_, float b_, float a_ = 1.0f) : r(r_), g(g_), b(b_), a(a_) {}
	static Rgba Hex(uint32_t rgb, float a = 1.0f);
	Rgba Alpha(float na) const { return Rgba(r, g, b, na); }
	Rgba Mix(const Rgba &o, float t) const;
	Rgba Scale(float k) const { return Rgba(r * k, g * k, b * k, a); }
};

struct Pt {
	float x, y;
};

// A floating-point RGBA picture with straight (not premultiplied) alpha. Shapes are filled from
// signed distance functions, which gives one-pixel anti-aliased edges everywhere.
class Canvas {
public:
	Canvas(int w, int h, Rgba fill = Rgba(0, 0, 0, 0));

	int W() const { return w; }
	int H() const { return h; }
	Rgba Get(int x, int y) const { return px[y * w + x]; }
	void Set(int x, int y, const Rgba &c) { px[y * w + x] = c; }
	void Blend(int x, int y, const Rgba &c);

	using Dist = std::function<float(float, float)>;
	using Paint = std::function<Rgba(float, float)>;
	// Fills the area where dist < 0 inside the box; paint gives the colour per pixel.
	void Fill(float x0, float y0, float x1, float y1, const Dist &dist, const Paint &paint, float soft = 1.0f);
	void Fill(float x0, float y0, float x1, float y1, const Dist &dist, Rgba c, float soft = 1.0f);

	void Circle(float cx, float cy, float r, Rgba c, float soft = 1.0f);
	void Ring(float cx, float cy, float r, float width, Rgba c);
	void Ellipse(float cx, float cy, float rx, float ry, Rgba c, float soft = 1.0f);
	void RoundRect(float x, float y, float w, float h, float radius, Rgba c, float soft = 1.0f);
	void Line(float x0, float y0, float x1, float y1, float width, Rgba c);
	void Polygon(const std::vector<Pt> &pts, Rgba c, float soft = 1.0f);
	// Polygon with an outline of the given width around it.
	void PolygonOutlined(const std::vector<Pt> &pts, Rgba fill, Rgba outline, float width);
	void Arc(float cx, float cy, float r, float a0, float a1, float width, Rgba c);
	void Star(float cx, float cy, float rOut, float rIn, int points, float rot, Rgba c);

	// Pastes another canvas with "over" compositing, scaled by k (bilinear), top-left at (x, y).
	void Draw(const Canvas &src, float x, float y, float k = 1.0f, float opacity = 1.0f);
	// Multiplies alpha by a mask canvas's alpha (same size).
	void MaskBy(const Canvas &mask);
	// Soft drop shadow of this picture's alpha, drawn behind it.
	void AddShadow(float dx, float dy, float radius, Rgba c);
	// Expands the alpha into a solid outline behind the picture.
	void AddOutline(float radius, Rgba c);
	Canvas Resized(int nw, int nh) const;

	// Windows BMP writers. Colour as 24 bits; premultiplied for the 2D library's blending.
	bool SaveBmp24(const std::string &path, bool premultiply) const;
	bool SaveAlphaBmp8(const std::string &path) const;
	// 32-bit BMP for model textures with alpha, which the scene blends with the source alpha: the
	// colour is straight, and clear texels carry the colour around them, because PLIB's mipmaps
	// average colour unweighted and keep the largest alpha of each block.
	bool SaveBmp32(const std::string &path) const;
	// A PNG with straight alpha, for the desktop's icons.
	bool SavePng(const std::string &path) const;

	static float SdCircle(float x, float y, float cx, float cy, float r);
	static float SdBox(float x, float y, float cx, float cy, float hw, float hh, float radius);
	static float SdSegment(float x, float y, float ax, float ay, float bx, float by);
	static float SdPolygon(float x, float y, const std::vector<Pt> &pts);

private:
	int w, h;
	std::vector<Rgba> px;
};

float Clamp01(float v);
float Smooth(float e0, float e1, float x);

// Deterministic pseudo-random numbers (fixed seeds everywhere).
class Rng {
public:
	explicit Rng(uint32_t seed) : s(seed ? seed : 1) {}
	uint32_t Next() {
		s ^= s << 13;
		s ^= s >> 17;
		s ^= s << 5;
		return s;
	}
	float Uni() { return (Next() & 0xFFFFFF) / float(0x1000000); }
	float Sym() { return Uni() * 2.0f - 1.0f; }
	int Int(int n) { return int(Next() % uint32_t(n)); }

private:
	uint32_t s;
};

#endif
