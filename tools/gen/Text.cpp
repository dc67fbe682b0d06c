#include "Gen.h"

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>

#include <cstdio>
#include <map>

std::string FontFile(const std::string &name) {
	return "/usr/share/fonts/truetype/dejavu/" + name;
}

static std::map<std::pair<std::string, int>, TTF_Font *> fonts;
static bool fontMissing = false;

bool FontsOk() {
	return !fontMissing;
}

void CloseFonts() {
	for (auto &f : fonts)
		if (f.second)
			TTF_CloseFont(f.second);
	fonts.clear();
	if (TTF_WasInit())
		TTF_Quit();
}

static TTF_Font *OpenFont(const std::string &name, int size) {
	auto key = std::make_pair(name, size);
	auto it = fonts.find(key);
	if (it != fonts.end())
		return it->second;
	if (!TTF_WasInit())
		TTF_Init();
	TTF_Font *f = TTF_OpenFont(FontFile(name).c_str(), size);
	if (!f) {
		std::fprintf(stderr, "cannot open font %s: %s\n", FontFile(name).c_str(), TTF_GetError());
		fontMissing = true;
	}
	fonts[key] = f;
	return f;
}

Canvas RenderText(const std::string &text, const std::string &font, int size, Rgba colour, int outline) {
	TTF_Font *f = OpenFont(font, size);
	if (!f || text.empty())
		return Canvas(1, 1);
	TTF_SetFontOutline(f, outline);
	SDL_Color white = {255, 255, 255, 0};
	SDL_Surface *s = TTF_RenderUTF8_Blended(f, text.c_str(), white);
	TTF_SetFontOutline(f, 0);
	if (!s)
		return Canvas(1, 1);
	Canvas c(s->w, s->h, colour.Alpha(0));
	SDL_LockSurface(s);
	for (int y = 0; y < s->h; y++) {
		const Uint32 *row = reinterpret_cast<const Uint32 *>(static_cast<const Uint8 *>(s->pixels) + y * s->pitch);
		for (int x = 0; x < s->w; x++) {
			Uint8 r, g, b, a;
			SDL_GetRGBA(row[x], s->format, &r, &g, &b, &a);
			c.Set(x, y, colour.Alpha(colour.a * a / 255.0f));
		}
	}
	SDL_UnlockSurface(s);
	SDL_FreeSurface(s);
	return c;
}

Canvas HeadlineText(
	const std::string &text, int size, Rgba top, Rgba bottom, Rgba outline, int outlineWidth, const std::string &font) {
	Canvas inner = RenderText(text, font, size, Rgba(1, 1, 1));
	Canvas outer = RenderText(text, font, size, outline, outlineWidth);
	int pad = outlineWidth + size / 10 + 2;
	Canvas c(outer.W() + pad * 2, outer.H() + pad * 2, outline.Alpha(0));
	c.Draw(outer, pad, pad);
	// Gradient fill of the letters, with a glossy band in the upper half.
	Canvas fill(inner.W(), inner.H());
	for (int y = 0; y < inner.H(); y++)
		for (int x = 0; x < inner.W(); x++) {
			float t = float(y) / inner.H();
			Rgba col = top.Mix(bottom, Smooth(0.2f, 0.85f, t));
			if (t > 0.22f && t < 0.42f)
				col = col.Mix(Rgba(1, 1, 1), 0.25f);
			col.a = inner.Get(x, y).a;
			fill.Set(x, y, col);
		}
	c.Draw(fill, pad + outlineWidth, pad + outlineWidth);
	c.AddShadow(size / 16 + 2, size / 16 + 2, size / 10 + 2, Rgba(0, 0, 0, 0.55f));
	return c;
}
