#include "app/Soak.h"

#include <malloc.h>

#include <cassert>
#include <cstdio>

#include "core/LogFile.h"
#include "core/ProcessStats.h"
#include "frontend/MenuState.h"
#include "options/OptionsRecord.h"

namespace {

// The real menu, set up and drawn once, with the choice already made.
class SoakMenu : public MenuState {
public:
	explicit SoakMenu(SoakFactory &soak_) : soak(soak_) {}

	bool Enter() override {
		g_options.mode = MODE_PC_VS_PC; // for this process only: nothing saves it
		if (!MenuState::Enter()) {
			return false;
		}
		Finish(soak.NextAfterMenu());
		return true;
	}

private:
	SoakFactory &soak;
};

} // namespace

SoakFactory::SoakFactory(int matches_) : game(net), matches(matches_), started(0) {
	assert(matches >= 1 && matches <= MAX_MATCHES);
}

GameStateObject *SoakFactory::Create(GameState state) {
	if (state == STATE_MENU) {
		return new SoakMenu(*this);
	}
	if (state == STATE_MATCH) {
		started++;
	}
	return game.Create(state);
}

GameState SoakFactory::NextAfterMenu() {
	if (started > 0) {
		malloc_trim(0); // freed heap back to the system: what stays resident is what is held
		const long rss = ResidentKilobytes();
		const int descriptors = OpenDescriptors();
		Log(LOG_MESSAGE, "SOAK: Match %d of %d played, resident memory %ld kB, %d file descriptors", started, matches,
			rss, descriptors);
		printf("soak: match %d of %d, RSS %.1f MB, %d descriptors\n", started, matches, rss / 1024.0, descriptors);
		fflush(stdout);
	}
	return started < matches ? STATE_MATCH : STATE_QUIT;
}
