#include "match/Hud.h"

#include <cstdio>

#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "gl2d/GL2D_BmpText.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "gl2d/GL2D_TrueTypeText.h"
#include "world/Disc.h"
#include "world/MatchContext.h"

Hud::Hud()
	: width(0), height(0), match(nullptr), timer(nullptr), textFont(nullptr), scoreFont(nullptr), clockFont(nullptr),
	  miniFrame(nullptr) {}

Hud::~Hud() {
	Deinit();
}

bool Hud::Init(int width_, int height_, const MatchContext *match_, const FrameTimer *timer_) {
	width = width_;
	height = height_;
	match = match_;
	timer = timer_;

	textFont = new GL2D_TrueTypeText();
	textFont->SetColor(0.9f, 0.1f, 0.0f, 0.0f);
	if (!textFont->Load("data/fonts/arial_green.ntf")) {
		Log(LOG_ERROR, "HUD: Arial Red font loading failed!");
		return false;
	}
	scoreFont = new GL2D_BmpText();
	if (!scoreFont->Load("data/fonts/numbers.nbf")) {
		Log(LOG_ERROR, "HUD: Wobbles Numbers font loading failed!");
		return false;
	}
	clockFont = new GL2D_BmpText();
	if (!clockFont->Load("data/fonts/numbersblue.nbf")) {
		Log(LOG_ERROR, "HUD: Wobbles Numbers Blue font loading failed!");
		return false;
	}
	miniFrame = new GL2D_SimpleBmpRect();
	if (!miniFrame->Load("data/rects/cloud.nsbr")) {
		Log(LOG_ERROR, "HUD: Cloud loading failed!");
		return false;
	}
	return true;
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
		textFont->Write(width - 100, height - 30, text);
	}
	FormatScore(text, sizeof(text), match->GetDisc(1)->GetGoals(), match->GetDisc(2)->GetGoals());
	scoreFont->Write(width / 2 - scoreFont->GetTextWidth(text) / 2, 5, text);

	FormatClock(text, sizeof(text), match->GetPeriodTimeLeft());
	clockFont->Write(width - clockFont->GetTextWidth(text) - 10, 5, text);

	FormatPeriod(text, sizeof(text), match->GetPeriodIndex());
	clockFont->Write(10, height - clockFont->GetFontHeight() - 10, text);

	if (miniViewShown) {
		miniFrame->Draw(0, 0);
	}
}
