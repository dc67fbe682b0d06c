#include "world/WorldUtil.h"

#include <plib/ssg.h>

#include <cstdlib>

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

int Draw15() {
	return rand() / (RAND_MAX / 32768 + 1);
}

} // namespace

ssgSimpleState *FirstLeafState(ssgEntity *entity) {
	ssgSimpleState *found = nullptr;
	ForEachLeaf(entity, &found, KeepFirstState);
	return found;
}

float RandomSigned() {
	return static_cast<float>(Draw15() - 16383) / 32767.0f;
}

float RandomUnit() {
	return static_cast<float>(Draw15()) / 32767.0f;
}
