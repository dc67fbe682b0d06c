// The credits' step list (".crd") as the credits read it, and every step as they walk it.
#include <cstring>

#include "FuzzKit.h"
#include "frontend/CreditsFile.h"

namespace {

bool Ends(const char *text) {
	return memchr(text, '\0', CreditsStep::NAME_SIZE) != nullptr;
}

void Load(const char *file, const uint8_t *, size_t) {
	CreditsFile credits;
	FuzzCheck(credits.Read(file), "the file opens");
	FuzzCheck(credits.GetStepCount() >= 0 && credits.GetStepCount() <= CreditsFile::MAX_STEPS, "0 to 64 steps");
	for (int i = 0; i < credits.GetStepCount(); i++) {
		const CreditsStep &step = credits.GetStep(i);
		FuzzCheck(Ends(step.eyePath) && Ends(step.lookPath) && Ends(step.scriptFile), "names end in their fields");
	}
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"data/misc/fuzz.crd", false, nullptr, Load};
