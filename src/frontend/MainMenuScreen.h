#ifndef TAVRO_FRONTEND_MAINMENUSCREEN_H
#define TAVRO_FRONTEND_MAINMENUSCREEN_H

#include "frontend/MenuScreen.h"

// The first screen: start a match, play online, change the options or either player's keys,
// watch the credits or leave. Escape takes the focus to the exit button; a second Escape leaves.
class MainMenuScreen : public MenuScreen {
public:
	static const char *const SCRIPT;

	explicit MainMenuScreen(MenuState &menu);

	bool Build() override;
	void HandleEvent(const NI_Event *event) override;
	void DrawOverlay(int frameTime) override;

	bool IsExitRequested() const { return exitRequested; }

private:
	static void OnStart(WgItem *, void *screen);
	static void OnOnline(WgItem *, void *screen);
	static void OnOptions(WgItem *, void *screen);
	static void OnKeys1(WgItem *, void *screen);
	static void OnKeys2(WgItem *, void *screen);
	static void OnCredits(WgItem *, void *screen);
	static void OnExit(WgItem *, void *screen);

	WgItem *exitButton;
	bool exitRequested;
};

#endif
