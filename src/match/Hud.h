#ifndef TAVRO_MATCH_HUD_H
#define TAVRO_MATCH_HUD_H

class FrameTimer;
class GL2D_BmpText;
class GL2D_SimpleBmpRect;
class GL2D_TrueTypeText;
class MatchContext;

// The score, the period clock, the period number, on request the frame rate, and the frame
// around the small view, drawn over the 3D view inside the 2D overlay.
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

private:
	int width;  // pixels
	int height; // pixels
	const MatchContext *match;
	const FrameTimer *timer;
	GL2D_TrueTypeText *textFont;
	GL2D_BmpText *scoreFont;
	GL2D_BmpText *clockFont;
	GL2D_SimpleBmpRect *miniFrame;
};

#endif
