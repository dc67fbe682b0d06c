#ifndef TAVRO_MATCH_AIMGUIDE_H
#define TAVRO_MATCH_AIMGUIDE_H

#include "world/ShotSimulator.h"

class Arena;
class MatchWorld;
class ssgBranch;
class ssgSelector;
class ssgSimpleState;
class ssgVertexArray;
class ssgVtxTable;

// Shows a human player where the shot will go: the active disc's way from its spot to its
// first contact (a wall, the ball or the other disc) as dots on the floor and, when that
// contact is the ball, a short row of dots along the ball's way after it. It is traced in a
// private physics world with the match's own step, friction and contact rules, so it agrees
// with what the shot does up to that contact.
class AimGuide {
public:
	static constexpr int MAX_PATH = 600; // positions of the trace, 6 s of steps
	static constexpr int MAX_DOTS = 96;
	static constexpr float DOT_SPACING = 2.5f;   // units along the way between dots
	static constexpr float DOT_SIZE = 1.0f;      // units, edge of a dot
	static constexpr float BALL_WAY = 14.0f;     // units of the ball's way shown at most
	static constexpr float BALL_WAY_TIME = 0.4f; // s of the ball's speed shown, if shorter

	AimGuide();
	~AimGuide();
	AimGuide(const AimGuide &) = delete;
	AimGuide &operator=(const AimGuide &) = delete;

	// The private world copies arena's walls; the dots hang under parent.
	bool SetUp(ssgBranch *parent, const Arena &arena);
	void Release();
	bool IsSetUp() const { return root != nullptr; }

	// Traces the shot side's aim would make now, the bodies where they are and the next
	// collision pass due after collisionWait ms (as the match's physics has it); side 0 hides
	// the guide. Traced again only when the aim, a body or the wait has changed.
	void Update(const MatchWorld &world, int side, int collisionWait);
	void Hide();

	bool IsShown() const { return shown; }
	const ShotSimulator::FirstContact &GetPrediction() const { return prediction; }

private:
	void Trace(const MatchWorld &world, int side, int collisionWait);
	void LayDots();
	// Adds dots every DOT_SPACING along the way between from and to; the spacing carries on
	// from carry, the way already walked since the last dot.
	void DotsAlong(ssgVertexArray *into, const float from[2], const float to[2], float &carry) const;

	ShotSimulator simulator;
	float path[MAX_PATH][2]; // units, the disc's positions step by step
	ShotSimulator::FirstContact prediction;
	float traced[8]; // what the last trace started from: aim, bodies
	int tracedSide;
	int tracedWait; // ms
	bool shown;
	ssgBranch *parent;
	ssgBranch *root; // hung under parent; owns what is below
	ssgSelector *switchNode;
	ssgVertexArray *pathDots; // owned by their table
	ssgVertexArray *ballDots;
	ssgVtxTable *pathTable;
	ssgVtxTable *ballTable;
};

#endif
