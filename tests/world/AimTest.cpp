#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "WorldTestKit.h"
#include "core/SceneWalk.h"
#include "world/Aim.h"
#include "world/ComputerPlayer.h"
#include "world/Disc.h"

namespace {

// An aim round a disc without physics or scene, standing where the test puts it.
struct AimAtDisc {
	AimAtDisc(float x, float y) {
		disc.Create(nullptr, nullptr, nullptr);
		disc.SetPosition(x, y, 0.0f);
		aim.Init(nullptr, &disc);
		aim.Reset(0.0f);
	}
	// The aim point relative to the disc after moving by flags for dt ms.
	void Move(int flags, int dt, sgVec3 out) {
		if (flags & Aim::MOVE_LEFT) {
			aim.MoveLeft();
		}
		if (flags & Aim::MOVE_RIGHT) {
			aim.MoveRight();
		}
		if (flags & Aim::MOVE_UP) {
			aim.MoveUp();
		}
		if (flags & Aim::MOVE_DOWN) {
			aim.MoveDown();
		}
		aim.Update(dt);
		sgVec3 origin;
		aim.GetAimPoint(out);
		aim.GetOrigin(origin);
		sgSubVec3(out, origin);
	}
	Disc disc;
	Aim aim;
};

} // namespace

TEST(Aim, MovesAtItsSpeedAlongEachHeldAxisForOneUpdate) {
	ScratchDir scratch;
	AimAtDisc a(10.0f, -5.0f);
	sgVec3 p;
	a.Move(Aim::MOVE_RIGHT, 100, p);
	EXPECT_TRUE(VecIs(p, 4.5f, 0.0f, 0.1f));
	a.Move(Aim::MOVE_DOWN, 20, p);
	EXPECT_FLOAT_EQ(p[1], -0.9f);
	a.Move(0, 100, p); // the flags acted for one update only
	EXPECT_FLOAT_EQ(p[0], 4.5f);
	EXPECT_FLOAT_EQ(p[1], -0.9f);
	a.Move(Aim::MOVE_UP | Aim::MOVE_LEFT, 40, p); // diagonally, 0.045 per ms on each axis
	EXPECT_FLOAT_EQ(p[0], 4.5f - 1.8f);
	EXPECT_FLOAT_EQ(p[1], -0.9f + 1.8f);
	a.Move(Aim::MOVE_LEFT | Aim::MOVE_RIGHT | Aim::MOVE_UP, 100, p); // left and right cancel
	EXPECT_FLOAT_EQ(p[0], 2.7f);
	EXPECT_FLOAT_EQ(p[1], 0.9f + 4.5f);
	// The direction is origin − point, its length all three components.
	sgVec3 d;
	a.aim.GetDirection(d);
	EXPECT_TRUE(VecIs(d, -p[0], -p[1], -0.1f));
	EXPECT_FLOAT_EQ(a.aim.GetLength(), sgLengthVec3(d));
}

TEST(Aim, LongPullsStayOnTheCircleOfSixtyInTheirDirection) {
	ScratchDir scratch;
	AimAtDisc a(-20.0f, 7.0f);
	sgVec3 p;
	a.Move(Aim::MOVE_RIGHT, 5000, p); // 225 units pulled
	EXPECT_FLOAT_EQ(a.aim.GetLength(), Aim::MAX_LENGTH);
	EXPECT_NEAR(p[0], 60.0f, 1e-3);
	// Up and right from there: held on the circle, turned towards where the pull went.
	a.Move(Aim::MOVE_UP | Aim::MOVE_RIGHT, 3000, p);
	const float along = std::hypot(195.0f, 135.0f);
	EXPECT_NEAR(p[0], 60.0f * 195.0f / along, 1e-2);
	EXPECT_NEAR(p[1], 60.0f * 135.0f / along, 1e-2);
	for (int frame = 0; frame < 400; frame++) {
		a.Move(Aim::MOVE_DOWN, 16, p);
		EXPECT_LE(a.aim.GetLength(), Aim::MAX_LENGTH);
	}
	EXPECT_NEAR(std::hypot(p[0], p[1]), 60.0f, 1e-2);
	EXPECT_LT(p[1], 0.0f);
}

TEST(Aim, ResetPutsThePointBesideTheDiscAndTheOriginFollowsIt) {
	ScratchDir scratch;
	AimAtDisc a(3.0f, 4.0f);
	a.aim.Reset(-Aim::START_OFFSET);
	sgVec3 p;
	a.aim.GetAimPoint(p);
	EXPECT_FLOAT_EQ(p[0], 1.0f);
	EXPECT_FLOAT_EQ(p[1], 4.0f);
	// The match moves the origin with the disc every frame; the point stays where it is.
	const sgVec3 moved = {30.0f, 4.0f, 0.0f};
	a.aim.SetOrigin(moved);
	a.aim.Update(16);
	sgVec3 d;
	a.aim.GetDirection(d);
	EXPECT_FLOAT_EQ(d[0], 29.0f);
	// The point on the origin itself: no length, no direction, nothing undefined.
	a.aim.Reset(0.0f);
	a.aim.Update(16);
	a.aim.GetDirection(d);
	EXPECT_TRUE(VecIs(d, 0.0f, 0.0f, -0.1f));
}

TEST(Aim, KeysAndComputerDecisionsMoveWhileHeldAndFireOnlyWhenPressed) {
	ScratchDir scratch;
	AimAtDisc a(0.0f, 0.0f);
	const int32_t keys[KEY_COUNT] = {SDLK_q, SDLK_a, SDLK_z, SDLK_x, SDLK_c}; // up, down, left, right, fire
	uint8_t held[SDLK_LAST] = {};
	uint8_t previous[SDLK_LAST] = {};
	held[SDLK_q] = held[SDLK_z] = 1;
	EXPECT_FALSE(a.aim.ApplyKeys(keys, held, previous, SDLK_LAST));
	EXPECT_EQ(a.aim.GetMoveFlags(), Aim::MOVE_UP | Aim::MOVE_LEFT);
	a.aim.Update(10);
	// Fire on the frame the key goes down only: held on, it does not fire again.
	held[SDLK_c] = 1;
	EXPECT_TRUE(a.aim.ApplyKeys(keys, held, previous, SDLK_LAST));
	memcpy(previous, held, sizeof(held));
	EXPECT_FALSE(a.aim.ApplyKeys(keys, held, previous, SDLK_LAST));
	a.aim.Update(10);
	// Key codes outside the key-state array (a damaged options file) are never held.
	const int32_t broken[KEY_COUNT] = {-1, SDLK_LAST, 1 << 20, SDLK_x, -7};
	memset(held, 1, sizeof(held));
	memset(previous, 0, sizeof(previous));
	EXPECT_FALSE(a.aim.ApplyKeys(broken, held, previous, SDLK_LAST));
	EXPECT_EQ(a.aim.GetMoveFlags(), Aim::MOVE_RIGHT);
	a.aim.Update(10);

	EXPECT_FALSE(a.aim.ApplyDecision(ComputerPlayer::THINK_RIGHT | ComputerPlayer::THINK_DOWN));
	EXPECT_EQ(a.aim.GetMoveFlags(), Aim::MOVE_RIGHT | Aim::MOVE_DOWN);
	a.aim.Update(10);
	EXPECT_TRUE(a.aim.ApplyDecision(ComputerPlayer::THINK_FIRE));
	EXPECT_EQ(a.aim.GetMoveFlags(), 0);
}

namespace {

int drawnLeaves = 0;

int CountDraw(ssgEntity *) {
	drawnLeaves++;
	return TRUE;
}

} // namespace

TEST(Aim, TheLineRunsFromThePointToTheDiscAndIsNeverCulled) {
	WorldScene scene;
	Disc disc;
	disc.Create(scene.root, nullptr, nullptr);
	disc.SetPosition(10.0f, 5.0f, 0.0f);
	Aim aim;
	aim.Init(scene.root, &disc);
	ASSERT_TRUE(aim.Load());
	EXPECT_TRUE(scene.log.Has("AIM: ...Done!"));
	ASSERT_GE(aim.GetStretchedCount(), 2);

	const int pulls[3] = {
		ComputerPlayer::THINK_RIGHT, ComputerPlayer::THINK_LEFT | ComputerPlayer::THINK_UP, ComputerPlayer::THINK_DOWN};
	for (const int pull : pulls) {
		aim.Reset(0.0f);
		for (int frame = 0; frame < 30; frame++) {
			aim.ApplyDecision(pull);
			aim.Update(16);
		}
		// The two ends of the stretched line, carried through both transforms, are the aim
		// point and the disc.
		sgMat4 pointMatrix, lineMatrix;
		aim.GetPointNode()->getTransform(pointMatrix);
		aim.GetLineNode()->getTransform(lineMatrix);
		sgVec3 ends[2] = {{0.0f, 0.0f, 0.0f}, {0.0f, aim.GetLength(), 0.0f}};
		sgVec3 expected[2];
		aim.GetAimPoint(expected[0]);
		aim.GetOrigin(expected[1]);
		for (int i = 0; i < 2; i++) {
			sgXformPnt3(ends[i], lineMatrix);
			sgXformPnt3(ends[i], pointMatrix);
			EXPECT_NEAR(sgDistanceVec3(ends[i], expected[i]), 0.0f, 1e-3) << "end " << i;
		}
	}

	// Every far-end vertex reaches out to the length; the strip is drawn blended, unlit, both sides.
	float greatest = 0.0f;
	std::vector<ssgLeaf *> leaves;
	ForEachLeaf(aim.GetLineModel(), &leaves,
		[](void *user, ssgLeaf *leaf) { static_cast<std::vector<ssgLeaf *> *>(user)->push_back(leaf); });
	for (ssgLeaf *leaf : leaves) {
		for (int i = 0; i < leaf->getNumVertices(); i++) {
			greatest = std::max(greatest, leaf->getVertex(i)[1]);
		}
		ssgSimpleState *state = static_cast<ssgSimpleState *>(leaf->getState());
		EXPECT_TRUE(state->isEnabled(GL_BLEND) && !state->isEnabled(GL_LIGHTING) && !state->isEnabled(GL_CULL_FACE));
		leaf->setCallback(SSG_CALLBACK_PREDRAW, CountDraw);
	}
	EXPECT_FLOAT_EQ(greatest, aim.GetLength());

	// The aim stands far behind a camera looking along +y, with something in view that keeps
	// the root from being culled, as the field does: the line is still handed to drawing.
	ssgSetFOV(60.0f, 45.0f);
	ssgSetNearFar(1.0f, 1000.0f);
	const sgVec3 eye = {0.0f, 0.0f, 5.0f}, centre = {0.0f, 100.0f, 5.0f}, up = {0.0f, 0.0f, 1.0f};
	ssgGetCurrentContext()->setCameraLookAt(eye, centre, up);
	ssgVertexArray *corners = new ssgVertexArray(3);
	sgVec3 c0 = {-1.0f, 50.0f, 4.0f}, c1 = {1.0f, 50.0f, 4.0f}, c2 = {0.0f, 50.0f, 6.0f};
	corners->add(c0);
	corners->add(c1);
	corners->add(c2);
	scene.root->addKid(new ssgVtxTable(GL_TRIANGLES, corners, nullptr, nullptr, nullptr));
	disc.SetPosition(0.0f, -200.0f, 0.0f);
	aim.Reset(3.0f);
	aim.Update(16);
	drawnLeaves = 0;
	ssgCullAndDraw(scene.root);
	EXPECT_EQ(drawnLeaves, static_cast<int>(leaves.size()));
	// A plain copy of the line in the same place is culled.
	ssgRoot *plain = new ssgRoot();
	plain->ref();
	ssgTransform *behind = new ssgTransform();
	sgVec3 at = {3.0f, -200.0f, 0.1f};
	behind->setTransform(at);
	plain->addKid(behind);
	behind->addKid(aim.GetLineModel());
	drawnLeaves = 0;
	ssgCullAndDraw(plain);
	EXPECT_EQ(drawnLeaves, 0);
	behind->removeKid(aim.GetLineModel());
	ssgDeRefDelete(plain);

	aim.SetHidden(true);
	EXPECT_EQ(aim.GetSwitch()->getSelect(), 1u << 1);
	aim.Deinit();
	EXPECT_EQ(scene.root->getNumKids(), 2); // only the disc's switch and the triangle are left
	disc.Destroy();
}
