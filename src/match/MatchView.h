#ifndef TAVRO_MATCH_MATCHVIEW_H
#define TAVRO_MATCH_MATCHVIEW_H

#include <cstdint>

struct Announcement;
struct OptionsRecord;
class AimGuide;
class Disc;
class GoalReplay;
class Hud;
class InGameMenu;
class MatchContext;
class MatchControls;
class MatchWorld;
struct NI_Joystick;

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

// A window's length in lengths at 640 × 480 (the announcements' layout).
int LayoutLength(int pixels, int width, int height);

// The goal's, the countdown's or the trophy's pictures (mode: AnnouncementMode), laid out at
// 640 × 480 (the events are told the window's size in those lengths) and drawn as much larger
// as the menus, inside Begin2D.
void DrawAnnouncement(const Announcement &announcement, int mode, int screenWidth, int screenHeight);

// The main view (or the replay's), the HUD, the announcement, the open menu, the replay's
// picture and the small view; then F10's screenshot, and the buffers swapped.
void DrawMatchView(const MatchView &view);

// What a match and a network joiner's view of it set up alike once the world is built: the aim
// guide when the options ask for it, the HUD, the match's sounds (they stay in the bank for the
// next match) and the music when it is on; then the keys polled and the pointer in the middle.
// False (logged) at the first that fails.
bool SetUpMatchView(const OptionsRecord &options, const MatchWorld &world, AimGuide &guide, Hud &hud,
	const MatchContext *match, int width, int height);

// The keys as polled this frame (the event queue drained of one event) and the pads of players 1
// and 2 (player 1 steers with the keys and the first pad); false without a keyboard.
bool TakeMatchInput(const uint8_t **keys, int *keyCount, const NI_Joystick *pads[2]);

#endif
