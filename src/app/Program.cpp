#include "app/Program.h"

#include <SDL/SDL.h>

#include "core/Clock.h"
#include "core/FrameTimer.h"
#include "core/LogFile.h"
#include "core/StateMachine.h"
#include "core/UserFiles.h"
#include "input/NoxInput.h"
#include "app/QuitSignals.h"
#include "app/System.h"
#include "frontend/Credits.h"
#include "frontend/MenuState.h"
#include "match/InGame.h"
#include "match/NetHostMatch.h"
#include "match/NetJoinMatch.h"
#include "match/NetPlay.h"
#include "script/LuaScriptRunner.h"
#include "script/ScriptBudget.h"

GameStateObject *DefaultStateFactory::Create(GameState state) {
	switch (state) {
	case STATE_MENU: return new MenuState(&net);
	case STATE_MATCH:
		if (net.IsInMatch()) {
			return net.GetSession()->IsHost() ? static_cast<GameStateObject *>(new NetHostMatch(net))
											  : new NetJoinMatch(net);
		}
		return new InGame();
	case STATE_CREDITS: return new Credits();
	default: return nullptr;
	}
}

bool TakeQuitRequests() {
	SDL_Event event;
	bool quit = false;
	while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_QUITMASK) > 0) {
		quit = true;
	}
	const Uint32 unread = SDL_ACTIVEEVENTMASK | SDL_VIDEOEXPOSEMASK | SDL_VIDEORESIZEMASK | SDL_SYSWMEVENTMASK;
	while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, unread) > 0) {
	}
	return quit;
}

bool QuitRequested() {
	SDL_PumpEvents();
	SDL_Event event;
	return SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_QUITMASK) > 0;
}

namespace {

// Made before program entry, so the first frame time includes all of start-up.
MonotonicClock s_clock;
FrameTimer s_timer(&s_clock);

} // namespace

int RunProgram(GameStateFactory *factory, int timeScale, const NetStartRequest &netStart) {
	s_timer.SetScale(timeScale);
	g_timer = &s_timer;
	LogFile *log = new LogFile();
	log->Open(UserFilePath(USER_LOG), "Kelvane");
	g_log = log;
	LuaScriptRunner scripts;
	g_scriptRunner = &scripts;
	ScriptBudget::SetQuitProbe(QuitRequested);
	if (timeScale != 1) {
		Log(LOG_MESSAGE, "MAIN: Time runs %d times as fast", timeScale);
	}

	System *system = new System();
	if (system->Startup()) {
		NetPlay net;
		net.RequestStart(netStart.what, netStart.port, netStart.address.c_str());
		if (netStart.discoveryPort > 0) {
			net.GetConfig().discoveryPort = netStart.discoveryPort;
		}
		DefaultStateFactory gameStates(net);
		StateMachine *states = new StateMachine(factory ? factory : &gameStates);
		if (states->SetGameState(STATE_MENU)) {
			for (;;) {
				bool quit = TakeQuitRequests();
				bool running = states->RunGameStateFrame();
				if (g_input) {
					g_input->WatchFullScreenKey();
					if (g_input->TakeFullScreenRequest()) {
						system->ToggleFullScreen();
					}
				}
				if (!running || quit) {
					break;
				}
			}
		}
		states->SetGameState(STATE_NONE);
		delete states;
		system->Shutdown();
	}
	delete system;

	if (QuitSignalCameLate()) {
		Log(LOG_MESSAGE, "MAIN: Asked to quit during the shut-down, which runs to its end");
	}
	g_scriptRunner = nullptr;
	ScriptBudget::SetQuitProbe(nullptr);
	g_log = nullptr;
	log->Close();
	delete log;
	ReleaseQuitSignals();
	return 0;
}
