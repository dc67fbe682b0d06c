#ifndef TAVRO_CORE_UNCULLEDBRANCH_H
#define TAVRO_CORE_UNCULLEDBRANCH_H

#include <plib/ssg.h>

// A branch whose kids change shape every frame, so their bounding spheres are never worth
// trusting: everything below it is drawn without a frustum test.
class UnculledBranch : public ssgBranch {
public:
	void cull(sgFrustum *frustum, sgMat4 m, int testNeeded) override;
};

#endif
