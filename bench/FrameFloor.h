#ifndef TAVRO_BENCH_FRAMEFLOOR_H
#define TAVRO_BENCH_FRAMEFLOOR_H

// A scene's frame as a multiple of the floor: the frame of the same window that only clears,
// swaps and waits for the GL. The two are measured in turns, a batch of each at a time, so that
// whatever else the machine runs meanwhile weighs on both alike; each round gives a ratio and
// the median of the rounds is reported.
//
// RunAtSizes runs a benchmark once per window size, each in a process of its own (a window and
// its GL context, with everything PLIB and the 2D library keep of them, are never reused):
//   bench_x [WIDTHxHEIGHT ...]   (640x480 and 1920x1080 without sizes)
// The X screen must hold the largest: xvfb-run -a -s "-screen 0 1920x1080x24" bench/bench_x

#include <sys/wait.h>
#include <unistd.h>

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace floorbench {

struct Size {
	int width, height; // pixels
};

inline double MedianOf(std::vector<double> v) {
	if (v.empty()) {
		return 0.0;
	}
	std::sort(v.begin(), v.end());
	return v[v.size() / 2];
}

// Milliseconds one call of frame takes, the GL done with it.
inline double TimedFrame(const std::function<void()> &frame) {
	const auto start = std::chrono::steady_clock::now();
	frame();
	glFinish();
	return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline void FloorFrame() {
	glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	SDL_GL_SwapBuffers();
}

struct Ratio {
	double sceneMs = 0.0;               // median frame
	double floorMs = 0.0;               // median floor frame
	double ratio = 0.0;                 // median of the rounds' ratios
	double lowest = 0.0, highest = 0.0; // of the rounds' ratios
};

// rounds × (batch floor frames, then batch scene frames); warmUp scene frames first.
inline Ratio Measure(const std::function<void()> &scene, int rounds = 30, int batch = 10, int warmUp = 30) {
	for (int i = 0; i < warmUp; i++) {
		TimedFrame(scene);
	}
	std::vector<double> scenes, floors, ratios;
	for (int round = 0; round < rounds; round++) {
		std::vector<double> s, f;
		for (int i = 0; i < batch; i++) {
			f.push_back(TimedFrame(FloorFrame));
		}
		for (int i = 0; i < batch; i++) {
			s.push_back(TimedFrame(scene));
		}
		ratios.push_back(MedianOf(s) / std::max(1e-6, MedianOf(f)));
		scenes.insert(scenes.end(), s.begin(), s.end());
		floors.insert(floors.end(), f.begin(), f.end());
	}
	Ratio r;
	r.sceneMs = MedianOf(scenes);
	r.floorMs = MedianOf(floors);
	r.ratio = MedianOf(ratios);
	r.lowest = *std::min_element(ratios.begin(), ratios.end());
	r.highest = *std::max_element(ratios.begin(), ratios.end());
	return r;
}

inline void Print(const char *scene, const Size &size, const Ratio &r) {
	printf("%-32s %4dx%-4d  frame %7.2f ms  floor %6.2f ms  ratio %5.2f (rounds %.2f to %.2f; aim: 5 at most)\n", scene,
		size.width, size.height, r.sceneMs, r.floorMs, r.ratio, r.lowest, r.highest);
}

// The window of the size, as the program opens it: 32 bits, a depth buffer, double buffered.
inline bool OpenWindow(const Size &size) {
	// xvfb-run may start the program a moment before its server takes connections.
	for (int attempt = 0; SDL_Init(SDL_INIT_VIDEO) != 0; attempt++) {
		if (attempt == 20) {
			fprintf(stderr, "no video (%s): run under Xvfb\n", SDL_GetError());
			return false;
		}
		usleep(100000);
	}
	SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
	SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
	if (!SDL_SetVideoMode(size.width, size.height, 32, SDL_OPENGL)) {
		fprintf(stderr, "no %dx%d OpenGL window: run under Xvfb with a screen that large\n", size.width, size.height);
		return false;
	}
	return true;
}

// The sizes named on the command line from argument first on ("WxH"), or the two defaults.
inline std::vector<Size> SizesFrom(int argc, char **argv, int first) {
	std::vector<Size> sizes;
	for (int i = first; i < argc; i++) {
		Size s{0, 0};
		if (sscanf(argv[i], "%dx%d", &s.width, &s.height) == 2 && s.width > 0 && s.height > 0) {
			sizes.push_back(s);
		}
	}
	if (sizes.empty()) {
		sizes = {{640, 480}, {1920, 1080}};
	}
	return sizes;
}

// Runs run(size) in a child process per size, one after the other; true when every child
// returned 0.
inline bool RunAtSizes(const std::vector<Size> &sizes, const std::function<int(const Size &)> &run) {
	bool ok = true;
	for (const Size &size : sizes) {
		fflush(stdout);
		const pid_t child = fork();
		if (child == 0) {
			const int code = run(size);
			fflush(stdout);
			_exit(code);
		}
		int status = 0;
		ok = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ok;
	}
	return ok;
}

} // namespace floorbench

#endif
