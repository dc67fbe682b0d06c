#ifndef TAVRO_TESTS_ENDTOEND_H
#define TAVRO_TESTS_ENDTOEND_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameProcess.h"

// What the end-to-end tests share: reading the log, driving the window as a person would and
// keeping screenshots to look at.

// The log's entries without their stamps, e.g. "Message: MAIN: ...Done!".
std::vector<std::string> LogEntries(const std::string &text);

// Success when every expected entry appears, in this order, from entry `from` on; `at` (if
// given) receives the index after the last one. The log is printed on failure.
::testing::AssertionResult EntriesInOrder(const std::vector<std::string> &entries,
                                          const std::vector<std::string> &expected, int from = 0,
                                          int *at = nullptr);

// The number of entries equal to `entry`.
int CountEntries(const std::vector<std::string> &entries, const std::string &entry);

// xdotool actions on the game's window (%1 names it), after focusing it.
std::string Xdo(const XServer &x, const std::string &actions);

// Copies a picture into the build's "screenshots" folder for a person to look at.
void KeepShot(const std::string &file);
// The window as a picture, also kept.
void Shoot(const XServer &x, const std::string &file);

// The share of the picture that differs between two files (0 the same, 1 all different).
double Difference(const std::string &a, const std::string &b);

// "options.dat" holding the defaults with the given mode, daytime, match length and arena.
void WriteOptions(int mode, int daytime, int length, int arena);

// From the main menu with the keyboard: the pointer off the buttons, Tab `tabs` times (the
// buttons in order: start, options, player 1 keys, player 2 keys, credits, exit) and Return.
void ChooseInMenu(const XServer &x, int tabs);

#endif
