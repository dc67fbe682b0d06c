#ifndef TAVRO_GUI_WGBUTTON_H
#define TAVRO_GUI_WGBUTTON_H

#include "gui/WgItem.h"

// A button shows this state while its click is pending; it never shows the highlighted one.
enum WgButtonState {
	BB_ISTATE_CLICKED = 3
};

// Clicked by Enter or the mouse. The click is only pending here: the drawing class completes
// it (GI_ON_CLICK) once the clicked look has been shown.
class WgButton : public WgItem {
public:
	static constexpr int LABEL_SIZE = 256; // characters, terminator included

	explicit WgButton(const char *name);

	void SetInputEvent(const NI_Event *event) override;
	int GetStatus() const override;

	// Longer texts are cut to LABEL_SIZE - 1 characters.
	void SetLabel(const char *text);
	void GetLabel(char *buffer, int size) const;
	const char *GetLabelText() const { return label; }
	bool IsClickPending() const { return clickPending; }

protected:
	char label[LABEL_SIZE];
	bool clickPending;
};

#endif
