#ifndef TAVRO_MATCH_GOALREPLAY_H
#define TAVRO_MATCH_GOALREPLAY_H

#include <memory>
#include <vector>

#include "match/Camera.h"
#include "match/MatchPhysics.h"

class GL2D_SimpleBmpRect;
class MatchWorld;

// The last seconds before a goal shown again, at half speed, from a camera that follows the
// ball, with a "REPLAY" picture at the bottom, clear of the HUD. Every physics step of play is
// recorded into a ring made once per match; the replay puts the bodies where the ring says,
// without simulating.
class GoalReplay {
public:
	static constexpr int SECONDS = 4;                              // of play kept
	static constexpr int CAPACITY = SECONDS * 1000 / PHYSICS_STEP; // steps
	static constexpr int SLOWDOWN = 2;                             // the replay runs at half speed
	static const char *const PICTURE;

	GoalReplay();
	~GoalReplay();
	GoalReplay(const GoalReplay &) = delete;
	GoalReplay &operator=(const GoalReplay &) = delete;

	// The ring, the camera and the picture (a picture that does not load is logged and left out).
	void SetUp(int screenWidth, int screenHeight);
	void Release();
	bool IsSetUp() const { return !ring.empty(); }

	// After each physics step of play: the bodies' positions and orientations; a step in which
	// nothing moved since the last one recorded is not kept again.
	void Record(const MatchWorld &world);
	// Play starts again from the spots: nothing recorded before is shown.
	void Clear() { count = 0; }
	// False when nothing was recorded.
	bool Start();
	// Moves the replay on by dt ms of the frame and puts the bodies where it has got to; false
	// once the last recorded step has been shown.
	bool Update(MatchWorld &world, int dt);
	// The view from the camera following the ball, then (inside the 2D overlay) the picture.
	void DrawView(MatchWorld &world, int dt);
	void DrawPicture() const;

	int GetRecordedCount() const { return count; }
	// The step last put in place, counted from the oldest recorded; -1 before the first.
	int GetShownStep() const { return shown; }
	// Where a body (0 the ball, 1 and 2 the discs) was at a recorded step, oldest first.
	const float *GetRecordedPosition(int index, int body) const { return StepAt(index).bodies[body].position; }

private:
	struct BodyState {
		float position[3]; // units
		float rotation[4]; // ODE's quaternion
	};
	struct Step {
		BodyState bodies[3]; // the ball, disc 1, disc 2
	};

	const Step &StepAt(int index) const { return ring[(first() + index) % CAPACITY]; }
	int first() const { return (next - count + CAPACITY) % CAPACITY; }

	std::vector<Step> ring; // CAPACITY steps, made at set-up
	int next;               // where the next step goes
	int count;              // steps recorded since the last Clear
	int playTime;           // ms of replay shown
	int shown;              // step last put in place
	Camera camera;
	std::unique_ptr<GL2D_SimpleBmpRect> picture;
	int screenWidth;  // pixels
	int screenHeight; // pixels
};

#endif
