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

// A disc without physics or scene, standing where the test puts it.
struct AimAtDisc {
	AimAtDisc(float x, float y) {
		disc.Create(nullptr, nullptr, nullptr);
		disc.SetPosition(x, y, 0.0f);
		aim.Init(nullptr, &disc);
		aim.Reset(0.0f);
	}
	void Point(sgVec3 out) const { aim.GetAimPoint(out); }
	Disc disc;
	Aim aim;
};

float PlanarDistance(const sgVec3 a, const sgVec3 b) {
	return std::hypot(a[0] - b[0], a[1] - b[1]);
}

} // namespace

TEST(Aim, MovesAtItsSpeedAlongEachHeldAxis) {
	ScratchDir scratch;
	AimAtDisc a(10.0f, -5.0f);
	sgVec3 p;

	a.aim.MoveRight();
	a.aim.Update(100);
	a.Point(p);
	EXPECT_FLOAT_EQ(p[0], 10.0f + 4.5f);
	EXPECT_FLOAT_EQ(p[1], -5.0f);
	EXPECT_FLOAT_EQ(p[2], 0.1f);
	EXPECT_EQ(a.aim.GetLastDt(), 100);

	a.aim.MoveDown();
	a.aim.Update(20);
	a.Point(p);
	EXPECT_FLOAT_EQ(p[1], -5.0f - 0.9f);

	// Flags act for one update only.
	a.aim.Update(100);
	sgVec3 q;
	a.Point(q);
	EXPECT_FLOAT_EQ(q[0], p[0]);
	EXPECT_FLOAT_EQ(q[1], p[1]);
	EXPECT_EQ(a.aim.GetMoveFlags(), 0);

	// Up and left together: diagonally, 0.045 per ms on each axis.
	a.aim.MoveUp();
	a.aim.MoveLeft();
	a.aim.Update(40);
	a.Point(q);
	EXPECT_FLOAT_EQ(q[0], p[0] - 1.8f);
	EXPECT_FLOAT_EQ(q[1], p[1] + 1.8f);

	// Left and right together cancel; up still acts.
	a.aim.MoveLeft();
	a.aim.MoveRight();
	a.aim.MoveUp();
	a.aim.Update(100);
	a.Point(p);
	EXPECT_FLOAT_EQ(p[0], q[0]);
	EXPECT_FLOAT_EQ(p[1], q[1] + 4.5f);

	// Direction is origin − point, its length all three components.
	sgVec3 d;
	a.aim.GetDirection(d);
	EXPECT_FLOAT_EQ(d[0], 10.0f - p[0]);
	EXPECT_FLOAT_EQ(d[1], -5.0f - p[1]);
	EXPECT_FLOAT_EQ(d[2], -0.1f);
	EXPECT_FLOAT_EQ(a.aim.GetLength(), sgLengthVec3(d));
}

TEST(Aim, LongPullsStayOnTheCircleOfSixtyInTheirDirection) {
	ScratchDir scratch;
	AimAtDisc a(-20.0f, 7.0f);
	sgVec3 origin = {-20.0f, 7.0f, 0.0f};
	sgVec3 p;

	// One long frame of 5 s pulls 225 units to the right.
	a.aim.MoveRight();
	a.aim.Update(5000);
	a.Point(p);
	EXPECT_FLOAT_EQ(a.aim.GetLength(), 60.0f);
	EXPECT_NEAR(p[0] - origin[0], 60.0f, 1e-3);
	EXPECT_NEAR(p[1], origin[1], 1e-6);

	// Up and right for a long frame from there: held on the circle, pulled round towards the corner.
	a.aim.MoveUp();
	a.aim.MoveRight();
	a.aim.Update(3000);
	a.Point(p);
	EXPECT_FLOAT_EQ(a.aim.GetLength(), 60.0f);
	EXPECT_NEAR(PlanarDistance(p, origin), 60.0f, 1e-2);
	const float pulled[2] = {60.0f + 135.0f, 135.0f}; // where the point went before the limit
	const float along = std::hypot(pulled[0], pulled[1]);
	EXPECT_NEAR((p[0] - origin[0]) / 60.0f, pulled[0] / along, 1e-3);
	EXPECT_NEAR((p[1] - origin[1]) / 60.0f, pulled[1] / along, 1e-3);

	// Many ordinary frames end in the same place as the limit.
	for (int frame = 0; frame < 400; frame++) {
		a.aim.MoveDown();
		a.aim.Update(16);
		EXPECT_LE(a.aim.GetLength(), 60.0f);
	}
	a.Point(p);
	EXPECT_NEAR(PlanarDistance(p, origin), 60.0f, 1e-2);
	EXPECT_LT(p[1], origin[1]);
}

TEST(Aim, ResetPutsThePointBesideTheDiscAndTheOriginFollowsIt) {
	ScratchDir scratch;
	AimAtDisc a(3.0f, 4.0f);
	a.aim.Reset(2.0f);
	sgVec3 p;
	a.Point(p);
	EXPECT_FLOAT_EQ(p[0], 5.0f);
	EXPECT_FLOAT_EQ(p[1], 4.0f);
	a.aim.Reset(-2.0f);
	a.Point(p);
	EXPECT_FLOAT_EQ(p[0], 1.0f);
	a.aim.Update(16);
	sgVec3 d;
	a.aim.GetDirection(d);
	EXPECT_FLOAT_EQ(d[0], 2.0f);

	// The match moves the origin with the disc every frame; the point stays where it is.
	const sgVec3 moved = {30.0f, 4.0f, 0.0f};
	a.aim.SetOrigin(moved);
	a.aim.Update(16);
	a.aim.GetDirection(d);
	EXPECT_FLOAT_EQ(d[0], 29.0f);

	// The point on the origin itself: no length, no direction, nothing undefined.
	a.aim.Reset(0.0f);
	a.aim.Update(16);
	a.aim.GetDirection(d);
	EXPECT_FLOAT_EQ(d[0], 0.0f);
	EXPECT_FLOAT_EQ(d[1], 0.0f);
}

TEST(Aim, KeysMoveWhileHeldAndFireOnlyWhenPressed) {
	ScratchDir scratch;
	AimAtDisc a(0.0f, 0.0f);
	const int32_t keys[KEY_COUNT] = {SDLK_q, SDLK_a, SDLK_z, SDLK_x, SDLK_c};
	uint8_t held[SDLK_LAST] = {};
	uint8_t previous[SDLK_LAST] = {};

	held[SDLK_q] = 1;
	held[SDLK_z] = 1;
	EXPECT_FALSE(a.aim.ApplyKeys(keys, held, previous, SDLK_LAST));
	EXPECT_EQ(a.aim.GetMoveFlags(), Aim::MOVE_UP | Aim::MOVE_LEFT);
	a.aim.Update(10);

	held[SDLK_q] = held[SDLK_z] = 0;
	held[SDLK_a] = held[SDLK_x] = 1;
	a.aim.ApplyKeys(keys, held, previous, SDLK_LAST);
	EXPECT_EQ(a.aim.GetMoveFlags(), Aim::MOVE_DOWN | Aim::MOVE_RIGHT);
	a.aim.Update(10);

	// Fire on the frame the key goes down only: held across frames, and so across a turn
	// change, it does not fire again.
	held[SDLK_c] = 1;
	EXPECT_TRUE(a.aim.ApplyKeys(keys, held, previous, SDLK_LAST));
	memcpy(previous, held, sizeof(held));
	EXPECT_FALSE(a.aim.ApplyKeys(keys, held, previous, SDLK_LAST));
	held[SDLK_c] = 0;
	EXPECT_FALSE(a.aim.ApplyKeys(keys, held, previous, SDLK_LAST));
	memcpy(previous, held, sizeof(held));
	held[SDLK_c] = 1;
	EXPECT_TRUE(a.aim.ApplyKeys(keys, held, previous, SDLK_LAST));
	a.aim.Update(10);

	// Key codes outside the key-state array (a damaged options file) are never held.
	const int32_t broken[KEY_COUNT] = {-1, SDLK_LAST, 1 << 20, SDLK_x, -7};
	memset(held, 1, sizeof(held));
	memset(previous, 0, sizeof(previous));
	EXPECT_FALSE(a.aim.ApplyKeys(broken, held, previous, SDLK_LAST));
	EXPECT_EQ(a.aim.GetMoveFlags(), Aim::MOVE_RIGHT);
}

TEST(Aim, ComputerDecisionsActLikeKeys) {
	ScratchDir scratch;
	AimAtDisc a(0.0f, 0.0f);
	EXPECT_FALSE(a.aim.ApplyDecision(ComputerPlayer::THINK_LEFT | ComputerPlayer::THINK_UP));
	EXPECT_EQ(a.aim.GetMoveFlags(), Aim::MOVE_LEFT | Aim::MOVE_UP);
	a.aim.Update(10);
	EXPECT_FALSE(a.aim.ApplyDecision(ComputerPlayer::THINK_RIGHT | ComputerPlayer::THINK_DOWN));
	EXPECT_EQ(a.aim.GetMoveFlags(), Aim::MOVE_RIGHT | Aim::MOVE_DOWN);
	a.aim.Update(10);
	EXPECT_TRUE(a.aim.ApplyDecision(ComputerPlayer::THINK_FIRE));
	EXPECT_EQ(a.aim.GetMoveFlags(), 0);
	EXPECT_FALSE(a.aim.ApplyDecision(0));
}

namespace {

int drawnLeaves = 0;

int CountDraw(ssgEntity *) {
	drawnLeaves++;
	return TRUE;
}

void MarkLeaf(void *, ssgLeaf *leaf) {
	leaf->setCallback(SSG_CALLBACK_PREDRAW, CountDraw);
}

} // namespace

TEST(Aim, TheLineRunsFromThePointToTheDiscAndIsNeverCulled) {
	ScratchDir scratch;
	ScopedLog log;
	LinkDataFolder(scratch, "misc");
	SceneWindow window;
	ASSERT_TRUE(window.IsOpen());
	ssgRoot *root = new ssgRoot();
	root->ref();

	Disc disc;
	disc.Create(root, nullptr, nullptr);
	disc.SetPosition(10.0f, 5.0f, 0.0f);
	Aim aim;
	aim.Init(root, &disc);
	ASSERT_TRUE(aim.Load());
	EXPECT_TRUE(log.Contains("AIM: Initializing..."));
	EXPECT_TRUE(log.Contains("AIM: ...Done!"));
	ASSERT_GE(aim.GetStretchedCount(), 2);
	EXPECT_EQ(aim.GetRoot()->getParent(0), root);

	const float pulls[][2] = {{30.0f, 0.0f}, {-12.0f, 25.0f}, {0.0f, -40.0f}, {-80.0f, -80.0f}};
	for (const auto &pull : pulls) {
		aim.Reset(0.0f);
		if (pull[0] > 0) {
			aim.MoveRight();
		} else if (pull[0] < 0) {
			aim.MoveLeft();
		}
		aim.Update(static_cast<int>(std::fabs(pull[0]) / Aim::SPEED));
		if (pull[1] > 0) {
			aim.MoveUp();
		} else if (pull[1] < 0) {
			aim.MoveDown();
		}
		aim.Update(static_cast<int>(std::fabs(pull[1]) / Aim::SPEED));

		// The far end of the stretched line, carried through both transforms, is the disc.
		sgMat4 pointMatrix, lineMatrix;
		aim.GetPointNode()->getTransform(pointMatrix);
		aim.GetLineNode()->getTransform(lineMatrix);
		sgVec3 farEnd = {0.0f, aim.GetLength(), 0.0f};
		sgXformPnt3(farEnd, lineMatrix);
		sgXformPnt3(farEnd, pointMatrix);
		sgVec3 origin;
		aim.GetOrigin(origin);
		EXPECT_NEAR(farEnd[0], origin[0], 1e-3);
		EXPECT_NEAR(farEnd[1], origin[1], 1e-3);
		EXPECT_NEAR(farEnd[2], origin[2], 1e-3);
		sgVec3 start = {0.0f, 0.0f, 0.0f};
		sgXformPnt3(start, lineMatrix);
		sgXformPnt3(start, pointMatrix);
		sgVec3 p;
		aim.GetAimPoint(p);
		EXPECT_NEAR(start[0], p[0], 1e-4);
		EXPECT_NEAR(start[1], p[1], 1e-4);
	}

	// Every far-end vertex of the model reaches out to the length.
	float greatest = 0.0f;
	std::vector<ssgLeaf *> leaves;
	ForEachLeaf(aim.GetLineModel(), &leaves, [](void *user, ssgLeaf *leaf) {
		static_cast<std::vector<ssgLeaf *> *>(user)->push_back(leaf);
	});
	for (ssgLeaf *leaf : leaves) {
		for (int i = 0; i < leaf->getNumVertices(); i++) {
			greatest = std::max(greatest, leaf->getVertex(i)[1]);
			// The strip's states draw it blended, unlit and from both sides.
		}
		ssgSimpleState *state = static_cast<ssgSimpleState *>(leaf->getState());
		EXPECT_TRUE(state->isEnabled(GL_BLEND));
		EXPECT_TRUE(state->isEnabled(GL_ALPHA_TEST));
		EXPECT_FALSE(state->isEnabled(GL_LIGHTING));
		EXPECT_FALSE(state->isEnabled(GL_CULL_FACE));
	}
	EXPECT_FLOAT_EQ(greatest, aim.GetLength());

	// Camera at the origin looking along +y; the aim stands far behind it. A plain copy of the
	// line model in the same place is culled; the aim's own is still handed to drawing.
	ssgSetFOV(60.0f, 45.0f);
	ssgSetNearFar(1.0f, 1000.0f);
	const sgVec3 eye = {0.0f, 0.0f, 5.0f}, centre = {0.0f, 100.0f, 5.0f}, up = {0.0f, 0.0f, 1.0f};
	ssgGetCurrentContext()->setCameraLookAt(eye, centre, up);
	// Something in view keeps the scene root itself from being culled, as the field does in a match.
	ssgVertexArray *corners = new ssgVertexArray(3);
	sgVec3 c0 = {-1.0f, 50.0f, 4.0f}, c1 = {1.0f, 50.0f, 4.0f}, c2 = {0.0f, 50.0f, 6.0f};
	corners->add(c0);
	corners->add(c1);
	corners->add(c2);
	root->addKid(new ssgVtxTable(GL_TRIANGLES, corners, nullptr, nullptr, nullptr));
	disc.SetPosition(0.0f, -200.0f, 0.0f);
	aim.Reset(3.0f);
	aim.Update(16);
	ForEachLeaf(aim.GetLineModel(), nullptr, MarkLeaf);
	drawnLeaves = 0;
	ssgCullAndDraw(root);
	EXPECT_EQ(drawnLeaves, static_cast<int>(leaves.size()));

	ssgRoot *plain = new ssgRoot();
	plain->ref();
	ssgTransform *behind = new ssgTransform();
	sgVec3 at = {3.0f, -200.0f, 0.1f};
	behind->setTransform(at);
	plain->addKid(behind);
	ssgEntity *copy = aim.GetLineModel();
	behind->addKid(copy);
	drawnLeaves = 0;
	ssgCullAndDraw(plain);
	EXPECT_EQ(drawnLeaves, 0);
	behind->removeKid(copy);
	ssgDeRefDelete(plain);

	aim.SetHidden(true);
	EXPECT_EQ(aim.GetSwitch()->getSelect(), 1u << 1);
	aim.SetHidden(false);
	EXPECT_EQ(aim.GetSwitch()->getSelect(), 1u << 0);

	aim.Deinit();
	EXPECT_EQ(root->getNumKids(), 2); // only the disc's switch and the triangle are left
	disc.Destroy();
	ssgDeRefDelete(root);
}
