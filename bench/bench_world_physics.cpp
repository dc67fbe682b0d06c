// The match's physics load: the match's own world by day in the "xeno" arena, its ball and two
// discs stepped in fixed 10 ms steps for 10 000 steps, with a shot now and then, a collision
// pass every 20 ms and the bodies and the arena updated each 16 ms frame. Reports the time per
// step and per update and the heap allocations per frame once the world is built (the aim is
// none).
// Run under Xvfb from the build directory (where data/ is): xvfb-run -a bench/bench_world_physics [dir]
#include <SDL/SDL.h>
#include <ode/ode.h>
#include <plib/ssg.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <unistd.h>

#include "core/Random.h"
#include "match/MatchWorld.h"
#include "options/OptionsRecord.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"

// Every heap allocation of the process is counted while counting is on. The address sanitizer
// brings its own allocation functions, so a sanitized build counts nothing.
namespace {
bool counting = false;
unsigned long allocations = 0;

inline void Count() {
	if (counting) {
		allocations++;
	}
}
} // namespace

#if !defined(__SANITIZE_ADDRESS__)
void *operator new(std::size_t size) {
	Count();
	if (void *p = std::malloc(size ? size : 1)) {
		return p;
	}
	throw std::bad_alloc();
}
void *operator new[](std::size_t size) {
	return operator new(size);
}
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
	Count();
	return std::malloc(size ? size : 1);
}
void *operator new[](std::size_t size, const std::nothrow_t &tag) noexcept {
	return operator new(size, tag);
}
void operator delete(void *p) noexcept {
	std::free(p);
}
void operator delete[](void *p) noexcept {
	std::free(p);
}
void operator delete(void *p, std::size_t) noexcept {
	std::free(p);
}
void operator delete[](void *p, std::size_t) noexcept {
	std::free(p);
}

// The C libraries (ODE, Mesa) allocate with malloc: glibc no longer has malloc hooks, so the
// allocation functions themselves are replaced and hand on to glibc's.
extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
void *__libc_memalign(size_t, size_t);
void __libc_free(void *);

void *malloc(size_t size) {
	if (counting) {
		allocations++;
	}
	return __libc_malloc(size);
}
void *calloc(size_t count, size_t size) {
	if (counting) {
		allocations++;
	}
	return __libc_calloc(count, size);
}
void *realloc(void *p, size_t size) {
	if (counting) {
		allocations++;
	}
	return __libc_realloc(p, size);
}
void *memalign(size_t alignment, size_t size) {
	if (counting) {
		allocations++;
	}
	return __libc_memalign(alignment, size);
}
int posix_memalign(void **out, size_t alignment, size_t size) {
	if (counting) {
		allocations++;
	}
	*out = __libc_memalign(alignment, size);
	return *out ? 0 : 12; // ENOMEM
}
void *aligned_alloc(size_t alignment, size_t size) {
	if (counting) {
		allocations++;
	}
	return __libc_memalign(alignment, size);
}
void free(void *p) {
	__libc_free(p);
}
}
#endif

namespace {

const int STEPS = 10000;
const int STEP_MS = 10;         // fixed physics step
const int FRAME_MS = 16;        // one frame of the match
const int COLLISION_MS = 20;    // at most one collision pass per this much frame time
const int SHOT_EVERY_MS = 1500; // a turn's shot
const int MAX_CONTACTS = 6;

typedef std::chrono::steady_clock Clock;

double Ms(Clock::duration d) {
	return std::chrono::duration<double, std::milli>(d).count();
}

// Bounces as the match makes them, walls by the arena's values and bodies by fixed ones, but
// without its events: the goal walls bounce the ball too, so it stays in play all along.
void Touch(void *data, dGeomID a, dGeomID b) {
	const MatchWorld *world = static_cast<const MatchWorld *>(data);
	dContact contact[MAX_CONTACTS];
	int n = dCollide(a, b, MAX_CONTACTS, &contact[0].geom, sizeof(dContact));
	dBodyID bodyA = dGeomGetBody(a), bodyB = dGeomGetBody(b);
	for (int i = 0; i < n; i++) {
		contact[i].surface.mode = dContactBounce;
		contact[i].surface.mu = 0.0;
		contact[i].surface.bounce_vel = 0.001;
		contact[i].surface.bounce = (bodyA && bodyB) ? 0.3 : world->GetArena()->GetBallWallBounce();
		dJointID joint = dJointCreateContact(world->GetPhysics(), world->GetContactGroup(), &contact[i]);
		dJointAttach(joint, bodyA, bodyB);
	}
}

// Shoots the disc roughly at the ball, with a direction and strength that vary from turn to turn.
void Shoot(Disc &disc, const Ball &ball, int turn) {
	sgVec3 at, target;
	disc.GetPosition(at);
	ball.GetPosition(target);
	sgVec3 aim;
	sgSubVec3(aim, at, target);
	aim[2] = 0.0f;
	float length = sgLengthVec3(aim);
	if (length < 1e-3f) {
		sgSetVec3(aim, 1.0f, 0.0f, 0.0f);
		length = 1.0f;
	}
	const float strength = 20.0f + (turn * 13) % 40;                     // aim lengths 20 to 59
	const float angle = ((turn * 37) % 61 - 30) * SG_DEGREES_TO_RADIANS; // up to 30° off
	const float x = aim[0], y = aim[1];
	aim[0] = (x * std::cos(angle) - y * std::sin(angle)) * strength / length;
	aim[1] = (x * std::sin(angle) + y * std::cos(angle)) * strength / length;
	disc.Shoot(aim);
}

} // namespace

int main(int argc, char **argv) {
	if (argc > 1 && chdir(argv[1]) != 0) {
		fprintf(stderr, "cannot enter %s\n", argv[1]);
		return 1;
	}
	if (SDL_Init(SDL_INIT_VIDEO) < 0 || !SDL_SetVideoMode(64, 64, 32, SDL_OPENGL)) {
		fprintf(stderr, "no GL window: %s (run under xvfb-run)\n", SDL_GetError());
		return 1;
	}
	ssgInit();

	OptionsRecord options;
	options.SetDefaults();    // by day in "xeno"
	options.character[1] = 2; // "babe"
	Random random(1);
	counting = true; // the build itself allocates, which shows the counting works
	std::unique_ptr<MatchWorld> world(new MatchWorld());
	if (!world->Build(options, 64, 64, random)) {
		fprintf(stderr, "the world does not build: run from the build directory, which holds data/\n");
		return 1;
	}
	counting = false;
	const unsigned long buildAllocations = allocations;
	(void)buildAllocations; // not reported by a sanitized build
	world->ResetPositions();
	Ball *ball = world->GetBall();
	Disc *disc1 = world->GetDisc(1);
	Disc *disc2 = world->GetDisc(2);
	Arena *arena = world->GetArena();
	const dWorldID physics = world->GetPhysics();
	const dSpaceID space = world->GetSpace();
	const dJointGroupID contacts = world->GetContactGroup();

	GameObject *bodies[3] = {ball, disc1, disc2};
	Clock::duration stepTime{}, collideTime{}, updateTime{};
	int physicsTime = 0, frameTime = 0, collisionWait = COLLISION_MS, nextShot = 0;
	int steps = 0, frames = 0, updates = 0, passes = 0, turn = 0;
	unsigned long stepAllocations = 0, collideAllocations = 0, updateAllocations = 0;

	// One frame first, so that anything made lazily on first use is not taken for a per-frame cost.
	for (int warm = 0; warm < 2; warm++) {
		dJointGroupEmpty(contacts);
		dSpaceCollide(space, world.get(), Touch);
		for (GameObject *object : bodies) {
			object->ApplyFriction();
		}
		dWorldStep(physics, 0.01);
		for (GameObject *object : bodies) {
			object->Update(FRAME_MS);
		}
		arena->Update(FRAME_MS);
	}

	while (steps < STEPS) {
		frameTime += FRAME_MS;
		frames++;
		if (frameTime >= nextShot) {
			Shoot(turn % 2 ? *disc2 : *disc1, *ball, turn);
			turn++;
			nextShot += SHOT_EVERY_MS;
		}

		if (collisionWait >= COLLISION_MS) {
			unsigned long before = allocations;
			counting = true;
			Clock::time_point t = Clock::now();
			dJointGroupEmpty(contacts);
			dSpaceCollide(space, world.get(), Touch);
			collideTime += Clock::now() - t;
			counting = false;
			collideAllocations += allocations - before;
			collisionWait = 0;
			passes++;
		}
		collisionWait += FRAME_MS;

		while (physicsTime < frameTime && steps < STEPS) {
			unsigned long before = allocations;
			counting = true;
			Clock::time_point t = Clock::now();
			for (GameObject *object : bodies) {
				object->ApplyFriction();
			}
			dWorldStep(physics, 0.01);
			stepTime += Clock::now() - t;
			counting = false;
			stepAllocations += allocations - before;
			physicsTime += STEP_MS;
			steps++;
		}

		unsigned long before = allocations;
		counting = true;
		Clock::time_point t = Clock::now();
		for (GameObject *object : bodies) {
			object->Update(FRAME_MS);
		}
		arena->Update(FRAME_MS);
		updateTime += Clock::now() - t;
		counting = false;
		updateAllocations += allocations - before;
		updates++;
	}

	sgVec3 p;
	ball->GetPosition(p);
	printf("world physics: %d steps of %d ms, %d frames of %d ms, %d collision passes, %d shots\n", steps, STEP_MS,
		frames, FRAME_MS, passes, turn);
	printf("  physics step (friction + world step): %8.4f ms\n", Ms(stepTime) / steps);
	printf("  collision pass:                       %8.4f ms\n", Ms(collideTime) / passes);
	printf("  update (ball, discs, arena + drift):  %8.4f ms\n", Ms(updateTime) / updates);
#if defined(__SANITIZE_ADDRESS__)
	printf("  heap allocations: not counted under the address sanitizer\n");
#else
	printf("  heap allocations while building the world: %lu\n", buildAllocations);
	printf("  heap allocations per frame: %.3f (steps %lu, collision %lu, updates %lu in %d frames)\n",
		double(stepAllocations + collideAllocations + updateAllocations) / frames, stepAllocations, collideAllocations,
		updateAllocations, frames);
#endif
	printf("  ball at rest at (%.2f, %.2f), inside the walls: %s\n", p[0], p[1],
		(std::fabs(p[0]) < 70.0f && std::fabs(p[1]) < 42.0f) ? "yes" : "NO");

	world.reset();
	SDL_Quit();
	return 0;
}
