#ifndef TAVRO_FRONTEND_CREDITS_H
#define TAVRO_FRONTEND_CREDITS_H

#include <cstddef>

#include "core/GameState.h"
#include "frontend/ArenaBackdrop.h"
#include "frontend/CreditsFile.h"

class GL2D_BmpRect;
class GL2D_BmpText;
class ScriptState;

// The credits: a night arena flown through by a camera on paths, while short scripts write the
// credit texts with two bitmap fonts and the credits music plays. The steps of
// "data/misc/credits.crd" say what happens and for how long (the scripts find the fonts as pSpec1
// and pSpec2 and a panel for behind the text as pPanel); the sequence ends after its last
// step or when Escape is held, and the menu follows. A corner says so all along.
class Credits : public GameStateObject {
public:
	static const char *const CREDITS_FILE;
	static constexpr int SCRIPT_SIZE = 4096; // bytes of one text step's script
	static const char *const SKIP_TEXT;      // in the bottom right corner, on a panel

	Credits();
	~Credits() override;

	bool Enter() override { return Init(); }
	bool Frame() override;
	void Leave() override { Deinit(); }

	bool Init();
	void Deinit();

	int GetCurrentStep() const { return currentStep; }
	int GetStepTime() const { return stepTime; }
	const CreditsFile &GetFile() const { return file; }
	// Where SKIP_TEXT's panel is drawn (nothing before the fonts are loaded).
	void GetSkipHintRect(int *x, int *y, int *w, int *h) const;
	Camera &GetCamera() { return backdrop.GetCamera(); }
	ScriptState *GetScript() const { return script; }

private:
	// Loads the file into font, made a bitmap font when it is null; false, logged, on failure.
	bool LoadFont(GL2D_BmpText *&font, const char *path);
	bool EscapeHeld() const;
	bool StepIsOver();
	void StartStep();
	void RunTextStep();
	void DrawSkipHint() const;

	ArenaBackdrop backdrop;
	GL2D_BmpText *font1;
	GL2D_BmpText *font2;
	GL2D_BmpRect *panel; // drawn behind the texts, so they read over any part of the scene
	ScriptState *script;
	CreditsFile file;
	char scriptText[SCRIPT_SIZE];
	size_t scriptLength; // bytes of scriptText in use
	bool scriptRuns;     // false once this step's script failed or could not be read
	int frameTime;       // ms, never negative
	int stepTime;        // ms spent in the current text step
	int currentStep;     // -1 before the first
	int screenWidth;     // pixels
	int screenHeight;    // pixels
	bool musicLoaded;
};

#endif
