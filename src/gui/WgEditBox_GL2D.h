#ifndef TAVRO_GUI_WGEDITBOX_GL2D_H
#define TAVRO_GUI_WGEDITBOX_GL2D_H

#include <memory>

#include "gui/WgEditBox.h"

class GL2D_SimpleBmpRect;
class WgLabel_GL2D;

// An edit box drawn by an inner label that shows the content, with a blinking caret picture
// while editing.
class WgEditBox_GL2D : public WgEditBox {
public:
	static constexpr int BLINK_TIME = 500; // ms per caret phase

	explicit WgEditBox_GL2D(const char *name);
	~WgEditBox_GL2D() override;

	void Draw(int x, int y, int frameTime) override;
	void Focus(bool click = false) override;
	void Unfocus() override;

	// The label that draws the content; scripts style it. Owned by the edit box.
	WgLabel_GL2D *GetLabel() const { return label; }
	// Loads the caret picture (a ".nsbr" file); a file that does not load leaves no caret.
	void SetCursor(const char *file);
	bool IsCaretShown() const { return editing && caretVisible; }

private:
	WgLabel_GL2D *label;
	std::unique_ptr<GL2D_SimpleBmpRect> caret;
	int blinkTimer;    // ms in the current phase
	bool caretVisible; // the blink phase
};

#endif
