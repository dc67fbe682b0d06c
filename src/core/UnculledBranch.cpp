#include "core/UnculledBranch.h"

void UnculledBranch::cull(sgFrustum *frustum, sgMat4 m, int testNeeded) {
	if (!preTravTests(&testNeeded, SSGTRAV_CULL)) {
		return;
	}
	for (int i = 0; i < getNumKids(); i++) {
		getKid(i)->cull(frustum, m, FALSE);
	}
	postTravTests(SSGTRAV_CULL);
}
