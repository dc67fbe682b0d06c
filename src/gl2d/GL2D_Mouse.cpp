#include "gl2d/GL2D_Mouse.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "core/LogFile.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "gl2d/GL2D_TextFile.h"

GL2D_Mouse::GL2D_Mouse()
	: frameCount(0), hotSpotX(0), hotSpotY(0), frameDuration(0), elapsed(0), currentFrame(0), scale(1.0f) {}

GL2D_Mouse::~GL2D_Mouse() {
	Release();
}

void GL2D_Mouse::Release() {
	for (std::unique_ptr<GL2D_SimpleBmpRect> &frame : frames) {
		frame.reset();
	}
	frameCount = 0;
	elapsed = 0;
	currentFrame = 0;
}

bool GL2D_Mouse::Load(const char *file) {
	Release();
	GL2D_TextFile text;
	if (!text.Open(file)) {
		return false;
	}
	int count = 0;
	if (!text.NextInt(count) || count < 1 || count > MAX_FRAMES) {
		Log(LOG_WARNING, "GL2D: %s: frame count missing or not 1 to %d, refused", file, MAX_FRAMES);
		return false;
	}
	std::string names[MAX_FRAMES];
	bool read = true;
	for (int i = 0; read && i < count; i++) {
		read = text.NextWord(names[i], MAX_NAME);
	}
	int duration = 0, hotX = 0, hotY = 0;
	read = read && text.NextInt(duration) && text.NextInt(hotX) && text.NextInt(hotY);
	if (!read || duration < 0) {
		Log(LOG_WARNING, "GL2D: %s: a frame name, the duration or the hot spot is missing or bad, refused", file);
		return false;
	}
	for (int i = 0; i < count; i++) {
		frames[i].reset(new GL2D_SimpleBmpRect);
		frames[i]->SetSmooth(scale != 1.0f);
		frames[i]->Load(names[i].c_str());
	}
	frameCount = count;
	frameDuration = duration;
	hotSpotX = hotX;
	hotSpotY = hotY;
	return true;
}

const GL2D_SimpleBmpRect *GL2D_Mouse::GetFrame(int index) const {
	return index >= 0 && index < frameCount ? frames[index].get() : nullptr;
}

void GL2D_Mouse::SetScale(float newScale) {
	scale = newScale > 1.0f ? std::min(newScale, 8.0f) : 1.0f;
	for (int i = 0; i < frameCount; i++) {
		if (frames[i]) {
			frames[i]->SetSmooth(scale != 1.0f);
		}
	}
}

void GL2D_Mouse::Draw(int x, int y, int elapsedNow) {
	if (frameCount == 0) {
		return;
	}
	// Hot spot offsets come from data: keep the subtraction from overflowing.
	long long left = static_cast<long long>(x) - std::llround(hotSpotX * static_cast<double>(scale));
	long long top = static_cast<long long>(y) - std::llround(hotSpotY * static_cast<double>(scale));
	if (left >= INT_MIN && left <= INT_MAX && top >= INT_MIN && top <= INT_MAX) {
		frames[currentFrame]->DrawScaledAt(static_cast<int>(left), static_cast<int>(top), scale);
	}
	if (elapsedNow > 0) {
		elapsed = elapsedNow > INT_MAX - elapsed ? INT_MAX : elapsed + elapsedNow;
	}
	if (elapsed > frameDuration) {
		elapsed = 0;
		currentFrame = (currentFrame + 1) % frameCount;
	}
}
