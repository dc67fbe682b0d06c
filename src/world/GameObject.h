#ifndef TAVRO_WORLD_GAMEOBJECT_H
#define TAVRO_WORLD_GAMEOBJECT_H

#include <ode/ode.h>
#include <plib/sg.h>

class ssgBranch;
class ssgEntity;
class ssgSelector;
class ssgTransform;

enum GameObjectType {
	OBJECT_BASE = 0,
	OBJECT_BALL = 1,
	OBJECT_DISC = 2,
	OBJECT_ARENA = 3,
	OBJECT_PARTICLE_EMITTER = 5,
	OBJECT_TORCH = 6
};

// A solid thing of the match world: a visibility switch over a transform over its model in the
// scene graph, and optionally an ODE body. Life cycle: construct, Create, Load, SetPosition, then
// ApplyFriction before each physics step and Update each frame, and Destroy before delete.
class GameObject {
public:
	GameObject();
	virtual ~GameObject();

	virtual void Create(ssgBranch *parent, dWorldID world, dSpaceID space);
	// Destroys the body and unhooks the switch from its parent. The space destroys the geometry.
	virtual void Destroy();
	virtual bool Load() { return true; }
	void SetParent(ssgBranch *newParent);

	virtual void SetPosition(const sgVec3 position);
	virtual void SetPosition(float x, float y, float z);
	virtual void GetPosition(sgVec3 out) const;
	void GetPosition(float &x, float &y, float &z) const;
	// Motion stays in the playing plane: z is always written as 0.
	virtual void SetVelocity(const sgVec3 velocity);
	virtual void GetVelocity(sgVec3 out) const;
	void SetMatrix(const sgMat4 m) { sgCopyMat4(matrix, m); }

	virtual void Update(int dt);
	// Brakes the body with a force of constant size friction × 9.81 against its motion, and
	// stops it outright at or below the stop speed.
	void ApplyFriction();
	virtual void CreateGeometry() {}

	void SetHidden(bool hidden);

	dBodyID GetBody() const { return body; }
	dGeomID GetGeom() const { return geom; }
	ssgTransform *GetNode() const { return node; }
	ssgSelector *GetSwitch() const { return switchNode; }
	ssgBranch *GetParent() const { return parent; }
	ssgEntity *GetModel() const { return model; }
	int GetType() const { return type; }
	int GetLastDt() const { return lastDt; }
	float GetFriction() const { return friction; }
	float GetStopSpeed() const { return stopSpeed; }

protected:
	// Builds switch and node under the parent.
	void BuildSubtree(ssgBranch *newParent);
	// Hangs the loaded model under the node.
	void AttachModel(ssgEntity *loaded);

	ssgEntity *model; // owned by the scene graph once attached
	ssgTransform *node;
	ssgSelector *switchNode;
	ssgBranch *parent;
	sgMat4 matrix; // world matrix of node; the translation row is the position
	dWorldID world;
	dSpaceID space;
	dBodyID body;
	dGeomID geom;
	sgVec3 storedPosition; // units, used when there is no body
	int lastDt;            // ms, the last frame time handed to Update
	int type;              // GameObjectType
	float friction;        // coefficient; the braking force is friction × 9.81
	float stopSpeed;       // units per second
};

#endif
