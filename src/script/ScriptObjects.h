#ifndef TAVRO_SCRIPT_SCRIPTOBJECTS_H
#define TAVRO_SCRIPT_SCRIPTOBJECTS_H

class GL2D_CacheManager;
class GL2D_Font;
struct GL2D_Rect;
struct lua_State;

// What the binding knows about program objects across every Lua state, so that no script can
// delete what it does not own or reach an object that is gone:
// - protected objects belong to the program (the globals handed over);
// - lent objects belong to the cache manager that handed them to a script;
// - fonts known to scripts may hold a script's rectangle as their clip.
class ScriptObjects {
public:
	// Counted: an object handed over twice stays protected until both let go.
	static void Protect(const void *object);
	static void Unprotect(const void *object);
	static bool IsProtected(const void *object);

	static void Lend(const GL2D_CacheManager *cache, const void *object);
	static bool IsLent(const void *object);
	// The cache manager is going: everything it lent is gone too.
	static void CacheGone(const GL2D_CacheManager *cache);

	// Counted like Protect.
	static void AddFont(GL2D_Font *font);
	static void RemoveFont(const GL2D_Font *font);

	// An object is going: widgets drop it, fonts drop it as their clip, and every Lua state
	// sees nil where it was.
	static void Gone(const void *object);
	// A widget or a manager is going: no widget holds one, so only the Lua states let go of it.
	static void ToolkitObjectGone(const void *object);
	static void RectGone(const GL2D_Rect *rect);
	static void FontGone(const GL2D_Font *font);

	// An object a script made belongs to the Lua state that made it (state: its StateKey)
	// until a script deletes it or hands it to a manager
	// that owns its items; release deletes it. Made objects left when the state closes are
	// deleted then: a script that forgets them must not grow the program.
	static void Made(const void *state, void *object, void (*release)(void *));
	// The key Made and ReleaseMade know a state by: its registry, the same for its coroutines.
	static const void *StateKey(lua_State *L);
	static void Disown(const void *object);
	static bool IsMade(const void *object);
	static void ReleaseMade(const void *state);
};

#endif
