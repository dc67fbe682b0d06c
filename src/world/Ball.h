#ifndef TAVRO_WORLD_BALL_H
#define TAVRO_WORLD_BALL_H

#include "world/GameObject.h"

// The ball: a sphere body braked by friction, moved only by what hits it.
class Ball : public GameObject {
public:
	static constexpr float RADIUS = 1.67f;    // units
	static constexpr float MASS = 1.0f;       // mass units
	static constexpr float FRICTION = 1.3f;   // coefficient
	static constexpr float STOP_SPEED = 0.3f; // units per second

	Ball();

	void Create(ssgBranch *parent, dWorldID world, dSpaceID space) override;
	// Loads "data/misc/ball.3ds" and gives the body its sphere.
	bool Load() override;
	void CreateGeometry() override;
};

#endif
