#include "gl2d/GL2D_TrueTypeText.h"

#include <SDL/SDL.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstring>
#include <string>

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

} // namespace

int GL2D_TrueTypeText::libraryUsers = 0;

GL2D_TrueTypeText::GL2D_TrueTypeText() : font(nullptr), holdsLibrary(false) {
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
	if (size < 1 || size > MAX_POINT_SIZE || !(noKey || keyInRange)) {
		Log(LOG_WARNING, "GL2D: %s: point size or colour key out of range, refused", file);
		return false;
	}

	TTF_Font *opened = OpenFont(file, name, size);
	if (!opened) {
		return false;
	}
	CloseFont();
	font = opened;
	TTF_SetFontStyle(font, TTF_STYLE_NORMAL);
	if (!BuildSheet(noKey ? nullptr : key)) {
		CloseFont();
		glyphs.Release();
		return false;
	}
	return true;
}

bool GL2D_TrueTypeText::BuildSheet(const int *key) {
	const char *chars = GetCharOrder();
	const int count = static_cast<int>(strlen(chars));
	const int height = GetFontHeight();
	if (count == 0 || height < 1) {
		return false;
	}
	const int rows = (count + GLYPHS_PER_ROW - 1) / GLYPHS_PER_ROW;

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
	const long long tiles = ((sheetWidth + GL2D_Bitmap::TILE_SIZE - 1) / GL2D_Bitmap::TILE_SIZE) *
							((sheetHeight + GL2D_Bitmap::TILE_SIZE - 1) / GL2D_Bitmap::TILE_SIZE);
	if (sheetWidth < 1 || sheetWidth > GL2D_Bitmap::MAX_WIDTH || tiles > GL2D_Bitmap::MAX_TILES) {
		Log(LOG_WARNING, "GL2D: a %lldx%lld glyph sheet cannot be held, font refused", sheetWidth, sheetHeight);
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
	penX = 0;
	for (int i = 0; i < count; i++) {
		if (i % GLYPHS_PER_ROW == 0) {
			penX = 0;
		}
		glyphs.AddRegion(penX, height * (i / GLYPHS_PER_ROW), widths[i], height);
		penX += widths[i];
	}
	return true;
}

int GL2D_TrueTypeText::GetFontHeight() const {
	return font ? TTF_FontHeight(font) : -1;
}

int GL2D_TrueTypeText::GetFontWidth() const {
	return GetFontHeight();
}

int GL2D_TrueTypeText::GetTextWidth(const char *measured) const {
	if (!font) {
		return -1;
	}
	int w = 0, h = 0;
	if (!measured || TTF_SizeText(font, measured, &w, &h) != 0) {
		return 0;
	}
	return w;
}
