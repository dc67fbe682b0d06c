// 2D pictures: portraits, disc faces, the logo, announcements, the HUD frame, the cursor and widget looks.
#include "Gen.h"

#include <cmath>

namespace {

const char *kCharacters[] = {"hippy", "johnny", "babe", "webby"};
const Rgba kInk = Rgba::Hex(0x1A1020);

Canvas Badge(const std::string &name, int size, float ring) {
	Canvas c(size, size);
	float r = size / 2.0f;
	c.Circle(r, r, r - 0.5f, kInk);
	c.Circle(r, r, r - ring * 0.35f, Rgba(1, 1, 1));
	c.Circle(r, r, r - ring * 0.65f, CharacterColour(name).Scale(0.8f));
	DrawCharacter(c, name, r, r, r - ring, true);
	return c;
}

bool DiscFace(const std::string &name) {
	// The texture's whole square is mapped on the face; the rim outside the circle is the side's colour.
	Canvas c(256, 256, CharacterColour(name).Scale(0.55f));
	c.Circle(128, 128, 127, Rgba(1, 1, 1));
	c.Circle(128, 128, 121, kInk);
	DrawCharacter(c, name, 128, 128, 117, true);
	// Glossy reflection over the face.
	c.Fill(
		0, 0, 256, 256, [](float x, float y) { return Canvas::SdCircle(x, y, 128, 128, 117); },
		[](float x, float y) {
			float t = Clamp01(1.0f - (y - 20) / 100.0f) * Clamp01(1.0f - std::fabs(x - 110) / 110.0f);
			return Rgba(1, 1, 1, 0.22f * t);
		});
	return c.SaveBmp24(OutPath("misc/" + name + "256_disc.bmp"), false);
}

bool Portraits(const std::string &name) {
	Canvas small = Badge(name, 240, 14).Resized(60, 60);
	if (!SavePicture(small, "rects/" + name))
		return false;
	Canvas big(220, 250);
	big.Draw(Badge(name, 200, 9), 10, 4);
	// Name ribbon across the bottom.
	std::string upper;
	for (char ch : name)
		upper += char(ch - 'a' + 'A');
	big.PolygonOutlined(
		{{8, 196}, {212, 196}, {200, 218}, {212, 240}, {8, 240}, {20, 218}}, CharacterColour(name), kInk, 3);
	Canvas label = HeadlineText(upper, 26, Rgba::Hex(0xFFFFFF), Rgba::Hex(0xFFE27A), kInk, 2);
	big.Draw(label, 110 - label.W() / 2.0f, 218 - label.H() / 2.0f);
	big.AddShadow(3, 4, 6, Rgba(0, 0, 0, 0.4f));
	return SavePicture(big, "rects/" + name + "_big");
}

bool Logo() {
	Canvas c(240, 100);
	// A badge with the name, a disc racing in from the left and the ball bouncing off its corner.
	c.RoundRect(6, 26, 228, 66, 30, kInk);
	c.RoundRect(10, 30, 220, 58, 26, Rgba::Hex(0x7A3FC8));
	c.RoundRect(14, 33, 212, 22, 14, Rgba::Hex(0x9A6AE8));
	for (int i = 0; i < 3; i++)
		c.Line(4, 14 + i * 6, 22 - i * 4, 14 + i * 6, 3, Rgba::Hex(0x3FC8FF));
	c.Ellipse(40, 20, 19, 13, kInk);
	c.Ellipse(40, 18, 16, 10, Rgba::Hex(0xFFD23A));
	c.Ellipse(40, 16, 11, 6, Rgba::Hex(0xFF7A1C));
	c.Circle(214, 20, 15, kInk);
	c.Circle(214, 20, 12.5f, Rgba::Hex(0xFFFFFF));
	c.Arc(214, 20, 12.5f, 3.6f, 4.6f, 4, Rgba::Hex(0xE8262A));
	c.Arc(214, 20, 12.5f, 5.2f, 6.2f, 4, Rgba::Hex(0x2E6CFF));
	c.Arc(214, 20, 12.5f, 0.6f, 1.6f, 4, Rgba::Hex(0xFFD23A));
	c.Arc(214, 20, 12.5f, 2.2f, 3.0f, 4, Rgba::Hex(0x2EBE4A));
	Canvas word = HeadlineText("TAVRO", 50, Rgba::Hex(0xFFF27A), Rgba::Hex(0xFF5A1C), kInk, 4);
	c.Draw(word, 120 - word.W() / 2.0f, 60 - word.H() / 2.0f);
	return SavePicture(c, "rects/tavro");
}

bool Version() {
	Canvas t = RenderText("version 0.9", "DejaVuSans-Bold.ttf", 13, Rgba::Hex(0xFFFFFF));
	Canvas c(110, 20);
	c.Draw(t, 4, (20 - t.H()) / 2.0f);
	c.AddOutline(1.5f, kInk);
	return SavePicture(c, "rects/version");
}

bool Numeral(const std::string &text, const std::string &file, Rgba top, Rgba bottom) {
	Canvas t = HeadlineText(text, 170, top, bottom, kInk, 7);
	Canvas c(200, 230);
	c.Star(100, 115, 112, 80, 12, 0.1f, Rgba(1, 1, 1, 0.85f));
	c.Star(100, 115, 100, 72, 12, 0.1f, top.Mix(Rgba(1, 1, 1), 0.5f));
	c.Draw(t, 100 - t.W() / 2.0f, 115 - t.H() / 2.0f);
	return SavePicture(c, "rects/" + file);
}

bool Yeah() {
	Canvas c(300, 130);
	c.Star(150, 65, 150, 95, 14, 0, Rgba::Hex(0xFFFFFF));
	c.Star(150, 65, 138, 86, 14, 0, Rgba::Hex(0xFF3F8A));
	Canvas t = HeadlineText("YEAH!", 62, Rgba::Hex(0xFFFFA0), Rgba::Hex(0xFFB000), kInk, 5);
	c.Draw(t, 150 - t.W() / 2.0f, 65 - t.H() / 2.0f);
	return SavePicture(c, "rects/yeah");
}

bool Replay() {
	// A film strip with the word: shown in a corner while a goal plays again.
	Canvas c(200, 64);
	c.RoundRect(2, 2, 196, 60, 12, kInk);
	c.RoundRect(6, 6, 188, 52, 9, Rgba::Hex(0x2A2A3A));
	for (int i = 0; i < 12; i++) {
		c.RoundRect(12 + i * 15.5f, 9, 8, 6, 2, Rgba::Hex(0xE8E8F0));
		c.RoundRect(12 + i * 15.5f, 49, 8, 6, 2, Rgba::Hex(0xE8E8F0));
	}
	c.Circle(26, 32, 8, Rgba::Hex(0xFF2E3A));
	Canvas t = HeadlineText("REPLAY", 26, Rgba::Hex(0xFFFFFF), Rgba::Hex(0xFFD23A), kInk, 3);
	c.Draw(t, 112 - t.W() / 2.0f, 32 - t.H() / 2.0f);
	return SavePicture(c, "rects/replay");
}

bool Trophy() {
	Canvas c(220, 260);
	Rgba gold = Rgba::Hex(0xFFC81E), light = Rgba::Hex(0xFFF3A0), dark = Rgba::Hex(0xC07A00);
	// Rays of glory.
	for (int i = 0; i < 16; i++) {
		float a = i * float(M_PI) / 8;
		c.Polygon({{110, 100}, {110 + 130 * std::cos(a - 0.1f), 100 + 130 * std::sin(a - 0.1f)},
					  {110 + 130 * std::cos(a + 0.1f), 100 + 130 * std::sin(a + 0.1f)}},
			Rgba::Hex(0xFFF6C0, 0.55f));
	}
	// Handles.
	c.Ring(50, 80, 28, 14, kInk);
	c.Ring(50, 80, 28, 8, gold);
	c.Ring(170, 80, 28, 14, kInk);
	c.Ring(170, 80, 28, 8, gold);
	// Cup.
	std::vector<Pt> cup;
	for (int i = 0; i <= 24; i++) {
		float t = float(M_PI) * i / 24;
		cup.push_back({110 - 62 * std::cos(t), 40 + 100 * std::sin(t) * 0.9f});
	}
	c.PolygonOutlined(cup, gold, kInk, 4);
	c.Fill(
		40, 30, 180, 140, [&](float x, float y) { return Canvas::SdPolygon(x, y, cup); },
		[&](float x, float) {
			float t = (x - 48) / 124;
			if (t < 0.25f)
				return light.Mix(gold, t * 4);
			return gold.Mix(dark, Smooth(0.5f, 1.0f, t));
		});
	c.Ellipse(110, 40, 62, 10, kInk);
	c.Ellipse(110, 40, 58, 7, dark);
	// Stem and base.
	c.PolygonOutlined({{100, 128}, {120, 128}, {126, 190}, {94, 190}}, gold, kInk, 3);
	c.RoundRect(62, 188, 96, 22, 6, kInk);
	c.RoundRect(65, 191, 90, 16, 5, gold);
	c.RoundRect(52, 208, 116, 36, 6, kInk);
	c.RoundRect(55, 211, 110, 30, 5, Rgba::Hex(0x8A3AE8));
	Canvas win = RenderText("WINNER", "DejaVuSans-Bold.ttf", 18, Rgba::Hex(0xFFFFFF));
	c.Draw(win, 110 - win.W() / 2.0f, 226 - win.H() / 2.0f);
	c.Star(110, 82, 30, 13, 5, 0, kInk);
	c.Star(110, 82, 25, 10.5f, 5, 0, Rgba::Hex(0xFFFFFF));
	c.Line(70, 60, 78, 110, 5, Rgba(1, 1, 1, 0.6f));
	return SavePicture(c, "rects/trophy");
}

bool CloudFrame() {
	// Frame around the small view (213 x 147 at 15, 20); the view itself stays clear.
	const float hx0 = 15, hy0 = 20, hx1 = 228, hy1 = 167;
	Canvas c(243, 187);
	std::vector<Pt> puffs;
	Rng rng(7);
	for (float x = 8; x <= 236; x += 18)
		puffs.push_back({x, 12}), puffs.push_back({x + 9, 176});
	for (float y = 24; y <= 165; y += 18)
		puffs.push_back({8, y}), puffs.push_back({235, y + 6});
	for (const Pt &p : puffs)
		c.Circle(p.x, p.y, 12 + rng.Uni() * 3, kInk);
	for (const Pt &p : puffs)
		c.Circle(p.x, p.y, 10 + rng.Uni() * 2, Rgba::Hex(0xFFFFFF));
	for (const Pt &p : puffs)
		c.Circle(p.x - 2, p.y + 3, 5, Rgba::Hex(0xCFE6FF));
	c.RoundRect(hx0 - 4, hy0 - 4, hx1 - hx0 + 8, hy1 - hy0 + 8, 6, kInk);
	for (int y = int(hy0); y < int(hy1); y++)
		for (int x = int(hx0); x < int(hx1); x++)
			c.Set(x, y, Rgba(0, 0, 0, 0));
	return SavePicture(c, "rects/cloud");
}

bool Mouse() {
	for (int f = 0; f < 4; f++) {
		Canvas c(32, 32);
		std::vector<Pt> arrow = {{1, 1}, {1, 22}, {6, 17}, {10, 26}, {14, 24}, {10, 16}, {17, 16}};
		float hue = f / 4.0f;
		Rgba col = Rgba::Hex(0xFFD23A).Mix(Rgba::Hex(0xFF5A1C), 0.5f + 0.5f * std::sin(hue * 6.283f));
		c.PolygonOutlined(arrow, col, kInk, 1.5f);
		c.Line(3, 5, 3, 17, 1.5f, Rgba(1, 1, 1, 0.8f));
		float a = f * float(M_PI) / 8;
		c.Star(24, 8, 6, 2.2f, 4, a, Rgba::Hex(0xFFFFFF));
		c.Star(24, 8, 4, 1.5f, 4, a, Rgba::Hex(0x3FC8FF));
		if (!SavePicture(c, "rects/mouse" + std::to_string(f + 1)))
			return false;
	}
	return true;
}

// Nine-part frames: 3 x 3 parts of `part` pixels; the centre part is uniform so it tiles.
Canvas Frame(int part, float radius, Rgba fill, Rgba gloss, Rgba shade, Rgba outline, float border) {
	int s = part * 3;
	Canvas c(s, s);
	c.RoundRect(0, 0, s, s, radius, outline);
	c.RoundRect(border, border, s - 2 * border, s - 2 * border, radius - border * 0.7f, fill);
	// Gloss along the top edge part and shade along the bottom edge part.
	c.Fill(
		border, border, s - border, part,
		[&](float x, float y) {
			return Canvas::SdBox(x, y, s / 2.0f, s / 2.0f, s / 2.0f - border, s / 2.0f - border, radius - border);
		},
		[&](float, float y) { return gloss.Alpha(gloss.a * Clamp01(1 - (y - border) / (part - border))); });
	c.Fill(
		border, s - part, s - border, s - border,
		[&](float x, float y) {
			return Canvas::SdBox(x, y, s / 2.0f, s / 2.0f, s / 2.0f - border, s / 2.0f - border, radius - border);
		},
		[&](float, float y) { return shade.Alpha(shade.a * Clamp01((y - (s - part)) / (part - border))); });
	return c;
}

bool Widgets() {
	struct Look {
		const char *name;
		int part;
		float radius, border;
		Rgba fill, gloss, shade, outline;
	};
	const Look looks[] = {
		{"button", 12, 10, 2.5f, Rgba::Hex(0xFF8A1C), Rgba(1, 1, 1, 0.55f), Rgba(0.5f, 0.1f, 0, 0.35f), kInk},
		{"button_focus", 12, 10, 2.5f, Rgba::Hex(0xFFD23A), Rgba(1, 1, 1, 0.75f), Rgba(0.7f, 0.3f, 0, 0.3f),
			Rgba::Hex(0xFFFFFF)},
		{"button_click", 12, 10, 2.5f, Rgba::Hex(0xD0500A), Rgba(0.4f, 0.1f, 0, 0.4f), Rgba(1, 1, 1, 0.25f), kInk},
		{"button_disabled", 12, 10, 2.5f, Rgba::Hex(0x9A9AA6), Rgba(1, 1, 1, 0.3f), Rgba(0, 0, 0, 0.2f),
			Rgba::Hex(0x4A4A55)},
		{"window", 24, 18, 3.0f, Rgba::Hex(0x2A2F7A, 0.82f), Rgba(0.6f, 0.8f, 1, 0.35f), Rgba(0, 0, 0.1f, 0.3f),
			Rgba::Hex(0xFFD23A)},
		{"window_focus", 24, 18, 3.0f, Rgba::Hex(0x343CA0, 0.86f), Rgba(0.7f, 0.9f, 1, 0.45f), Rgba(0, 0, 0.1f, 0.3f),
			Rgba::Hex(0xFFFFFF)},
		{"editbox", 8, 6, 2.0f, Rgba::Hex(0xFFFFFF, 0.92f), Rgba(0.7f, 0.75f, 0.9f, 0.5f), Rgba(1, 1, 1, 0), kInk},
		{"editbox_focus", 8, 6, 2.0f, Rgba::Hex(0xFFF6C8), Rgba(1, 0.8f, 0.3f, 0.5f), Rgba(1, 1, 1, 0),
			Rgba::Hex(0xFF8A1C)},
		{"listbox", 8, 6, 2.0f, Rgba::Hex(0x1E2260, 0.85f), Rgba(0.6f, 0.7f, 1, 0.3f), Rgba(0, 0, 0, 0.2f),
			Rgba::Hex(0x3FC8FF)},
	};
	for (const Look &l : looks)
		if (!SavePicture(
				Frame(l.part, l.radius, l.fill, l.gloss, l.shade, l.outline, l.border), "rects/" + std::string(l.name)))
			return false;
	// Check boxes: not checked / checked, each plain and focused.
	for (int checked = 0; checked < 2; checked++)
		for (int focused = 0; focused < 2; focused++) {
			Canvas c(26, 26);
			if (focused)
				c.RoundRect(0, 0, 26, 26, 8, Rgba::Hex(0xFFD23A, 0.8f));
			c.RoundRect(2, 2, 22, 22, 6, focused ? Rgba::Hex(0xFFFFFF) : kInk);
			c.RoundRect(4.5f, 4.5f, 17, 17, 4, Rgba::Hex(0xFFF6E0));
			if (checked) {
				c.Line(7, 13, 11, 18, 3.5f, Rgba::Hex(0x1E9E3A));
				c.Line(11, 18, 20, 6, 3.5f, Rgba::Hex(0x1E9E3A));
			}
			std::string name = std::string("check_") + (checked ? "yes" : "no") + (focused ? "_focus" : "");
			if (!SavePicture(c, "rects/" + name))
				return false;
		}
	Canvas caret(4, 22);
	caret.RoundRect(0, 0, 4, 22, 1.5f, Rgba::Hex(0xFF3F8A));
	return SavePicture(caret, "rects/caret");
}

} // namespace

bool MakePictures() {
	for (const char *name : kCharacters)
		if (!DiscFace(name) || !Portraits(name))
			return false;
	return Logo() && Version() && Numeral("3", "three", Rgba::Hex(0x9AF0FF), Rgba::Hex(0x1E7AFF)) &&
		   Numeral("2", "two", Rgba::Hex(0xB6F04A), Rgba::Hex(0x1E9E3A)) &&
		   Numeral("1", "one", Rgba::Hex(0xFFF27A), Rgba::Hex(0xFF5A1C)) && Yeah() && Replay() && Trophy() &&
		   CloudFrame() && Mouse() && Widgets();
}

bool MakeIcons(const std::string &dir) {
	// The logo's badge, disc and ball on a square, big enough to read at 48 pixels.
	Canvas c(256, 256);
	c.RoundRect(8, 8, 240, 240, 56, kInk);
	c.RoundRect(16, 16, 224, 224, 48, Rgba::Hex(0x7A3FC8));
	c.RoundRect(28, 26, 200, 80, 36, Rgba::Hex(0x9A6AE8));
	for (int i = 0; i < 3; i++)
		c.Line(24, 150 + i * 22, 70 - i * 14, 150 + i * 22, 10, Rgba::Hex(0x3FC8FF));
	c.Ellipse(120, 184, 74, 42, kInk);
	c.Ellipse(120, 178, 64, 34, Rgba::Hex(0xFFD23A));
	c.Ellipse(120, 170, 42, 20, Rgba::Hex(0xFF7A1C));
	c.Circle(178, 84, 50, kInk);
	c.Circle(178, 84, 42, Rgba::Hex(0xFFFFFF));
	const uint32_t stripes[4] = {0xE8262A, 0x2E6CFF, 0xFFD23A, 0x2EBE4A};
	for (int i = 0; i < 4; i++)
		c.Arc(178, 84, 42, 3.6f + i * 1.57f, 4.6f + i * 1.57f, 13, Rgba::Hex(stripes[i]));
	Canvas letter = HeadlineText("T", 120, Rgba::Hex(0xFFF27A), Rgba::Hex(0xFF5A1C), kInk, 8);
	c.Draw(letter, 78 - letter.W() / 2.0f, 92 - letter.H() / 2.0f);
	for (int size : {256, 128, 64, 48}) {
		const std::string file = dir + "/tavro_" + std::to_string(size) + ".png";
		if (!(size == 256 ? c : c.Resized(size, size)).SavePng(file))
			return false;
	}
	return true;
}
