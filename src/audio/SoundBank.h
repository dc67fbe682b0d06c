#ifndef TAVRO_AUDIO_SOUNDBANK_H
#define TAVRO_AUDIO_SOUNDBANK_H

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

// Sample slots whose numbers are fixed by the callers, and one music module.
enum SoundSlot {
	SOUND_BUTTON_FOCUS = 1,
	SOUND_OPTIONS_SAVED = 3, // never loaded: saving is silent
	SOUND_DISC_DISC_SLOW = 4,
	SOUND_DISC_DISC_FAST = 5,
	SOUND_DISC_WALL_SLOW = 6,
	SOUND_DISC_WALL_FAST = 7,
	SOUND_DISC_BALL = 8,
	SOUND_TARZAN = 10,
	SOUND_GOAL = 11,
	SOUND_START = 12,
	SOUND_SHOT = 13,
	SOUND_HURRY_UP = 14
};

// A thin layer over the mixer: 32 sample slots filled once and kept until Deinit, and one
// music module.
class SoundBank {
public:
	static constexpr int SLOT_COUNT = 32;
	static constexpr int MIX_RATE = 44100; // Hz
	static constexpr int CHANNEL_COUNT = 32;

	SoundBank();
	~SoundBank();

	bool Init();
	void Deinit();
	bool IsOpen() const { return open; }

	// A filled slot keeps its first sample; loading into it again succeeds without loading.
	bool LoadSample(const char *fileName, int slot, bool loop);
	bool LoadMusic(const char *fileName);

	// Returns the channel used, 0 for a slot out of range or empty, -1 when the mixer refuses.
	int PlaySample(int slot, int channel);
	void StopChannel(int channel);
	void PlayMusic();
	void StopMusic();

	bool HasSample(int slot) const;
	bool HasMusic() const { return music != nullptr; }

private:
	void ReleaseMusic();

	bool open;
	bool audioSubsystem; // we started SDL's audio subsystem and must stop it
	Mix_Chunk *samples[SLOT_COUNT];
	bool looping[SLOT_COUNT];
	Mix_Music *music;
};

// The process-wide sound bank; exists between start-up and shut-down.
extern SoundBank *g_sound;

#endif
