// The four characters, drawn with simple shapes in unit coordinates so that the same drawing makes the
// disc face, the small portrait and the large one.
#include "Gen.h"

#include <cmath>

namespace {

struct Pen {
	Canvas &c;
	float cx, cy, r;
	float X(float u) const { return cx + u * r; }
	float Y(float v) const { return cy + v * r; }
	float S(float s) const { return s * r; }
	void Circle(float u, float v, float rad, Rgba col) const { c.Circle(X(u), Y(v), S(rad), col); }
	void Ellipse(float u, float v, float rx, float ry, Rgba col) const { c.Ellipse(X(u), Y(v), S(rx), S(ry), col); }
	void Line(float u0, float v0, float u1, float v1, float w, Rgba col) const {
		c.Line(X(u0), Y(v0), X(u1), Y(v1), S(w), col);
	}
	void Poly(std::vector<Pt> pts, Rgba col) const {
		for (Pt &p : pts)
			p = {X(p.x), Y(p.y)};
		c.Polygon(pts, col);
	}
	void PolyOutlined(std::vector<Pt> pts, Rgba col, Rgba line, float w) const {
		for (Pt &p : pts)
			p = {X(p.x), Y(p.y)};
		c.PolygonOutlined(pts, col, line, S(w));
	}
	void Arc(float u, float v, float rad, float a0, float a1, float w, Rgba col) const {
		c.Arc(X(u), Y(v), S(rad), a0, a1, S(w), col);
	}
	void Outlined(float u, float v, float rx, float ry, Rgba col, float w = 0.03f) const {
		c.Ellipse(X(u), Y(v), S(rx + w), S(ry + w), kInk);
		c.Ellipse(X(u), Y(v), S(rx), S(ry), col);
	}
	static const Rgba kInk;
};

const Rgba Pen::kInk = Rgba::Hex(0x1A1020);
const Rgba kWhite = Rgba(1, 1, 1);

// Wavy blob: an ellipse whose radius wobbles, for hair and clouds.
std::vector<Pt> Blob(float u, float v, float rx, float ry, int lobes, float depth, float phase, float a0 = 0,
	float a1 = 2 * float(M_PI)) {
	std::vector<Pt> pts;
	int n = 96;
	for (int i = 0; i <= n; i++) {
		float a = a0 + (a1 - a0) * i / n;
		float k = 1 + depth * std::cos(a * lobes + phase);
		pts.push_back({u + std::cos(a) * rx * k, v + std::sin(a) * ry * k});
	}
	return pts;
}

void Face(const Pen &p, Rgba skin, float u, float v, float rx, float ry) {
	p.Outlined(u - rx * 0.98f, v + 0.02f, 0.09f, 0.12f, skin); // ears
	p.Outlined(u + rx * 0.98f, v + 0.02f, 0.09f, 0.12f, skin);
	p.Outlined(u, v, rx, ry, skin);
	p.Ellipse(u - rx * 0.3f, v - ry * 0.45f, rx * 0.35f, ry * 0.18f, kWhite.Alpha(0.18f)); // shine
}

void Eye(const Pen &p, float u, float v, float size, Rgba iris, float look = 0.0f) {
	p.Outlined(u, v, size * 0.8f, size, kWhite, 0.025f);
	p.Circle(u + look * size * 0.3f, v + size * 0.15f, size * 0.55f, iris);
	p.Circle(u + look * size * 0.3f, v + size * 0.15f, size * 0.3f, Pen::kInk);
	p.Circle(u + look * size * 0.3f - size * 0.2f, v - size * 0.1f, size * 0.18f, kWhite);
}

void Smile(const Pen &p, float u, float v, float w, float open) {
	std::vector<Pt> mouth;
	for (int i = 0; i <= 20; i++) {
		float t = float(M_PI) * i / 20;
		mouth.push_back({u - w * std::cos(t), v + open * std::sin(t)});
	}
	p.PolyOutlined(mouth, Rgba::Hex(0x8C1C2A), Pen::kInk, 0.025f);
	p.Ellipse(u, v + open * 0.7f, w * 0.5f, open * 0.25f, Rgba::Hex(0xF0707A)); // tongue
	p.Poly({{u - w * 0.8f, v}, {u + w * 0.8f, v}, {u + w * 0.7f, v + open * 0.25f}, {u - w * 0.7f, v + open * 0.25f}},
		kWhite); // teeth
}

void Background(const Pen &p, Rgba inner, Rgba outer, int rays, Rgba rayCol) {
	Canvas &c = p.c;
	float cx = p.cx, cy = p.cy, r = p.r;
	c.Fill(
		cx - r, cy - r, cx + r, cy + r, [=](float x, float y) { return Canvas::SdCircle(x, y, cx, cy, r); },
		[=](float x, float y) {
			float d = std::hypot(x - cx, y - cy) / r;
			Rgba col = inner.Mix(outer, Smooth(0.0f, 1.0f, d));
			if (rays > 0) {
				float a = std::atan2(y - cy, x - cx);
				if (std::sin(a * rays) > 0)
					col = col.Mix(rayCol, 0.35f * Smooth(0.15f, 0.5f, d));
			}
			return col;
		});
}

void Hippy(const Pen &p, bool bg) {
	Rgba hair = Rgba::Hex(0x8A4B1F), skin = Rgba::Hex(0xF6C79B);
	if (bg) {
		Background(p, Rgba::Hex(0xB6F04A), Rgba::Hex(0x2E9E3A), 12, Rgba::Hex(0xFFF27A));
		for (int i = 0; i < 6; i++) { // little flowers on the background
			float a = i * 1.05f + 0.3f;
			float u = 0.8f * std::cos(a), v = 0.8f * std::sin(a);
			if (v < -0.1f || v > 0.5f) {
				for (int k = 0; k < 5; k++)
					p.Circle(u + 0.07f * std::cos(k * 1.2566f), v + 0.07f * std::sin(k * 1.2566f), 0.06f,
						Rgba::Hex(0xFFFFFF));
				p.Circle(u, v, 0.045f, Rgba::Hex(0xFFC928));
			}
		}
	}
	// Long hair falling behind the face.
	p.PolyOutlined(Blob(0, 0.15f, 0.72f, 0.8f, 11, 0.05f, 0.0f), hair, Pen::kInk, 0.03f);
	p.Poly({{-0.62f, 0.1f}, {-0.7f, 0.95f}, {-0.3f, 0.9f}, {0.3f, 0.9f}, {0.7f, 0.95f}, {0.62f, 0.1f}}, hair);
	// Body: tie-dye shirt.
	p.PolyOutlined({{-0.75f, 1.1f}, {-0.6f, 0.78f}, {-0.2f, 0.68f}, {0.2f, 0.68f}, {0.6f, 0.78f}, {0.75f, 1.1f}},
		Rgba::Hex(0xFF8A1C), Pen::kInk, 0.03f);
	p.Circle(-0.3f, 0.9f, 0.12f, Rgba::Hex(0xFF3FA4));
	p.Circle(0.35f, 0.88f, 0.1f, Rgba::Hex(0x3FC8FF));
	Face(p, skin, 0, 0.05f, 0.46f, 0.54f);
	// Beard and moustache.
	p.PolyOutlined(Blob(0, 0.42f, 0.3f, 0.2f, 9, 0.08f, 0.5f, 0, float(M_PI)), hair, Pen::kInk, 0.02f);
	p.Ellipse(-0.11f, 0.26f, 0.13f, 0.05f, hair);
	p.Ellipse(0.11f, 0.26f, 0.13f, 0.05f, hair);
	Smile(p, 0, 0.33f, 0.14f, 0.08f);
	// Round orange sunglasses.
	p.Line(-0.42f, -0.02f, 0.42f, -0.02f, 0.035f, Pen::kInk);
	for (float s : {-1.0f, 1.0f}) {
		p.Circle(s * 0.2f, 0.0f, 0.17f, Pen::kInk);
		p.Circle(s * 0.2f, 0.0f, 0.14f, Rgba::Hex(0xFF9A2A));
		p.Circle(s * 0.2f - 0.05f, -0.05f, 0.045f, Rgba(1, 1, 0.8f, 0.8f));
	}
	p.Ellipse(0, 0.13f, 0.06f, 0.07f, skin.Scale(0.9f)); // nose
	// Headband with a flower.
	p.PolyOutlined(
		{{-0.5f, -0.33f}, {0.5f, -0.33f}, {0.48f, -0.22f}, {-0.48f, -0.22f}}, Rgba::Hex(0xE8262A), Pen::kInk, 0.02f);
	for (int k = 0; k < 6; k++)
		p.Circle(
			0.42f + 0.09f * std::cos(k * 1.047f), -0.36f + 0.09f * std::sin(k * 1.047f), 0.065f, Rgba::Hex(0xFFE53A));
	p.Circle(0.42f, -0.36f, 0.06f, Rgba::Hex(0xFF6A00));
	// Hair parting over the forehead.
	p.PolyOutlined(Blob(0, -0.5f, 0.5f, 0.2f, 7, 0.06f, 1.0f, float(M_PI), 2 * float(M_PI)), hair, Pen::kInk, 0.02f);
}

void Johnny(const Pen &p, bool bg) {
	Rgba hair = Rgba::Hex(0x14141C), skin = Rgba::Hex(0xE9B184);
	if (bg) {
		Background(p, Rgba::Hex(0xFFD23A), Rgba::Hex(0xE0301E), 8, Rgba::Hex(0xFF7A2A));
		for (int i = 0; i < 3; i++) // lightning flashes
			p.Poly({{-0.85f + i * 0.05f, -0.35f + i * 0.3f}, {-0.65f, -0.42f + i * 0.3f}, {-0.72f, -0.32f + i * 0.3f},
					   {-0.58f, -0.3f + i * 0.3f}, {-0.8f, -0.18f + i * 0.3f}, {-0.74f, -0.3f + i * 0.3f}},
				Rgba::Hex(0xFFF6B0));
	}
	// Leather jacket with a raised collar.
	p.PolyOutlined({{-0.85f, 1.1f}, {-0.7f, 0.72f}, {-0.25f, 0.62f}, {0.25f, 0.62f}, {0.7f, 0.72f}, {0.85f, 1.1f}},
		Rgba::Hex(0x2A2A36), Pen::kInk, 0.03f);
	p.Poly({{-0.2f, 0.66f}, {0, 1.0f}, {0.2f, 0.66f}}, Rgba::Hex(0xFFFFFF));
	p.Line(-0.55f, 0.8f, -0.4f, 0.95f, 0.03f, Rgba(1, 1, 1, 0.5f));
	p.PolyOutlined(
		{{-0.42f, 0.55f}, {-0.18f, 0.7f}, {-0.35f, 0.95f}, {-0.62f, 0.75f}}, Rgba::Hex(0x3A3A4A), Pen::kInk, 0.02f);
	p.PolyOutlined(
		{{0.42f, 0.55f}, {0.18f, 0.7f}, {0.35f, 0.95f}, {0.62f, 0.75f}}, Rgba::Hex(0x3A3A4A), Pen::kInk, 0.02f);
	// Square jaw.
	p.c.Fill(
		p.X(-0.5f), p.Y(-0.55f), p.X(0.5f), p.Y(0.65f),
		[&](float x, float y) {
			return Canvas::SdBox(x, y, p.X(0), p.Y(0.05f), p.S(0.44f), p.S(0.56f), p.S(0.2f)) - p.S(0.03f);
		},
		Pen::kInk);
	p.Outlined(-0.44f, 0.05f, 0.09f, 0.12f, skin);
	p.Outlined(0.44f, 0.05f, 0.09f, 0.12f, skin);
	p.c.Fill(
		p.X(-0.5f), p.Y(-0.55f), p.X(0.5f), p.Y(0.65f),
		[&](float x, float y) { return Canvas::SdBox(x, y, p.X(0), p.Y(0.05f), p.S(0.44f), p.S(0.56f), p.S(0.2f)); },
		skin);
	// Sideburns.
	p.Poly({{-0.44f, -0.15f}, {-0.36f, -0.15f}, {-0.36f, 0.22f}, {-0.44f, 0.16f}}, hair);
	p.Poly({{0.44f, -0.15f}, {0.36f, -0.15f}, {0.36f, 0.22f}, {0.44f, 0.16f}}, hair);
	// Smirk.
	p.Arc(0.02f, 0.2f, 0.2f, 0.35f, 2.4f, 0.045f, Pen::kInk);
	p.Line(0.2f, 0.26f, 0.26f, 0.22f, 0.04f, Pen::kInk);
	p.Ellipse(0, 0.12f, 0.06f, 0.05f, skin.Scale(0.88f));
	// Dark shades.
	for (float s : {-1.0f, 1.0f})
		p.PolyOutlined({{s * 0.04f, -0.08f}, {s * 0.4f, -0.1f}, {s * 0.36f, 0.06f}, {s * 0.08f, 0.07f}},
			Rgba::Hex(0x101018), Pen::kInk, 0.02f);
	p.Line(-0.3f, -0.06f, -0.18f, -0.06f, 0.025f, Rgba(1, 1, 1, 0.6f));
	p.Line(0.16f, -0.06f, 0.28f, -0.06f, 0.025f, Rgba(1, 1, 1, 0.6f));
	// The quiff: a big glossy wave over the forehead.
	std::vector<Pt> quiff = {{-0.48f, -0.08f}, {-0.5f, -0.45f}, {-0.3f, -0.7f}, {0.05f, -0.82f}, {0.45f, -0.8f},
		{0.75f, -0.6f}, {0.62f, -0.55f}, {0.5f, -0.42f}, {0.46f, -0.1f}, {0.36f, -0.3f}, {-0.1f, -0.34f},
		{-0.36f, -0.3f}};
	p.PolyOutlined(quiff, hair, Pen::kInk, 0.03f);
	p.Arc(0.1f, -0.45f, 0.3f, 3.6f, 5.2f, 0.04f, Rgba::Hex(0x6A7AA8));
	p.Arc(0.2f, -0.5f, 0.38f, 3.9f, 5.5f, 0.03f, Rgba::Hex(0x4A5A88));
}

void Babe(const Pen &p, bool bg) {
	Rgba hair = Rgba::Hex(0xFFD23E), hairDark = Rgba::Hex(0xE0A020), skin = Rgba::Hex(0xFFD7BA);
	if (bg) {
		Background(p, Rgba::Hex(0xFFC4E4), Rgba::Hex(0xE8449A), 0, Rgba());
		for (int i = 0; i < 7; i++) { // hearts
			float a = i * 0.9f + 0.5f, u = 0.78f * std::cos(a), v = 0.78f * std::sin(a);
			if (v > 0.45f)
				continue;
			p.Circle(u - 0.035f, v, 0.045f, Rgba::Hex(0xFFFFFF, 0.8f));
			p.Circle(u + 0.035f, v, 0.045f, Rgba::Hex(0xFFFFFF, 0.8f));
			p.Poly({{u - 0.078f, v + 0.01f}, {u + 0.078f, v + 0.01f}, {u, v + 0.1f}}, Rgba::Hex(0xFFFFFF, 0.8f));
		}
	}
	// Big wavy blonde hair.
	p.PolyOutlined(Blob(0, 0.12f, 0.78f, 0.86f, 13, 0.06f, 0.4f), hair, Pen::kInk, 0.03f);
	for (float s : {-1.0f, 1.0f})
		p.Arc(s * 0.55f, 0.4f, 0.2f, s > 0 ? 4.0f : 0.2f, s > 0 ? 5.8f : 2.0f, 0.03f, hairDark);
	// Dress.
	p.PolyOutlined({{-0.7f, 1.1f}, {-0.55f, 0.8f}, {-0.2f, 0.7f}, {0.2f, 0.7f}, {0.55f, 0.8f}, {0.7f, 1.1f}},
		Rgba::Hex(0xB23AE8), Pen::kInk, 0.03f);
	p.Poly({{-0.14f, 0.7f}, {0, 0.82f}, {0.14f, 0.7f}}, skin);
	Face(p, skin, 0, 0.05f, 0.44f, 0.52f);
	// Fringe.
	p.PolyOutlined(Blob(0.05f, -0.38f, 0.5f, 0.24f, 6, 0.1f, 0.0f, float(M_PI) * 0.95f, float(M_PI) * 2.05f), hair,
		Pen::kInk, 0.02f);
	p.Poly({{-0.45f, -0.38f}, {0.5f, -0.38f}, {0.3f, -0.22f}, {0.05f, -0.3f}, {-0.2f, -0.2f}}, hair);
	// Eyes with lashes.
	for (float s : {-1.0f, 1.0f}) {
		Eye(p, s * 0.18f, 0.0f, 0.13f, Rgba::Hex(0x2E8CFF));
		for (int k = 0; k < 3; k++) {
			float a = -float(M_PI) / 2 + s * (0.35f + k * 0.3f);
			p.Line(s * 0.18f + 0.1f * std::cos(a), -0.11f + 0.1f * std::sin(a), s * 0.18f + 0.17f * std::cos(a),
				-0.11f + 0.17f * std::sin(a), 0.03f, Pen::kInk);
		}
		p.Ellipse(s * 0.3f, 0.2f, 0.09f, 0.05f, Rgba::Hex(0xFF6A8A, 0.55f)); // blush
	}
	p.Arc(0, 0.12f, 0.04f, 0.3f, 2.8f, 0.025f, skin.Scale(0.75f));
	// Red lips.
	p.PolyOutlined(
		{{-0.13f, 0.3f}, {-0.05f, 0.26f}, {0, 0.28f}, {0.05f, 0.26f}, {0.13f, 0.3f}, {0.05f, 0.36f}, {-0.05f, 0.36f}},
		Rgba::Hex(0xE8143C), Pen::kInk, 0.018f);
	p.Ellipse(-0.03f, 0.33f, 0.03f, 0.012f, Rgba(1, 1, 1, 0.7f));
	// Bow.
	Rgba bow = Rgba::Hex(0xFF2E8A);
	p.PolyOutlined({{0.3f, -0.62f}, {0.58f, -0.8f}, {0.62f, -0.45f}}, bow, Pen::kInk, 0.025f);
	p.PolyOutlined({{0.3f, -0.62f}, {0.05f, -0.82f}, {0.02f, -0.45f}}, bow, Pen::kInk, 0.025f);
	p.Outlined(0.3f, -0.62f, 0.07f, 0.07f, bow.Scale(0.85f), 0.02f);
	p.Circle(0.47f, 0.3f, 0.04f, Rgba::Hex(0x9AF0FF)); // earring
}

void Webby(const Pen &p, bool bg) {
	Rgba body = Rgba::Hex(0x2B2F6E), belly = Rgba::Hex(0x4A56C8);
	if (bg) {
		Background(p, Rgba::Hex(0xD7B8FF), Rgba::Hex(0x6A2CB8), 0, Rgba());
		Rgba web = Rgba(1, 1, 1, 0.75f);
		for (int i = 0; i < 12; i++) {
			float a = i * float(M_PI) / 6;
			p.Line(0, 0, 1.0f * std::cos(a), 1.0f * std::sin(a), 0.015f, web);
		}
		for (int ring = 1; ring <= 5; ring++) {
			float rr = ring * 0.19f;
			for (int i = 0; i < 12; i++) {
				float a0 = i * float(M_PI) / 6, a1 = (i + 1) * float(M_PI) / 6;
				p.Line(rr * std::cos(a0), rr * std::sin(a0), rr * 0.92f * std::cos((a0 + a1) / 2),
					rr * 0.92f * std::sin((a0 + a1) / 2), 0.013f, web);
				p.Line(rr * 0.92f * std::cos((a0 + a1) / 2), rr * 0.92f * std::sin((a0 + a1) / 2), rr * std::cos(a1),
					rr * std::sin(a1), 0.013f, web);
			}
		}
	}
	// Eight bent legs.
	for (float s : {-1.0f, 1.0f})
		for (int k = 0; k < 4; k++) {
			float y0 = -0.2f + k * 0.17f;
			float kx = s * 0.78f, ky = y0 - 0.28f + k * 0.1f;
			float fx = s * 0.92f, fy = y0 + 0.25f + k * 0.08f;
			p.Line(s * 0.3f, y0, kx, ky, 0.1f, Pen::kInk);
			p.Line(kx, ky, fx, fy, 0.09f, Pen::kInk);
			p.Line(s * 0.3f, y0, kx, ky, 0.06f, body);
			p.Line(kx, ky, fx, fy, 0.05f, body);
			p.Circle(kx, ky, 0.035f, Rgba::Hex(0xFF4FD8));
		}
	// Round fuzzy body with a belly.
	p.PolyOutlined(Blob(0, 0.08f, 0.5f, 0.55f, 24, 0.025f, 0), body, Pen::kInk, 0.03f);
	p.Ellipse(0, 0.3f, 0.3f, 0.25f, belly);
	p.Ellipse(-0.18f, -0.2f, 0.12f, 0.08f, Rgba(1, 1, 1, 0.2f));
	// Two big eyes and four small ones.
	Eye(p, -0.16f, -0.05f, 0.15f, Rgba::Hex(0x39FF6A), 0.3f);
	Eye(p, 0.16f, -0.05f, 0.15f, Rgba::Hex(0x39FF6A), 0.3f);
	for (float s : {-1.0f, 1.0f}) {
		p.Outlined(s * 0.1f, -0.3f, 0.045f, 0.05f, Rgba::Hex(0xFF4FD8), 0.015f);
		p.Outlined(s * 0.3f, -0.25f, 0.04f, 0.045f, Rgba::Hex(0xFF4FD8), 0.015f);
	}
	// Grin with two fangs.
	p.Arc(0, 0.12f, 0.16f, 0.4f, 2.75f, 0.04f, Pen::kInk);
	p.Poly({{-0.1f, 0.25f}, {-0.04f, 0.26f}, {-0.07f, 0.36f}}, kWhite);
	p.Poly({{0.1f, 0.25f}, {0.04f, 0.26f}, {0.07f, 0.36f}}, kWhite);
}

} // namespace

Rgba CharacterColour(const std::string &name) {
	if (name == "hippy")
		return Rgba::Hex(0x2E9E3A);
	if (name == "johnny")
		return Rgba::Hex(0xE0301E);
	if (name == "babe")
		return Rgba::Hex(0xE8449A);
	return Rgba::Hex(0x6A2CB8);
}

void DrawCharacter(Canvas &c, const std::string &name, float cx, float cy, float r, bool background) {
	// Drawn on a layer and clipped to the circle, so clothes and legs never leave the badge.
	int size = int(std::ceil(r * 2)) + 2;
	Canvas layer(size, size);
	Pen p{layer, size / 2.0f, size / 2.0f, r};
	if (name == "hippy")
		Hippy(p, background);
	else if (name == "johnny")
		Johnny(p, background);
	else if (name == "babe")
		Babe(p, background);
	else
		Webby(p, background);
	Canvas mask(size, size);
	mask.Circle(size / 2.0f, size / 2.0f, r, Rgba(1, 1, 1));
	layer.MaskBy(mask);
	c.Draw(layer, cx - size / 2.0f, cy - size / 2.0f);
}
