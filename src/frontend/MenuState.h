#ifndef TAVRO_FRONTEND_MENUSTATE_H
#define TAVRO_FRONTEND_MENUSTATE_H

#include <memory>

#include "core/GameState.h"
#include "frontend/ArenaBackdrop.h"

class GL2D_SimpleBmpRect;
class MenuScreen;
class NetPlay;

// The menu: an arena under its sky, flown round by a camera on recorded paths, with the menu
// music and one scripted screen at a time in front: the main menu, the match options, or the
// keys of player 1 or 2, or network play. The main menu chooses what follows: a match, the
// credits or the end; the online screen hands over to a network match when one begins, and shows
// how it ended when the menu comes back.
class MenuState : public GameStateObject {
public:
	enum Screen {
		SCREEN_NONE = 0,
		SCREEN_MAIN = 1,
		SCREEN_OPTIONS = 2,
		SCREEN_KEYS1 = 3,
		SCREEN_KEYS2 = 4,
		SCREEN_ONLINE = 5
	};
	static constexpr int CAMERA_PATH_COUNT = 4;
	static const char *const CAMERA_PATHS[CAMERA_PATH_COUNT];
	static constexpr float ARENA_Z = -2.0f; // units

	// Network play goes through net, which must outlive the menu; without one the menu keeps its
	// own.
	explicit MenuState(NetPlay *net = nullptr);
	~MenuState() override;

	bool Enter() override;
	bool Frame() override;
	void Leave() override { MenuLeave(); }
	GameState NextState() const override { return nextState; }

	bool MenuEnter(int width, int height);
	// Replaces the current screen by the numbered one.
	bool ShowScreen(int number);
	void MenuLeave();

	// What the screens ask of the menu.
	void RequestScreen(int number) { requestedScreen = number; }
	void Finish(GameState next);
	// The background for a daytime or an arena the options screen chose.
	void ChangeDaytime(int daytime);
	void ChangeArena(int arena);
	void DrawLogo() const;
	void DrawVersion() const;
	// Where they are drawn: the logo 250 pixels from the right edge and 110 from the bottom, the
	// version at the bottom left; their pictures' sizes (0 before they are loaded).
	void GetLogoRect(int *x, int *y, int *w, int *h) const;
	void GetVersionRect(int *x, int *y, int *w, int *h) const;
	void SetMousePosition(int x, int y);

	int GetWidth() const { return width; }
	int GetHeight() const { return height; }
	int GetMouseX() const;
	int GetMouseY() const;
	int GetCurrentScreen() const { return currentScreen; }
	MenuScreen *GetScreen() const { return screen; }
	ArenaBackdrop &GetBackdrop() { return backdrop; }
	NetPlay &GetNetPlay() { return *net; }

private:
	// The arena named by the option (randomOption for -1) at the sky's time of day.
	bool LoadArena(int arenaOption, int randomArena);
	void FlyNextPath();

	int width;           // pixels
	int height;          // pixels
	int currentScreen;   // Screen
	int requestedScreen; // Screen, shown at the end of the frame; 0 for none
	MenuScreen *screen;
	GameState nextState;
	bool finished;
	ArenaBackdrop backdrop;
	GL2D_SimpleBmpRect *logo;
	GL2D_SimpleBmpRect *version;
	bool musicLoaded;
	std::unique_ptr<NetPlay> ownNet; // when none was handed in
	NetPlay *net;
};

#endif
