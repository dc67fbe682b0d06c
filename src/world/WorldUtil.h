#ifndef TAVRO_WORLD_WORLDUTIL_H
#define TAVRO_WORLD_WORLDUTIL_H

class ssgEntity;
class ssgSimpleState;

// The simple state of the first leaf below entity, or null when it has none.
ssgSimpleState *FirstLeafState(ssgEntity *entity);

#endif
