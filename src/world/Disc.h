#ifndef TAVRO_WORLD_DISC_H
#define TAVRO_WORLD_DISC_H

#include "world/GameObject.h"

class ssgSimpleState;

// A side's disc: a sphere body that moves when its side shoots, with the side's character on
// its face and a highlight while it is the side's turn.
class Disc : public GameObject {
public:
	static constexpr float RADIUS = 2.775f;    // units
	static constexpr float MASS = 2.0f;        // mass units
	static constexpr float FRICTION = 5.5f;    // coefficient
	static constexpr float STOP_SPEED = 0.3f;  // units per second
	static constexpr float SHOT_FACTOR = 1.5f; // velocity per unit of aim, 1 / second

	Disc();

	void Create(ssgBranch *parent, dWorldID world, dSpaceID space) override;
	// Loads "data/misc/disc.3ds" (kid 0 the body, kid 1 the face) and puts
	// "data/misc/<character>256_disc.bmp" on the face. False for a missing model or one
	// without its two parts.
	bool Load(const char *characterName);
	void CreateGeometry() override;

	// aim is the aim's origin minus its point: the disc leaves towards the aim point.
	void Shoot(const sgVec3 aim);
	void SetActive(bool on);
	void AddGoal() { goals++; }
	// The goals as the match's authority counts them (a network match's host).
	void SetGoals(int count) { goals = count; }

	int GetGoals() const { return goals; }
	bool IsActive() const { return active; }
	float GetShotFactor() const { return shotFactor; }
	const ssgSimpleState *GetBodyState() const { return bodyState; }
	const ssgSimpleState *GetFaceState() const { return faceState; }

private:
	float shotFactor; // velocity per unit of aim, 1 / second
	int goals;
	bool active;
	ssgSimpleState *bodyState; // kid 0's state; belongs to the model
	ssgSimpleState *faceState; // kid 1's state; belongs to the model
};

#endif
