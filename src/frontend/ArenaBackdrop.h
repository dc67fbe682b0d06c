#ifndef TAVRO_FRONTEND_ARENABACKDROP_H
#define TAVRO_FRONTEND_ARENABACKDROP_H

#include "core/Random.h"
#include "match/Camera.h"

class Arena;
class SkyBox;
class ssgRoot;

// An arena without physics under its sky, seen by a camera that flies along paths: the menu's
// animated background and the credits' scene. The sky is drawn first from a root of its own,
// then the arena over a cleared depth buffer. Its sky, particles and camera paths draw from a
// random source of its own, seeded from the clock.
class ArenaBackdrop {
public:
	ArenaBackdrop();
	~ArenaBackdrop();
	ArenaBackdrop(const ArenaBackdrop &) = delete;
	ArenaBackdrop &operator=(const ArenaBackdrop &) = delete;

	// The two roots and the camera ("MenuCam", "CreditsCam") in the given path mode.
	void Init(const char *cameraName, int width, int height, int cameraMode);
	// Replaces the sky box; false when it does not load (the old one is gone all the same).
	bool LoadSky(int night);
	// Replaces the arena, placed at height z; false when it does not load.
	bool LoadArena(const char *name, int night, float z);
	void Deinit();

	// Moves the arena's torches and particles, the camera and the sky on by dt ms.
	void Update(int dt);
	void Draw() const;

	Camera &GetCamera() { return camera; }
	Random &GetRandom() { return random; }
	const SkyBox *GetSkyBox() const { return skyBox; }
	const Arena *GetArena() const { return arena; }

private:
	void ReleaseArena();
	void ReleaseSky();

	ssgRoot *skyRoot;
	ssgRoot *sceneRoot;
	SkyBox *skyBox;
	Arena *arena;
	Camera camera;
	Random random;
};

#endif
