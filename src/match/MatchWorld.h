#ifndef TAVRO_MATCH_MATCHWORLD_H
#define TAVRO_MATCH_MATCHWORLD_H

#include <ode/ode.h>

#include <memory>
#include <optional>

#include "match/MatchCameras.h"

class Aim;
class Arena;
class Ball;
class Camera;
class Disc;
class ParticleEmitter;
class Random;
class Shadow;
class SkyBox;
class ssgRoot;
struct OptionsRecord;

// Owners that run an object's own tear-down before deleting it.
template <typename T>
struct DestroyAndDelete {
	void operator()(T *object) const {
		object->Destroy();
		delete object;
	}
};
template <typename T>
struct DeinitAndDelete {
	void operator()(T *object) const {
		object->Deinit();
		delete object;
	}
};

// The part of a match that is its 3D world and physics: the two scene roots, the lights, the
// ODE world, the sky, the ball, the arena, the discs with their aims, the shadows by day, the
// ten cameras and the two spark emitters. Build makes them in the match's set-up order; each
// has an owner, declared in that order so that they go in the reverse one when the world is
// destroyed. Only the cameras' owners come earlier, so they are released after the sky.
class MatchWorld {
public:
	enum ShadowIndex {
		SHADOW_DISC1 = 0,
		SHADOW_DISC2 = 1,
		SHADOW_BALL = 2,
		SHADOW_COUNT = 3
	};
	static constexpr float ARENA_Z = -2.0f; // units

	MatchWorld();
	~MatchWorld();
	MatchWorld(const MatchWorld &) = delete;
	MatchWorld &operator=(const MatchWorld &) = delete;

	// Builds the world for the options' time of day, arena and characters and the screen size.
	// The random choices, the sky and the particles draw from random, which must outlive the
	// world. Stops at the first failure with its message in the log; destroying the world then
	// releases what was made.
	bool Build(const OptionsRecord &options, int screenWidth, int screenHeight, Random &random);

	// The arena at its place, the bodies at rest on their spots, the aims beside their discs
	// and the panning cameras at their start, every object updated with 0 ms.
	void ResetPositions();
	// Each aim's origin to its disc, then the aims move on by dt ms.
	void UpdateAims(int dt);
	// The ball, the discs, the shadows and the arena move on by dt ms.
	void UpdateObjects(int dt);
	// Draws what camera number cameraIndex sees after its follow rule: the sky centred on its
	// eye, then the scene. The main view clears the colour too and moves the clouds by dt.
	void DrawView(int cameraIndex, const Disc *activeDisc, int dt, bool mainView);
	// The same from a camera of the caller's, as it is.
	void DrawFrom(Camera &camera, int dt, bool mainView);

	int GetNight() const { return night; }
	ssgRoot *GetSceneRoot() const { return sceneRoot.get(); }
	ssgRoot *GetSkyRoot() const { return skyRoot.get(); }
	dWorldID GetPhysics() const { return world.get(); }
	dSpaceID GetSpace() const { return space.get(); }
	dJointGroupID GetContactGroup() const { return contactGroup.get(); }
	SkyBox *GetSkyBox() const { return skyBox.get(); }
	Ball *GetBall() const { return ball.get(); }
	Arena *GetArena() const { return arena.get(); }
	Disc *GetDisc(int side) const { return discs[side == 1 ? 0 : 1].get(); }
	Aim *GetAim(int side) const { return aims[side == 1 ? 0 : 1].get(); }
	// Null at night.
	Shadow *GetShadow(int index) const { return shadows[index].get(); }
	Camera *GetCamera(int index) const;
	ParticleEmitter *GetSparks(int which) const;

private:
	// dInitODE for as long as it lives.
	struct PhysicsLibrary {
		PhysicsLibrary() { dInitODE(); }
		~PhysicsLibrary() { dCloseODE(); }
		PhysicsLibrary(const PhysicsLibrary &) = delete;
		PhysicsLibrary &operator=(const PhysicsLibrary &) = delete;
	};
	struct WorldDeleter {
		void operator()(dxWorld *w) const { dWorldDestroy(w); }
	};
	struct SpaceDeleter {
		void operator()(dxSpace *s) const { dSpaceDestroy(s); }
	};
	struct JointGroupDeleter {
		void operator()(dxJointGroup *g) const {
			dJointGroupEmpty(g);
			dJointGroupDestroy(g);
		}
	};
	struct CameraDeleter {
		void operator()(Camera *camera) const;
	};

	bool SetUpShadows();

	int night; // 0 day, 1 night
	std::unique_ptr<ssgRoot> sceneRoot;
	std::unique_ptr<ssgRoot> skyRoot;
	std::optional<PhysicsLibrary> physicsLibrary;
	std::unique_ptr<dxWorld, WorldDeleter> world;
	std::unique_ptr<dxSpace, SpaceDeleter> space;
	std::unique_ptr<dxJointGroup, JointGroupDeleter> contactGroup;
	std::unique_ptr<Camera, CameraDeleter> cameras[MATCH_CAMERA_COUNT];
	std::unique_ptr<SkyBox, DeinitAndDelete<SkyBox>> skyBox;
	std::unique_ptr<Ball, DestroyAndDelete<Ball>> ball;
	std::unique_ptr<Arena, DestroyAndDelete<Arena>> arena;
	std::unique_ptr<Disc, DestroyAndDelete<Disc>> discs[2];
	std::unique_ptr<Aim, DeinitAndDelete<Aim>> aims[2];
	std::unique_ptr<Shadow, DeinitAndDelete<Shadow>> shadows[SHADOW_COUNT];
	std::unique_ptr<ParticleEmitter, DestroyAndDelete<ParticleEmitter>> sparks[2];
};

#endif
