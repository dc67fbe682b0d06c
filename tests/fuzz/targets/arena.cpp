// Arena files (".arn") as the match loads them, with walls in a physics space, by day for inputs
// of even length and by night (torches and all) for odd ones.
#include <ode/ode.h>
#include <plib/ssg.h>

#include "FuzzKit.h"
#include "core/Random.h"
#include "world/Arena.h"

namespace {

void Prepare() {
	dInitODE();
}

void Load(const char *, const uint8_t *, size_t size) {
	Random random(11);
	dWorldID world = dWorldCreate();
	dSpaceID space = dSimpleSpaceCreate(nullptr);
	ssgRoot *root = new ssgRoot();
	Arena *arena = new Arena(random);
	arena->Create(root, world, space);
	if (arena->Load("fuzz", static_cast<int>(size % 2))) {
		arena->SetPosition(0.0f, 0.0f, -2.0f);
		arena->Update(16);
		const int walls = arena->GetWallCount();
		FuzzCheck(walls >= 0 && walls <= Arena::MAX_WALLS, "0 to 32 walls");
		for (int i = 0; i < walls; i++) {
			FuzzCheck(arena->GetWall(i) != nullptr, "every wall has its plane");
		}
	}
	arena->Destroy();
	delete arena;
	delete root;
	dSpaceDestroy(space);
	dWorldDestroy(world);
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"data/arena/fuzz.arn", true, Prepare, Load};
