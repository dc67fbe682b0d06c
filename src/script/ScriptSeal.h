#ifndef TAVRO_SCRIPT_SCRIPTSEAL_H
#define TAVRO_SCRIPT_SCRIPTSEAL_H

struct lua_State;

// Keeps scripts out of the binding's own tables. tolua++ hands scripts its class metatables as
// the class globals, and an object's fields reach them too: through them a script could unlink
// an object from its handle (tolua_ubox), swap handles, or call a collector. After the surface
// is registered:
// - every metatable of the binding answers getmetatable with false and cannot be replaced;
// - an object's fields never give out the binding's entries (names starting with "." or "_",
//   and tolua_ubox);
// - each class global is a stand-in that gives out the class's methods (inherited ones too)
//   and is accepted as the class by its constructor; rawget and rawset on it reach nothing
//   of the binding.
// Run inside a protected call, after every registration of the surface.
void SealSurface(lua_State *L);

#endif
