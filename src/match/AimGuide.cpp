#include "match/AimGuide.h"

#include <plib/ssg.h>

#include <cmath>
#include <cstring>

#include "core/UnculledBranch.h"
#include "match/MatchWorld.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"

namespace {

ssgVtxTable *DotTable(ssgVertexArray *vertices, float r, float g, float b) {
	ssgColourArray *colour = new ssgColourArray(1);
	sgVec4 c = {r, g, b, 0.85f};
	colour->add(c);
	ssgVtxTable *table = new ssgVtxTable(GL_QUADS, vertices, nullptr, nullptr, colour);
	ssgSimpleState *state = new ssgSimpleState();
	state->disable(GL_LIGHTING);
	state->disable(GL_TEXTURE_2D);
	state->disable(GL_CULL_FACE);
	state->enable(GL_BLEND);
	state->setTranslucent();
	table->setState(state);
	return table;
}

float Distance(const float a[2], const float b[2]) {
	return std::hypot(b[0] - a[0], b[1] - a[1]);
}

} // namespace

AimGuide::AimGuide()
	: path(), prediction(), traced(), tracedSide(0), tracedWait(0), shown(false), parent(nullptr), root(nullptr),
	  switchNode(nullptr), pathDots(nullptr), ballDots(nullptr), pathTable(nullptr), ballTable(nullptr) {}

AimGuide::~AimGuide() {
	Release();
}

bool AimGuide::SetUp(ssgBranch *parent_, const Arena &arena) {
	Release();
	if (!simulator.SetUp(arena)) {
		return false;
	}
	parent = parent_;
	root = new UnculledBranch();
	switchNode = new ssgSelector(2);
	pathDots = new ssgVertexArray(MAX_DOTS * 4);
	ballDots = new ssgVertexArray(MAX_DOTS * 4);
	pathTable = DotTable(pathDots, 1.0f, 0.95f, 0.55f);
	ballTable = DotTable(ballDots, 1.0f, 0.45f, 0.15f);
	switchNode->addKid(pathTable);
	switchNode->addKid(ballTable);
	root->addKid(switchNode);
	if (parent) {
		parent->addKid(root);
	}
	Hide();
	return true;
}

void AimGuide::Release() {
	if (root) {
		if (parent) {
			parent->removeKid(root); // which deletes the subtree
		} else {
			ssgDeRefDelete(root);
		}
	}
	root = nullptr;
	switchNode = nullptr;
	pathDots = ballDots = nullptr;
	pathTable = ballTable = nullptr;
	parent = nullptr;
	simulator.Release();
	shown = false;
	tracedSide = 0;
}

void AimGuide::Hide() {
	shown = false;
	tracedSide = 0;
	if (switchNode) {
		switchNode->select(0);
	}
}

void AimGuide::Update(const MatchWorld &world, int side, int collisionWait) {
	if (!root || side == 0) {
		Hide();
		return;
	}
	// The aim point and the three bodies: the trace stands as long as none of them has moved.
	float now[8];
	sgVec3 aim;
	world.GetAim(side)->GetAimPoint(aim);
	now[0] = aim[0];
	now[1] = aim[1];
	const GameObject *bodies[3] = {world.GetBall(), world.GetDisc(1), world.GetDisc(2)};
	for (int i = 0; i < 3; i++) {
		sgVec3 p;
		bodies[i]->GetPosition(p);
		now[2 + 2 * i] = p[0];
		now[3 + 2 * i] = p[1];
	}
	if (side != tracedSide || collisionWait != tracedWait || memcmp(now, traced, sizeof(now)) != 0) {
		memcpy(traced, now, sizeof(now));
		tracedSide = side;
		tracedWait = collisionWait;
		Trace(world, side, collisionWait);
		LayDots();
	}
	shown = true;
	switchNode->select((1 << 0) | (prediction.with == ShotSimulator::FIRST_BALL ? 1 << 1 : 0));
}

void AimGuide::Trace(const MatchWorld &world, int side, int collisionWait) {
	float at[3][2], velocity[3][2];
	const GameObject *bodies[3] = {world.GetBall(), world.GetDisc(1), world.GetDisc(2)};
	for (int i = 0; i < 3; i++) {
		sgVec3 p, v;
		bodies[i]->GetPosition(p);
		bodies[i]->GetVelocity(v);
		at[i][0] = p[0];
		at[i][1] = p[1];
		velocity[i][0] = v[0];
		velocity[i][1] = v[1];
	}
	simulator.Place(at[0], at[1], at[2], collisionWait);
	simulator.SetStartVelocities(velocity[0], velocity[1], velocity[2]);
	sgVec3 direction;
	world.GetAim(side)->GetDirection(direction);
	prediction = simulator.TraceFirstContact(side, direction, path, MAX_PATH);
}

void AimGuide::DotsAlong(ssgVertexArray *into, const float from[2], const float to[2], float &carry) const {
	const float length = Distance(from, to);
	if (length <= 0.0f) {
		return;
	}
	const float h = DOT_SIZE / 2;
	float along = DOT_SPACING - carry;
	for (; along <= length && into->getNum() + 4 <= MAX_DOTS * 4; along += DOT_SPACING) {
		const float t = along / length;
		const float x = from[0] + (to[0] - from[0]) * t;
		const float y = from[1] + (to[1] - from[1]) * t;
		const float corners[4][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
		for (const float *c : corners) {
			sgVec3 v = {x + c[0], y + c[1], Aim::HEIGHT};
			into->add(v);
		}
	}
	carry = length - (along - DOT_SPACING);
}

void AimGuide::LayDots() {
	// Emptied in place: removeAll would free the arrays and the next dots allocate again.
	pathDots->rawSetNum(0);
	ballDots->rawSetNum(0);
	float carry = 0.0f;
	const int count = prediction.pathCount < MAX_PATH ? prediction.pathCount : MAX_PATH;
	for (int i = 1; i < count; i++) {
		DotsAlong(pathDots, path[i - 1], path[i], carry);
	}
	if (prediction.with == ShotSimulator::FIRST_BALL) {
		const float *v = prediction.ballVelocity;
		const float speed = std::hypot(v[0], v[1]);
		if (speed > 0.0f) {
			const float way = std::fmin(BALL_WAY, speed * BALL_WAY_TIME);
			sgVec3 ball;
			simulator.GetBall()->GetPosition(ball);
			const float from[2] = {ball[0], ball[1]};
			const float to[2] = {ball[0] + v[0] / speed * way, ball[1] + v[1] / speed * way};
			float ballCarry = DOT_SPACING; // a dot at the ball itself
			DotsAlong(ballDots, from, to, ballCarry);
		}
	}
	pathTable->dirtyBSphere();
	ballTable->dirtyBSphere();
}
