#ifndef TAVRO_SCRIPT_SCRIPTSTATE_H
#define TAVRO_SCRIPT_SCRIPTSTATE_H

#include <cstddef>
#include <string>
#include <vector>

#include "script/ScriptMemory.h"

struct lua_State;

// One Lua state with the script surface: the base, string, math and table libraries only (a
// data script reaches neither the file system nor the shell, see OpenScriptLibraries), and every
// bound class and constant. Its scripts hold at most ScriptMemory::LIMIT bytes. Program objects are handed over as typed user data under global names; scripts
// cannot delete them. Every failed load or run is logged with the "SCRIPT:" tag.
class ScriptState {
public:
	// Opens the state and registers the surface.
	ScriptState();
	// Clears the globals and closes the state.
	~ScriptState();
	ScriptState(const ScriptState &) = delete;
	ScriptState &operator=(const ScriptState &) = delete;

	bool IsOpen() const { return lua != nullptr; }
	lua_State *GetLua() const { return lua; }

	// Registers the surface again, after ClearGlobals.
	bool RegisterSurface();
	// The object stays the program's: unless unprotected, scripts get an error when they
	// delete it. It must outlive the state, or be given up with ScriptObjects::Gone before it
	// is destroyed.
	void SetObject(const char *name, void *object, const char *className, bool protect = true);
	void SetNumber(const char *name, double value);

	// True when the script loaded and ran to its end. Precompiled chunks are refused.
	bool RunFile(const char *file);
	bool RunBuffer(const char *text, size_t length, const char *name);

	// Every name the surface registered and every global handed over becomes nil.
	void ClearGlobals();
	// Every object this state was handed becomes unreachable for its scripts (nil where it was),
	// as after a screen's objects are gone.
	void ForgetObjects();

	// An object is going: in every open state, scripts see nil where it was.
	static void ObjectGone(const void *object);

private:
	bool Run(const char *text, size_t length, const char *chunkName, const char *name);
	bool Report(int result, const char *name);
	void Forget(const void *object);

	ScriptMemory memory; // before the state, which allocates through it
	lua_State *lua;
	std::vector<std::string> handedOver; // global names set by SetObject and SetNumber
	struct HandedObject {
		const void *object;
		bool font;
		bool protect;
	};
	std::vector<HandedObject> handedObjects; // protected until the globals are cleared

	// Every open state, so objects going away can be forgotten in all of them.
	ScriptState *prevOpen;
	ScriptState *nextOpen;
	static ScriptState *firstOpen;
};

#endif
