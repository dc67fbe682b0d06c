#ifndef TAVRO_WORLD_AIM_H
#define TAVRO_WORLD_AIM_H

#include <plib/sg.h>

#include <cstdint>

#include "options/OptionsRecord.h"

class UnculledBranch;
class Disc;
class ssgBranch;
class ssgEntity;
class ssgLeaf;
class ssgSelector;
class ssgTransform;

// A side's aim: a point on the field moved around its disc, drawn as a line from the point to
// the disc. The line's length is the strength of the shot.
class Aim {
public:
	enum MoveFlag {
		MOVE_LEFT = 1,  // x−
		MOVE_RIGHT = 2, // x+
		MOVE_UP = 4,    // y+
		MOVE_DOWN = 8   // y−
	};

	static constexpr float SPEED = 0.045f;      // units per ms along each pressed axis
	static constexpr float MAX_LENGTH = 60.0f;  // units
	static constexpr float HEIGHT = 0.1f;       // units above the field
	static constexpr float START_OFFSET = 2.0f; // units along x from the disc at a turn's start
	static constexpr int MAX_STRETCHED = 16;    // far-end vertices of the line model

	Aim();
	virtual ~Aim();

	// Remembers the parent and the disc; with a parent the scene subtree is built.
	void Init(ssgBranch *parent, Disc *disc);
	// Loads "data/misc/line.3ds" under the line node.
	bool Load();
	void Deinit();

	// Applies the move flags of this frame, holds the point within MAX_LENGTH of the origin and
	// lays out the line.
	virtual void Update(int dt);

	// Origin and aim point := the disc's position; then the point moves xOffset along x.
	void Reset(float xOffset);
	void SetOrigin(const sgVec3 position);
	// Origin := the disc's position, and the point x, y from it (as another machine steered it);
	// the next Update holds it within MAX_LENGTH and lays out the line.
	void PlaceAt(float x, float y);
	// The point's place from the origin, units.
	void GetOffset(float *x, float *y) const;

	void MoveLeft() { moveFlags |= MOVE_LEFT; }
	void MoveRight() { moveFlags |= MOVE_RIGHT; }
	void MoveUp() { moveFlags |= MOVE_UP; }
	void MoveDown() { moveFlags |= MOVE_DOWN; }

	// A human side, once a frame: held direction keys move the aim, the fire key counts only on
	// the frame it goes down. keySlots are a player's keys (KEY_UP ... KEY_FIRE) as key codes indexing
	// held and previous (keyCount entries each); codes outside them are never held. Returns
	// true when the side fires.
	bool ApplyKeys(const int32_t keySlots[KEY_COUNT], const uint8_t *held, const uint8_t *previous, int keyCount);
	// A computer side, once a frame: the result bits of ComputerPlayer::Think. Returns true
	// when the side fires.
	bool ApplyDecision(int bits);

	void SetHidden(bool hidden);

	void GetDirection(sgVec3 out) const { sgCopyVec3(out, direction); }
	void GetAimPoint(sgVec3 out) const { sgCopyVec3(out, aimPoint); }
	void GetOrigin(sgVec3 out) const { sgCopyVec3(out, origin); }
	float GetLength() const { return length; }
	int GetLastDt() const { return lastDt; }
	int GetMoveFlags() const { return moveFlags; }
	Disc *GetDisc() const { return disc; }
	ssgBranch *GetRoot() const;
	ssgSelector *GetSwitch() const { return switchNode; }
	ssgTransform *GetPointNode() const { return pointNode; }
	ssgTransform *GetLineNode() const { return lineNode; }
	ssgEntity *GetLineModel() const { return lineModel; }
	int GetStretchedCount() const { return stretchedCount; }

private:
	struct FarVertex {
		ssgLeaf *leaf; // belongs to the line model
		float *vertex; // x, y, z inside the leaf's vertex array
	};

	static void AdjustLineLeaf(void *aim, ssgLeaf *leaf);
	static void FindFarEnd(void *aim, ssgLeaf *leaf);
	void Stretch();

	UnculledBranch *root; // hangs under parent; owned by the scene graph
	ssgEntity *lineModel; // owned by the scene graph under lineNode
	ssgSelector *switchNode;
	ssgTransform *pointNode;
	ssgTransform *lineNode;
	ssgBranch *parent;
	sgVec3 origin;     // units, the disc's position
	sgVec3 aimPoint;   // units; z is HEIGHT after an update
	sgVec3 direction;  // units, origin − aim point
	float length;      // units, |direction|, at most MAX_LENGTH
	int lastDt;        // ms
	uint8_t moveFlags; // MoveFlag bits, cleared by Update
	Disc *disc;
	float farEndY; // units, the line model's length before stretching
	FarVertex stretched[MAX_STRETCHED];
	int stretchedCount;
};

#endif
