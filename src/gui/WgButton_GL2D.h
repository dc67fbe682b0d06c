#ifndef TAVRO_GUI_WGBUTTON_GL2D_H
#define TAVRO_GUI_WGBUTTON_GL2D_H

#include "gui/WgButton.h"
#include "gui/WgLooks.h"

class GL2D_BmpRect;
class WgLabel_GL2D;

// A button drawn as a frame per state with its label text over it. A pending click completes
// in Draw once CLICK_TIME of frame time has passed, so the clicked look is seen first.
class WgButton_GL2D : public WgButton {
public:
	static constexpr int CLICK_TIME = 20; // ms

	explicit WgButton_GL2D(const char *name);
	~WgButton_GL2D() override;

	void Draw(int x, int y, int frameTime) override;
	void Focus(bool click = false) override;
	void Unfocus() override;
	void ForgetObject(const void *object) override;

	using WgButton::GetLabel;
	// The label that draws the text; scripts style it. Owned by the button.
	WgLabel_GL2D *GetLabel() const { return label; }
	void SetBorder(int state, GL2D_BmpRect *border) { borders.Set(state, border); }

private:
	WgLabel_GL2D *label;
	WgLooks<GL2D_BmpRect> borders;
	int clickTimer; // ms since the click
};

#endif
