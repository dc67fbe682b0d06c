#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WidgetRig.h"
#include "gui/WgManager.h"

// The manager driven by a screen script and real input events: focus, Tab, clicks, hover,
// dragging, modal items, highlight, look-up.

namespace {

// Top level: a label, b1, b2 (disabled), b3, and window w holding b4 and b5.
const char *const LAYOUT = R"(
local function Add(item, x, y, w, h, parent)
	item:SetCoords(x, y)
	item:SetDim(w, h)
	return pManager:AddItem(item, parent)
end
Add(WgLabel_GL2D:new("title"), 0, 0, 100, 20)
Add(WgButton_GL2D:new("b1"), 10, 30, 100, 30)
b2 = WgButton_GL2D:new("b2")
b2:Disable()
Add(b2, 10, 70, 100, 30)
Add(WgButton_GL2D:new("b3"), 10, 110, 100, 30)
w = WgWindow_GL2D:new("w")
w:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/window.nbr"))
w:SetBorder(GI_ISTATE_HIGHLIGHTED, pCacheManager:GetRect("data/rects/window_focus.nbr"))
local inside = Add(w, 200, 30, 200, 200)
Add(WgButton_GL2D:new("b4"), 10, 10, 100, 30, inside)
Add(WgButton_GL2D:new("b5"), 10, 50, 100, 30, inside)
)";

template <int SLOT>
void Record(WgItem *item, void *events) {
	static const char *const names[] = {"", "focus:", "click:", "off:", "unfocus:"};
	static_cast<std::vector<std::string> *>(events)->push_back(names[SLOT] + std::string(item->GetName()));
}

class Manager : public ::testing::Test {
protected:
	void SetUp() override {
		ASSERT_TRUE(rig.Ready());
		ASSERT_TRUE(rig.Run(LAYOUT)) << rig.LogText();
		for (const char *name : {"b1", "b2", "b3", "b4", "b5"}) {
			WgItem *item = rig.Find(WG_TYPE_BUTTON, name);
			ASSERT_NE(item, nullptr) << name;
			item->SetCallback(GI_ON_FOCUS, Record<GI_ON_FOCUS>, &events);
			item->SetCallback(GI_ON_CLICK, Record<GI_ON_CLICK>, &events);
			item->SetCallback(GI_ON_UNFOCUS, Record<GI_ON_UNFOCUS>, &events);
		}
	}
	// The events since the last call.
	std::vector<std::string> Events() { return std::move(events); }
	WgManager *Manager_() const { return rig.screen.GetManager(); }
	std::string Focused() const {
		WgItem *item = Manager_()->GetFocusedItem();
		return item ? item->GetName() : "";
	}
	void Tab(bool shift = false) { rig.Key(SDLK_TAB, '\t', shift ? KMOD_LSHIFT : KMOD_NONE); }

	WidgetRig rig;
	std::vector<std::string> events;
};

typedef std::vector<std::string> Seen;

} // namespace

TEST_F(Manager, FirstFocusThenTabAndShiftTabWrapAmongSiblings) {
	EXPECT_EQ(Focused(), "b1"); // the first focusable item, told so on the first frame
	EXPECT_EQ(Events(), Seen());
	rig.Draw(0);
	EXPECT_EQ(Events(), Seen({"focus:b1"}));
	Tab(); // b2 is disabled, the window takes no focus
	EXPECT_EQ(Events(), Seen({"unfocus:b1", "focus:b3"}));
	Tab(); // never into the window
	EXPECT_EQ(Focused(), "b1");
	Tab(true);
	EXPECT_EQ(Focused(), "b3");
	rig.Click(215, 45);
	EXPECT_EQ(Focused(), "b4");
	Tab();
	EXPECT_EQ(Focused(), "b5");
	Tab(); // wraps inside the window
	EXPECT_EQ(Focused(), "b4");
	rig.Find(WG_TYPE_BUTTON, "b5")->SetVisible(false);
	Events();
	Tab(); // the only candidate left is the focused one
	EXPECT_EQ(Events(), Seen());
	EXPECT_EQ(Focused(), "b4");
}

TEST_F(Manager, ClicksCountAtTheReleaseAndButtonsClickOnTheirDraw) {
	rig.Draw(0);
	Events();
	rig.Press(20, 120);
	EXPECT_EQ(Events(), Seen()); // nothing happens at the press
	rig.Release(20, 120);
	EXPECT_EQ(Events(), Seen({"unfocus:b1", "focus:b3"}));
	rig.Draw(25);
	EXPECT_EQ(Events(), Seen({"click:b3"}));
	rig.Click(20, 120); // the focused item: no second focus, still a click
	rig.Draw(25);
	EXPECT_EQ(Events(), Seen({"click:b3"}));
	rig.Click(20, 80);   // disabled
	rig.Click(600, 400); // nothing there
	EXPECT_EQ(Events(), Seen());
	EXPECT_EQ(Focused(), "b3");
}

TEST_F(Manager, HoverFocusesAndEmptyScreenUnfocusesWhatMayLoseFocus) {
	rig.Draw(0);
	Events();
	rig.Move(20, 120);
	EXPECT_EQ(Events(), Seen({"unfocus:b1", "focus:b3"}));
	rig.Draw(25);
	EXPECT_EQ(Events(), Seen()); // hovering is no click
	rig.Move(600, 400);
	EXPECT_EQ(Events(), Seen({"unfocus:b3"}));
	EXPECT_EQ(Focused(), "");
	rig.Find(WG_TYPE_BUTTON, "b1")->LoseFocus(false);
	rig.Move(20, 40);
	rig.Move(600, 400);
	EXPECT_EQ(Focused(), "b1");
}

TEST_F(Manager, ClicksOnAnInvisibleItemOverAVisibleOneDoNothing) {
	ASSERT_TRUE(rig.Run("local cover = WgButton_GL2D:new('cover') cover:SetCoords(0, 25) cover:SetDim(200, 50) "
						"cover:SetVisible(false) pManager:AddItem(cover)"));
	rig.Click(215, 45);
	rig.Click(20, 40);
	EXPECT_EQ(Focused(), "b4");
}

TEST_F(Manager, DraggingFollowsTheMouseInsideTheViewportOnly) {
	ASSERT_TRUE(rig.Run("w:SetDraggable(true) w:SetDragRect(0, 0, 200, 8)"));
	WgItem *window = rig.Find(WG_TYPE_WINDOW, "w");
	rig.Move(205, 33);
	rig.Press(205, 33);
	rig.Move(215, 38);
	EXPECT_EQ(window->GetX(), 210);
	EXPECT_EQ(window->GetY(), 35);
	rig.Move(700, 38); // outside the viewport
	EXPECT_EQ(window->GetX(), 210);
	rig.Release(700, 38);
	rig.Move(225, 48); // dropped
	EXPECT_EQ(window->GetX(), 210);
	rig.Press(225, 100); // off the drag rectangle
	rig.Move(235, 110);
	EXPECT_EQ(window->GetX(), 210);
	EXPECT_EQ(Manager_()->GetDraggedItem(), nullptr);
}

TEST_F(Manager, ModalWindowTakesEveryClickAndHighlightFollowsTheFocusPath) {
	WgItem *window = rig.Find(WG_TYPE_WINDOW, "w");
	rig.Click(215, 45);
	EXPECT_TRUE(window->IsHighLighted());
	rig.Draw(0);
	const uint32_t highlighted = rig.Pixel(300, 200);
	rig.Click(20, 40);
	EXPECT_FALSE(window->IsHighLighted());
	rig.Draw(0);
	EXPECT_NE(rig.Pixel(300, 200), highlighted); // the other frame
	EXPECT_NE(rig.Pixel(300, 200), 0u);

	ASSERT_TRUE(rig.Run("pManager:SetModal(w)"));
	EXPECT_TRUE(window->IsFocused());
	rig.Click(20, 120);
	EXPECT_EQ(Focused(), ""); // outside the modal window
	rig.Click(215, 85);
	EXPECT_EQ(Focused(), "b5");
	Manager_()->UnsetModal();
	EXPECT_EQ(Focused(), "");
	EXPECT_TRUE(rig.Find(WG_TYPE_BUTTON, "b5")->IsFocused()); // still shows it
}

TEST_F(Manager, LookUpFindsTheLastOfEqualNamesAndDeletedItemsAreGone) {
	ASSERT_TRUE(rig.Run("pManager:FindItemByNameAndType(5, 'b3'):delete()"));
	Tab();
	EXPECT_EQ(Focused(), "b1"); // b3 is out of the focus tree
	rig.Click(20, 120);
	EXPECT_EQ(Focused(), "b1"); // and out of the item tree
	EXPECT_EQ(rig.Find(WG_TYPE_BUTTON, "b3"), nullptr);
	ASSERT_TRUE(rig.Run(R"(
		local first = WgButton_GL2D:new("dup")
		pManager:AddItem(first)
		local window = WgWindow_GL2D:new("box")
		local inner = WgButton_GL2D:new("dup")
		pManager:AddItem(inner, pManager:AddItem(window))
		assert(pManager:FindItemByNameAndType(5, "dup") == inner)
		local last = WgButton_GL2D:new("dup")
		pManager:AddItem(last)
		assert(pManager:FindItemByNameAndType(5, "dup") == last)
		assert(pManager:FindItemByNameAndType(4, "dup") == nil)
		local long = WgButton_GL2D:new(string.rep("n", 80))
		pManager:AddItem(long)
		assert(pManager:FindItemByNameAndType(5, string.rep("n", 80)) == long)
		last:delete()
		assert(pManager:FindItemByNameAndType(5, "dup") == inner)
		window:delete()
		assert(pManager:FindItemByNameAndType(5, "dup") == first)
	)")) << rig.LogText();
}

TEST_F(Manager, ShiftTabIsKnownByItsKeyWithoutACharacter) {
	// As SDL under X delivers them: Shift+Tab types no character.
	rig.Key(SDLK_TAB, 0, KMOD_LSHIFT);
	EXPECT_EQ(Focused(), "b3");
	rig.Key(SDLK_TAB, 0, KMOD_RSHIFT);
	EXPECT_EQ(Focused(), "b1");
	rig.Key(SDLK_TAB, 0);
	EXPECT_EQ(Focused(), "b3");
}

TEST_F(Manager, AHiddenContainerHidesAndDisablesWhatItHolds) {
	ASSERT_TRUE(rig.Run(R"(
		local b4 = pManager:FindItemByNameAndType(5, "b4")
		b4:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/button.nbr"))
		b4:SetBorder(GI_ISTATE_FOCUSED, pCacheManager:GetRect("data/rects/button.nbr")))"));
	rig.Draw(0);
	EXPECT_NE(rig.Pixel(260, 55), 0u); // b4 inside the window
	rig.Find(WG_TYPE_WINDOW, "w")->SetVisible(false);
	rig.Draw(0);
	EXPECT_EQ(rig.Pixel(260, 55), 0u);
	EXPECT_EQ(rig.Pixel(60, 25), 0u); // nor where it lies relative to the screen's origin
	rig.Click(215, 45);
	EXPECT_EQ(Focused(), "b1");
	rig.Move(215, 85);
	EXPECT_NE(Focused(), "b5");
	Manager_()->FocusItem(rig.Find(WG_TYPE_BUTTON, "b5"));
	EXPECT_NE(Focused(), "b5");
	rig.Find(WG_TYPE_WINDOW, "w")->SetVisible(true);
	rig.Click(215, 45);
	EXPECT_EQ(Focused(), "b4");
}

TEST_F(Manager, NestingIsCappedAndDeepPositionsStayInRange) {
	ASSERT_TRUE(rig.Run(R"(
		local parent, depth = nil, 0
		for i = 1, 2100 do
			local window = WgWindow_GL2D:new("deep" .. i)
			window:SetCoords(2^20, -2^20)
			window:SetDim(4096, 4096)
			window:SetBorder(GI_ISTATE_DEFAULT, pCacheManager:GetRect("data/rects/window.nbr"))
			local node = pManager:AddItem(window, parent)
			if not node then break end
			parent, depth = node, i
		end
		assert(depth == 32, depth)
		local button = WgButton_GL2D:new("deepest")
		assert(pManager:AddItem(button, parent) == nil)
		pManager:SetForeground(parent)
	)")) << rig.LogText();
	EXPECT_EQ(rig.log.Count("deeper than 32 containers"), 1) << rig.LogText();
	rig.Draw(0);
	rig.Move(300, 300);
	rig.Click(300, 300);
	rig.Key(SDLK_TAB, '\t');
	ASSERT_TRUE(rig.Run("pManager:SetModal(pManager:FindItemByNameAndType(4, 'deep32'))"));
	rig.Click(300, 300);
	rig.Draw(0);
}

TEST_F(Manager, NodeNumbersAreReusedAndCarryAGeneration) {
	ASSERT_TRUE(rig.Run(R"(
		first = pManager:AddItem(WgWindow_GL2D:new("first"))
		pManager:FindItemByNameAndType(4, "first"):delete()
		for i = 1, 1000 do
			local window = WgWindow_GL2D:new("again")
			local node = pManager:AddItem(window)
			assert(node ~= first and pManager:AddItem(WgButton_GL2D:new("stale"), first) == nil)
			window:delete()
		end
		kept = WgWindow_GL2D:new("kept")
		local node = pManager:AddItem(kept)
		assert(pManager:AddItem(WgButton_GL2D:new("inside"), node) ~= nil)
		assert(pManager:AddItem(WgButton_GL2D:new("fraction"), node + 0.5) == nil)
	)")) << rig.LogText();
	EXPECT_LE(Manager_()->GetNodeTableSize(), 12u); // the layout's nodes and a few more
	EXPECT_NE(rig.Find(WG_TYPE_BUTTON, "inside"), nullptr);
}
