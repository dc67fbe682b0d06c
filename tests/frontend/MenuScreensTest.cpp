#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "FakePads.h"
#include "GLWindow.h"
#include "GameGlobals.h"
#include "core/Overlay2D.h"
#include "core/VideoConfig.h"
#include "frontend/KeysScreen.h"
#include "frontend/MainMenuScreen.h"
#include "frontend/MenuState.h"
#include "options/OptionsRecord.h"
#include "frontend/OptionsScreen.h"
#include "gl2d/GL2D_Font.h"
#include "gui/WgButton_GL2D.h"
#include "gui/WgItem.h"
#include "gui/WgLabel_GL2D.h"
#include "gui/WgManager.h"
#include "gui/WgNode.h"
#include "match/MenuKit.h"
#include "script/ScriptScreen.h"
#include "world/Arena.h"
#include "world/SkyBox.h"

namespace {

// The menu with its real scripts, driven through its widgets and SDL's event queue.
class MenuRig : public GameGlobals {
public:
	explicit MenuRig(ScratchDir &dir) : GameGlobals(dir, 640, 480) {}
	bool Enter(int screen) { return menu.MenuEnter(640, 480) && menu.ShowScreen(screen); }
	// One frame of the menu (events, drawing, a requested screen change).
	bool Frame() {
		Advance(16);
		return menu.Frame();
	}
	WgItem *Widget(int type, const char *name) { return menu.GetScreen()->GetScreen().Find(type, name); }
	void Activate(const char *button) {
		WgItem *item = Widget(WG_TYPE_BUTTON, button);
		ASSERT_NE(item, nullptr) << button;
		item->FireEvent(GI_ON_ACTIVATE);
	}
	std::string Caption(const char *label) {
		WgItem *item = Widget(WG_TYPE_LABEL, label);
		return item && item->GetLineCount() > 0 ? item->GetLine(0) : std::string("<none>");
	}
	bool Visible(int type, const char *name) {
		WgItem *item = Widget(type, name);
		return item && item->IsVisible();
	}

	MenuState menu;
};

struct Box {
	std::string name;
	int type;
	int x, y, w, h;
	bool Overlaps(const Box &o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
	bool Holds(const Box &o) const { return o.x >= x && o.y >= y && o.x + o.w <= x + w && o.y + o.h <= y + h; }
};

std::ostream &operator<<(std::ostream &out, const Box &b) {
	return out << b.name << " (" << b.x << "," << b.y << " " << b.w << "x" << b.h << ")";
}

// The visible widgets of the screen, where they stand.
std::vector<Box> VisibleWidgets(const WgManager *manager) {
	std::vector<Box> boxes;
	for (const WgNode *node = manager->GetItemRoot()->GetFirstChild(); node; node = node->GetNext()) {
		const WgItem *item = node->GetOwner();
		if (item->IsVisible()) {
			Box box{item->GetName(), item->GetType(), 0, 0, 0, 0};
			item->GetCoords(&box.x, &box.y);
			item->GetDim(&box.w, &box.h);
			boxes.push_back(box);
		}
	}
	return boxes;
}

std::vector<Box> VisibleWidgets(const MenuScreen &screen) {
	return VisibleWidgets(const_cast<MenuScreen &>(screen).GetScreen().GetManager());
}

// The text of a button or label as it is drawn: its font's height and the width of its text.
struct Text {
	int height = 0, width = 0; // pixels
};

bool TextOf(const WgItem *item, Text *text) {
	const WgLabel_GL2D *label = nullptr;
	std::string words;
	if (item->GetType() == WG_TYPE_BUTTON) {
		const WgButton_GL2D *button = static_cast<const WgButton_GL2D *>(item);
		label = button->GetLabel();
		words = button->GetLabelText();
	} else if (item->GetType() == WG_TYPE_LABEL) {
		label = static_cast<const WgLabel_GL2D *>(item);
		words = item->GetLineCount() > 0 ? item->GetLine(0) : "";
	}
	const GL2D_Font *font = label ? label->GetFont(GI_ISTATE_DEFAULT) : nullptr;
	if (!font) {
		return false;
	}
	text->height = font->GetFontHeight();
	text->width = font->GetTextWidth(words.c_str());
	return true;
}

} // namespace

// Every screen at the smallest size and larger ones at 4:3, 16:10 and 16:9, with its warnings
// showing: each widget
// (and the portraits) inside the screen and on a panel, none under the logo or the version,
// the warnings and the line asking for a key covered by nothing, and the way back in sight.
TEST(MenuScreens, WidgetsStayOnTheirPanelsClearOfTheLogoAndWarningsAreNeverCovered) {
	ScratchDir dir;
	MenuRig rig(dir);
	const int sizes[][2] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1280, 800}, {1920, 1080}, {2560, 1440}};
	double shares[2] = {}; // of the window's height at 640×480: the logo's and the version's
	for (const auto &size : sizes) {
		const int w = size[0], h = size[1];
		const float scale = VideoConfig::ScreenScale(w, h);
		std::vector<int> lefts; // of each screen's panels: one edge for all of them
		for (int number : {MenuState::SCREEN_MAIN, MenuState::SCREEN_OPTIONS, MenuState::SCREEN_KEYS1,
				 MenuState::SCREEN_KEYS2, MenuState::SCREEN_ONLINE}) {
			SCOPED_TRACE(std::to_string(w) + " screen " + std::to_string(number));
			g_options.SetDefaults();
			ASSERT_TRUE(rig.menu.MenuEnter(w, h) && rig.menu.ShowScreen(number));
			std::vector<Box> extra; // what the program draws besides the widgets
			if (number == MenuState::SCREEN_OPTIONS) {
				rig.Activate("btn_logo2");
				rig.Activate("btn_logo2");
				rig.Activate("btn_logo2"); // 1 wraps to 0: both the same, the warning shows
				const OptionsScreen &options = *static_cast<OptionsScreen *>(rig.menu.GetScreen());
				ASSERT_TRUE(options.IsSameCharacter());
				for (int player = 0; player < 2; player++) {
					const int side = VideoConfig::Scaled(60, scale);
					Box portrait{"portrait", -1, 0, 0, side, side};
					options.GetPortraitPlace(player, &portrait.x, &portrait.y);
					extra.push_back(portrait);
				}
			} else if (number == MenuState::SCREEN_KEYS1 || number == MenuState::SCREEN_KEYS2) {
				rig.Activate("btn_fire");
				// The player's own fire key: in use.
				rig.PressKey(number == MenuState::SCREEN_KEYS1 ? SDLK_c : SDLK_p);
				rig.Frame();
			}
			std::vector<Box> boxes = VisibleWidgets(*rig.menu.GetScreen());
			Box logo{"logo", -1, 0, 0, 0, 0}, version{"version", -1, 0, 0, 0, 0};
			rig.menu.GetLogoRect(&logo.x, &logo.y, &logo.w, &logo.h);
			rig.menu.GetVersionRect(&version.x, &version.y, &version.w, &version.h);
			ASSERT_GT(logo.w * logo.h, 0);
			// The logo and the version grow with the window as the text does.
			const Box *pictures[2] = {&logo, &version};
			for (int i = 0; i < 2; i++) {
				const double share = static_cast<double>(pictures[i]->h) / h;
				shares[i] = shares[i] > 0.0 ? shares[i] : share;
				EXPECT_NEAR(share, shares[i], shares[i] * 0.2) << pictures[i]->name;
			}
			const Box screen{"screen", -1, 0, 0, w, h};
			std::vector<Box> panels;
			for (const Box &b : boxes) {
				if (b.type == WG_TYPE_WINDOW) {
					panels.push_back(b);
				}
			}
			ASSERT_FALSE(panels.empty());
			for (const Box &p : panels) {
				lefts.push_back(p.x);
			}
			boxes.insert(boxes.end(), extra.begin(), extra.end());
			bool back = false;
			for (const Box &b : boxes) {
				EXPECT_TRUE(screen.Holds(b)) << b;
				EXPECT_FALSE(b.Overlaps(logo)) << b << " under the logo";
				if (number == MenuState::SCREEN_MAIN) {
					EXPECT_FALSE(b.Overlaps(version)) << b << " under the version";
				}
				if (b.type == WG_TYPE_WINDOW) {
					continue;
				}
				EXPECT_TRUE(std::any_of(panels.begin(), panels.end(), [&](const Box &p) { return p.Holds(b); }))
					<< b << " on no panel";
				back = back || b.name == "btn_back";
				if (b.name == "lbl_error" || b.name == "lbl_wait" || b.name == "lbl_status") {
					for (const Box &o : boxes) {
						EXPECT_TRUE(&o == &b || o.type == WG_TYPE_WINDOW || !o.Overlaps(b)) << o << " covers " << b;
					}
				}
			}
			const bool warned =
				std::any_of(boxes.begin(), boxes.end(), [](const Box &b) { return b.name == "lbl_error"; });
			EXPECT_EQ(warned, number != MenuState::SCREEN_MAIN && number != MenuState::SCREEN_ONLINE);
			EXPECT_EQ(back, number != MenuState::SCREEN_MAIN);
			rig.menu.MenuLeave();
		}
		// The menu screens stand at the left, all from the same edge.
		EXPECT_EQ(std::count(lefts.begin(), lefts.end(), lefts[0]), static_cast<long>(lefts.size())) << w;
		EXPECT_LT(lefts[0], w / 8) << w;
	}
}

// The text of every screen, the question over a match included, takes the same share of the
// window's height at every size as at 640×480 (within a fifth), fits its widget, and the
// question's widgets stay inside the window, on their panel and clear of each other.
TEST(MenuScreens, TextGrowsWithTheWindowAndFitsItsWidgets) {
	ScratchDir dir;
	MenuRig rig(dir);
	const int sizes[][2] = {{640, 480}, {1024, 768}, {1280, 720}, {1280, 800}, {1920, 1080}, {2560, 1440}};
	const int screens[] = {
		MenuState::SCREEN_MAIN, MenuState::SCREEN_OPTIONS, MenuState::SCREEN_KEYS1, MenuState::SCREEN_ONLINE, -1};
	std::vector<std::pair<std::string, double>> shares; // of each text at 640×480: height / window height
	for (const auto &size : sizes) {
		const int w = size[0], h = size[1];
		for (int number : screens) {
			SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " screen " + std::to_string(number));
			g_options.SetDefaults();
			ScriptScreen question;
			const WgManager *manager = nullptr;
			if (number < 0) {
				ASSERT_TRUE(question.Build(w, h) && RunMenuScript(question, "data/menu_ingame.lua"));
				manager = question.GetManager();
			} else {
				ASSERT_TRUE(rig.menu.MenuEnter(w, h) && rig.menu.ShowScreen(number));
				manager = rig.menu.GetScreen()->GetScreen().GetManager();
			}
			std::vector<Box> boxes = VisibleWidgets(manager);
			int texts = 0;
			for (const WgNode *node = manager->GetItemRoot()->GetFirstChild(); node; node = node->GetNext()) {
				const WgItem *item = node->GetOwner();
				Text text;
				if (!item->IsVisible() || !TextOf(item, &text)) {
					continue;
				}
				texts++;
				int bw = 0, bh = 0;
				item->GetDim(&bw, &bh);
				const std::string key = std::to_string(number) + item->GetName();
				const double share = static_cast<double>(text.height) / h;
				EXPECT_LE(text.height, bh) << item->GetName();
				EXPECT_LE(text.width, bw) << item->GetName();
				if (w == 640) {
					shares.emplace_back(key, share);
					continue;
				}
				auto at640 = std::find_if(shares.begin(), shares.end(), [&](const auto &s) { return s.first == key; });
				ASSERT_NE(at640, shares.end()) << key;
				EXPECT_NEAR(share / at640->second, 1.0, 0.2) << item->GetName() << " " << text.height << " pixels";
			}
			EXPECT_GE(texts, 3);
			if (number < 0) {
				const Box screen{"screen", -1, 0, 0, w, h};
				for (const Box &b : boxes) {
					EXPECT_TRUE(screen.Holds(b)) << b;
					for (const Box &o : boxes) {
						EXPECT_TRUE(&o == &b || o.type == WG_TYPE_WINDOW || b.type == WG_TYPE_WINDOW || !o.Overlaps(b))
							<< o << " covers " << b;
						EXPECT_TRUE(b.type == WG_TYPE_WINDOW || o.type != WG_TYPE_WINDOW || o.Holds(b)) << b;
					}
				}
			} else {
				rig.menu.MenuLeave();
			}
		}
	}
}

TEST(OptionsScreen, EachButtonStepsItsOptionAndTheLabelFollows) {
	ScratchDir dir;
	MenuRig rig(dir);
	g_options.matchLength = 4;
	g_options.shootTime = 2;
	g_options.music = 1;
	ASSERT_TRUE(rig.Enter(MenuState::SCREEN_OPTIONS)) << rig.LogText();
	struct Case {
		const char *button;
		const char *label;
		std::vector<std::string> captions; // after each press
	};
	const Case cases[] = {
		{"btn_match", "lbl_match", {"1 minute", "2 minutes", "3 minutes", "4 minutes", "1 minute"}},
		{"btn_shoot", "lbl_shoot", {"3 seconds", "4 seconds", "5 seconds", "1 second"}},
		{"btn_mode", "lbl_mode", {"PL1 vs PC", "PC vs PC", "PL1 vs PL2"}},
		{"btn_music", "lbl_music", {"OFF", "ON"}},
		{"btn_arena", "lbl_arena", {"TRIS", "RANDOM", "XENO"}}, // upper case, as every caption
		{"btn_daytime", "lbl_daytime", {"NIGHT", "RANDOM", "DAY"}},
		{"btn_level", "lbl_level", {"HARD", "EXPERT", "EASY", "NORMAL"}},
		{"btn_guide", "lbl_guide", {"ON", "OFF"}},
		{"btn_replay", "lbl_replay", {"ON", "OFF"}},
	};
	for (const Case &c : cases) {
		for (const std::string &caption : c.captions) {
			rig.Activate(c.button);
			EXPECT_EQ(rig.Caption(c.label), caption) << c.button;
		}
	}
	// Values out of range (a damaged file) keep counting up; captions without a name stay.
	g_options.matchLength = 7;
	g_options.mode = 5;
	rig.Activate("btn_match");
	rig.Activate("btn_mode");
	EXPECT_EQ(g_options.matchLength, 8);
	EXPECT_EQ(rig.Caption("lbl_match"), "8 minutes");
	EXPECT_EQ(g_options.mode, 6);
	EXPECT_EQ(rig.Caption("lbl_mode"), "PL1 vs PL2");
}

TEST(OptionsScreen, TheBackgroundFollowsDaytimeAndArena) {
	ScratchDir dir;
	MenuRig rig(dir);
	ASSERT_TRUE(rig.Enter(MenuState::SCREEN_OPTIONS));
	ArenaBackdrop &backdrop = rig.menu.GetBackdrop();
	auto loads = [&](const char *what) { return rig.log.Count(what); };
	EXPECT_EQ(backdrop.GetSkyBox()->IsNight(), 0);
	EXPECT_EQ(backdrop.GetArena()->GetWallCount(), 8); // "xeno"
	rig.Activate("btn_daytime");                       // NIGHT: rebuilt for the night
	EXPECT_EQ(backdrop.GetSkyBox()->IsNight(), 1);
	const int skies = loads("SKYBOX: Initializing"), arenas = loads("ARENA: Initializing");
	rig.Activate("btn_daytime"); // RANDOM: the caption only
	rig.Activate("btn_arena");   // "tris"
	EXPECT_EQ(backdrop.GetArena()->GetWallCount(), 6);
	rig.Activate("btn_arena"); // RANDOM keeps the last arena
	EXPECT_EQ(loads("SKYBOX: Initializing"), skies);
	EXPECT_EQ(loads("ARENA: Initializing"), arenas + 1);
	rig.Activate("btn_daytime"); // DAY
	EXPECT_EQ(backdrop.GetSkyBox()->IsNight(), 0);
}

TEST(OptionsScreen, TheSameCharacterTwiceGreysTheWayBackBesideTheWarning) {
	ScratchDir dir;
	MenuRig rig(dir);
	g_options.character[0] = 0;
	g_options.character[1] = 3;
	ASSERT_TRUE(rig.Enter(MenuState::SCREEN_OPTIONS));
	WgItem *back = rig.Widget(WG_TYPE_BUTTON, "btn_back");
	ASSERT_NE(back, nullptr);
	EXPECT_TRUE(back->IsEnabled());
	EXPECT_FALSE(rig.Visible(WG_TYPE_LABEL, "lbl_error"));
	rig.Activate("btn_logo2"); // 3 wraps to 0: both "hippy"
	EXPECT_EQ(rig.Caption("lbl_logo2"), "HIPPY");
	EXPECT_TRUE(back->IsVisible()); // never hidden: greyed, and the warning says why
	EXPECT_FALSE(back->IsEnabled());
	EXPECT_TRUE(rig.Visible(WG_TYPE_LABEL, "lbl_error"));
	rig.PressKey(SDLK_ESCAPE); // Escape cannot leave either
	rig.Frame();
	EXPECT_EQ(rig.menu.GetCurrentScreen(), MenuState::SCREEN_OPTIONS);
	EXPECT_FALSE(dir.Exists("options.dat"));
	rig.Activate("btn_logo1");
	EXPECT_TRUE(back->IsVisible());
	EXPECT_TRUE(back->IsEnabled());
	EXPECT_FALSE(rig.Visible(WG_TYPE_LABEL, "lbl_error"));

	// Escape now acts as the back button: the main menu follows and the file holds the record.
	rig.PressKey(SDLK_ESCAPE);
	rig.Frame();
	EXPECT_EQ(rig.menu.GetCurrentScreen(), MenuState::SCREEN_MAIN);
	const std::string saved = dir.ReadText("options.dat");
	ASSERT_EQ(saved.size(), 88u);
	EXPECT_EQ(memcmp(saved.data(), &g_options, 88), 0);
}

// The warning is drawn on its panel, so it reads the same over either arena by day and by
// night: its background is the panel's colour, its letters the warning's orange.
TEST(OptionsScreen, TheWarningReadsOnItsPanelOverEveryArenaByDayAndByNight) {
	ScratchDir dir;
	MenuRig rig(dir);
	const uint32_t PANEL = 0x504C6E; // the middle of data/rects/window.nbr
	for (int arena : {0, 1}) {
		for (int daytime : {DAYTIME_DAY, DAYTIME_NIGHT}) {
			SCOPED_TRACE(std::to_string(arena) + " " + std::to_string(daytime));
			g_options.SetDefaults();
			g_options.arena = arena;
			g_options.daytime = daytime;
			g_options.character[1] = 3;
			ASSERT_TRUE(rig.Enter(MenuState::SCREEN_OPTIONS));
			rig.Activate("btn_logo2"); // both "hippy"
			WgItem *warning = rig.Widget(WG_TYPE_LABEL, "lbl_error");
			ASSERT_TRUE(warning && warning->IsVisible());
			rig.menu.GetBackdrop().Draw();
			Begin2D(640, 480);
			rig.menu.GetScreen()->DrawOverlay(0);
			End2D();
			rig.window.Grab();
			int x = 0, y = 0, w = 0, h = 0;
			warning->GetCoords(&x, &y);
			warning->GetDim(&w, &h);
			int panel = 0, letters = 0;
			for (int py = y; py < y + h; py++) {
				for (int px = x; px < x + w; px++) {
					const uint32_t c = rig.window.At(px, py);
					panel += c == PANEL;
					letters += (c >> 16) > 200 && ((c >> 8) & 0xFF) > 120 && (c & 0xFF) < 120;
				}
			}
			EXPECT_GT(panel, w * h * 6 / 10);
			EXPECT_GT(letters, 200);
			rig.menu.MenuLeave();
		}
	}
}

TEST(KeysScreen, OnlyFreeAssignableKeysAreTakenAndBackSavesThem) {
	ScratchDir dir;
	MenuRig rig(dir);
	ASSERT_TRUE(rig.Enter(MenuState::SCREEN_KEYS2));
	KeysScreen *keys = static_cast<KeysScreen *>(rig.menu.GetScreen());
	EXPECT_EQ(rig.Caption("lbl_title"), "PLAYER 2 KEYS");
	EXPECT_EQ(rig.Caption("lbl_fire"), "p");

	EXPECT_FALSE(rig.Visible(WG_TYPE_LABEL, "lbl_wait"));
	rig.Activate("btn_fire");
	EXPECT_EQ(rig.Caption("lbl_fire"), "?");
	// The wait says what to do, in characters the menu font has.
	EXPECT_TRUE(rig.Visible(WG_TYPE_LABEL, "lbl_wait"));
	EXPECT_EQ(rig.Caption("lbl_wait"), "PRESS A KEY - ESC CANCELS");
	// Return, F1 and the keypad's point are not assignable; the player's own "o" is in use.
	for (int key : {SDLK_RETURN, SDLK_F1, SDLK_KP_PERIOD}) {
		rig.PressKey(key);
		rig.Frame();
		EXPECT_EQ(keys->GetState(), KeysScreen::STATE_WAITING) << key;
	}
	rig.PressKey(SDLK_o, 'o');
	rig.Frame();
	EXPECT_TRUE(keys->HasConflict());
	EXPECT_TRUE(rig.Visible(WG_TYPE_LABEL, "lbl_error"));
	EXPECT_TRUE(rig.Visible(WG_TYPE_LABEL, "lbl_wait"));
	EXPECT_TRUE(rig.Visible(WG_TYPE_BUTTON, "btn_back")); // the way out stays in sight
	rig.PressKey(SDLK_LCTRL);
	rig.Frame();
	EXPECT_EQ(keys->GetState(), KeysScreen::STATE_IDLE);
	EXPECT_EQ(rig.Caption("lbl_fire"), "LEFT CTRL");
	EXPECT_TRUE(rig.Visible(WG_TYPE_BUTTON, "btn_back"));
	EXPECT_FALSE(rig.Visible(WG_TYPE_LABEL, "lbl_wait"));
	EXPECT_FALSE(rig.Visible(WG_TYPE_LABEL, "lbl_error"));

	// Escape while waiting gives the old caption back; in idle it is the back button.
	rig.Activate("btn_up");
	rig.PressKey(SDLK_ESCAPE);
	rig.Frame();
	EXPECT_EQ(rig.Caption("lbl_up"), "o");
	EXPECT_EQ(rig.menu.GetCurrentScreen(), MenuState::SCREEN_KEYS2);
	rig.Activate("btn_back");
	rig.Frame();
	EXPECT_EQ(rig.menu.GetCurrentScreen(), MenuState::SCREEN_MAIN);
	const std::string saved = dir.ReadText("options.dat");
	ASSERT_EQ(saved.size(), 88u);
	int32_t fire = 0;
	memcpy(&fire, saved.data() + 76, 4);
	EXPECT_EQ(fire, SDLK_LCTRL);
}

// Shift, Ctrl and Alt count once let go with no other key pressed meanwhile: Alt+Enter (which
// switches the screen) leaves the wait as it was, and Shift+A gives A.
TEST(KeysScreen, AModifierCountsOnlyWhenLetGoAloneSoAltEnterAssignsNothing) {
	ScratchDir dir;
	MenuRig rig(dir);
	ASSERT_TRUE(rig.Enter(MenuState::SCREEN_KEYS1));
	KeysScreen *keys = static_cast<KeysScreen *>(rig.menu.GetScreen());
	auto push = [](std::vector<SDL_Event> events) {
		for (SDL_Event &event : events) {
			SDL_PushEvent(&event);
		}
	};
	rig.Activate("btn_fire");
	push({KeyEvent(true, SDLK_LALT), KeyEvent(true, SDLK_RETURN, '\r', KMOD_LALT),
		KeyEvent(false, SDLK_RETURN, '\r', KMOD_LALT)});
	rig.Frame(); // the Alt still held
	push({KeyEvent(false, SDLK_LALT)});
	rig.Frame();
	EXPECT_TRUE(rig.input.TakeFullScreenRequest());
	EXPECT_EQ(keys->GetState(), KeysScreen::STATE_WAITING);
	EXPECT_EQ(g_options.keys1[KEY_FIRE], SDLK_c);

	push({KeyEvent(true, SDLK_LSHIFT), KeyEvent(true, SDLK_b, 'B', KMOD_LSHIFT),
		KeyEvent(false, SDLK_b, 'B', KMOD_LSHIFT), KeyEvent(false, SDLK_LSHIFT)});
	rig.Frame();
	EXPECT_EQ(g_options.keys1[KEY_FIRE], SDLK_b);

	rig.Activate("btn_up");
	push({KeyEvent(true, SDLK_RALT)});
	rig.Frame();
	EXPECT_EQ(keys->GetState(), KeysScreen::STATE_WAITING); // not until it is let go
	push({KeyEvent(false, SDLK_RALT)});
	rig.Frame();
	EXPECT_EQ(keys->GetState(), KeysScreen::STATE_IDLE);
	EXPECT_EQ(g_options.keys1[KEY_UP], SDLK_RALT);
	EXPECT_EQ(rig.Caption("lbl_up"), "RIGHT ALT");
}

TEST(MainMenuScreen, ButtonsChooseTheNextStateAndEscapeLeavesInTwoPresses) {
	ScratchDir dir;
	MenuRig rig(dir);
	ASSERT_TRUE(rig.Enter(MenuState::SCREEN_MAIN));
	rig.Activate("btn_options");
	EXPECT_TRUE(rig.Frame());
	EXPECT_EQ(rig.menu.GetCurrentScreen(), MenuState::SCREEN_OPTIONS);
	rig.menu.ShowScreen(MenuState::SCREEN_MAIN);
	rig.Activate("btn_start");
	EXPECT_FALSE(rig.Frame()); // in the same frame, after drawing it
	EXPECT_EQ(rig.menu.NextState(), STATE_MATCH);

	MenuState again;
	rig.menu.MenuLeave();
	ASSERT_TRUE(again.MenuEnter(640, 480) && again.ShowScreen(MenuState::SCREEN_MAIN));
	// The pointer's move to the centre arrives whenever the window system sends it, and hovering
	// there would unfocus: the keyboard alone.
	rig.input.EnableMouse(0, false);
	rig.PressKey(SDLK_ESCAPE);
	rig.Advance(16);
	EXPECT_TRUE(again.Frame());
	WgItem *exit = again.GetScreen()->GetScreen().Find(WG_TYPE_BUTTON, "btn_exit");
	ASSERT_NE(exit, nullptr);
	EXPECT_TRUE(exit->IsFocused());
	rig.PressKey(SDLK_ESCAPE);
	rig.Advance(16);
	EXPECT_FALSE(again.Frame());
	EXPECT_EQ(again.NextState(), STATE_QUIT);
}

TEST(MainMenuScreen, AGamepadStepsThroughTheButtonsAndPressesThem) {
	ScratchDir dir;
	MenuRig rig(dir);
	FakePads pads;
	pads.pads = {{"pad", 2, 1, 8, {0, 0}, 0, {}}};
	rig.input.SetJoystickDriver(&pads); // the menu scans for pads as it is entered
	rig.input.EnableJoysticks(true);
	ASSERT_TRUE(rig.Enter(MenuState::SCREEN_MAIN));
	rig.input.EnableMouse(0, false); // a late pointer move to the centre would hover there
	// Down four times, up once: the third button ("OPTIONS"), then the first button presses it.
	for (int hat : {SDL_HAT_DOWN, SDL_HAT_CENTERED, SDL_HAT_DOWN, SDL_HAT_CENTERED, SDL_HAT_DOWN, SDL_HAT_CENTERED,
			 SDL_HAT_DOWN, SDL_HAT_UP}) {
		PushPad(SDL_JOYHATMOTION, 0, 0, hat);
	}
	rig.Frame();
	EXPECT_TRUE(rig.Widget(WG_TYPE_BUTTON, "btn_options")->IsFocused());
	PushPad(SDL_JOYBUTTONDOWN, 0, 0, 1);
	for (int i = 0; i < 3 && rig.menu.GetCurrentScreen() == MenuState::SCREEN_MAIN; i++) {
		rig.Frame();
	}
	EXPECT_EQ(rig.menu.GetCurrentScreen(), MenuState::SCREEN_OPTIONS);
	rig.input.SetJoystickDriver(nullptr);
}

TEST(OptionsScreen, AnOlderScriptWithoutTheNewRowsLeavesThemAsTheyAre) {
	ScratchDir dir;
	MenuRig rig(dir);
	g_options.level = LEVEL_EXPERT;
	rig.WriteData("data/menu_options.lua", "MenuButton(\"btn_match\", \"MATCH\", 0, 0, 100)\n");
	ASSERT_TRUE(rig.Enter(MenuState::SCREEN_OPTIONS));
	rig.Activate("btn_match");
	EXPECT_EQ(g_options.level, LEVEL_EXPERT);
	const std::string log = rig.LogText();
	EXPECT_NE(log.find("makes no widget \"btn_shoot\""), std::string::npos) << log;
	EXPECT_EQ(log.find("btn_level"), std::string::npos) << log;
	EXPECT_EQ(log.find("lbl_guide"), std::string::npos) << log;
}
