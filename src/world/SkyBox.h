#ifndef TAVRO_WORLD_SKYBOX_H
#define TAVRO_WORLD_SKYBOX_H

#include <plib/sg.h>

class Random;
class ssgBranch;
class ssgEntity;
class ssgTransform;
class ssgaCube;

// The sky around the viewer: a coloured cube with billboards in it, clouds drifting along x and
// a sun by day, fixed stars and a moon by night. The camera code re-centres it every frame so it
// never comes closer. Its sun also gives the shadows their light.
class SkyBox {
public:
	static constexpr int kCloudCount = 10;
	static constexpr int kStarCount = 20;
	static constexpr float kSize = 60.0f;       // units, edge of the cube
	static constexpr float kCloudWrap = 100.0f; // units; a cloud past ±100 comes back at ∓100
	static constexpr float kSunY = 25.0f;       // units, in the sky's own frame
	static constexpr float kSunZ = -5.0f;       // units

	SkyBox();
	~SkyBox();

	// Lays the clouds or stars, the sun and the cube's colours out with draws from random: the
	// same draws lay out the same sky.
	bool Load(ssgBranch *parent, int night, Random &random);
	void Deinit();

	void SetCentre(const sgVec3 c) { sgCopyVec3(centre, c); }
	void Update(int dt);

	float GetSunX() const { return sunX; }
	int IsNight() const { return night; }
	int GetCloudCount() const { return cloudCount; }
	int GetStarCount() const { return starCount; }
	// Position of cloud i in the sky's frame, after the last Update's move.
	const float *GetCloudPosition(int i) const;
	float GetCloudSpeed(int i) const;
	ssgTransform *GetRoot() const { return root; }
	ssgTransform *GetCloudNode(int i) const;
	ssgaCube *GetCube() const { return cube; }

private:
	bool LoadBillboards(const char *file, int count, float width, float minY, bool drifting, Random &random);
	bool LoadSun(const char *file, Random &random);
	void BuildCube(const float *base, Random &random);
	// Hangs a spherical billboard with a clone of (or, when clone is false, the) entity under a
	// new transform under root and returns that transform.
	ssgTransform *AddBillboard(ssgEntity *entity, bool clone);

	sgVec3 centre; // units, where the sky is drawn
	ssgBranch *parent;
	ssgEntity *cloudModel; // day only; one reference held here
	ssgEntity *starModel;  // night only; one reference held here
	ssgTransform *root;    // one reference held here
	ssgaCube *cube;
	ssgTransform *cloudNodes[kCloudCount];
	sgVec3 cloudPositions[kCloudCount]; // units, in the root's frame
	float cloudSpeeds[kCloudCount];     // units per ms, along x
	int cloudCount;
	int starCount;
	float sunX; // units, in the root's frame
	int night;  // 0 day, 1 night
};

#endif
