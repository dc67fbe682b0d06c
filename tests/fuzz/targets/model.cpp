// 3DS models as every object of the scene loads them (the file and texture checks, then PLIB's
// reader), stripped for inputs of odd length as most are, then hung in a scene and drawn. The
// game's textures of both folders lie beside the input, so its models find theirs; an input
// may carry a texture of its own after TEXTURE_MARK, which the model names "fuzz.bmp".
#include <unistd.h>

#include <plib/ssg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "FuzzKit.h"
#include "world/EntityParts.h"

namespace fs = std::filesystem;

namespace {

const char TEXTURE_MARK[] = "#TEXTURE#";
const char *const FOLDER = "data/misc";
const char *const TEXTURE = "data/misc/fuzz.bmp";

// The arena's textures beside the objects' ones (their names differ), where the input lies.
void Prepare() {
	for (const fs::directory_entry &entry : fs::directory_iterator("data/arena")) {
		const fs::path beside = fs::path(FOLDER) / entry.path().filename();
		if (entry.path().extension() == ".bmp" && !fs::exists(beside)) {
			fs::create_symlink(fs::read_symlink(entry.path()), beside);
		}
	}
}

void Write(const char *file, const uint8_t *data, size_t size) {
	FILE *out = fopen(file, "wb");
	FuzzCheck(out != nullptr, "a file of the input cannot be written");
	const bool written = fwrite(data, 1, size, out) == size;
	FuzzCheck(fclose(out) == 0 && written, "a file of the input cannot be written");
}

void Load(const char *file, const uint8_t *data, size_t size) {
	const uint8_t *end = data + size;
	const uint8_t *mark = std::search(data, end, TEXTURE_MARK, TEXTURE_MARK + strlen(TEXTURE_MARK));
	unlink(TEXTURE);
	if (mark != end) {
		Write(file, data, mark - data);
		const uint8_t *texture = mark + strlen(TEXTURE_MARK);
		Write(TEXTURE, texture, end - texture);
	}
	ssgEntity *model = LoadEntityModel(FOLDER, "fuzz.3ds", size % 2 == 1);
	if (!model) {
		return;
	}
	ssgRoot *root = new ssgRoot();
	root->addKid(model);
	ssgSetFOV(60.0f, 60.0f);
	ssgSetNearFar(0.1f, 10000.0f);
	sgCoord camera;
	sgSetCoord(&camera, 0.0f, -50.0f, 20.0f, 0.0f, -20.0f, 0.0f);
	ssgSetCamera(&camera);
	ssgCullAndDraw(root);
	delete root;
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"data/misc/fuzz.3ds", true, Prepare, Load};
