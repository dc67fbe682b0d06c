// Writes every binary asset of the game's data tree: tavro_gen <data dir> [part...]; or the
// desktop icons: tavro_gen --icons <dir>.
#include "Gen.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

std::string gOut;

std::string OutPath(const std::string &rel) {
	return gOut + "/" + rel;
}

bool SavePicture(const Canvas &c, const std::string &relBase) {
	return c.SaveBmp24(OutPath(relBase + ".bmp"), true) && c.SaveAlphaBmp8(OutPath(relBase + "_a.bmp"));
}

static bool MakeDir(const std::string &path) {
	if (mkdir(path.c_str(), 0755) == 0)
		return true;
	struct stat st;
	return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int main(int argc, char **argv) {
	if (argc < 2) {
		std::fprintf(stderr, "usage: %s <data dir> [part...]\n", argv[0]);
		return 2;
	}
	if (std::strcmp(argv[1], "--icons") == 0) {
		bool ok = argc == 3 && MakeDir(argv[2]) && MakeIcons(argv[2]);
		CloseFonts();
		return ok ? 0 : 1;
	}
	gOut = argv[1];
	for (const char *sub : {"", "/misc", "/arena", "/rects", "/fonts", "/sounds"})
		if (!MakeDir(gOut + sub)) {
			std::fprintf(stderr, "cannot make %s%s\n", gOut.c_str(), sub);
			return 1;
		}
	struct Step {
		const char *name;
		bool (*run)();
	};
	const Step steps[] = {{"pictures", MakePictures}, {"fonts", MakeFonts}, {"models", MakeModels},
		{"arenas", MakeArenas}, {"sounds", MakeSounds}, {"music", MakeMusic}};
	int failed = 0;
	for (const Step &s : steps) {
		bool wanted = argc == 2;
		for (int i = 2; i < argc; i++)
			wanted |= std::strcmp(argv[i], s.name) == 0;
		if (wanted && !s.run()) {
			std::fprintf(stderr, "tavro_gen: %s failed\n", s.name);
			failed++;
		}
	}
	if (!FontsOk()) {
		std::fprintf(stderr, "tavro_gen: DejaVu fonts missing (fonts-dejavu-core)\n");
		failed++;
	}
	CloseFonts();
	return failed ? 1 : 0;
}
