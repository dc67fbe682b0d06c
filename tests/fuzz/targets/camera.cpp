// Camera paths (".cam") as the menu and the credits load them, then flown from end to end.
#include "FuzzKit.h"
#include "core/PathSpline.h"

namespace {

void Load(const char *file, const uint8_t *, size_t) {
	PathSpline path;
	if (!path.Load(file)) {
		return;
	}
	FuzzCheck(path.GetPointCount() >= 1 && path.GetPointCount() <= PathSpline::MAX_POINTS, "1 to 32 points");
	FuzzCheck(path.GetDuration() > 0.0f, "a positive duration");
	for (int i = -1; i <= 33; i++) {
		path.Evaluate(path.GetDuration() * static_cast<float>(i) / 32.0f);
	}
	path.Load(file); // a second load over a path that is there
	path.Evaluate(path.GetDuration() * 0.5f);
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"data/misc/fuzz.cam", false, nullptr, Load};
