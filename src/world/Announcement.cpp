#include "world/Announcement.h"

#include "core/LogFile.h"
#include "gl2d/GL2D_SimpleBmpRect.h"

GL2D_SimpleBmpRect *Announcement::LoadPicture(const char *path) const {
	GL2D_SimpleBmpRect *picture = new GL2D_SimpleBmpRect();
	picture->SetSmooth(smooth);
	if (!picture->Load(path)) {
		Log(LOG_WARNING, "INGAME: Could not load \"%s\"", path);
		delete picture;
		return nullptr;
	}
	return picture;
}

void Announcement::DropPicture(GL2D_SimpleBmpRect *&picture) {
	if (!picture) {
		return;
	}
	for (GL2D_SimpleBmpRect *&slot : slots) {
		if (slot == picture) {
			slot = nullptr;
		}
	}
	delete picture;
	picture = nullptr;
}
