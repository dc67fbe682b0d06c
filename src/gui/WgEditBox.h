#ifndef TAVRO_GUI_WGEDITBOX_H
#define TAVRO_GUI_WGEDITBOX_H

#include "gui/WgItem.h"

// A line of text typed in while editing. Enter or a click starts editing (GI_ON_ACTIVATE);
// Enter or Esc ends it (GI_ON_DEACTIVATE). In loop mode Enter reports one finished entry and
// editing goes on. Smart edit lets the arrow keys move the cursor inside the text.
class WgEditBox : public WgItem {
public:
	static constexpr int CONTENT_SIZE = 256; // characters, terminator included

	explicit WgEditBox(const char *name);

	void SetInputEvent(const NI_Event *event) override;
	int GetStatus() const override;

	// Cut to the content limit; the cursor goes to the end.
	void SetContent(const char *text);
	void GetContent(char *buffer, int size) const;
	const char *GetContent() const { return content; }
	int GetCursorPos() const { return cursor; }
	// At most limit characters, 1 to CONTENT_SIZE - 1; longer content is cut.
	void SetContentSize(int limit);
	int GetContentSize() const { return limit; }
	void SetLoopMode(bool on) { loopMode = on; }
	void SetEmptyUnfocus(bool on) { emptyUnfocus = on; }
	void SetSmartEdit(bool on) { smartEdit = on; }
	bool IsEditing() const { return editing; }

protected:
	void StartEditing();
	void StopEditing();

	char content[CONTENT_SIZE];
	int limit;  // characters
	int cursor; // index into content
	bool editing;
	bool loopMode;
	bool emptyUnfocus;
	bool smartEdit;

private:
	void Type(unsigned char c);
	void Backspace();
	int Length() const;
};

#endif
