#ifndef TAVRO_APP_SYSTEM_H
#define TAVRO_APP_SYSTEM_H

struct SDL_Surface;
class NoxInput;
class SoundBank;
class VideoConfig;

// Brings the process from nothing to a window with an OpenGL context, the scene graph, the
// input library and the sound system, reads the two settings files, and undoes it all at the end.
// While it is up, g_videoConfig, g_input and g_sound point at its objects.
class System {
public:
	// Opens the video mode; the seam lets tests refuse depth sizes without a display.
	typedef SDL_Surface *(*SetModeFunction)(int width, int height, int bitsPerPixel, int depthBits, bool fullscreen);

	static const char *const CAPTION;
	// What SDL says when no visual has the depth buffer asked for; only then is a smaller one tried.
	static const char *const NO_VISUAL_ERROR;
	static constexpr int MAX_SCREEN_SIZE = 16384; // pixels

	System();
	~System();

	bool Startup();
	void Shutdown();

	bool OpenScreen(const char *caption, int width, int height, int bitsPerPixel, bool fullscreen);
	// Between a window and the full screen; a switch that fails leaves the window as it was, with
	// a warning. The choice is written to "video.cfg" at shut-down.
	bool ToggleFullScreen();
	void SetModeFunctionForTests(SetModeFunction function) { setMode = function; }
	// Switches the screen surface between window and full screen; 1 on success, as SDL's.
	typedef int (*ToggleFunction)(SDL_Surface *screen);
	void SetToggleFunctionForTests(ToggleFunction function) { toggle = function; }

	const VideoConfig *GetVideoConfig() const { return videoConfig; }
	// The size of the window SDL opened.
	int GetScreenWidth() const { return screenWidth; }
	int GetScreenHeight() const { return screenHeight; }

private:
	bool InitEngine();
	void DeinitEngine();
	bool InitInput();
	void DeinitInput();
	void QuitSDL();

	SetModeFunction setMode;
	ToggleFunction toggle;
	bool fullscreenChanged; // since start-up: "video.cfg" is written at shut-down
	SDL_Surface *screen;
	int screenWidth;  // pixels
	int screenHeight; // pixels
	VideoConfig *videoConfig;
	NoxInput *input;
	SoundBank *sound;
};

#endif
