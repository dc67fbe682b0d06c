#ifndef TAVRO_FRONTEND_ONLINESCREEN_H
#define TAVRO_FRONTEND_ONLINESCREEN_H

#include "frontend/MenuScreen.h"
#include "match/NetPlay.h"
#include "net/NetBrowser.h"

class GL2D_Font;
class WgEditBox;
class WgLabel_GL2D;
class WgListBox;

// Network play: HOST waits for a player on the game's port; JOIN connects to the name or address
// typed (":port" optional); the games hosted on this network are listed as they answer, and a
// click on one joins it. A note says in plain words how it goes, or how the last match ended.
// BACK or Escape gives up whatever is under way and goes back to the main menu. When a match
// begins, the menu hands over to it.
class OnlineScreen : public MenuScreen {
public:
	static const char *const SCRIPT;
	static const char *const IDLE_TEXT;
	static constexpr int ENTRY_SIZE = 96; // characters of a listed game's line, terminator included

	OnlineScreen(MenuState &menu, NetPlay &net);
	~OnlineScreen() override;

	// Runs the script and starts looking for games; then hosts or joins when the command line
	// asked for it.
	bool Build() override;
	void HandleEvent(const NI_Event *event) override;
	void Update(int frameTime) override;
	void DrawOverlay(int frameTime) override;

	void Host(int port);
	void Join(const char *address);
	void Back();

	// The note as shown, its lines joined by "\n".
	const char *GetNote() const { return note; }
	int GetListedCount() const { return listedCount; }
	const char *GetListed(int index) const { return listed[index]; }

	// Breaks text at spaces into lines no wider than width pixels in font (a word wider than a
	// line stands alone), at most maxLines; the lines go to out joined by "\n".
	static void Wrap(const char *text, const GL2D_Font *font, int width, int maxLines, char *out, int size);

private:
	static void OnHost(WgItem *, void *screen);
	static void OnJoin(WgItem *, void *screen);
	static void OnGame(WgItem *, void *screen);
	static void OnBack(WgItem *, void *screen);

	// The games heard of, but this machine's own, in the list; a game new to it is logged.
	void ListGames();
	void ShowNote();

	NetPlay &net;
	NetBrowser browser;
	WgEditBox *address;
	WgListBox *games;
	WgLabel_GL2D *status;
	int lastState; // NetSessionState at the last update; NET_SESSION_IDLE without a session
	int hostedPort;
	char note[NetPlay::STATUS_SIZE];
	char listed[NetBrowser::MAX_HOSTS][ENTRY_SIZE];
	char joinAt[NetBrowser::MAX_HOSTS][32]; // "a.b.c.d:port" of each listed game
	int listedCount;
};

#endif
