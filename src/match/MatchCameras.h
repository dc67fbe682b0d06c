#ifndef TAVRO_MATCH_MATCHCAMERAS_H
#define TAVRO_MATCH_MATCHCAMERAS_H

class Camera;
class GameObject;

// The match's ten cameras, in the order the match creates them.
enum MatchCamera {
	CAMERA_XENO = 0,
	CAMERA_TOP,
	CAMERA_BALL,
	CAMERA_DISC,
	CAMERA_XENO_MINI,
	CAMERA_TOP_MINI,
	CAMERA_BALL_MINI,
	CAMERA_DISC_MINI,
	CAMERA_FAR,
	CAMERA_MOVIE,
	MATCH_CAMERA_COUNT
};

// The small view at 640 × 480; it grows with the window as the HUD does.
static constexpr int MINI_VIEW_WIDTH = 213;         // pixels
static constexpr int MINI_VIEW_HEIGHT = 147;        // pixels
static constexpr int MINI_VIEW_LEFT = 15;           // pixels from the left edge
static constexpr int MINI_VIEW_TOP_MARGIN = 167;    // pixels: its origin is screen height − this
static constexpr float CAMERA_PAN_DISTANCE = 15.0f; // units the ball may stray sideways from the eye
static constexpr float CAMERA_PAN_LIMIT = 60.0f;    // units either side of x = 0

// "XenoCam", "TopCam" ... "MovieCam"; null outside the table.
const char *MatchCameraName(int index);

// Inits camera as the match's camera number index for the given screen size and updates it once
// with 0 ms. disc1 and ball are the disc camera's target and look target. False for an index
// outside the table.
bool SetUpMatchCamera(
	Camera &camera, int index, int screenWidth, int screenHeight, const GameObject *disc1, const GameObject *ball);

// The rule the match applies to camera number index just before updating it: the wide views
// pan sideways after the ball, the ball views also turn to its y, the disc views follow the
// active disc.
void ApplyFollowRule(Camera &camera, int index, const GameObject &ball, const GameObject *activeDisc);

// Gives a panning view its start set-up back and updates it with 0 ms (used when the positions
// are reset).
void ResetPanningCamera(Camera &camera);

#endif
