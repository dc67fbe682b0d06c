#include "app/QuitSignals.h"

#include <signal.h>

namespace {

const int SIGNALS[] = {SIGINT, SIGTERM};
const int SIGNAL_COUNT = sizeof(SIGNALS) / sizeof(SIGNALS[0]);

volatile sig_atomic_t s_cameLate = 0;
bool s_held[SIGNAL_COUNT] = {};

void NoteQuit(int) {
	s_cameLate = 1;
}

} // namespace

void HoldQuitSignals() {
	for (int i = 0; i < SIGNAL_COUNT; i++) {
		struct sigaction now = {};
		if (sigaction(SIGNALS[i], nullptr, &now) != 0 || now.sa_handler != SIG_DFL) {
			continue;
		}
		struct sigaction note = {};
		note.sa_handler = NoteQuit;
		sigemptyset(&note.sa_mask);
		s_held[i] = sigaction(SIGNALS[i], &note, nullptr) == 0;
	}
}

bool QuitSignalCameLate() {
	return s_cameLate != 0;
}

void ReleaseQuitSignals() {
	for (int i = 0; i < SIGNAL_COUNT; i++) {
		if (s_held[i]) {
			signal(SIGNALS[i], SIG_DFL);
			s_held[i] = false;
		}
	}
}
