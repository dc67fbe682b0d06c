#include "core/SceneWalk.h"

#include <plib/ssg.h>

void ForEachLeaf(ssgEntity *entity, void *userValue, LeafFunction function) {
	if (!entity) {
		return;
	}
	if (entity->isAKindOf(ssgTypeLeaf())) {
		function(userValue, static_cast<ssgLeaf *>(entity));
		return;
	}
	if (entity->isAKindOf(ssgTypeBranch())) {
		ssgBranch *branch = static_cast<ssgBranch *>(entity);
		for (int i = 0; i < branch->getNumKids(); i++) {
			ForEachLeaf(branch->getKid(i), userValue, function);
		}
	}
}
