#include "gl2d/GL2D_TrueTypeText.h"

#include <SDL/SDL.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/LogFile.h"
#include "gl2d/GL2D_TextFile.h"

namespace {

// Space to underscore, lower case letters and braces (no grave accent), then a grave,
// o grave, e grave, e acute, i grave and u grave.
const char TRUETYPE_ORDER[] = " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_"
							  "abcdefghijklmnopqrstuvwxyz{|}~"
							  "\xE0\xF2\xE8\xE9\xEC\xF9";

#if SDL_BYTEORDER == SDL_BIG_ENDIAN
const Uint32 MASK_R = 0xFF000000, MASK_G = 0x00FF0000, MASK_B = 0x0000FF00, MASK_A = 0x000000FF;
#else
const Uint32 MASK_R = 0x000000FF, MASK_G = 0x0000FF00, MASK_B = 0x00FF0000, MASK_A = 0xFF000000;
#endif

Uint8 ColorByte(float channel) {
	// Written this way round so that NaN gives 0 too.
	if (!(channel > 0.0f)) {
		return 0;
	}
	return channel >= 1.0f ? 255 : static_cast<Uint8>(channel * 255.0f);
}

TTF_Font *TryOpen(const std::string &path, int size) {
	// SDL_ttf passes a path it cannot open to SDL_SetError as the format string.
	if (path.find('%') != std::string::npos) {
		Log(LOG_WARNING, "GL2D: font path with a %% sign refused");
		return nullptr;
	}
	return TTF_OpenFont(path.c_str(), size);
}

// The system font directories are those fontconfig knows, with their subdirectories.
TTF_Font *OpenSystemFont(const std::string &name, int size) {
	if (!FcInit()) {
		return nullptr;
	}
	TTF_Font *found = nullptr;
	FcStrList *dirs = FcConfigGetFontDirs(nullptr);
	if (!dirs) {
		return nullptr;
	}
	while (FcChar8 *dir = FcStrListNext(dirs)) {
		std::string path = reinterpret_cast<const char *>(dir);
		found = TryOpen(path + "/" + name, size);
		if (found) {
			break;
		}
	}
	FcStrListDone(dirs);
	return found;
}

// Beside the description file first, then in the system font directories.
TTF_Font *OpenFont(const char *descriptionFile, const std::string &name, int size) {
	std::string path = name;
	if (const char *slash = strrchr(descriptionFile, '/')) {
		path = std::string(descriptionFile, slash + 1) + name;
	}
	TTF_Font *opened = TryOpen(path, size);
	return opened ? opened : OpenSystemFont(name, size);
}

// The ring round outlined glyphs: near black with a touch of violet, as the bitmap fonts'.
const SDL_Color OUTLINE_INK = {26, 16, 32, 0};

// "1.6" and the like; false for anything else or a value out of range.
bool ParseOutline(const std::string &word, float &value) {
	char *end = nullptr;
	value = strtof(word.c_str(), &end);
	return end && *end == '\0' && end != word.c_str() && value >= 0.0f && value <= GL2D_TrueTypeText::MAX_OUTLINE;
}

// Colour from top to bottom of a glyph's letters: from the font's colour to another.
struct Shade {
	int topY, bottomY; // pixels of the glyph surface
	SDL_Color to;      // at bottomY and below
	bool on;
};

// Lays a smooth glyph (32-bit, alpha per pixel, not premultiplied) over the premultiplied
// picture at (left, top), its colour shaded when asked; what falls outside is cut.
void Lay(SDL_Surface *glyph, std::vector<Uint8> &rgba, int sheetWidth, int sheetHeight, int left, int top,
	const Shade &shade = Shade{0, 1, {0, 0, 0, 0}, false}) {
	if (!glyph || glyph->format->BytesPerPixel != 4) {
		return;
	}
	SDL_LockSurface(glyph);
	for (int y = 0; y < glyph->h; y++) {
		const Uint32 *row =
			reinterpret_cast<const Uint32 *>(static_cast<const Uint8 *>(glyph->pixels) + y * glyph->pitch);
		for (int x = 0; x < glyph->w; x++) {
			const int tx = left + x, ty = top + y;
			if (tx < 0 || ty < 0 || tx >= sheetWidth || ty >= sheetHeight) {
				continue;
			}
			// Most of a glyph is clear, and a clear pixel leaves the sheet as it is.
			const SDL_PixelFormat *format = glyph->format;
			if (((row[x] & format->Amask) >> format->Ashift) == 0) {
				continue;
			}
			Uint8 r, g, b, a;
			SDL_GetRGBA(row[x], format, &r, &g, &b, &a);
			if (shade.on) {
				const float t =
					std::max(0.0f, std::min(1.0f, float(y - shade.topY) / float(shade.bottomY - shade.topY)));
				r = static_cast<Uint8>(r + (shade.to.r - r) * t);
				g = static_cast<Uint8>(g + (shade.to.g - g) * t);
				b = static_cast<Uint8>(b + (shade.to.b - b) * t);
			}
			Uint8 *dst = &rgba[(static_cast<size_t>(ty) * sheetWidth + tx) * 4];
			const int keep = 255 - a;
			dst[0] = static_cast<Uint8>((r * a + dst[0] * keep) / 255);
			dst[1] = static_cast<Uint8>((g * a + dst[1] * keep) / 255);
			dst[2] = static_cast<Uint8>((b * a + dst[2] * keep) / 255);
			dst[3] = static_cast<Uint8>(a + dst[3] * keep / 255);
		}
	}
	SDL_UnlockSurface(glyph);
}

} // namespace

int GL2D_TrueTypeText::libraryUsers = 0;

GL2D_TrueTypeText::GL2D_TrueTypeText() : font(nullptr), holdsLibrary(false), scale(1.0f), pointSize(0), outline(0) {
	kerning = 0;
	SetCharOrder(TRUETYPE_ORDER);
	if (libraryUsers > 0 || TTF_Init() == 0) {
		holdsLibrary = true;
		libraryUsers++;
	} else {
		Log(LOG_ERROR, "GL2D: TTF_Init failed: %s", TTF_GetError());
	}
}

GL2D_TrueTypeText::~GL2D_TrueTypeText() {
	CloseFont();
	if (holdsLibrary && --libraryUsers == 0) {
		TTF_Quit();
	}
}

void GL2D_TrueTypeText::CloseFont() {
	if (font) {
		TTF_CloseFont(font);
		font = nullptr;
	}
}

float GL2D_TrueTypeText::HeldScale(float wanted) {
	if (wanted != wanted) {
		return 1.0f;
	}
	return std::max(MIN_SCALE, std::min(wanted, MAX_SCALE));
}

void GL2D_TrueTypeText::SetScale(float newScale) {
	scale = HeldScale(newScale);
}

bool GL2D_TrueTypeText::Load(const char *file) {
	GL2D_TextFile text;
	if (!text.Open(file)) {
		return false;
	}
	if (!holdsLibrary) {
		return false;
	}
	std::string name, keyText;
	int size = 0;
	int key[3];
	if (!text.NextWord(name, GL2D_TextFile::MAX_FILE_NAME) || !text.NextInt(size) || !text.NextWord(keyText, 32) ||
		!GL2D_ParseIntFields(keyText, 3, key)) {
		Log(LOG_WARNING, "GL2D: %s lacks its font name, size or colour key, refused", file);
		return false;
	}
	bool noKey = key[0] == -1;
	bool keyInRange = true;
	for (int i = 0; i < 3; i++) {
		keyInRange = keyInRange && key[i] >= 0 && key[i] <= 255;
	}
	std::string outlineText, shadeText;
	float outlineWidth = 0.0f;
	int shadeTo[3] = {-1, -1, -1};
	if (text.NextWord(outlineText, 32) && !ParseOutline(outlineText, outlineWidth)) {
		Log(LOG_WARNING, "GL2D: %s: outline out of range, refused", file);
		return false;
	}
	if (text.NextWord(shadeText, 32) &&
		(!GL2D_ParseIntFields(shadeText, 3, shadeTo) || *std::min_element(shadeTo, shadeTo + 3) < 0 ||
			*std::max_element(shadeTo, shadeTo + 3) > 255 || outlineWidth <= 0.0f)) {
		Log(LOG_WARNING, "GL2D: %s: the colour at the letters' foot is out of range or has no outline, refused", file);
		return false;
	}
	const int scaledSize = static_cast<int>(std::lround(size * scale));
	if (size < 1 || size > MAX_POINT_SIZE || scaledSize > MAX_POINT_SIZE || !(noKey || keyInRange)) {
		Log(LOG_WARNING, "GL2D: %s: point size or colour key out of range, refused", file);
		return false;
	}

	TTF_Font *opened = OpenFont(file, name, std::max(1, scaledSize));
	if (!opened) {
		return false;
	}
	CloseFont();
	font = opened;
	pointSize = std::max(1, scaledSize);
	// An outline asked for is at least a pixel wide at any scale.
	outline = outlineWidth > 0.0f ? std::max(1, static_cast<int>(std::lround(outlineWidth * scale))) : 0;
	shaded = shadeTo[0] >= 0;
	for (int i = 0; i < 3; i++) {
		shadeColor[i] = shaded ? shadeTo[i] : 0;
	}
	TTF_SetFontStyle(font, TTF_STYLE_NORMAL);
	if (!(outline > 0 ? BuildOutlinedSheet() : BuildSheet(noKey ? nullptr : key))) {
		CloseFont();
		glyphs.Release();
		return false;
	}
	return true;
}

bool GL2D_TrueTypeText::MeasureSheet(SheetShape &shape) const {
	shape.chars = GetCharOrder();
	shape.count = static_cast<int>(strlen(shape.chars));
	shape.height = GetFontHeight();
	shape.rows = (shape.count + GLYPHS_PER_ROW - 1) / GLYPHS_PER_ROW;
	return shape.count > 0 && shape.height >= 1;
}

bool GL2D_TrueTypeText::BuildSheet(const int *key) {
	kerning = 0;
	SheetShape shape;
	if (!MeasureSheet(shape)) {
		return false;
	}
	const char *chars = shape.chars;
	const int count = shape.count, height = shape.height, rows = shape.rows;

	// Each glyph is as wide as its one-letter text. A row's width is the larger of the row
	// measured as one text and its glyphs side by side, so that no glyph is cut at the edge.
	int widths[MAX_ORDER];
	long long sheetWidth = 0;
	for (int row = 0; row < rows; row++) {
		char rowText[GLYPHS_PER_ROW + 1] = {};
		long long sideBySide = 0;
		for (int column = 0; column < GLYPHS_PER_ROW; column++) {
			int i = row * GLYPHS_PER_ROW + column;
			if (i >= count) {
				break;
			}
			char letter[2] = {chars[i], '\0'};
			widths[i] = std::max(0, GetTextWidth(letter));
			sideBySide += widths[i];
			rowText[column] = chars[i];
		}
		sheetWidth = std::max(sheetWidth, std::max<long long>(GetTextWidth(rowText), sideBySide));
	}
	const long long sheetHeight = static_cast<long long>(height) * rows;
	if (!SheetFits(sheetWidth, sheetHeight)) {
		return false;
	}

	SDL_Surface *sheet = SDL_CreateRGBSurface(
		SDL_SWSURFACE, static_cast<int>(sheetWidth), static_cast<int>(sheetHeight), 32, MASK_R, MASK_G, MASK_B, MASK_A);
	if (!sheet) {
		return false;
	}
	SDL_FillRect(sheet, nullptr, SDL_MapRGBA(sheet->format, 0, 0, 0, 255));
	SDL_Color ink = {ColorByte(color.r), ColorByte(color.g), ColorByte(color.b), 0};
	int penX = 0;
	for (int i = 0; i < count; i++) {
		if (i % GLYPHS_PER_ROW == 0) {
			penX = 0;
		}
		char letter[2] = {chars[i], '\0'};
		SDL_Surface *glyph = TTF_RenderText_Solid(font, letter, ink);
		if (!glyph) {
			Log(LOG_WARNING, "GL2D: glyph %d of the font could not be rendered: %s", i, TTF_GetError());
			SDL_FreeSurface(sheet);
			return false;
		}
		SDL_Rect at;
		at.x = static_cast<Sint16>(penX);
		at.y = static_cast<Sint16>(height * (i / GLYPHS_PER_ROW));
		SDL_BlitSurface(glyph, nullptr, sheet, &at);
		SDL_FreeSurface(glyph);
		penX += widths[i];
	}

	GL2D_ColorKey colorKey = {0, 0, 0};
	if (key) {
		colorKey.r = static_cast<uint8_t>(key[0]);
		colorKey.g = static_cast<uint8_t>(key[1]);
		colorKey.b = static_cast<uint8_t>(key[2]);
	}
	glyphs.Release();
	bool built = glyphs.CreateFromSurface(sheet, key ? &colorKey : nullptr);
	SDL_FreeSurface(sheet);
	if (!built) {
		return false;
	}
	AddGlyphRegions(widths, count, height);
	return true;
}

void GL2D_TrueTypeText::AddGlyphRegions(const int *widths, int count, int height) {
	int penX = 0;
	for (int i = 0; i < count; i++) {
		if (i % GLYPHS_PER_ROW == 0) {
			penX = 0;
		}
		glyphs.AddRegion(penX, height * (i / GLYPHS_PER_ROW), widths[i], height);
		penX += widths[i];
	}
}

bool GL2D_TrueTypeText::SheetFits(long long sheetWidth, long long sheetHeight) const {
	const long long tiles = ((sheetWidth + GL2D_Bitmap::TILE_SIZE - 1) / GL2D_Bitmap::TILE_SIZE) *
							((sheetHeight + GL2D_Bitmap::TILE_SIZE - 1) / GL2D_Bitmap::TILE_SIZE);
	if (sheetWidth < 1 || sheetWidth > GL2D_Bitmap::MAX_WIDTH || tiles > GL2D_Bitmap::MAX_TILES) {
		Log(LOG_WARNING, "GL2D: a %lldx%lld glyph sheet cannot be held, font refused", sheetWidth, sheetHeight);
		return false;
	}
	return true;
}

bool GL2D_TrueTypeText::BuildOutlinedSheet() {
	SheetShape shape;
	if (!MeasureSheet(shape)) {
		return false;
	}
	const char *chars = shape.chars;
	const int count = shape.count, height = shape.height, rows = shape.rows;
	glyphs.Release(); // the widths below are measured by the font, not by an older sheet
	SDL_Color ink = {ColorByte(color.r), ColorByte(color.g), ColorByte(color.b), 0};
	std::vector<SDL_Surface *> rings(count, nullptr), bodies(count, nullptr);
	int widths[MAX_ORDER];
	long long sheetWidth = 0, rowWidth = 0;
	for (int i = 0; i < count; i++) {
		char letter[2] = {chars[i], '\0'};
		TTF_SetFontOutline(font, outline);
		rings[i] = TTF_RenderText_Blended(font, letter, OUTLINE_INK);
		TTF_SetFontOutline(font, 0);
		bodies[i] = TTF_RenderText_Blended(font, letter, ink);
		widths[i] = std::max(GetTextWidth(letter) + 2 * outline, rings[i] ? rings[i]->w : 0);
		rowWidth = i % GLYPHS_PER_ROW == 0 ? widths[i] : rowWidth + widths[i];
		sheetWidth = std::max(sheetWidth, rowWidth);
	}
	const long long sheetHeight = static_cast<long long>(height) * rows;
	bool built = SheetFits(sheetWidth, sheetHeight);
	std::vector<Uint8> rgba;
	if (built) {
		rgba.assign(static_cast<size_t>(sheetWidth * sheetHeight * 4), 0);
	}
	int penX = 0;
	for (int i = 0; i < count; i++) {
		if (i % GLYPHS_PER_ROW == 0) {
			penX = 0;
		}
		const int top = height * (i / GLYPHS_PER_ROW);
		if (built) {
			// The glyph goes over its ring, shifted by the outline as SDL_ttf lays the two out.
			Lay(rings[i], rgba, static_cast<int>(sheetWidth), static_cast<int>(sheetHeight), penX, top);
			// Shaded from the top of the capitals to the baseline.
			const int ascent = TTF_FontAscent(font);
			const Shade shade{ascent - ascent * 3 / 4, ascent,
				{static_cast<Uint8>(shadeColor[0]), static_cast<Uint8>(shadeColor[1]),
					static_cast<Uint8>(shadeColor[2]), 0},
				shaded};
			Lay(bodies[i], rgba, static_cast<int>(sheetWidth), static_cast<int>(sheetHeight), penX + outline,
				top + outline, shade);
		}
		SDL_FreeSurface(rings[i]);
		SDL_FreeSurface(bodies[i]);
		penX += widths[i];
	}
	if (!built) {
		return false;
	}
	SDL_Surface *image = SDL_CreateRGBSurface(
		SDL_SWSURFACE, static_cast<int>(sheetWidth), static_cast<int>(sheetHeight), 32, MASK_R, MASK_G, MASK_B, 0);
	SDL_Surface *alpha =
		SDL_CreateRGBSurface(SDL_SWSURFACE, static_cast<int>(sheetWidth), static_cast<int>(sheetHeight), 8, 0, 0, 0, 0);
	if (image && alpha) {
		SDL_LockSurface(image);
		SDL_LockSurface(alpha);
		for (long long y = 0; y < sheetHeight; y++) {
			Uint8 *colour = static_cast<Uint8 *>(image->pixels) + y * image->pitch;
			Uint8 *cover = static_cast<Uint8 *>(alpha->pixels) + y * alpha->pitch;
			for (long long x = 0; x < sheetWidth; x++) {
				const Uint8 *p = &rgba[static_cast<size_t>((y * sheetWidth + x) * 4)];
				Uint32 pixel = SDL_MapRGB(image->format, p[0], p[1], p[2]);
				memcpy(colour + x * 4, &pixel, 4);
				cover[x] = p[3];
			}
		}
		SDL_UnlockSurface(alpha);
		SDL_UnlockSurface(image);
		glyphs.Release();
		built = glyphs.CreateFromSurfaces(image, alpha);
	} else {
		built = false;
	}
	SDL_FreeSurface(alpha);
	SDL_FreeSurface(image);
	if (!built) {
		return false;
	}
	AddGlyphRegions(widths, count, height);
	// Neighbouring rings overlap by one outline: words stay close to the font's own spacing.
	kerning = -outline;
	return true;
}

int GL2D_TrueTypeText::GetFontHeight() const {
	return font ? TTF_FontHeight(font) + 2 * outline : -1;
}

int GL2D_TrueTypeText::GetFontWidth() const {
	return GetFontHeight();
}

int GL2D_TrueTypeText::GetTextWidth(const char *measured) const {
	if (!font) {
		return -1;
	}
	if (!measured) {
		return 0;
	}
	if (outline > 0 && glyphs.GetRegionCount() > 0) {
		// As the glyphs are laid out when written.
		int advance = 0;
		for (const char *c = measured; *c; c++) {
			const char *at = strchr(GetCharOrder(), *c);
			if (at && at - GetCharOrder() < glyphs.GetRegionCount()) {
				advance += kerning + static_cast<int>(glyphs.GetRegion(static_cast<int>(at - GetCharOrder())).w);
			}
		}
		return advance;
	}
	int w = 0, h = 0;
	if (TTF_SizeText(font, measured, &w, &h) != 0) {
		return 0;
	}
	return w;
}
