#ifndef TAVRO_MATCH_CAMERA_H
#define TAVRO_MATCH_CAMERA_H

#include <plib/sg.h>

#include "core/PathSpline.h"

class GameObject;

// Places the scene graph's viewpoint and the OpenGL viewport once a frame.
class Camera {
public:
	enum Mode {
		MODE_UNSET = 1,       // after Init; every user picks one of the modes below
		MODE_FIXED = 0,       // eye = target + offset (or offset), looking at lookAt
		MODE_LOOK_TARGET = 2, // as MODE_FIXED, looking at the look target
		MODE_PATH = 5,        // eye along the eye path, looking at lookAt
		MODE_PATHS = 6        // eye along the eye path, looking along the look path
	};

	Camera();

	// The name is only a label for the log.
	bool Init(const char *name, int width, int height);

	void SetMode(int m) { mode = m; }
	void SetTarget(const GameObject *object) { target = object; }
	void SetLookTarget(const GameObject *object) { lookTarget = object; }
	void SetOffset(float x, float y, float z) { sgSetVec3(offset, x, y, z); }
	void SetOffset(const sgVec3 v) { sgCopyVec3(offset, v); }
	void SetLookAt(float x, float y, float z) { sgSetVec3(lookAt, x, y, z); }
	void SetViewport(int x_, int y_) {
		x = x_;
		y = y_;
	}
	void SetPathDuration(float ms) { pathDuration = ms; }
	PathSpline &Path() { return path; }
	PathSpline &LookPath() { return lookPath; }
	void RestartPath() { pathTime = 0.0f; }
	// True once the eye path has run to its end; the eye then stays at its last point.
	bool PathFinished() const { return path.GetDuration() <= pathTime; }

	// Places the viewpoint by mode and sets the viewport. dt in ms moves the path cameras on.
	void Update(int dt);

	void GetEye(sgVec3 out) const { sgCopyVec3(out, eye); }
	void GetOffset(sgVec3 out) const { sgCopyVec3(out, offset); }
	void GetLookAt(sgVec3 out) const { sgCopyVec3(out, lookAt); }
	int GetMode() const { return mode; }
	const GameObject *GetTarget() const { return target; }
	const GameObject *GetLookTarget() const { return lookTarget; }
	int GetWidth() const { return width; }
	int GetHeight() const { return height; }
	int GetX() const { return x; }
	int GetY() const { return y; }
	float GetPathTime() const { return pathTime; }
	float GetPathDuration() const { return pathDuration; }

private:
	// eye := target position + offset, or offset without a target.
	void PlaceAtTarget();
	void LookAtPoint() const;

	int mode;                     // Mode
	const GameObject *target;     // not owned
	const GameObject *lookTarget; // not owned
	sgVec3 offset;                // units
	sgVec3 lookAt;                // units
	sgVec3 eye;                   // units, from the last Update
	int width, height;            // pixels
	int x, y;                     // pixels from the bottom left
	PathSpline path;              // eye path, time in ms
	PathSpline lookPath;          // look-at path, time in ms
	float pathDuration;           // ms, for paths that were not built by loading
	float pathTime;               // ms along the paths
};

#endif
