#ifndef TAVRO_SCRIPT_SCRIPTBUDGET_H
#define TAVRO_SCRIPT_SCRIPTBUDGET_H

#include <cstdint>

struct lua_State;

// The clock script time is measured with, in microseconds.
class ScriptClock {
public:
	virtual ~ScriptClock() {}
	// A steady clock; read often, so it must be cheap.
	virtual uint64_t Now() = 0;
	// Processor time the thread running the scripts has used. Read only when Now says a run's
	// time may be up, so that time the system gave to other programs, or to this one's other
	// threads (the GL driver renders in threads of its own), is not charged to a script.
	virtual uint64_t Used() = 0;
};

// One time budget for every top-level script run (a screen's script, a widget event,
// ExecuteLua, a credits step) and everything it runs nested, in whatever Lua state. A hook
// looks at the clock every HOOK_COUNT instructions and at every call; once the budget is spent
// every run in progress ends with the error "ran too long", no nested run starts and no script
// catches the error (see OpenScriptLibraries). While scripts run, the player's quit request is
// looked for every QUIT_LOOK: once seen, every run ends ("the game is closing") and none starts
// again, so the game closes in order within a second whatever a script does.
class ScriptBudget {
public:
	static constexpr uint64_t LIMIT = 250000;     // microseconds of one top-level run
	static constexpr uint64_t QUIT_LOOK = 100000; // microseconds between looks for a quit request
	static constexpr int HOOK_COUNT = 1000;       // instructions between looks at the clock

	// The budget of one run: the outermost run starts it, nested ones share it.
	class Run {
	public:
		Run();
		~Run();
		Run(const Run &) = delete;
		Run &operator=(const Run &) = delete;

		// The run must not start: the budget is spent or the game is closing (see Reason).
		bool Refused() const { return refused; }

	private:
		bool refused;
	};

	// Puts the hook on a state; coroutines made in it inherit it.
	static void Watch(lua_State *L);
	// A run is in progress and must end: its budget is spent or the game is closing.
	static bool Stopping();
	// Looks at the clock now, for long work inside one call that no hook reaches: true when the
	// run in progress must end.
	static bool CheckNow();
	// Why runs end: "ran too long" or "the game is closing".
	static const char *Reason();
	// Why a run is refused: "not run, out of time" or "not run, the game is closing".
	static const char *Refusal();
	// The log level for a run refused or ended: a message while the game closes, since the
	// player's quit request is no fault of the script's; an error otherwise.
	static int LogLevel();

	// Null: the program's own clock (the monotonic clock and the thread's processor time).
	static void SetClock(ScriptClock *clock);
	// Asked while scripts run; true once the player asked to quit. Null for none. Setting it
	// (or none) also ends a closing.
	static void SetQuitProbe(bool (*probe)());
};

#endif
