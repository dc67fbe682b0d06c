#include "core/VideoConfig.h"

#include <cstdio>

VideoConfig *g_videoConfig = nullptr;

VideoConfig::VideoConfig()
	: width(640), height(480), askedWidth(640), askedHeight(480), bitsPerPixel(32), fullscreen(true) {}

bool VideoConfig::Load(const char *path) {
	FILE *file = fopen(path, "rt");
	if (!file) {
		return false;
	}
	int value = 0;
	if (fscanf(file, "%d", &value) == 1) {
		width = value;
		if (fscanf(file, "%d", &value) == 1) {
			height = value;
			if (fscanf(file, "%d", &value) == 1) {
				bitsPerPixel = value;
			}
		}
	}
	// Full screen only when asked for explicitly; anything else gives a window.
	int flag = 0;
	fullscreen = fscanf(file, "%d", &flag) == 1 && flag == 1;
	fclose(file);
	askedWidth = width;
	askedHeight = height;
	return true;
}

bool VideoConfig::Save(const char *path) const {
	FILE *file = fopen(path, "wt");
	if (!file) {
		return false;
	}
	bool written = fprintf(file, "%d %d %d %d\n", askedWidth, askedHeight, bitsPerPixel, fullscreen ? 1 : 0) > 0;
	return fclose(file) == 0 && written;
}
