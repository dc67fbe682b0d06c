#ifndef TAVRO_GL2D_GL2D_CACHEMANAGER_H
#define TAVRO_GL2D_GL2D_CACHEMANAGER_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "gl2d/GL2D_Rect.h"

class GL2D_Font;
class GL2D_BmpRect;
class GL2D_SimpleBmpRect;

// Hands out fonts and pictures by file name so that everything naming the same file shares one
// loaded object. The cache owns them all: callers never delete what they get, and must stop
// using it when the cache goes.
class GL2D_CacheManager {
public:
	static constexpr size_t MAX_NAME = 255; // characters of a file name

	GL2D_CacheManager();
	~GL2D_CacheManager();
	GL2D_CacheManager(const GL2D_CacheManager &) = delete;
	GL2D_CacheManager &operator=(const GL2D_CacheManager &) = delete;

	// ".ntf" (made in the given colour, its sizes times scale) or ".nbf" (a picture: drawn as it
	// is at any scale); null for another extension or a failed load. The same file in another
	// colour or at another scale is another font.
	GL2D_Font *GetFont(const char *file, float r, float g, float b, float a, float scale = 1.0f);
	// ".nbr" only.
	GL2D_BmpRect *GetRect(const char *file);
	// ".nsbr" only.
	GL2D_SimpleBmpRect *GetSimpleRect(const char *file);

	int GetFontCount() const { return static_cast<int>(fonts.size()); }
	int GetRectCount() const { return static_cast<int>(rects.size()); }
	int GetSimpleRectCount() const { return static_cast<int>(simpleRects.size()); }

private:
	template <class T>
	struct Entry {
		std::string file;
		GL2D_Color color; // what was asked for; pictures all share white
		float scale;      // of a TrueType font's sizes; 1 for pictures
		std::unique_ptr<T> object;
	};

	template <class T>
	static T *Find(const std::vector<Entry<T>> &entries, const char *file, const GL2D_Color &color, float scale = 1.0f);
	template <class T>
	static T *Keep(std::vector<Entry<T>> &entries, const char *file, const GL2D_Color &color, std::unique_ptr<T> object,
		float scale = 1.0f);

	std::vector<Entry<GL2D_Font>> fonts;
	std::vector<Entry<GL2D_BmpRect>> rects;
	std::vector<Entry<GL2D_SimpleBmpRect>> simpleRects;
};

#endif
