#ifndef TAVRO_GUI_WGCHECKBOX_H
#define TAVRO_GUI_WGCHECKBOX_H

#include "gui/WgItem.h"

enum WgCheckBoxState {
	CB_ISTATE_DEFAULT_NO = 0,
	CB_ISTATE_DEFAULT_YES = 1,
	CB_ISTATE_FOCUSED_NO = 2,
	CB_ISTATE_FOCUSED_YES = 3
};

// A flag toggled by Enter or a click; every change (SetChecked too) fires GI_ON_ACTIVATE.
class WgCheckBox : public WgItem {
public:
	explicit WgCheckBox(const char *name);

	void SetInputEvent(const NI_Event *event) override;
	void Focus(bool click = false) override;
	int GetStatus() const override;

	// Fires GI_ON_ACTIVATE also when the value stays.
	void SetChecked(bool on);
	bool IsChecked() const { return checked; }

private:
	void Toggle();

	bool checked;
};

#endif
