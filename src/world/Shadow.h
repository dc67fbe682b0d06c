#ifndef TAVRO_WORLD_SHADOW_H
#define TAVRO_WORLD_SHADOW_H

#include <plib/sg.h>

class GameObject;
class ssgBranch;
class ssgEntity;
class ssgSelector;
class ssgTransform;

// A blob shadow under a game object: one copy of a flat model per light, pushed away from
// that light along the line from the light through the object, multiplied onto what is below.
class Shadow {
public:
	static constexpr int kMaxLights = 4;
	static constexpr float kDrop = 1.5f; // units below the object's centre

	Shadow();
	~Shadow();

	// parent may be null (the shadow is then drawn by whoever hangs GetSwitch()).
	void Init(ssgBranch *parent, const GameObject *followed);
	// Loads "data/misc/<name>.3ds"; the model itself is never drawn, only its copies.
	bool Load(const char *name);
	// Replaces the copies with n fresh ones. False, and nothing changes, when n is outside 0..4.
	bool SetLightCount(int n);
	// False, and nothing changes, when i is outside 0..3.
	bool SetLight(int i, float x, float y, float z);
	void SetHidden(bool hidden);
	void Update(int dt);
	void Deinit();

	int GetLightCount() const { return lightCount; }
	int GetLastDt() const { return lastDt; }
	ssgSelector *GetSwitch() const { return switchNode; }
	ssgTransform *GetRoot() const { return root; }
	// The transform that carries the copy for light i; null at and above the light count.
	ssgTransform *GetCopyNode(int i) const;

private:
	ssgEntity *model;              // one reference held here
	ssgEntity *copies[kMaxLights]; // owned by the scene under their copy nodes
	ssgSelector *switchNode;       // one reference held here
	ssgTransform *root;
	ssgTransform *copyNodes[kMaxLights];
	ssgBranch *parent;
	int lightCount;
	sgVec3 lights[kMaxLights]; // units
	int lastDt;                // ms
	const GameObject *followed;
};

#endif
