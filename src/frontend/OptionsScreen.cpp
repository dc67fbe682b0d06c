#include "frontend/OptionsScreen.h"

#include <SDL/SDL_keysym.h>

#include <cctype>
#include <cstdio>

#include "core/LogFile.h"
#include "core/VideoConfig.h"
#include "core/UserFiles.h"
#include "frontend/MenuState.h"
#include "options/NameTable.h"
#include "options/OptionsFile.h"
#include "options/OptionsRecord.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "gui/WgItem.h"
#include "gui/WgManager.h"
#include "audio/SoundBank.h"

const char *const OptionsScreen::SCRIPT = "data/menu_options.lua";

namespace {

const char *const MODE_CAPTIONS[] = {"PL1 vs PL2", "PL1 vs PC", "PC vs PC"};
const char *const DAYTIME_CAPTIONS[] = {"DAY", "NIGHT", "RANDOM"};
const char *const LEVEL_CAPTIONS[] = {"NORMAL", "EASY", "HARD", "EXPERT"}; // by ComputerLevel

// Names are kept in lower case (they name files too); captions are upper case.
const char *Caption(const char *name, char *out, size_t size) {
	size_t i = 0;
	for (; name[i] && i + 1 < size; i++) {
		out[i] = static_cast<char>(toupper(static_cast<unsigned char>(name[i])));
	}
	out[i] = '\0';
	return out;
}

OptionsScreen &Of(void *screen) {
	return *static_cast<OptionsScreen *>(static_cast<MenuScreen *>(screen)); // hooked with the base's this
}

} // namespace

OptionsScreen::OptionsScreen(MenuState &menu_)
	: MenuScreen(menu_), labels(), backButton(nullptr), portraits(), sameCharacter(false) {}

OptionsScreen::~OptionsScreen() {
	for (GL2D_SimpleBmpRect *&portrait : portraits) {
		delete portrait;
		portrait = nullptr;
	}
}

int OptionsScreen::NextMatchLength(int minutes) {
	return minutes == 4 ? 1 : minutes + 1;
}

int OptionsScreen::NextShootTime(int seconds) {
	return seconds == 5 ? 1 : seconds + 1;
}

int OptionsScreen::NextMode(int mode) {
	return mode + 1 == 3 ? 0 : mode + 1;
}

int OptionsScreen::NextDaytime(int daytime) {
	return daytime + 1 == 3 ? 0 : daytime + 1;
}

int OptionsScreen::NextArena(int arena) {
	return arena + 1 == 2 ? -1 : arena + 1;
}

int OptionsScreen::NextCharacter(int character) {
	return character + 1 == CHARACTER_COUNT ? 0 : character + 1;
}

int OptionsScreen::NextLevel(int level) {
	switch (level) {
	case LEVEL_EASY: return LEVEL_NORMAL;
	case LEVEL_NORMAL: return LEVEL_HARD;
	case LEVEL_HARD: return LEVEL_EXPERT;
	case LEVEL_EXPERT: return LEVEL_EASY;
	default: return LEVEL_NORMAL;
	}
}

bool OptionsScreen::Build() {
	const bool ran = RunScript(SCRIPT);
	struct Pair {
		const char *button;
		void (*handler)(WgItem *, void *);
		const char *label;
	};
	// In the order of the labels; from LABEL_LEVEL on a script may leave them out.
	// clang-format off
	static const Pair pairs[LABEL_ERROR] = {
		{"btn_match", OnMatch, "lbl_match"},     {"btn_shoot", OnShoot, "lbl_shoot"},
		{"btn_mode", OnMode, "lbl_mode"},        {"btn_daytime", OnDaytime, "lbl_daytime"},
		{"btn_music", OnMusic, "lbl_music"},     {"btn_arena", OnArena, "lbl_arena"},
		{"btn_logo1", OnLogo1, "lbl_logo1"},     {"btn_logo2", OnLogo2, "lbl_logo2"},
		{"btn_level", OnLevel, "lbl_level"},     {"btn_guide", OnGuide, "lbl_guide"},
		{"btn_replay", OnReplay, "lbl_replay"},
	};
	// clang-format on
	for (int i = 0; i < LABEL_ERROR; i++) {
		const bool optional = i >= LABEL_LEVEL;
		HookButton(pairs[i].button, pairs[i].handler, optional);
		labels[i] = FindLabel(pairs[i].label, optional);
	}
	labels[LABEL_ERROR] = FindLabel("lbl_error");
	backButton = HookButton("btn_back", OnBack);
	if (screen.GetManager()) {
		screen.GetManager()->UnfocusAll();
	}
	RefreshCaptions();
	return ran;
}

void OptionsScreen::SetCaption(Label label, const char *text) {
	if (labels[label]) {
		labels[label]->SetCaption(text);
	}
}

void OptionsScreen::RefreshCaptions() {
	const OptionsRecord &o = g_options;
	char text[32];
	snprintf(text, sizeof(text), o.matchLength <= 1 ? "%d minute" : "%d minutes", o.matchLength);
	SetCaption(LABEL_MATCH, text);
	snprintf(text, sizeof(text), o.shootTime <= 1 ? "%d second" : "%d seconds", o.shootTime);
	SetCaption(LABEL_SHOOT, text);
	if (o.mode >= 0 && o.mode < 3) {
		SetCaption(LABEL_MODE, MODE_CAPTIONS[o.mode]);
	}
	if (o.daytime >= 0 && o.daytime < 3) {
		SetCaption(LABEL_DAYTIME, DAYTIME_CAPTIONS[o.daytime]);
	}
	SetCaption(LABEL_MUSIC, o.music ? "ON" : "OFF");
	SetCaption(LABEL_LEVEL, LEVEL_CAPTIONS[o.level <= LEVEL_EXPERT ? o.level : int(LEVEL_NORMAL)]);
	SetCaption(LABEL_GUIDE, o.guide ? "ON" : "OFF");
	SetCaption(LABEL_REPLAY, o.replay ? "ON" : "OFF");
	SetCaption(LABEL_ARENA, o.arena == -1 ? "RANDOM" : Caption(ArenaName(o.arena), text, sizeof(text)));
	for (int player = 0; player < 2; player++) {
		if (!portraits[player]) {
			char file[64];
			snprintf(file, sizeof(file), "data/rects/%s.nsbr", CharacterName(o.character[player]));
			portraits[player] = new GL2D_SimpleBmpRect();
			portraits[player]->SetSmooth(Scale() != 1.0f);
			if (!portraits[player]->Load(file)) {
				delete portraits[player];
				portraits[player] = nullptr;
			}
		}
		SetCaption(
			player == 0 ? LABEL_LOGO1 : LABEL_LOGO2, Caption(CharacterName(o.character[player]), text, sizeof(text)));
	}
	if (labels[LABEL_ERROR]) {
		labels[LABEL_ERROR]->SetVisible(sameCharacter);
	}
	// The way back stays in sight: greyed while the warning says why it cannot be taken.
	if (backButton && sameCharacter) {
		backButton->Disable();
	} else if (backButton) {
		backButton->Enable();
	}
}

void OptionsScreen::OnMatch(WgItem *, void *screen) {
	g_options.matchLength = NextMatchLength(g_options.matchLength);
	Of(screen).RefreshCaptions();
}

void OptionsScreen::OnShoot(WgItem *, void *screen) {
	g_options.shootTime = NextShootTime(g_options.shootTime);
	Of(screen).RefreshCaptions();
}

void OptionsScreen::OnMode(WgItem *, void *screen) {
	g_options.mode = NextMode(g_options.mode);
	Of(screen).RefreshCaptions();
}

void OptionsScreen::OnDaytime(WgItem *, void *screen) {
	g_options.daytime = NextDaytime(g_options.daytime);
	Of(screen).menu.ChangeDaytime(g_options.daytime);
	Of(screen).RefreshCaptions();
}

void OptionsScreen::OnMusic(WgItem *, void *screen) {
	g_options.music = g_options.music ? 0 : 1;
	Of(screen).RefreshCaptions();
}

void OptionsScreen::OnArena(WgItem *, void *screen) {
	g_options.arena = NextArena(g_options.arena);
	Of(screen).menu.ChangeArena(g_options.arena);
	Of(screen).RefreshCaptions();
}

void OptionsScreen::OnLogo1(WgItem *, void *screen) {
	Of(screen).ChangeCharacter(0);
}

void OptionsScreen::OnLogo2(WgItem *, void *screen) {
	Of(screen).ChangeCharacter(1);
}

void OptionsScreen::OnLevel(WgItem *, void *screen) {
	g_options.level = static_cast<uint8_t>(NextLevel(g_options.level));
	Of(screen).RefreshCaptions();
}

void OptionsScreen::OnGuide(WgItem *, void *screen) {
	g_options.guide = g_options.guide ? 0 : 1;
	Of(screen).RefreshCaptions();
}

void OptionsScreen::OnReplay(WgItem *, void *screen) {
	g_options.replay = g_options.replay ? 0 : 1;
	Of(screen).RefreshCaptions();
}

void OptionsScreen::ChangeCharacter(int player) {
	g_options.character[player] = NextCharacter(g_options.character[player]);
	sameCharacter = g_options.character[0] == g_options.character[1];
	delete portraits[player];
	portraits[player] = nullptr;
	RefreshCaptions();
}

void OptionsScreen::OnBack(WgItem *, void *screen) {
	Of(screen).Back();
}

void OptionsScreen::Back() {
	if (g_sound) {
		g_sound->PlaySample(SOUND_OPTIONS_SAVED, -1);
	}
	menu.RequestScreen(MenuState::SCREEN_MAIN);
	if (!g_optionsFile.Save(g_options, UserFilePath(USER_OPTIONS))) {
		Log(LOG_ERROR, "MENU: %s could not be written; the options hold until the game ends",
			UserFilePath(USER_OPTIONS));
	}
}

void OptionsScreen::HandleEvent(const NI_Event *event) {
	// Escape is the back button, as long as the back button may be used.
	if (IsKeyPress(event, SDLK_ESCAPE)) {
		if (!sameCharacter) {
			Back();
		}
		return;
	}
	PassOn(event);
}

void OptionsScreen::GetPortraitPlace(int player, int *x, int *y) const {
	const WgItem *label = labels[player == 0 ? LABEL_LOGO1 : LABEL_LOGO2];
	const GL2D_SimpleBmpRect *portrait = portraits[player == 0 ? 0 : 1];
	const float scale = Scale();
	if (!label) {
		*x = menu.GetWidth() / 2 + VideoConfig::Scaled(75, scale);
		*y = menu.GetHeight() / 2 + VideoConfig::Scaled(player == 0 ? 25 : 90, scale);
		return;
	}
	int lx = 0, ly = 0, lw = 0, lh = 0;
	label->GetCoords(&lx, &ly);
	label->GetDim(&lw, &lh);
	*x = lx + lw + VideoConfig::Scaled(PORTRAIT_GAP, scale);
	*y = ly + (lh - (portrait ? VideoConfig::Scaled(portrait->GetHeight(), scale) : 0)) / 2;
}

float OptionsScreen::Scale() const {
	return VideoConfig::ScreenScale(menu.GetWidth(), menu.GetHeight());
}

void OptionsScreen::DrawOverlay(int frameTime) {
	screen.DrawWidgets(frameTime);
	for (int player = 0; player < 2; player++) {
		if (portraits[player]) {
			int x = 0, y = 0;
			GetPortraitPlace(player, &x, &y);
			portraits[player]->DrawScaledAt(x, y, Scale());
		}
	}
	screen.DrawCursor(frameTime);
	menu.DrawLogo();
}
