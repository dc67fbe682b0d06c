#ifndef TAVRO_GL2D_GL2D_MOUSE_H
#define TAVRO_GL2D_GL2D_MOUSE_H

#include <cstddef>
#include <memory>

class GL2D_SimpleBmpRect;

// The animated mouse cursor (".nmd" file): a few pictures shown in turn, each for a fixed
// time, placed so that the hot spot sits on the mouse position.
class GL2D_Mouse {
public:
	static constexpr int MAX_FRAMES = 10;
	static constexpr size_t MAX_NAME = 255; // characters of a frame file name

	GL2D_Mouse();
	~GL2D_Mouse();
	GL2D_Mouse(const GL2D_Mouse &) = delete;
	GL2D_Mouse &operator=(const GL2D_Mouse &) = delete;

	// Reads frame count (1 to MAX_FRAMES), that many ".nsbr" names, frame duration, hot spot x
	// and y. False when the file cannot be opened or a field is missing or out of range; the
	// cursor is then empty. A frame whose picture fails to load stays empty and draws nothing.
	bool Load(const char *file);

	// Draws the current frame at the mouse position (x, y), then lets elapsed ms of the
	// animation pass (the menus pass the frame time of the frame timer).
	void Draw(int x, int y, int elapsed);
	// The pictures and the hot spot this many times larger (1 to 8), smoothed when not 1.
	void SetScale(float scale);

	int GetFrameCount() const { return frameCount; }
	int GetCurrentFrame() const { return currentFrame; }
	int GetFrameDuration() const { return frameDuration; }
	int GetHotSpotX() const { return hotSpotX; }
	int GetHotSpotY() const { return hotSpotY; }
	// Null for an index without a frame.
	const GL2D_SimpleBmpRect *GetFrame(int index) const;

private:
	void Release();

	std::unique_ptr<GL2D_SimpleBmpRect> frames[MAX_FRAMES];
	int frameCount;
	int hotSpotX;      // pixels from the picture's left
	int hotSpotY;      // pixels from the picture's top
	int frameDuration; // ms
	int elapsed;       // ms, in the current frame
	int currentFrame;
	float scale;
};

#endif
