#ifndef TAVRO_MATCH_HUD_H
#define TAVRO_MATCH_HUD_H

class FrameTimer;
class GL2D_SimpleBmpRect;
class GL2D_TrueTypeText;
class MatchContext;

// The score, the period clock, the period number, on request the frame rate, and the frame
// around the small view, drawn over the 3D view inside the 2D overlay; its texts grow with the
// window as the menus do.
class Hud {
public:
	Hud();
	~Hud();

	// Stops at the first file that cannot be loaded; Deinit releases what was made.
	bool Init(int width, int height, const MatchContext *match, const FrameTimer *timer);
	void Deinit();
	void Draw(bool miniViewShown, bool showFps);

	// The texts as drawn, for the given values.
	static void FormatScore(char *out, int size, int goals1, int goals2);
	static void FormatClock(char *out, int size, int msLeft);
	static void FormatPeriod(char *out, int size, int periodIndex);

	// The fonts as drawn; null before Init.
	const GL2D_TrueTypeText *GetScoreFont() const { return scoreFont; }
	const GL2D_TrueTypeText *GetClockFont() const { return clockFont; }

private:
	// A TrueType font in the colour at the HUD's scale; null, logged, when it does not load.
	GL2D_TrueTypeText *LoadFont(const char *file, float r, float g, float b, const char *name) const;
	// A length at 640 × 480 in pixels of this window.
	int Px(int length) const;

	int width;   // pixels
	int height;  // pixels
	float scale; // of lengths at 640 × 480
	const MatchContext *match;
	const FrameTimer *timer;
	GL2D_TrueTypeText *textFont;
	GL2D_TrueTypeText *scoreFont;
	GL2D_TrueTypeText *clockFont;
	GL2D_SimpleBmpRect *miniFrame;
};

#endif
