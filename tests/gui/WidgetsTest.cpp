#include <gtest/gtest.h>

#include <string>

#include "WidgetRig.h"
#include "gui/WgButton_GL2D.h"
#include "gui/WgCheckBox_GL2D.h"
#include "gui/WgEditBox_GL2D.h"
#include "gui/WgLabel_GL2D.h"
#include "gui/WgListBox_GL2D.h"
#include "gui/WgManager.h"

// The six widgets as scripts build them, driven by real key and mouse events, their drawing
// read back.

namespace {

const uint32_t RED = 0xFF0000, GREEN = 0x00FF00, BLACK = 0x000000;

// A bitmap font of solid 8 x 10 cells: 'A' red, 'B' green.
void WriteBlockFont(const WidgetRig &rig) {
	SDL_Surface *image = SDL_CreateRGBSurface(SDL_SWSURFACE, 24, 10, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
	SDL_Rect a = {8, 0, 8, 10}, b = {16, 0, 8, 10};
	SDL_FillRect(image, &a, SDL_MapRGB(image->format, 255, 0, 0));
	SDL_FillRect(image, &b, SDL_MapRGB(image->format, 0, 255, 0));
	SDL_SaveBMP(image, "blocks.bmp");
	SDL_FreeSurface(image);
	rig.Write("blocks.nbf", "blocks.bmp - AB 8 10 3 0 0 0 0\n");
}

int counts[5];
void Count(WgItem *, void *slot) {
	counts[*static_cast<int *>(slot)]++;
}
int slotNumbers[] = {0, 1, 2, 3, 4};

void Hook(WgItem *item) {
	for (int slot = 1; slot <= 4; slot++) {
		item->SetCallback(slot, Count, &slotNumbers[slot]);
	}
	std::fill(std::begin(counts), std::end(counts), 0);
}

} // namespace

TEST(Widgets, LabelsAlignEachLineInsideTheirMarginsAndClipOrScroll) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	WriteBlockFont(rig);
	struct Case {
		int valign, halign;
		const char *caption;
		int redX, redY;     // a red pixel
		int blackX, blackY; // a pixel just outside the text
	} cases[] = {
		{VALIGN_TOP, HALIGN_LEFT, "AA", 100, 102, 116, 102},
		{VALIGN_MIDDLE, HALIGN_MIDDLE, "AA", 192, 126, 191, 126},
		{VALIGN_BOTTOM, HALIGN_RIGHT, "AA", 299, 159, 283, 159},
		{VALIGN_NONE, HALIGN_MIDDLE, "A\\nAAA", 188, 112, 195, 102}, // each line centred
		{VALIGN_TOP, HALIGN_LEFT, "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAB", 299, 102, 300, 102},
	};
	for (const Case &c : cases) {
		char script[512];
		snprintf(script, sizeof(script), R"(
			local label = WgLabel_GL2D:new("label")
			label:SetFont(GI_ISTATE_DEFAULT, pCacheManager:GetFont("blocks.nbf", GL2D_Color:new()))
			label:SetAlign(%d, %d)
			label:SetCoords(100, 100)
			label:SetDim(200, 60)
			label:SetCaption("%s")
			pManager:AddItem(label))",
			c.valign, c.halign, c.caption);
		rig.screen.Build(640, 480);
		ASSERT_TRUE(rig.Run(script)) << rig.LogText();
		rig.Draw(0);
		EXPECT_EQ(rig.Pixel(c.redX, c.redY), RED) << c.valign << " " << c.halign;
		EXPECT_EQ(rig.Pixel(c.blackX, c.blackY), BLACK) << c.valign << " " << c.halign;
	}
	// A line too long for the label shows its start, or in scroll mode its end.
	EXPECT_EQ(rig.Pixel(295, 102), RED);
	ASSERT_TRUE(rig.Run("pManager:FindItemByNameAndType(1, 'label'):SetScrollMode(true)"));
	rig.Draw(0);
	EXPECT_EQ(rig.Pixel(295, 102), GREEN);
	EXPECT_EQ(rig.Pixel(100, 102), RED);
	// A window clips what it holds.
	ASSERT_TRUE(rig.Run(R"(
		local window = WgWindow_GL2D:new("window")
		window:SetCoords(100, 300)
		window:SetDim(50, 20)
		local label = WgLabel_GL2D:new("held")
		label:SetFont(GI_ISTATE_DEFAULT, pCacheManager:GetFont("blocks.nbf", GL2D_Color:new()))
		label:SetDim(200, 20)
		label:SetCaption("AAAAAAAAAA")
		pManager:AddItem(label, pManager:AddItem(window)))"));
	rig.Draw(0);
	EXPECT_EQ(rig.Pixel(149, 305), RED);
	EXPECT_EQ(rig.Pixel(150, 305), BLACK);
}

TEST(Widgets, ButtonCompletesItsClickInTheDrawAfterTwentyMilliseconds) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	ASSERT_TRUE(rig.Run(R"(
		local button = WgButton_GL2D:new("ok")
		button:SetCoords(50, 50)
		button:SetDim(120, 40)
		button:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/button_focus.nbr"))
		button:SetBorder(BB_ISTATE_CLICKED, pCacheManager:GetRect("data/rects/button_click.nbr"))
		pManager:AddItem(button))"));
	WgButton_GL2D *button = static_cast<WgButton_GL2D *>(rig.Find(WG_TYPE_BUTTON, "ok"));
	Hook(button);
	rig.Draw(0);
	const uint32_t focusedLook = rig.Pixel(110, 70);
	rig.Key(SDLK_RETURN, '\r');
	EXPECT_EQ(counts[GI_ON_CLICK], 0); // not during the event
	rig.Draw(19);
	EXPECT_EQ(counts[GI_ON_CLICK], 0);
	EXPECT_EQ(button->GetStatus(), BB_ISTATE_CLICKED);
	EXPECT_NE(rig.Pixel(110, 70), focusedLook); // the clicked look
	rig.Draw(1);
	EXPECT_EQ(counts[GI_ON_CLICK], 1);
	rig.Draw(0);
	EXPECT_EQ(rig.Pixel(110, 70), focusedLook);
	rig.Click(60, 60);
	rig.Draw(30); // one long frame: the handler runs at once
	EXPECT_EQ(counts[GI_ON_CLICK], 2);
}

TEST(Widgets, CheckBoxTogglesByEnterAndClickButNotByTab) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	ASSERT_TRUE(rig.Run(R"(
		pManager:AddItem(WgButton_GL2D:new("before"))
		local check = WgCheckBox_GL2D:new("check")
		check:SetCoords(50, 50)
		check:SetDim(26, 26)
		check:SetBorder(CB_ISTATE_FOCUSED_NO, pCacheManager:GetSimpleRect("data/rects/check_no_focus.nsbr"))
		check:SetBorder(CB_ISTATE_FOCUSED_YES, pCacheManager:GetSimpleRect("data/rects/check_yes_focus.nsbr"))
		pManager:AddItem(check))"));
	WgCheckBox_GL2D *check = static_cast<WgCheckBox_GL2D *>(rig.Find(WG_TYPE_CHECKBOX, "check"));
	Hook(check);
	rig.Key(SDLK_TAB, '\t');
	EXPECT_TRUE(check->IsFocused());
	EXPECT_FALSE(check->IsChecked());
	EXPECT_EQ(counts[GI_ON_ACTIVATE], 0);
	EXPECT_EQ(check->GetStatus(), CB_ISTATE_FOCUSED_NO);
	rig.Draw(0);
	const uint32_t unchecked = rig.Pixel(63, 63);
	rig.Key(SDLK_RETURN, '\r');
	EXPECT_EQ(check->GetStatus(), CB_ISTATE_FOCUSED_YES);
	rig.Draw(0);
	EXPECT_NE(rig.Pixel(63, 63), unchecked);
	rig.Click(60, 60); // focused already: toggles each time
	rig.Click(60, 60);
	EXPECT_TRUE(check->IsChecked());
	EXPECT_EQ(counts[GI_ON_ACTIVATE], 3);
	check->SetChecked(true); // also without a change
	EXPECT_EQ(counts[GI_ON_ACTIVATE], 4);
	rig.screen.GetManager()->UnfocusAll();
	EXPECT_EQ(check->GetStatus(), CB_ISTATE_DEFAULT_YES);
}

TEST(Widgets, EditBoxEditsInLoopModeSmartEditAndFull) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	ASSERT_TRUE(rig.Run(R"(
		local edit = WgEditBox_GL2D:new("edit")
		edit:SetCoords(50, 50)
		edit:SetDim(300, 30)
		edit:SetContentSize(6)
		edit:SetCursor("data/rects/caret.nsbr")
		edit:GetLabel():SetFont(GI_ISTATE_FOCUSED, pCacheManager:GetFont("data/fonts/menu.nbf", GL2D_Color:new()))
		pManager:AddItem(edit))"));
	WgEditBox_GL2D *edit = static_cast<WgEditBox_GL2D *>(rig.Find(WG_TYPE_EDITBOX, "edit"));
	Hook(edit);
	rig.Type("ab"); // not editing yet
	EXPECT_STREQ(edit->GetContent(), "");
	rig.Click(60, 60);
	EXPECT_EQ(counts[GI_ON_ACTIVATE], 1);
	rig.Type("abcd");
	rig.Key(SDLK_BACKSPACE, '\b');
	EXPECT_STREQ(edit->GetContent(), "abc");
	rig.Key(SDLK_LEFT);
	EXPECT_EQ(edit->GetCursorPos(), 3); // no smart edit: the arrows do nothing
	edit->SetSmartEdit(true);
	rig.Key(SDLK_LEFT);
	rig.Key(SDLK_BACKSPACE, '\b');
	EXPECT_STREQ(edit->GetContent(), "ac"); // the character before the cursor
	EXPECT_EQ(edit->GetCursorPos(), 1);
	rig.Key(SDLK_RIGHT);
	rig.Key(SDLK_RIGHT);
	EXPECT_EQ(edit->GetCursorPos(), 2); // not past the end
	rig.Type("WXYZ!");                  // limit 6: the last position is overwritten
	EXPECT_STREQ(edit->GetContent(), "acWXY!");
	EXPECT_EQ(edit->GetCursorPos(), 5);

	rig.Draw(0);
	int caretX = 0, caretY = 0;
	edit->GetLabel()->GetCursorPos(edit->GetCursorPos(), &caretX, &caretY);
	const uint32_t caret = rig.Pixel(caretX + 1, caretY + 10);
	EXPECT_NE(caret, BLACK);
	rig.Draw(500); // the caret blinks off
	EXPECT_NE(rig.Pixel(caretX + 1, caretY + 10), caret);

	edit->SetLoopMode(true);
	rig.Key(SDLK_RETURN, '\r');
	EXPECT_EQ(counts[GI_ON_DEACTIVATE], 1);
	EXPECT_EQ(counts[GI_ON_ACTIVATE], 1);
	EXPECT_TRUE(edit->IsEditing());
	rig.Key(SDLK_ESCAPE, 27);
	EXPECT_FALSE(edit->IsEditing());
	EXPECT_EQ(counts[GI_ON_DEACTIVATE], 2);
	rig.Click(60, 60); // the focus event again (first frame, click, click), and editing again
	EXPECT_EQ(counts[GI_ON_FOCUS], 3);
	EXPECT_TRUE(edit->IsEditing());
	edit->SetEmptyUnfocus(true);
	rig.screen.GetManager()->UnfocusAll();
	EXPECT_FALSE(edit->IsEditing());
	EXPECT_EQ(counts[GI_ON_DEACTIVATE], 2);
}

TEST(Widgets, ListBoxPagesScrollsAndTakesRowAndButtonClicks) {
	WidgetRig rig;
	ASSERT_TRUE(rig.Ready());
	ASSERT_TRUE(rig.Run(R"(
		local list = WgListBox_GL2D:new("list")
		list:SetCoords(100, 100)
		list:SetDim(200, 0)
		list:SetMargins(4, 4, 4, 4)
		list:SetRowHeight(20)
		list:SetRowsPerPage(5)
		list:GetButtonUp():SetDim(30, 0)
		for _, name in ipairs({"a", "b", "c"}) do list:AppendEntry(name) end
		pManager:AddItem(list))"));
	WgListBox_GL2D *list = static_cast<WgListBox_GL2D *>(rig.Find(WG_TYPE_LISTBOX, "list"));
	Hook(list);
	rig.Draw(0);
	EXPECT_EQ(list->GetRowCount(), 3);
	EXPECT_EQ(list->GetH(), 108);
	rig.Key(SDLK_PAGEDOWN);
	EXPECT_EQ(list->GetCurrentPos(), 2);
	rig.Key(SDLK_PAGEUP);
	EXPECT_EQ(list->GetCurrentPos(), 0);

	for (char c = 'd'; c <= 'j'; c++) {
		list->AppendEntry(std::string(1, c).c_str());
	}
	for (int i = 0; i < 7; i++) {
		rig.Key(SDLK_DOWN);
	}
	rig.Draw(0);
	EXPECT_EQ(list->GetFirstVisible(), 3); // entry 7 is the last row
	EXPECT_EQ(list->GetRowCount(), 5);
	rig.Click(150, 104 + 20 * 1 + 5); // row 1
	EXPECT_EQ(list->GetCurrentPos(), 4);
	EXPECT_EQ(counts[GI_ON_ACTIVATE], 1);
	rig.Key(SDLK_RETURN, '\r');
	EXPECT_EQ(counts[GI_ON_ACTIVATE], 2);
	rig.Click(285, 110); // the up button
	EXPECT_EQ(list->GetCurrentPos(), 3);
	EXPECT_TRUE(list->GetButtonUp()->IsFocused());
	rig.Click(285, 190); // the down button
	EXPECT_EQ(list->GetCurrentPos(), 4);
	EXPECT_TRUE(list->GetButtonDown()->IsFocused());
	EXPECT_FALSE(list->GetButtonUp()->IsFocused());
	EXPECT_EQ(counts[GI_ON_ACTIVATE], 2);
}
