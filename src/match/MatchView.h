#ifndef TAVRO_MATCH_MATCHVIEW_H
#define TAVRO_MATCH_MATCHVIEW_H

struct Announcement;
class Disc;
class GoalReplay;
class Hud;
class InGameMenu;
class MatchControls;
class MatchWorld;

// What one frame of a match shows, the same on the machine that runs the match and on a network
// joiner's, which only shows it.
struct MatchView {
	MatchWorld *world;
	Hud *hud;
	MatchControls *controls; // the cameras, the small view, the frame rate and F10
	InGameMenu *menu;        // drawn when open
	GoalReplay *replay;
	const Announcement *announcement;
	int announcementMode; // AnnouncementMode
	bool replaying;       // a goal shown again
	const Disc *activeDisc;
	int width;     // pixels
	int height;    // pixels
	int frameTime; // ms
};

// The main view (or the replay's), the HUD, the announcement, the open menu, the replay's
// picture and the small view; then F10's screenshot, and the buffers swapped.
void DrawMatchView(const MatchView &view);

// The match's sounds into the bank, where they stay for the next match; false (logged) at the
// first that does not load.
bool LoadMatchSounds();

#endif
