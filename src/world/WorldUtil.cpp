#include "world/WorldUtil.h"

#include <plib/ssg.h>

#include "core/SceneWalk.h"

namespace {

void KeepFirstState(void *userValue, ssgLeaf *leaf) {
	ssgSimpleState **found = static_cast<ssgSimpleState **>(userValue);
	if (*found) {
		return;
	}
	ssgState *state = leaf->getState();
	if (state && state->isAKindOf(ssgTypeSimpleState())) {
		*found = static_cast<ssgSimpleState *>(state);
	}
}

} // namespace

ssgSimpleState *FirstLeafState(ssgEntity *entity) {
	ssgSimpleState *found = nullptr;
	ForEachLeaf(entity, &found, KeepFirstState);
	return found;
}
