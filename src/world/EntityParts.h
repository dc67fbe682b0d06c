#ifndef TAVRO_WORLD_ENTITYPARTS_H
#define TAVRO_WORLD_ENTITYPARTS_H

#include <ode/ode.h>

class ssgBranch;
class ssgEntity;
class ssgSimpleState;

// Loads a model with the loader's model and texture directories pointed at directory, and
// flattens it (and builds strips when asked). Null when the file cannot be loaded, or when it or
// a texture it uses is damaged (checked before the loader reads them; an error in the log says
// which). The caller owns the result until it hangs it in the scene.
ssgEntity *LoadEntityModel(const char *directory, const char *file, bool strip);

// Gives the state the texture file at path (a BMP below the game's folder), wrapped in u and v,
// with or without mipmaps. False, with an error in the log and the state as it was, when the
// file is missing or damaged.
bool SetEntityTexture(ssgSimpleState *state, const char *path, bool mipmap);

// Releases a loaded model that never made it into the scene.
void ReleaseEntityModel(ssgEntity *model);

// Unhooks an entity the caller holds one reference to from its parent (if any) and drops that
// reference.
void ReleaseHungEntity(ssgBranch *parent, ssgEntity *entity);

// Gives the body the mass of a sphere scaled to totalMass and, when there is a space, a sphere
// geometry of the same radius attached to the body. Returns the geometry (null without a space);
// the space destroys it.
dGeomID AttachSphere(dBodyID body, dSpaceID space, float radius, float totalMass);

#endif
