#include "frontend/CreditsFile.h"

#include <cassert>
#include <cstdio>
#include <cstring>

#include "core/LogFile.h"

CreditsFile::CreditsFile() : stepCount(0) {
	memset(steps, 0, sizeof(steps));
}

const CreditsStep &CreditsFile::GetStep(int index) const {
	assert(index >= 0 && index < stepCount);
	return steps[index];
}

bool CreditsFile::Read(const char *path) {
	FILE *file = fopen(path, "rt");
	if (!file) {
		return false;
	}
	memset(steps, 0, sizeof(steps));
	int count = 0;
	if (fscanf(file, "%d", &count) != 1 || count < 0) {
		count = 0;
	}
	if (count > MAX_STEPS) {
		Log(LOG_WARNING, "CREDITS: %s has %d steps; the first %d are played", path, count, MAX_STEPS);
		count = MAX_STEPS;
	}
	stepCount = 0;
	for (int i = 0; i < count; i++) {
		CreditsStep &step = steps[i];
		bool ok = fscanf(file, "%d", &step.type) == 1;
		if (ok && step.type == CreditsStep::CAMERA) {
			ok = fscanf(file, "%255s %255s", step.eyePath, step.lookPath) == 2;
		} else if (ok && step.type == CreditsStep::TEXT) {
			ok = fscanf(file, "%255s %d", step.scriptFile, &step.duration) == 2;
		}
		if (!ok) {
			Log(LOG_WARNING, "CREDITS: %s: step %d is missing or malformed; the credits end before it", path, i + 1);
			break;
		}
		stepCount++;
	}
	fclose(file);
	return true;
}
