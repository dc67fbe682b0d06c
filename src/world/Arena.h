#ifndef TAVRO_WORLD_ARENA_H
#define TAVRO_WORLD_ARENA_H

#include "world/GameObject.h"

class DriftEmitter;
class Random;
class Torch;

// The playing field read from "data/arena/<name>.arn": field model, the day or night model,
// the walls as ODE planes, the goals, the start positions and the bounces. At night it owns
// four torches lighting the field with scene-graph lights 1 to 4; day and night it owns the
// drifting particles, whose particles draw from random (it must outlive the arena).
class Arena : public GameObject {
public:
	static constexpr int MAX_WALLS = 32;
	static constexpr int TORCH_COUNT = 4;
	static constexpr int FIRST_TORCH_LIGHT = 1; // lights 1 to 4
	static constexpr int NAME_SIZE = 64;        // characters of a model file name
	static constexpr float WALL_DEPTH = 50.0f;  // units; spans the plane below each segment
	// units either way: every coordinate of the file lies within, as the scene's far plane does
	static constexpr float MAX_COORDINATE = 10000.0f;

	explicit Arena(Random &random);
	~Arena() override;

	// The space receives the walls; the body never gets mass, geometry or velocity.
	void Create(ssgBranch *parent, dWorldID world, dSpaceID space) override;
	// night 0 is day, 1 night. False for a missing or malformed file, a missing model, or a
	// torch or drift emitter that does not load; Destroy then releases what was built.
	bool Load(const char *arenaName, int night);
	// Releases the emitter, the torches with their lights and the walls. Call it before the
	// space is destroyed.
	void Destroy() override;

	// Places the arena and its torches; the torch lights stand at fixed places.
	void SetPosition(float x, float y, float z) override;
	void SetPosition(const sgVec3 position) override;
	void Update(int dt) override;
	// One plane per wall segment, with the field on the side its normal points to.
	void CreateGeometry() override;

	void GetDisc1Start(sgVec3 out) const { sgCopyVec3(out, disc1Start); }
	void GetDisc2Start(sgVec3 out) const { sgCopyVec3(out, disc2Start); }
	void GetBallStart(sgVec3 out) const { sgCopyVec3(out, ballStart); }
	dGeomID GetGoal1Wall() const { return GetWall(goal1Wall); }
	dGeomID GetGoal2Wall() const { return GetWall(goal2Wall); }
	int GetGoal1WallIndex() const { return goal1Wall; }
	int GetGoal2WallIndex() const { return goal2Wall; }
	float GetGoal1CentreX() const { return goal1Centre[0]; }
	float GetGoal1CentreY() const { return goal1Centre[1]; }
	float GetGoal2CentreX() const { return goal2Centre[0]; }
	float GetGoal2CentreY() const { return goal2Centre[1]; }
	float GetGoalHalfWidth() const { return goalHalfWidth; }
	float GetDiscWallBounce() const { return discWallBounce; }
	float GetBallWallBounce() const { return ballWallBounce; }
	int GetWallCount() const { return wallCount; }
	// Null for an index outside the walls or a wall without a plane (no space).
	dGeomID GetWall(int index) const;
	const float *GetWallSegment(int index) const;
	Torch *GetTorch(int index) const;
	DriftEmitter *GetDriftEmitter() const { return driftEmitter; }
	ssgEntity *GetFieldModel() const { return fieldModel; }

private:
	// Reads every item of the file; false, with a log line, for anything missing, not finite or
	// out of range (coordinates beyond MAX_COORDINATE, bounces outside 0 to 1).
	bool ReadFile(const char *path);
	bool LoadModels(int night);
	bool CreateTorches();
	bool CreateDrift(const char *effect);
	void ReleaseWalls();
	// Hangs a loaded model under the node, or releases it when there is no node.
	void Hang(ssgEntity *loaded);

	ssgEntity *fieldModel; // owned by the scene graph under node
	sgVec3 disc1Start;     // units
	sgVec3 disc2Start;     // units
	sgVec3 ballStart;      // units
	int wallCount;
	dGeomID walls[MAX_WALLS];     // owned here, inside the space
	int goal1Wall;                // index into walls
	int goal2Wall;                // index into walls
	float goal1Centre[2];         // units
	float goal2Centre[2];         // units
	float goalHalfWidth;          // units, along y
	float segments[MAX_WALLS][4]; // units: x1, y1, x2, y2
	float discWallBounce;         // restitution, 0 to 1
	float ballWallBounce;         // restitution, 0 to 1
	Torch *torches[TORCH_COUNT];  // owned; night only
	DriftEmitter *driftEmitter;   // owned
	char dayModelName[NAME_SIZE];
	char nightModelName[NAME_SIZE];
	char fieldModelName[NAME_SIZE];
	Random &random;
};

#endif
