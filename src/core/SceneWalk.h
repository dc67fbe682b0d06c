#ifndef TAVRO_CORE_SCENEWALK_H
#define TAVRO_CORE_SCENEWALK_H

class ssgEntity;
class ssgLeaf;

typedef void (*LeafFunction)(void *userValue, ssgLeaf *leaf);

// Calls function(userValue, leaf) for every leaf below entity (or entity itself when it is a
// leaf), depth first, children in their stored order.
void ForEachLeaf(ssgEntity *entity, void *userValue, LeafFunction function);

#endif
