#include "gl2d/GL2D_CacheManager.h"

#include <cstring>

#include "core/LogFile.h"
#include "gl2d/GL2D_BmpRect.h"
#include "gl2d/GL2D_BmpText.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "gl2d/GL2D_TrueTypeText.h"

namespace {

const GL2D_Color WHITE = {1.0f, 1.0f, 1.0f, 1.0f};

// The text from the last "." on; empty when there is none.
const char *Extension(const char *file) {
	const char *dot = strrchr(file, '.');
	return dot ? dot : "";
}

bool Usable(const char *file) {
	if (!file) {
		return false;
	}
	if (strlen(file) > GL2D_CacheManager::MAX_NAME) {
		Log(LOG_WARNING, "GL2D: cache: a file name longer than %u characters, refused",
			unsigned(GL2D_CacheManager::MAX_NAME));
		return false;
	}
	return true;
}

} // namespace

GL2D_CacheManager::GL2D_CacheManager() {}

GL2D_CacheManager::~GL2D_CacheManager() {
	// The fonts and pictures go with their entries. The screens rely on destroying their
	// widget manager, which only points at these objects, after this cache without any widget
	// drawing in between.
}

template <class T>
T *GL2D_CacheManager::Find(
	const std::vector<Entry<T>> &entries, const char *file, const GL2D_Color &color, float scale) {
	for (const Entry<T> &entry : entries) {
		if (entry.file == file && entry.scale == scale && entry.color.r == color.r && entry.color.g == color.g &&
			entry.color.b == color.b && entry.color.a == color.a) {
			return entry.object.get();
		}
	}
	return nullptr;
}

template <class T>
T *GL2D_CacheManager::Keep(
	std::vector<Entry<T>> &entries, const char *file, const GL2D_Color &color, std::unique_ptr<T> object, float scale) {
	// A failed load keeps nothing, so a later request tries again.
	if (!object->Load(file)) {
		return nullptr;
	}
	entries.push_back(Entry<T>{file, color, scale, std::move(object)});
	return entries.back().object.get();
}

GL2D_Font *GL2D_CacheManager::GetFont(const char *file, float r, float g, float b, float a, float scale) {
	if (!Usable(file)) {
		return nullptr;
	}
	const GL2D_Color color = {r, g, b, a};
	const char *extension = Extension(file);
	const bool trueType = strcmp(extension, ".ntf") == 0;
	// A picture font has one size; a TrueType one holds its scale in bounds (NaN gives 1).
	const float kept = trueType ? GL2D_TrueTypeText::HeldScale(scale) : 1.0f;
	if (GL2D_Font *found = Find(fonts, file, color, kept)) {
		return found;
	}
	std::unique_ptr<GL2D_Font> font;
	if (trueType) {
		// TrueType glyphs take their colour and size when they are rendered, at load.
		GL2D_TrueTypeText *text = new GL2D_TrueTypeText;
		font.reset(text);
		text->SetColor(r, g, b, a);
		text->SetScale(kept);
	} else if (strcmp(extension, ".nbf") == 0) {
		font.reset(new GL2D_BmpText);
	} else {
		return nullptr;
	}
	return Keep(fonts, file, color, std::move(font), kept);
}

GL2D_BmpRect *GL2D_CacheManager::GetRect(const char *file) {
	if (!Usable(file)) {
		return nullptr;
	}
	if (GL2D_BmpRect *found = Find(rects, file, WHITE)) {
		return found;
	}
	if (strcmp(Extension(file), ".nbr") != 0) {
		return nullptr;
	}
	return Keep(rects, file, WHITE, std::unique_ptr<GL2D_BmpRect>(new GL2D_BmpRect));
}

GL2D_SimpleBmpRect *GL2D_CacheManager::GetSimpleRect(const char *file) {
	if (!Usable(file)) {
		return nullptr;
	}
	if (GL2D_SimpleBmpRect *found = Find(simpleRects, file, WHITE)) {
		return found;
	}
	if (strcmp(Extension(file), ".nsbr") != 0) {
		return nullptr;
	}
	return Keep(simpleRects, file, WHITE, std::unique_ptr<GL2D_SimpleBmpRect>(new GL2D_SimpleBmpRect));
}
