#include "Canvas.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

float Clamp01(float v) {
	return v < 0 ? 0 : (v > 1 ? 1 : v);
}

float Smooth(float e0, float e1, float x) {
	float t = Clamp01((x - e0) / (e1 - e0));
	return t * t * (3 - 2 * t);
}

Rgba Rgba::Hex(uint32_t rgb, float a) {
	return Rgba(((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, a);
}

Rgba Rgba::Mix(const Rgba &o, float t) const {
	return Rgba(r + (o.r - r) * t, g + (o.g - g) * t, b + (o.b - b) * t, a + (o.a - a) * t);
}

Canvas::Canvas(int w_, int h_, Rgba fill) : w(w_), h(h_), px(size_t(w_) * h_, fill) {}

void Canvas::Blend(int x, int y, const Rgba &c) {
	if (x < 0 || y < 0 || x >= w || y >= h || c.a <= 0)
		return;
	Rgba &d = px[y * w + x];
	float oa = c.a + d.a * (1 - c.a);
	if (oa <= 0)
		return;
	float kd = d.a * (1 - c.a);
	d.r = (c.r * c.a + d.r * kd) / oa;
	d.g = (c.g * c.a + d.g * kd) / oa;
	d.b = (c.b * c.a + d.b * kd) / oa;
	d.a = oa;
}

void Canvas::Fill(float x0, float y0, float x1, float y1, const Dist &dist, const Paint &paint, float soft) {
	int ix0 = std::max(0, int(std::floor(x0 - soft - 1)));
	int iy0 = std::max(0, int(std::floor(y0 - soft - 1)));
	int ix1 = std::min(w - 1, int(std::ceil(x1 + soft + 1)));
	int iy1 = std::min(h - 1, int(std::ceil(y1 + soft + 1)));
	for (int y = iy0; y <= iy1; y++) {
		for (int x = ix0; x <= ix1; x++) {
			float fx = x + 0.5f, fy = y + 0.5f;
			float d = dist(fx, fy);
			float cov = Clamp01(0.5f - d / soft);
			if (cov <= 0)
				continue;
			Rgba c = paint(fx, fy);
			c.a *= cov;
			Blend(x, y, c);
		}
	}
}

void Canvas::Fill(float x0, float y0, float x1, float y1, const Dist &dist, Rgba c, float soft) {
	Fill(
		x0, y0, x1, y1, dist, [c](float, float) { return c; }, soft);
}

float Canvas::SdCircle(float x, float y, float cx, float cy, float r) {
	return std::hypot(x - cx, y - cy) - r;
}

float Canvas::SdBox(float x, float y, float cx, float cy, float hw, float hh, float radius) {
	float qx = std::fabs(x - cx) - hw + radius;
	float qy = std::fabs(y - cy) - hh + radius;
	float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
	return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float Canvas::SdSegment(float x, float y, float ax, float ay, float bx, float by) {
	float px_ = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
	float l2 = dx * dx + dy * dy;
	float t = l2 > 0 ? Clamp01((px_ * dx + py * dy) / l2) : 0;
	return std::hypot(px_ - dx * t, py - dy * t);
}

float Canvas::SdPolygon(float x, float y, const std::vector<Pt> &p) {
	float d = 1e30f;
	bool inside = false;
	size_t n = p.size();
	for (size_t i = 0, j = n - 1; i < n; j = i++) {
		d = std::min(d, SdSegment(x, y, p[j].x, p[j].y, p[i].x, p[i].y));
		if (((p[i].y > y) != (p[j].y > y)) && (x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x))
			inside = !inside;
	}
	return inside ? -d : d;
}

void Canvas::Circle(float cx, float cy, float r, Rgba c, float soft) {
	Fill(
		cx - r, cy - r, cx + r, cy + r, [=](float x, float y) { return SdCircle(x, y, cx, cy, r); }, c, soft);
}

void Canvas::Ring(float cx, float cy, float r, float width, Rgba c) {
	float R = r + width;
	Fill(
		cx - R, cy - R, cx + R, cy + R,
		[=](float x, float y) { return std::fabs(SdCircle(x, y, cx, cy, r)) - width * 0.5f; }, c);
}

void Canvas::Ellipse(float cx, float cy, float rx, float ry, Rgba c, float soft) {
	float m = std::min(rx, ry);
	Fill(
		cx - rx, cy - ry, cx + rx, cy + ry,
		[=](float x, float y) {
			float nx = (x - cx) / rx, ny = (y - cy) / ry;
			return (std::sqrt(nx * nx + ny * ny) - 1.0f) * m;
		},
		c, soft);
}

void Canvas::RoundRect(float x, float y, float ww, float hh, float radius, Rgba c, float soft) {
	float cx = x + ww / 2, cy = y + hh / 2;
	Fill(
		x, y, x + ww, y + hh, [=](float px_, float py) { return SdBox(px_, py, cx, cy, ww / 2, hh / 2, radius); }, c,
		soft);
}

void Canvas::Line(float x0, float y0, float x1, float y1, float width, Rgba c) {
	float r = width / 2;
	Fill(
		std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r, std::max(y0, y1) + r,
		[=](float x, float y) { return SdSegment(x, y, x0, y0, x1, y1) - r; }, c);
}

void Canvas::Polygon(const std::vector<Pt> &pts, Rgba c, float soft) {
	float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
	for (const Pt &p : pts) {
		x0 = std::min(x0, p.x);
		y0 = std::min(y0, p.y);
		x1 = std::max(x1, p.x);
		y1 = std::max(y1, p.y);
	}
	Fill(
		x0, y0, x1, y1, [&pts](float x, float y) { return SdPolygon(x, y, pts); }, c, soft);
}

void Canvas::PolygonOutlined(const std::vector<Pt> &pts, Rgba fill, Rgba outline, float width) {
	float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
	for (const Pt &p : pts) {
		x0 = std::min(x0, p.x);
		y0 = std::min(y0, p.y);
		x1 = std::max(x1, p.x);
		y1 = std::max(y1, p.y);
	}
	Fill(
		x0 - width, y0 - width, x1 + width, y1 + width, [&](float x, float y) { return SdPolygon(x, y, pts) - width; },
		outline);
	Polygon(pts, fill);
}

void Canvas::Arc(float cx, float cy, float r, float a0, float a1, float width, Rgba c) {
	float ax = cx + r * std::cos(a0), ay = cy + r * std::sin(a0);
	float bx = cx + r * std::cos(a1), by = cy + r * std::sin(a1);
	float R = r + width;
	Fill(
		cx - R, cy - R, cx + R, cy + R,
		[=](float x, float y) {
			float ang = std::atan2(y - cy, x - cx);
			float span = a1 - a0;
			float rel = std::fmod(ang - a0 + 8 * float(M_PI), 2 * float(M_PI));
			if (rel <= span)
				return std::fabs(SdCircle(x, y, cx, cy, r)) - width * 0.5f;
			return std::min(std::hypot(x - ax, y - ay), std::hypot(x - bx, y - by)) - width * 0.5f;
		},
		c);
}

void Canvas::Star(float cx, float cy, float rOut, float rIn, int points, float rot, Rgba c) {
	std::vector<Pt> pts;
	for (int i = 0; i < points * 2; i++) {
		float a = rot + float(M_PI) * i / points - float(M_PI) / 2;
		float r = (i % 2) ? rIn : rOut;
		pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
	}
	Polygon(pts, c);
}

static Rgba Sample(const Canvas &c, float x, float y) {
	// Bilinear sampling in premultiplied space so transparent texels do not bleed colour.
	x -= 0.5f;
	y -= 0.5f;
	int x0 = int(std::floor(x)), y0 = int(std::floor(y));
	float fx = x - x0, fy = y - y0;
	float r = 0, g = 0, b = 0, a = 0;
	for (int j = 0; j < 2; j++)
		for (int i = 0; i < 2; i++) {
			int sx = std::clamp(x0 + i, 0, c.W() - 1), sy = std::clamp(y0 + j, 0, c.H() - 1);
			float wgt = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
			Rgba p = c.Get(sx, sy);
			r += p.r * p.a * wgt;
			g += p.g * p.a * wgt;
			b += p.b * p.a * wgt;
			a += p.a * wgt;
		}
	if (a <= 1e-6f)
		return Rgba(0, 0, 0, 0);
	return Rgba(r / a, g / a, b / a, a);
}

void Canvas::Draw(const Canvas &src, float x, float y, float k, float opacity) {
	int ix0 = std::max(0, int(std::floor(x))), iy0 = std::max(0, int(std::floor(y)));
	int ix1 = std::min(w - 1, int(std::ceil(x + src.W() * k))), iy1 = std::min(h - 1, int(std::ceil(y + src.H() * k)));
	for (int py = iy0; py <= iy1; py++)
		for (int pxx = ix0; pxx <= ix1; pxx++) {
			float sx = (pxx + 0.5f - x) / k, sy = (py + 0.5f - y) / k;
			if (sx < 0 || sy < 0 || sx > src.W() || sy > src.H())
				continue;
			Rgba c = (k == 1.0f && x == std::floor(x) && y == std::floor(y))
						 ? src.Get(std::min(int(sx), src.W() - 1), std::min(int(sy), src.H() - 1))
						 : Sample(src, sx, sy);
			c.a *= opacity;
			Blend(pxx, py, c);
		}
}

void Canvas::MaskBy(const Canvas &mask) {
	for (size_t i = 0; i < px.size(); i++)
		px[i].a *= mask.px[i].a;
}

static std::vector<float> BlurAlpha(const std::vector<Rgba> &px, int w, int h, int radius) {
	std::vector<float> a(px.size()), t(px.size());
	for (size_t i = 0; i < px.size(); i++)
		a[i] = px[i].a;
	for (int pass = 0; pass < 2; pass++) {
		for (int y = 0; y < h; y++)
			for (int x = 0; x < w; x++) {
				float s = 0;
				for (int k = -radius; k <= radius; k++) {
					int xx = std::clamp(x + k, 0, w - 1);
					s += a[y * w + xx];
				}
				t[y * w + x] = s / (2 * radius + 1);
			}
		for (int y = 0; y < h; y++)
			for (int x = 0; x < w; x++) {
				float s = 0;
				for (int k = -radius; k <= radius; k++) {
					int yy = std::clamp(y + k, 0, h - 1);
					s += t[yy * w + x];
				}
				a[y * w + x] = s / (2 * radius + 1);
			}
	}
	return a;
}

void Canvas::AddShadow(float dx, float dy, float radius, Rgba c) {
	std::vector<float> blurred = BlurAlpha(px, w, h, std::max(1, int(radius / 2)));
	std::vector<Rgba> out(px.size(), Rgba(c.r, c.g, c.b, 0));
	for (int y = 0; y < h; y++)
		for (int x = 0; x < w; x++) {
			int sx = x - int(dx), sy = y - int(dy);
			float a = (sx >= 0 && sy >= 0 && sx < w && sy < h) ? blurred[sy * w + sx] : 0;
			out[y * w + x].a = a * c.a;
		}
	std::vector<Rgba> top = px;
	px = out;
	for (int i = 0; i < w * h; i++)
		Blend(i % w, i / w, top[i]);
}

void Canvas::AddOutline(float radius, Rgba c) {
	int r = int(std::ceil(radius));
	std::vector<Rgba> out(px.size(), Rgba(c.r, c.g, c.b, 0));
	for (int y = 0; y < h; y++)
		for (int x = 0; x < w; x++) {
			float best = 0;
			for (int j = -r; j <= r; j++)
				for (int i = -r; i <= r; i++) {
					int xx = x + i, yy = y + j;
					if (xx < 0 || yy < 0 || xx >= w || yy >= h)
						continue;
					float a = px[yy * w + xx].a;
					if (a <= best)
						continue;
					float d = std::sqrt(float(i * i + j * j));
					float k = Clamp01(radius + 0.5f - d);
					best = std::max(best, a * k);
				}
			out[y * w + x].a = best * c.a;
		}
	std::vector<Rgba> top = px;
	px = out;
	for (int i = 0; i < w * h; i++)
		Blend(i % w, i / w, top[i]);
}

Canvas Canvas::Resized(int nw, int nh) const {
	Canvas out(nw, nh);
	float kx = float(w) / nw, ky = float(h) / nh;
	// Box filter when shrinking keeps small pictures crisp but smooth.
	int sx = std::max(1, int(std::ceil(kx))), sy = std::max(1, int(std::ceil(ky)));
	for (int y = 0; y < nh; y++)
		for (int x = 0; x < nw; x++) {
			float r = 0, g = 0, b = 0, a = 0;
			int n = 0;
			for (int j = 0; j < sy; j++)
				for (int i = 0; i < sx; i++) {
					Rgba p = Sample(*this, (x + (i + 0.5f) / sx) * kx, (y + (j + 0.5f) / sy) * ky);
					r += p.r * p.a;
					g += p.g * p.a;
					b += p.b * p.a;
					a += p.a;
					n++;
				}
			out.Set(x, y, a > 1e-6f ? Rgba(r / a, g / a, b / a, a / n) : Rgba(0, 0, 0, 0));
		}
	return out;
}

static void Put16(std::vector<uint8_t> &v, uint16_t x) {
	v.push_back(x & 255);
	v.push_back(x >> 8);
}

static void Put32(std::vector<uint8_t> &v, uint32_t x) {
	for (int i = 0; i < 4; i++)
		v.push_back((x >> (8 * i)) & 255);
}

static uint8_t Byte(float v) {
	return uint8_t(std::lround(Clamp01(v) * 255.0f));
}

static bool WriteBmp(const std::string &path, int w, int h, int bpp, const std::vector<uint8_t> &palette,
	const std::function<void(int, int, uint8_t *)> &pixel) {
	int bytes = bpp / 8;
	int stride = (w * bytes + 3) & ~3;
	uint32_t dataOffset = 14 + 40 + uint32_t(palette.size());
	std::vector<uint8_t> f;
	f.push_back('B');
	f.push_back('M');
	Put32(f, dataOffset + stride * h);
	Put32(f, 0);
	Put32(f, dataOffset);
	Put32(f, 40);
	Put32(f, uint32_t(w));
	Put32(f, uint32_t(h));
	Put16(f, 1);
	Put16(f, uint16_t(bpp));
	Put32(f, 0);
	Put32(f, uint32_t(stride * h));
	Put32(f, 2835);
	Put32(f, 2835);
	Put32(f, bpp == 8 ? 256 : 0);
	Put32(f, 0);
	f.insert(f.end(), palette.begin(), palette.end());
	std::vector<uint8_t> row(stride, 0);
	for (int y = h - 1; y >= 0; y--) {
		std::fill(row.begin(), row.end(), 0);
		for (int x = 0; x < w; x++)
			pixel(x, y, &row[x * bytes]);
		f.insert(f.end(), row.begin(), row.end());
	}
	FILE *out = std::fopen(path.c_str(), "wb");
	if (!out) {
		std::fprintf(stderr, "cannot write %s\n", path.c_str());
		return false;
	}
	bool ok = std::fwrite(f.data(), 1, f.size(), out) == f.size();
	return std::fclose(out) == 0 && ok;
}

bool Canvas::SaveBmp24(const std::string &path, bool premultiply) const {
	return WriteBmp(path, w, h, 24, {}, [&](int x, int y, uint8_t *o) {
		Rgba c = Get(x, y);
		float k = premultiply ? c.a : 1.0f;
		o[0] = Byte(c.b * k);
		o[1] = Byte(c.g * k);
		o[2] = Byte(c.r * k);
	});
}

bool Canvas::SaveAlphaBmp8(const std::string &path) const {
	std::vector<uint8_t> pal;
	for (int i = 0; i < 256; i++) {
		pal.push_back(uint8_t(i));
		pal.push_back(uint8_t(i));
		pal.push_back(uint8_t(i));
		pal.push_back(0);
	}
	return WriteBmp(path, w, h, 8, pal, [&](int x, int y, uint8_t *o) { o[0] = Byte(Get(x, y).a); });
}

// Gives every clear texel the average colour of its neighbours that show, ring by ring outwards,
// so that texture filtering and mipmaps, which average colour without weighting it by alpha,
// only ever mix in colours of the picture itself.
static std::vector<Rgba> BleedIntoClear(const std::vector<Rgba> &px, int w, int h) {
	std::vector<Rgba> out = px;
	std::vector<uint8_t> known(px.size());
	for (size_t i = 0; i < px.size(); i++)
		known[i] = Byte(px[i].a) > 0;
	std::vector<int> ring;
	do {
		ring.clear();
		for (int y = 0; y < h; y++)
			for (int x = 0; x < w; x++) {
				if (known[y * w + x])
					continue;
				float r = 0, g = 0, b = 0;
				int n = 0;
				for (int j = std::max(0, y - 1); j <= std::min(h - 1, y + 1); j++)
					for (int i = std::max(0, x - 1); i <= std::min(w - 1, x + 1); i++)
						if (known[j * w + i]) {
							r += out[j * w + i].r;
							g += out[j * w + i].g;
							b += out[j * w + i].b;
							n++;
						}
				if (n > 0) {
					out[y * w + x] = Rgba(r / n, g / n, b / n, 0);
					ring.push_back(y * w + x);
				}
			}
		for (int i : ring)
			known[i] = 1;
	} while (!ring.empty());
	return out;
}

bool Canvas::SaveBmp32(const std::string &path) const {
	const std::vector<Rgba> bled = BleedIntoClear(px, w, h);
	return WriteBmp(path, w, h, 32, {}, [&](int x, int y, uint8_t *o) {
		const Rgba &c = bled[y * w + x];
		o[0] = Byte(c.b);
		o[1] = Byte(c.g);
		o[2] = Byte(c.r);
		o[3] = Byte(c.a);
	});
}

bool Canvas::SavePng(const std::string &path) const {
	std::FILE *file = std::fopen(path.c_str(), "wb");
	if (!file)
		return false;
	// Made before libpng may jump back past it on an error.
	std::vector<unsigned char> row(size_t(w) * 4);
	png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
	png_infop info = png ? png_create_info_struct(png) : nullptr;
	bool ok = png && info && !setjmp(png_jmpbuf(png));
	if (ok) {
		png_init_io(png, file);
		png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
			PNG_FILTER_TYPE_DEFAULT);
		png_write_info(png, info);
		for (int y = 0; y < h; y++) {
			for (int x = 0; x < w; x++) {
				const Rgba &c = px[size_t(y) * w + x];
				const float channels[4] = {c.r, c.g, c.b, c.a};
				for (int k = 0; k < 4; k++)
					row[size_t(x) * 4 + k] = (unsigned char)(Clamp01(channels[k]) * 255.0f + 0.5f);
			}
			png_write_row(png, row.data());
		}
		png_write_end(png, nullptr);
	}
	png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
	return std::fclose(file) == 0 && ok;
}
