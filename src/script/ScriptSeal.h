#ifndef TAVRO_SCRIPT_SCRIPTSEAL_H
#define TAVRO_SCRIPT_SCRIPTSEAL_H

struct lua_State;
struct tolua_Error;

// Keeps scripts out of the binding's own tables. tolua++ hands scripts its class metatables as
// the class globals, and an object's fields reach them too: through them a script could unlink
// an object from its handle (tolua_ubox), swap handles, call a collector on the wrong object or
// give a class a collector of its own. After the surface is registered:
// - an object's fields never give out the binding's entries (names starting with "." or "_",
//   and tolua_ubox), and getmetatable shows no object's metatable (ScriptGetMetatable);
// - each class global is a stand-in that gives out the class's methods (inherited ones too)
//   and is accepted as the class by its constructor (TavroIsClass); rawget and rawset on it
//   reach nothing of the binding, and it answers getmetatable with false.
// Run inside a protected call, after every registration of the surface.
void SealSurface(lua_State *L);

// Whether the value at index is the stand-in of the class name, as constructors check their
// first argument (in place of tolua_isusertable).
int TavroIsClass(lua_State *L, int index, const char *name, tolua_Error *error);

// getmetatable for scripts: false for the binding's objects, as Lua answers for anything else.
int ScriptGetMetatable(lua_State *L);

#endif
