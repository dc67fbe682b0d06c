#ifndef TAVRO_FRONTEND_OPTIONSSCREEN_H
#define TAVRO_FRONTEND_OPTIONSSCREEN_H

#include "frontend/MenuScreen.h"

class GL2D_SimpleBmpRect;

// The match options: each button steps its option on, the label beside it shows the value and
// the two characters show as portraits beside their names. The background follows the daytime
// and the arena. The players cannot leave while both chose the same character (the back button
// stays in sight, greyed, beside the warning); leaving saves "options.dat".
class OptionsScreen : public MenuScreen {
public:
	static const char *const SCRIPT;

	explicit OptionsScreen(MenuState &menu);
	~OptionsScreen() override;

	bool Build() override;
	void HandleEvent(const NI_Event *event) override;
	void DrawOverlay(int frameTime) override;

	// The next value of each option as its button steps it. Only equality is tested, so a
	// value out of range (a damaged file) keeps counting up.
	static int NextMatchLength(int minutes);
	static int NextShootTime(int seconds);
	static int NextMode(int mode);
	static int NextDaytime(int daytime);
	static int NextArena(int arena);
	static int NextCharacter(int character);
	// EASY, NORMAL, HARD, EXPERT and round again; a value that names no level starts at NORMAL.
	static int NextLevel(int level);

	bool IsSameCharacter() const { return sameCharacter; }
	// Where the player's portrait is drawn: just right of the label with the character's name,
	// centred on it; where the script made no such label, (width / 2 + 75, height / 2 + 25) for
	// player 0 and 65 lower for player 1 (lengths at 640 × 480, grown with the window).
	void GetPortraitPlace(int player, int *x, int *y) const;
	// Of the menus and the pictures at this window size.
	float Scale() const;
	static constexpr int PORTRAIT_GAP = 8; // pixels at 640 × 480 between a name's label and its portrait

private:
	enum Label {
		LABEL_MATCH,
		LABEL_SHOOT,
		LABEL_MODE,
		LABEL_DAYTIME,
		LABEL_MUSIC,
		LABEL_ARENA,
		LABEL_LOGO1,
		LABEL_LOGO2,
		LABEL_LEVEL, // the level, the guide and the replay are optional: older scripts lack them
		LABEL_GUIDE,
		LABEL_REPLAY,
		LABEL_ERROR,
		LABEL_COUNT
	};

	static void OnMatch(WgItem *, void *screen);
	static void OnShoot(WgItem *, void *screen);
	static void OnMode(WgItem *, void *screen);
	static void OnDaytime(WgItem *, void *screen);
	static void OnMusic(WgItem *, void *screen);
	static void OnArena(WgItem *, void *screen);
	static void OnLogo1(WgItem *, void *screen);
	static void OnLogo2(WgItem *, void *screen);
	static void OnLevel(WgItem *, void *screen);
	static void OnGuide(WgItem *, void *screen);
	static void OnReplay(WgItem *, void *screen);
	static void OnBack(WgItem *, void *screen);

	void ChangeCharacter(int player);
	void Back();
	void RefreshCaptions();
	void SetCaption(Label label, const char *text);

	WgItem *labels[LABEL_COUNT];
	WgItem *backButton;
	GL2D_SimpleBmpRect *portraits[2];
	bool sameCharacter;
};

#endif
