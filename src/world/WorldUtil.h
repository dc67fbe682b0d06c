#ifndef TAVRO_WORLD_WORLDUTIL_H
#define TAVRO_WORLD_WORLDUTIL_H

class ssgEntity;
class ssgSimpleState;

// The simple state of the first leaf below entity, or null when it has none.
ssgSimpleState *FirstLeafState(ssgEntity *entity);

// Draws of the standard generator in 15-bit steps whatever the library's RAND_MAX, so the
// ranges the effects and the sky are laid out for hold: s = (r - 16383) / 32767 lies in about
// [-0.5, 0.5], u = r / 32767 in [0, 1]. The caller seeds the generator.
float RandomSigned();
float RandomUnit();

#endif
