#include "audio/SoundBank.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <cstdlib>

#include "core/LogFile.h"

SoundBank *g_sound = nullptr;

SoundBank::SoundBank() : open(false), audioSubsystem(false), music(nullptr) {
	for (int i = 0; i < SLOT_COUNT; i++) {
		samples[i] = nullptr;
		looping[i] = false;
	}
}

SoundBank::~SoundBank() {
	Deinit();
}

namespace {

bool OpenMixer() {
	if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
		return false;
	}
	if (Mix_OpenAudio(SoundBank::MIX_RATE, AUDIO_S16SYS, 2, 1024) < 0) {
		SDL_QuitSubSystem(SDL_INIT_AUDIO);
		return false;
	}
	return true;
}

} // namespace

bool SoundBank::Init() {
	Log(LOG_MESSAGE, "SOUND: Initializing...");
	if (!OpenMixer()) {
		// No usable sound device: play on silently through the dummy driver.
		Log(LOG_WARNING, "SOUND: No sound device (%s), continuing without sound", Mix_GetError());
		setenv("SDL_AUDIODRIVER", "dummy", 1);
		if (!OpenMixer()) {
			return false;
		}
	}
	audioSubsystem = true;
	Mix_AllocateChannels(CHANNEL_COUNT);
	for (int i = 0; i < SLOT_COUNT; i++) {
		samples[i] = nullptr;
	}
	open = true;
	Log(LOG_MESSAGE, "SOUND: ...Done!");
	return true;
}

void SoundBank::Deinit() {
	if (!open) {
		return;
	}
	Log(LOG_MESSAGE, "SOUND: Deinitialization...");
	Mix_HaltChannel(-1);
	ReleaseMusic();
	for (int i = 0; i < SLOT_COUNT; i++) {
		if (samples[i]) {
			Mix_FreeChunk(samples[i]);
			samples[i] = nullptr;
		}
	}
	Mix_CloseAudio();
	if (audioSubsystem) {
		SDL_QuitSubSystem(SDL_INIT_AUDIO);
		audioSubsystem = false;
	}
	open = false;
}

bool SoundBank::LoadSample(const char *fileName, int slot, bool loop) {
	Log(LOG_MESSAGE, "SOUND: Loading static sound...");
	if (!fileName || slot < 0 || slot >= SLOT_COUNT || !open) {
		return false;
	}
	if (samples[slot]) {
		return true;
	}
	Mix_Chunk *chunk = Mix_LoadWAV(fileName);
	if (!chunk) {
		Log(LOG_WARNING, "SOUND: Could not load \"%s\": %s", fileName, Mix_GetError());
		return false;
	}
	samples[slot] = chunk;
	looping[slot] = loop;
	Log(LOG_MESSAGE, "SOUND: ...Done!");
	return true;
}

bool SoundBank::LoadMusic(const char *fileName) {
	Log(LOG_MESSAGE, "SOUND: Loading music...");
	if (!fileName || !open) {
		return false;
	}
	// The old module goes whether or not the new one loads.
	ReleaseMusic();
	music = Mix_LoadMUS(fileName);
	if (!music) {
		Log(LOG_WARNING, "SOUND: Could not load \"%s\": %s", fileName, Mix_GetError());
		return false;
	}
	Log(LOG_MESSAGE, "SOUND: ...Done!");
	return true;
}

int SoundBank::PlaySample(int slot, int channel) {
	if (slot < 0 || slot >= SLOT_COUNT || !samples[slot]) {
		return 0;
	}
	return Mix_PlayChannel(channel, samples[slot], looping[slot] ? -1 : 0);
}

void SoundBank::StopChannel(int channel) {
	if (open && channel >= 0 && channel < CHANNEL_COUNT) {
		Mix_HaltChannel(channel);
	}
}

void SoundBank::PlayMusic() {
	if (music) {
		Mix_PlayMusic(music, -1);
	}
}

void SoundBank::StopMusic() {
	if (music) {
		Mix_HaltMusic();
	}
}

bool SoundBank::HasSample(int slot) const {
	return slot >= 0 && slot < SLOT_COUNT && samples[slot] != nullptr;
}

void SoundBank::ReleaseMusic() {
	if (music) {
		Mix_HaltMusic();
		Mix_FreeMusic(music);
		music = nullptr;
	}
}
