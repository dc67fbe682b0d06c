#include "script/ScriptBudget.h"

extern "C" {
#include <lua.h>
}

#include <ctime>

#include "core/LogFile.h"

namespace {

const char *const TOO_LONG = "ran too long";
const char *const CLOSING = "the game is closing";

uint64_t Microseconds(clockid_t id) {
	timespec now;
	clock_gettime(id, &now);
	return static_cast<uint64_t>(now.tv_sec) * 1000000u + static_cast<uint64_t>(now.tv_nsec) / 1000u;
}

class SystemClock : public ScriptClock {
public:
	uint64_t Now() override { return Microseconds(CLOCK_MONOTONIC); }
	uint64_t Used() override { return Microseconds(CLOCK_THREAD_CPUTIME_ID); }
};

// Runs nest across Lua states, so their one budget is the process's.
SystemClock s_systemClock;
ScriptClock *s_clock = &s_systemClock;
bool (*s_quitProbe)() = nullptr;
int s_depth = 0;          // runs in progress
bool s_expired = false;   // the budget of the runs in progress is spent
bool s_closing = false;   // the player asked to quit
uint64_t s_deadline = 0;  // microseconds of Now when the budget may be spent
uint64_t s_startUsed = 0; // microseconds of Used when the outermost run started
uint64_t s_nextLook = 0;  // microseconds of Now when the quit probe is asked next

bool Probe(uint64_t now) {
	if (s_quitProbe && !s_closing && now >= s_nextLook) {
		s_nextLook = now + ScriptBudget::QUIT_LOOK;
		s_closing = s_quitProbe();
	}
	return s_closing;
}

bool Over() {
	if (s_expired || s_closing) {
		return true;
	}
	const uint64_t now = s_clock->Now();
	if (Probe(now)) {
		return true;
	}
	if (now < s_deadline) {
		return false;
	}
	// Past the deadline by the steady clock; the processor time decides.
	const uint64_t used = s_clock->Used() - s_startUsed;
	if (used >= ScriptBudget::LIMIT) {
		s_expired = true;
		return true;
	}
	s_deadline = now + (ScriptBudget::LIMIT - used);
	return false;
}

void Hook(lua_State *L, lua_Debug *) {
	if (s_depth > 0 && Over()) {
		lua_pushstring(L, ScriptBudget::Reason());
		lua_error(L);
	}
}

} // namespace

ScriptBudget::Run::Run() {
	if (s_depth == 0) {
		const uint64_t now = s_clock->Now();
		s_expired = false;
		s_deadline = now + LIMIT;
		s_startUsed = s_clock->Used();
		Probe(now);
	}
	refused = s_expired || s_closing;
	s_depth++;
}

ScriptBudget::Run::~Run() {
	s_depth--;
}

void ScriptBudget::Watch(lua_State *L) {
	lua_sethook(L, Hook, LUA_MASKCOUNT | LUA_MASKCALL, HOOK_COUNT);
}

bool ScriptBudget::CheckNow() {
	return s_depth > 0 && Over();
}

bool ScriptBudget::Stopping() {
	return s_depth > 0 && (s_expired || s_closing);
}

const char *ScriptBudget::Reason() {
	return s_closing ? CLOSING : TOO_LONG;
}

const char *ScriptBudget::Refusal() {
	return s_closing ? "not run, the game is closing" : "not run, out of time";
}

int ScriptBudget::LogLevel() {
	return s_closing ? LOG_MESSAGE : LOG_ERROR;
}

void ScriptBudget::SetClock(ScriptClock *clock) {
	s_clock = clock ? clock : &s_systemClock;
	s_nextLook = 0;
}

void ScriptBudget::SetQuitProbe(bool (*probe)()) {
	s_quitProbe = probe;
	s_closing = false;
	s_nextLook = 0;
}
