#include "match/Hud.h"

#include <cstdio>

#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/VideoConfig.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "gl2d/GL2D_TrueTypeText.h"
#include "world/Disc.h"
#include "world/MatchContext.h"

Hud::Hud()
	: width(0), height(0), scale(1.0f), match(nullptr), timer(nullptr), textFont(nullptr), scoreFont(nullptr),
	  clockFont(nullptr), miniFrame(nullptr) {}

Hud::~Hud() {
	Deinit();
}

bool Hud::Init(int width_, int height_, const MatchContext *match_, const FrameTimer *timer_) {
	width = width_;
	height = height_;
	match = match_;
	timer = timer_;

	// The HUD grows with the window; its fonts are rendered at the size they are shown.
	scale = VideoConfig::ScreenScale(width, height);
	textFont = LoadFont("data/fonts/arial_green.ntf", 0.9f, 0.1f, 0.0f, "Arial Red");
	scoreFont = LoadFont("data/fonts/numbers.ntf", 1.0f, 0.95f, 0.48f, "Wobbles Numbers");
	clockFont = LoadFont("data/fonts/numbersblue.ntf", 0.78f, 0.965f, 1.0f, "Wobbles Numbers Blue");
	if (!textFont || !scoreFont || !clockFont) {
		return false;
	}
	miniFrame = new GL2D_SimpleBmpRect();
	miniFrame->SetSmooth(scale != 1.0f);
	if (!miniFrame->Load("data/rects/cloud.nsbr")) {
		Log(LOG_ERROR, "HUD: Cloud loading failed!");
		return false;
	}
	return true;
}

GL2D_TrueTypeText *Hud::LoadFont(const char *file, float r, float g, float b, const char *name) const {
	GL2D_TrueTypeText *font = new GL2D_TrueTypeText();
	font->SetColor(r, g, b, 1.0f);
	font->SetScale(scale);
	if (!font->Load(file)) {
		Log(LOG_ERROR, "HUD: %s font loading failed!", name);
		delete font;
		return nullptr;
	}
	return font;
}

int Hud::Px(int length) const {
	return VideoConfig::Scaled(length, scale);
}

void Hud::Deinit() {
	delete miniFrame;
	miniFrame = nullptr;
	delete clockFont;
	clockFont = nullptr;
	delete scoreFont;
	scoreFont = nullptr;
	delete textFont;
	textFont = nullptr;
}

void Hud::FormatScore(char *out, int size, int goals1, int goals2) {
	snprintf(out, size, "%02d:%02d", goals1, goals2);
}

void Hud::FormatClock(char *out, int size, int msLeft) {
	int seconds = msLeft / 1000;
	snprintf(out, size, "%d:%02d", seconds / 60, seconds % 60);
}

void Hud::FormatPeriod(char *out, int size, int periodIndex) {
	snprintf(out, size, "%d:%d", periodIndex + 1, 4);
}

void Hud::Draw(bool miniViewShown, bool showFps) {
	if (!scoreFont || !clockFont || !textFont || !miniFrame) {
		return; // not set up
	}
	char text[32];
	if (showFps && timer) {
		snprintf(text, sizeof(text), "FPS: %.1f", timer->GetFps());
		textFont->Write(width - Px(100), height - Px(30), text);
	}
	FormatScore(text, sizeof(text), match->GetDisc(1)->GetGoals(), match->GetDisc(2)->GetGoals());
	scoreFont->Write(width / 2 - scoreFont->GetTextWidth(text) / 2, Px(5), text);

	FormatClock(text, sizeof(text), match->GetPeriodTimeLeft());
	clockFont->Write(width - clockFont->GetTextWidth(text) - Px(10), Px(5), text);

	FormatPeriod(text, sizeof(text), match->GetPeriodIndex());
	clockFont->Write(Px(10), height - clockFont->GetFontHeight() - Px(10), text);

	if (miniViewShown) {
		miniFrame->DrawScaledAt(0, 0, scale);
	}
}
