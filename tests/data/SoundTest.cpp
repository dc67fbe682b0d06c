// Samples and music load with SDL_mixer (dummy driver); the modules also play with libxmp.
#include "DataFiles.h"
#include "ScratchDir.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <sndfile.h>
#include <xmp.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

namespace {

const char *kSamples[] = {"btn_focus", "disc_disc_slow", "disc_disc_fast", "disc_wall_slow", "disc_wall_fast", "disc_ball",
                          "tarzan",    "goal",           "start",          "shot2",          "hurry_up"};
const char *kModules[] = {"tavro_menu", "tavro_ingame", "tavro_credits"};

struct Wave {
	double seconds = 0;
	float peak = 0, rms = 0;
	bool ok = false;
};

Wave ReadWave(const std::string &path)
{
	Wave w;
	SF_INFO info = {};
	SNDFILE *f = sf_open(path.c_str(), SFM_READ, &info);
	if (!f)
		return w;
	std::vector<float> s(size_t(info.frames) * info.channels);
	sf_readf_float(f, s.data(), info.frames);
	sf_close(f);
	double sum = 0;
	for (float v : s) {
		w.peak = std::max(w.peak, std::fabs(v));
		sum += double(v) * v;
	}
	w.rms = s.empty() ? 0 : float(std::sqrt(sum / s.size()));
	w.seconds = double(info.frames) / info.samplerate;
	w.ok = info.samplerate == 44100;
	return w;
}

class MixerTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		setenv("SDL_AUDIODRIVER", "dummy", 1);
		ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
		ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
		Mix_AllocateChannels(32);
	}
	void TearDown() override
	{
		Mix_CloseAudio();
		SDL_Quit();
	}
	ScratchDir scratch;
};

TEST_F(MixerTest, EverySampleLoadsAndPlays)
{
	for (const char *name : kSamples) {
		std::string path = DataPath(std::string("data/sounds/") + name + ".wav");
		Mix_Chunk *chunk = Mix_LoadWAV(path.c_str());
		ASSERT_NE(chunk, nullptr) << name << ": " << Mix_GetError();
		int channel = Mix_PlayChannel(-1, chunk, 0);
		EXPECT_GE(channel, 0) << name;
		Mix_HaltChannel(channel);
		Mix_FreeChunk(chunk);
	}
}

TEST_F(MixerTest, EveryModuleLoadsAndPlays)
{
	for (const char *name : kModules) {
		std::string path = DataPath(std::string("data/sounds/") + name + ".xm");
		Mix_Music *music = Mix_LoadMUS(path.c_str());
		ASSERT_NE(music, nullptr) << name << ": " << Mix_GetError();
		EXPECT_EQ(Mix_PlayMusic(music, -1), 0) << name;
		SDL_Delay(20);
		EXPECT_TRUE(Mix_PlayingMusic()) << name;
		Mix_HaltMusic();
		Mix_FreeMusic(music);
	}
}

TEST(Samples, AreShortDistinctAndDoNotClip)
{
	ScratchDir scratch;
	std::map<std::string, Wave> waves;
	for (const char *name : kSamples) {
		Wave w = ReadWave(DataPath(std::string("data/sounds/") + name + ".wav"));
		ASSERT_TRUE(w.ok) << name;
		EXPECT_GT(w.seconds, 0.02) << name;
		EXPECT_LT(w.seconds, 3.0) << name;
		EXPECT_LT(w.peak, 0.95f) << name << " clips";
		EXPECT_GT(w.peak, 0.2f) << name << " is too quiet";
		waves[name] = w;
	}
	// A soft tick for focus, cracks louder than thuds, a long cheer for a goal.
	EXPECT_LT(waves["btn_focus"].seconds, 0.1);
	EXPECT_LT(waves["btn_focus"].peak, waves["disc_disc_fast"].peak);
	EXPECT_LT(waves["disc_disc_slow"].peak, waves["disc_disc_fast"].peak);
	EXPECT_LT(waves["disc_wall_slow"].peak, waves["disc_wall_fast"].peak);
	EXPECT_GT(waves["goal"].seconds, 2.0);
	EXPECT_GT(waves["tarzan"].seconds, 1.0);
}

struct Rendered {
	int totalMs = 0;
	double rms = 0;
	int peak = 0;
	std::set<int> instruments;
	int lowest = 1000, highest = 0;
	int bpm = 0;
};

Rendered RenderModule(const std::string &path)
{
	Rendered r;
	xmp_context ctx = xmp_create_context();
	if (xmp_load_module(ctx, path.c_str()) != 0) {
		xmp_free_context(ctx);
		return r;
	}
	xmp_module_info mi;
	xmp_get_module_info(ctx, &mi);
	r.bpm = mi.mod->bpm;
	for (int p = 0; p < mi.mod->len; p++) {
		xmp_pattern *pat = mi.mod->xxp[mi.mod->xxo[p]];
		for (int c = 0; c < mi.mod->chn; c++) {
			xmp_track *t = mi.mod->xxt[pat->index[c]];
			for (int row = 0; row < t->rows; row++) {
				const xmp_event &e = t->event[row];
				if (e.note > 0 && e.note <= 120) {
					r.lowest = std::min(r.lowest, int(e.note));
					r.highest = std::max(r.highest, int(e.note));
				}
				if (e.ins)
					r.instruments.insert(e.ins);
			}
		}
	}
	xmp_start_player(ctx, 44100, 0);
	xmp_frame_info fi;
	double sum = 0;
	long n = 0;
	while (xmp_play_frame(ctx) == 0) {
		xmp_get_frame_info(ctx, &fi);
		if (fi.loop_count > 0 || fi.time > 10 * 60 * 1000)
			break;
		r.totalMs = fi.total_time;
		const int16_t *b = static_cast<const int16_t *>(fi.buffer);
		for (int i = 0; i < fi.buffer_size / 2; i++) {
			sum += double(b[i]) * b[i];
			r.peak = std::max(r.peak, std::abs(int(b[i])));
			n++;
		}
	}
	r.rms = n ? std::sqrt(sum / n) : 0;
	xmp_end_player(ctx);
	xmp_release_module(ctx);
	xmp_free_context(ctx);
	return r;
}

TEST(Music, ModulesAreRealMusicOfAMinuteOrMore)
{
	ScratchDir scratch;
	std::set<int> tempos;
	for (const char *name : kModules) {
		Rendered r = RenderModule(DataPath(std::string("data/sounds/") + name + ".xm"));
		EXPECT_GE(r.totalMs, 60000) << name << " loops too soon";
		EXPECT_GT(r.rms, 1000.0) << name << " is (nearly) silent";
		EXPECT_LT(r.peak, 32700) << name << " clips";
		// Melody, bass and drums: several instruments over more than three octaves.
		EXPECT_GE(r.instruments.size(), 5u) << name;
		EXPECT_GE(r.highest - r.lowest, 36) << name;
		tempos.insert(r.bpm);
	}
	EXPECT_EQ(tempos.size(), 3u) << "three different pieces";
}

} // namespace
