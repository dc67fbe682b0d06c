// Samples and music load and play with SDL_mixer (dummy driver), do not clip and are not silent;
// the modules, played through with libxmp, are real pieces of a minute or more.
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <xmp.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

#include "DataFiles.h"
#include "ScratchDir.h"

TEST(Sounds, EverySampleAndModuleLoadsAndPlaysWithTheMixer) {
	ScratchDir dir;
	dir.LinkData();
	setenv("SDL_AUDIODRIVER", "dummy", 1);
	ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
	ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
	const std::vector<std::string> samples = DataFiles("sounds", ".wav"), modules = DataFiles("sounds", ".xm");
	EXPECT_GE(samples.size(), 11u);
	EXPECT_GE(modules.size(), 3u);
	for (const std::string &file : samples) {
		Mix_Chunk *chunk = Mix_LoadWAV(file.c_str());
		ASSERT_NE(chunk, nullptr) << file << ": " << Mix_GetError();
		const int channel = Mix_PlayChannel(-1, chunk, 0);
		EXPECT_GE(channel, 0) << file;
		Mix_HaltChannel(channel);
		Mix_FreeChunk(chunk);
	}
	for (const std::string &file : modules) {
		Mix_Music *music = Mix_LoadMUS(file.c_str());
		ASSERT_NE(music, nullptr) << file << ": " << Mix_GetError();
		EXPECT_EQ(Mix_PlayMusic(music, -1), 0) << file;
		EXPECT_TRUE(Mix_PlayingMusic()) << file;
		Mix_HaltMusic();
		Mix_FreeMusic(music);
	}
	Mix_CloseAudio();
	SDL_Quit();
}

TEST(Sounds, SamplesAreShortAndNeitherClipNorWhisper) {
	ScratchDir dir;
	dir.LinkData();
	for (const std::string &file : DataFiles("sounds", ".wav")) {
		SF_INFO info = {};
		SNDFILE *f = sf_open(file.c_str(), SFM_READ, &info);
		ASSERT_NE(f, nullptr) << file;
		std::vector<float> s(size_t(info.frames) * info.channels);
		sf_readf_float(f, s.data(), info.frames);
		sf_close(f);
		float peak = 0;
		for (float v : s) {
			peak = std::max(peak, std::fabs(v));
		}
		const double seconds = double(info.frames) / info.samplerate;
		EXPECT_EQ(info.samplerate, 44100) << file;
		EXPECT_GT(seconds, 0.02) << file;
		EXPECT_LT(seconds, 3.0) << file;
		EXPECT_LT(peak, 0.95f) << file << " clips";
		EXPECT_GT(peak, 0.2f) << file << " is too quiet";
	}
}

TEST(Sounds, ModulesAreRealMusicOfAMinuteOrMore) {
	ScratchDir dir;
	dir.LinkData();
	std::set<int> tempos;
	for (const std::string &file : DataFiles("sounds", ".xm")) {
		SCOPED_TRACE(file);
		xmp_context ctx = xmp_create_context();
		ASSERT_EQ(xmp_load_module(ctx, file.c_str()), 0);
		xmp_module_info mi;
		xmp_get_module_info(ctx, &mi);
		tempos.insert(mi.mod->bpm);
		// Melody, bass and drums: several instruments over more than three octaves.
		std::set<int> instruments;
		int lowest = 1000, highest = 0;
		for (int p = 0; p < mi.mod->len; p++) {
			const xmp_pattern *pattern = mi.mod->xxp[mi.mod->xxo[p]];
			for (int c = 0; c < mi.mod->chn; c++) {
				const xmp_track *track = mi.mod->xxt[pattern->index[c]];
				for (int row = 0; row < track->rows; row++) {
					const xmp_event &e = track->event[row];
					if (e.note > 0 && e.note <= 120) {
						lowest = std::min(lowest, int(e.note));
						highest = std::max(highest, int(e.note));
					}
					if (e.ins) {
						instruments.insert(e.ins);
					}
				}
			}
		}
		EXPECT_GE(instruments.size(), 5u);
		EXPECT_GE(highest - lowest, 36);
		xmp_start_player(ctx, 44100, 0);
		xmp_frame_info fi;
		double sum = 0;
		long n = 0;
		int totalMs = 0, peak = 0;
		while (xmp_play_frame(ctx) == 0) {
			xmp_get_frame_info(ctx, &fi);
			if (fi.loop_count > 0 || fi.time > 10 * 60 * 1000) {
				break;
			}
			totalMs = fi.total_time;
			const int16_t *b = static_cast<const int16_t *>(fi.buffer);
			for (int i = 0; i < fi.buffer_size / 2; i++, n++) {
				sum += double(b[i]) * b[i];
				peak = std::max(peak, std::abs(int(b[i])));
			}
		}
		EXPECT_GE(totalMs, 60000) << "loops too soon";
		EXPECT_GT(n ? std::sqrt(sum / n) : 0.0, 1000.0) << "(nearly) silent";
		EXPECT_LT(peak, 32700) << "clips";
		xmp_end_player(ctx);
		xmp_release_module(ctx);
		xmp_free_context(ctx);
	}
	EXPECT_EQ(tempos.size(), 3u) << "three different pieces";
}
