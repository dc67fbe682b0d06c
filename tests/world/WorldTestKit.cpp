#include "WorldTestKit.h"

WorldScene::WorldScene(int width, int height) : window(width, height), random(1) {
	dir.LinkDataFiles();
	if (window.IsOpen()) {
		ssgInit();
	}
	dInitODE();
	world = dWorldCreate();
	dWorldSetGravity(world, 0, 0, 0);
	space = dSimpleSpaceCreate(nullptr);
	root = new ssgRoot();
	root->ref();
}

WorldScene::~WorldScene() {
	ssgDeRefDelete(root);
	dSpaceDestroy(space);
	dWorldDestroy(world);
	dCloseODE();
}

::testing::AssertionResult VecIs(const float *v, float x, float y, float z) {
	if (v[0] == x && v[1] == y && v[2] == z) {
		return ::testing::AssertionSuccess();
	}
	return ::testing::AssertionFailure() << "(" << v[0] << ", " << v[1] << ", " << v[2] << ") is not (" << x << ", "
										 << y << ", " << z << ")";
}
