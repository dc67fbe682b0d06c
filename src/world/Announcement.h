#ifndef TAVRO_WORLD_ANNOUNCEMENT_H
#define TAVRO_WORLD_ANNOUNCEMENT_H

class GL2D_SimpleBmpRect;

enum AnnouncementMode {
	ANNOUNCE_NONE = 0,
	ANNOUNCE_GOAL = 1,
	ANNOUNCE_COUNTDOWN = 2,
	ANNOUNCE_TROPHY = 3
};

enum AnnouncementSlot {
	SLOT_A = 0,
	SLOT_B = 1,
	SLOT_C = 2,
	SLOT_COUNT = 3
};

// The pictures a goal, the countdown or the trophy put on screen, and where. The events own the
// pictures; the slots only point at them. Layout: slot A's x, y, scale x, scale y, then four
// values whose meaning depends on the event.
struct Announcement {
	GL2D_SimpleBmpRect *slots[SLOT_COUNT];
	float layout[8]; // lengths at 640 × 480 or scale factors
	bool smooth;     // the pictures are drawn larger than they are: filter them smoothly

	Announcement() : slots(), layout(), smooth(false) {}

	// Null when the picture cannot be loaded: it is then simply not drawn.
	GL2D_SimpleBmpRect *LoadPicture(const char *path) const;
	// Deletes an event's picture and empties every slot that showed it.
	void DropPicture(GL2D_SimpleBmpRect *&picture);
	void Place(float x, float y, float scale) {
		layout[0] = x;
		layout[1] = y;
		layout[2] = scale;
		layout[3] = scale;
	}
};

#endif
