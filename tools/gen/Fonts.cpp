// Bitmap-font glyph sheets: one glyph per cell of a grid, glyph 0 (the space) in the first cell.
#include "Gen.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const Rgba kInk = Rgba::Hex(0x1A1020);

std::string Printable() {
	std::string s;
	for (char c = 0x21; c <= 0x7E; c++)
		s += c;
	return s;
}

// Lays the glyphs of " " + order into cells; the sizes must match the hand-written .nbf file.
bool Sheet(const std::string &file, const std::string &order, int cellW, int cellH, int cols,
	const std::function<Canvas(const std::string &)> &glyph) {
	std::string all = " " + order;
	int rows = (int(all.size()) + cols - 1) / cols;
	Canvas sheet(cellW * cols, cellH * rows);
	struct Ink {
		Canvas c;
		int x0, x1, y0, y1;
	};
	std::vector<Ink> inks;
	int uy0 = 1 << 20, uy1 = -1;
	for (size_t i = 0; i < all.size(); i++) {
		Ink ink{all[i] == ' ' ? Canvas(1, 1) : glyph(std::string(1, all[i])), 1 << 20, -1, 1 << 20, -1};
		for (int y = 0; y < ink.c.H(); y++)
			for (int x = 0; x < ink.c.W(); x++)
				if (ink.c.Get(x, y).a > 0.02f) {
					ink.x0 = std::min(ink.x0, x);
					ink.x1 = std::max(ink.x1, x);
					ink.y0 = std::min(ink.y0, y);
					ink.y1 = std::max(ink.y1, y);
				}
		if (ink.x1 >= 0) {
			uy0 = std::min(uy0, ink.y0);
			uy1 = std::max(uy1, ink.y1);
		}
		inks.push_back(ink);
	}
	// Every glyph of a font is rendered at the same height, so one vertical offset keeps the
	// baselines in line; across the cell each glyph's ink is centred.
	int py = (cellH - (uy1 - uy0 + 1)) / 2 - uy0;
	for (size_t i = 0; i < inks.size(); i++) {
		const Ink &g = inks[i];
		if (g.x1 < 0)
			continue;
		int px = (cellW - (g.x1 - g.x0 + 1)) / 2 - g.x0;
		if (g.x1 - g.x0 + 1 > cellW || py + g.y0 < 0 || py + g.y1 >= cellH)
			std::fprintf(stderr, "%s: glyph '%c' (ink %dx%d at %d..%d) does not fit its %dx%d cell\n", file.c_str(),
				all[i], g.x1 - g.x0 + 1, g.y1 - g.y0 + 1, py + g.y0, py + g.y1, cellW, cellH);
		int cx = int(i % cols) * cellW, cy = int(i / cols) * cellH;
		// Whatever would spill into a neighbour is cut.
		Canvas cell(cellW, cellH);
		cell.Draw(g.c, float(px), float(py));
		sheet.Draw(cell, float(cx), float(cy));
	}
	return SavePicture(sheet, "fonts/" + file);
}

Canvas Glossy(const std::string &ch, int size, Rgba top, Rgba bottom, int outline, const std::string &font) {
	return HeadlineText(ch, size, top, bottom, kInk, outline, font);
}

Canvas Plain(const std::string &ch, int size, Rgba colour, float outline, const std::string &font) {
	Canvas t = RenderText(ch, font, size, colour);
	int pad = int(outline) + 2;
	Canvas c(t.W() + pad * 2, t.H() + pad * 2);
	c.Draw(t, float(pad), float(pad));
	if (outline > 0)
		c.AddOutline(outline, kInk);
	return c;
}

} // namespace

bool MakeFonts() {
	const std::string bold = "DejaVuSans-Bold.ttf", cond = "DejaVuSansCondensed-Bold.ttf";
	bool ok = true;
	ok &= Sheet("numbers", "0123456789:", 32, 44, 12,
		[&](const std::string &ch) { return Glossy(ch, 30, Rgba::Hex(0xFFF27A), Rgba::Hex(0xFF5A1C), 3, bold); });
	ok &= Sheet("numbersblue", "0123456789:", 26, 34, 12,
		[&](const std::string &ch) { return Glossy(ch, 22, Rgba::Hex(0xC8F6FF), Rgba::Hex(0x2E6CFF), 2, bold); });
	ok &= Sheet("menu", Printable(), 22, 28, 16,
		[&](const std::string &ch) { return Plain(ch, 17, Rgba::Hex(0xFFF6E0), 1.6f, cond); });
	ok &= Sheet("menu_focus", Printable(), 22, 28, 16,
		[&](const std::string &ch) { return Plain(ch, 17, Rgba::Hex(0xFFD23A), 1.6f, cond); });
	// Credits: a rainbow title font and a calm text font.
	ok &= Sheet("spectrum", Printable(), 34, 40, 16, [&](const std::string &ch) {
		static int n = 0;
		const Rgba hues[6] = {Rgba::Hex(0xFF3F3F), Rgba::Hex(0xFF9A2A), Rgba::Hex(0xFFE53A), Rgba::Hex(0x5AE04A),
			Rgba::Hex(0x3FC8FF), Rgba::Hex(0xB36AFF)};
		Rgba top = hues[n % 6];
		n++;
		return Glossy(ch, 22, top.Mix(Rgba(1, 1, 1), 0.45f), top, 2, bold);
	});
	ok &= Sheet("credits", Printable(), 18, 24, 16,
		[&](const std::string &ch) { return Plain(ch, 14, Rgba::Hex(0xD8ECFF), 1.2f, "DejaVuSans.ttf"); });
	return ok;
}
