#ifndef TAVRO_GUI_WGLOOKS_H
#define TAVRO_GUI_WGLOOKS_H

#include "gui/WgItem.h"

// One look (picture or font) per item state, indexed by GetStatus. The looks are not owned.
template <class T>
class WgLooks {
public:
	WgLooks() : looks() {}

	// States outside 0 to GI_MAX_STATES - 1 are ignored.
	void Set(int state, T *look) {
		if (state >= 0 && state < GI_MAX_STATES) {
			looks[state] = look;
		}
	}
	// Null for a state without a look, or outside the table.
	T *Get(int state) const { return state >= 0 && state < GI_MAX_STATES ? looks[state] : nullptr; }
	void Forget(const void *look) {
		for (T *&entry : looks) {
			if (entry == look) {
				entry = nullptr;
			}
		}
	}

private:
	T *looks[GI_MAX_STATES];
};

#endif
