#ifndef TAVRO_FRONTEND_CREDITSFILE_H
#define TAVRO_FRONTEND_CREDITSFILE_H

// One step of the credits: a camera move along two paths, or a text script run every frame
// for a while. Steps of other types are passed over.
struct CreditsStep {
	enum Type {
		CAMERA = 1,
		TEXT = 2
	};
	static constexpr int NAME_SIZE = 256;

	int type;
	char eyePath[NAME_SIZE];    // camera steps
	char lookPath[NAME_SIZE];   // camera steps
	char scriptFile[NAME_SIZE]; // text steps
	int duration;               // ms, text steps
};

// The steps of "data/misc/credits.crd": a step count, then per step its type and its fields.
class CreditsFile {
public:
	static constexpr int MAX_STEPS = 64;

	CreditsFile();

	// False when the file cannot be opened. A count beyond MAX_STEPS keeps the first steps; a
	// step cut short by the end of the file ends the list there. Both are logged.
	bool Read(const char *path);

	int GetStepCount() const { return stepCount; }
	const CreditsStep &GetStep(int index) const;

private:
	CreditsStep steps[MAX_STEPS];
	int stepCount;
};

#endif
