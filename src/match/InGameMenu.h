#ifndef TAVRO_MATCH_INGAMEMENU_H
#define TAVRO_MATCH_INGAMEMENU_H

#include "script/ScriptScreen.h"

class WgItem;

// The yes/no screen that Escape opens during play, built by "data/menu_ingame.lua" over the
// frozen match. Yes leaves the match, no resumes it. Escape resumes as well, so a screen whose
// script failed never strands the player.
class InGameMenu {
public:
	enum Answer {
		ANSWER_NONE = 0,
		ANSWER_YES = 1,
		ANSWER_NO = 2
	};
	static const char *const SCRIPT;

	InGameMenu();

	// Builds the screen and puts the input library into event mode, the pointer beside the
	// screen's centre. False when the script failed; the menu is open all the same.
	bool Open(int width, int height);
	void Close();
	// Takes the frame's input events.
	void HandleEvents();
	// Widgets and cursor, inside the 2D overlay.
	void Draw(int frameTime);

	bool IsOpen() const { return open; }
	int GetAnswer() const { return answer; }
	// Whether the menu was closed by Escape, which is then still held down.
	bool WasLeftWithEscape() const { return leftWithEscape; }
	ScriptScreen &GetScreen() { return screen; }

private:
	static void OnYes(WgItem *, void *menu);
	static void OnNo(WgItem *, void *menu);

	ScriptScreen screen;
	int answer; // Answer
	bool open;
	bool leftWithEscape;
};

#endif
