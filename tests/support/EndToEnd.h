#ifndef TAVRO_TESTS_ENDTOEND_H
#define TAVRO_TESTS_ENDTOEND_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameProcess.h"
#include "LogCapture.h"
#include "ScratchDir.h"

// What the end-to-end tests share: the real program in a scratch dir of its own with the
// build's data tree, on a private X server, driven as a person would, with screenshots kept.
class GameRun {
public:
	// Writes "video.cfg" with the given line, unless it is empty; the private X screen has the
	// size given ("WIDTHxHEIGHT").
	explicit GameRun(const std::string &video = "640 480 32 0\n", const char *screen = "1024x768");
	// Starts the program and waits for its menu.
	::testing::AssertionResult StartToMenu(const std::vector<std::string> &arguments = {});
	// Waits until the log holds the text `count` times.
	bool WaitFor(const std::string &text, int timeoutMs = 30000, int count = 1) const;
	std::string Log() const { return dir.ReadText("Log.txt"); }
	// xdotool actions on the game's window (%1 names it), after focusing it.
	std::string Xdo(const std::string &actions) const;
	// From the main menu with the keyboard: the pointer off the buttons, Tab `tabs` times (the
	// buttons in order: start, play online, options, player 1 keys, player 2 keys, credits, exit)
	// and Return.
	void ChooseInMenu(int tabs) const;
	// Holds the key (a game that polls its keys sees it only while a frame runs) again and again
	// until the log holds the text `count` times; false after ten tries.
	bool HoldUntil(const std::string &key, const std::string &text, int count) const;
	// The window as a picture, kept in the build's "screenshots" folder.
	void Shoot(const std::string &file) const;
	// Neither the log nor standard error holds an error or a sanitizer's report.
	::testing::AssertionResult Clean() const;

	ScratchDir dir;
	XServer x;
	GameProcess game;
};

// Copies a picture into the build's "screenshots" folder for a person to look at.
void KeepShot(const std::string &file);

// The share of the picture that differs between two files (0 the same, 1 all different).
double Difference(const std::string &a, const std::string &b);

// "options.dat" holding the defaults with the given mode, daytime, match length and arena.
void WriteOptions(int mode, int daytime, int length, int arena);

#endif
