#include "WorldTestKit.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

void InitPhysicsOnce() {
	static bool done = false;
	if (!done) {
		dInitODE();
		done = true;
	}
}

PhysicsScene::PhysicsScene() {
	InitPhysicsOnce();
	world = dWorldCreate();
	dWorldSetGravity(world, 0, 0, 0);
	space = dSimpleSpaceCreate(nullptr);
	root = new ssgRoot();
	root->ref();
}

PhysicsScene::~PhysicsScene() {
	ssgDeRefDelete(root);
	dSpaceDestroy(space);
	dWorldDestroy(world);
}

ScopedLog::ScopedLog() : saved(g_log) {
	log.Open("Log.txt", "test");
	g_log = &log;
}

ScopedLog::~ScopedLog() {
	g_log = saved;
}

std::string ScopedLog::Text() const {
	std::ifstream in("Log.txt");
	std::stringstream ss;
	ss << in.rdbuf();
	return ss.str();
}

void LinkDataFolder(const ScratchDir &scratch, const std::string &folder) {
	fs::path target = fs::path(scratch.Path()) / "data" / folder;
	fs::create_directories(target);
	for (const auto &entry : fs::directory_iterator(fs::path(BuildDataDir()) / folder)) {
		fs::path link = target / entry.path().filename();
		if (!fs::exists(link)) {
			fs::create_symlink(entry.path(), link);
		}
	}
}

SceneWindow::SceneWindow(int width, int height) : window(new GLWindow(width, height)) {
	if (window->IsOpen()) {
		ssgInit();
	}
}

Frame ReadFrame(int width, int height) {
	Frame frame;
	frame.width = width;
	frame.height = height;
	std::vector<unsigned char> rgb(size_t(width) * height * 3);
	glPixelStorei(GL_PACK_ALIGNMENT, 1);
	glReadBuffer(GL_BACK);
	glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
	frame.pixels.resize(size_t(width) * height);
	for (int y = 0; y < height; y++) {
		const unsigned char *row = &rgb[size_t(height - 1 - y) * width * 3];
		for (int x = 0; x < width; x++) {
			const unsigned char *p = row + x * 3;
			frame.pixels[size_t(y) * width + x] = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
		}
	}
	return frame;
}

bool SaveZoomed(const Frame &frame, int x0, int y0, int x1, int y1, int zoom, const std::string &name) {
	x0 = std::max(x0, 0);
	y0 = std::max(y0, 0);
	x1 = std::min(x1, frame.width - 1);
	y1 = std::min(y1, frame.height - 1);
	if (x1 < x0 || y1 < y0 || zoom < 1) {
		return false;
	}
	const int w = (x1 - x0 + 1) * zoom, h = (y1 - y0 + 1) * zoom;
	SDL_Surface *image = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
	if (!image) {
		return false;
	}
	SDL_LockSurface(image);
	for (int y = 0; y < h; y++) {
		unsigned char *row = static_cast<unsigned char *>(image->pixels) + y * image->pitch;
		for (int x = 0; x < w; x++) {
			const uint32_t p = frame.At(x0 + x / zoom, y0 + y / zoom);
			// With these masks a pixel's bytes are blue, green, red.
			row[x * 3 + 0] = p & 0xff;
			row[x * 3 + 1] = (p >> 8) & 0xff;
			row[x * 3 + 2] = (p >> 16) & 0xff;
		}
	}
	SDL_UnlockSurface(image);
	const fs::path shots = fs::path(TAVRO_BINARY_DIR) / "screenshots";
	std::error_code ec;
	fs::create_directories(shots, ec);
	const bool saved = SDL_SaveBMP(image, (shots / name).c_str()) == 0;
	SDL_FreeSurface(image);
	return saved;
}
