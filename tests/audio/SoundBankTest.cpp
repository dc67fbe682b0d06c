#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ScratchDir.h"
#include "core/LogFile.h"
#include "audio/SoundBank.h"

namespace {

// A short mono 16-bit WAV tone, written by hand so the test needs no data tree.
void WriteTone(const char *path, int frequency) {
	const int rate = 22050, count = rate / 10;
	std::vector<int16_t> samples(count);
	for (int i = 0; i < count; i++) {
		samples[i] = static_cast<int16_t>(8000 * std::sin(2 * M_PI * frequency * i / rate));
	}
	FILE *file = fopen(path, "wb");
	ASSERT_NE(file, nullptr);
	auto u32 = [&](uint32_t v) { fwrite(&v, 4, 1, file); };
	auto u16 = [&](uint16_t v) { fwrite(&v, 2, 1, file); };
	uint32_t dataBytes = count * 2;
	fwrite("RIFF", 1, 4, file);
	u32(36 + dataBytes);
	fwrite("WAVEfmt ", 1, 8, file);
	u32(16);
	u16(1);
	u16(1);
	u32(rate);
	u32(rate * 2);
	u16(2);
	u16(16);
	fwrite("data", 1, 4, file);
	u32(dataBytes);
	fwrite(samples.data(), 2, count, file);
	fclose(file);
}

class SoundFixture {
public:
	explicit SoundFixture(ScratchDir &dir_) : dir(dir_) {
		setenv("SDL_AUDIODRIVER", "dummy", 1);
		log.Open("Log.txt", "T");
		g_log = &log;
		SDL_Init(0);
	}
	~SoundFixture() {
		bank.Deinit();
		g_log = nullptr;
		SDL_Quit();
	}
	int Count(const std::string &needle) {
		std::string text = dir.ReadText("Log.txt");
		int n = 0;
		for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
			n++;
		}
		return n;
	}

	ScratchDir &dir;
	LogFile log;
	SoundBank bank;
};

} // namespace

TEST(SoundBank, AFilledSlotKeepsItsFirstSample) {
	ScratchDir dir;
	SoundFixture f(dir);
	WriteTone("a.wav", 440);
	WriteTone("b.wav", 880);
	ASSERT_TRUE(f.bank.Init());
	EXPECT_FALSE(f.bank.HasSample(4));
	EXPECT_TRUE(f.bank.LoadSample("a.wav", 4, false));
	EXPECT_TRUE(f.bank.LoadSample("b.wav", 4, false));
	EXPECT_TRUE(f.bank.LoadSample("missing.wav", 4, false)); // already filled: not loaded again
	EXPECT_EQ(f.Count("SOUND: Loading static sound..."), 3);
	EXPECT_EQ(f.Count("SOUND: ...Done!"), 2); // Init and the first load
	EXPECT_TRUE(f.bank.HasSample(4));
}

TEST(SoundBank, SlotsOutsideTheTableAreRefused) {
	ScratchDir dir;
	SoundFixture f(dir);
	WriteTone("a.wav", 440);
	ASSERT_TRUE(f.bank.Init());
	EXPECT_TRUE(f.bank.LoadSample("a.wav", 31, false));
	EXPECT_FALSE(f.bank.LoadSample("a.wav", 32, false));
	EXPECT_FALSE(f.bank.LoadSample("a.wav", -1, false));
	EXPECT_FALSE(f.bank.LoadSample(nullptr, 2, false));
	EXPECT_FALSE(f.bank.LoadSample("missing.wav", 2, false));
	EXPECT_FALSE(f.bank.HasSample(2));
	EXPECT_GE(f.bank.PlaySample(31, -1), 0);
	EXPECT_EQ(f.bank.PlaySample(32, -1), 0);
	EXPECT_EQ(f.bank.PlaySample(-3, -1), 0);
	EXPECT_EQ(f.bank.PlaySample(SOUND_OPTIONS_SAVED, -1), 0); // empty slot: nothing sounds
	f.bank.StopChannel(99);
	f.bank.StopChannel(-1);
}

TEST(SoundBank, PlaysOnFreeChannelsAndStopsThem) {
	ScratchDir dir;
	SoundFixture f(dir);
	WriteTone("a.wav", 440);
	ASSERT_TRUE(f.bank.Init());
	ASSERT_TRUE(f.bank.LoadSample("a.wav", SOUND_GOAL, false));
	int first = f.bank.PlaySample(SOUND_GOAL, -1);
	int second = f.bank.PlaySample(SOUND_GOAL, -1);
	EXPECT_GE(first, 0);
	EXPECT_GE(second, 0);
	EXPECT_NE(first, second);
	f.bank.StopChannel(first);
}

TEST(SoundBank, FailedMusicLoadLeavesNoModule) {
	ScratchDir dir;
	SoundFixture f(dir);
	dir.WriteText("broken.xm", "Extended Module: not really");
	ASSERT_TRUE(f.bank.Init());
	EXPECT_FALSE(f.bank.LoadMusic(nullptr));
	EXPECT_FALSE(f.bank.LoadMusic("missing.xm"));
	EXPECT_FALSE(f.bank.HasMusic());
	EXPECT_FALSE(f.bank.LoadMusic("broken.xm"));
	EXPECT_FALSE(f.bank.HasMusic());
	f.bank.PlayMusic(); // nothing loaded: nothing happens
	f.bank.StopMusic();
	EXPECT_EQ(f.Count("SOUND: Loading music..."), 3);
}

TEST(SoundBank, WithoutAnyDeviceFallsBackToSilence) {
	ScratchDir dir;
	SoundFixture f(dir);
	// A driver that does not exist stands for a machine without a sound card.
	setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
	ASSERT_TRUE(f.bank.Init());
	EXPECT_TRUE(f.bank.IsOpen());
	EXPECT_EQ(f.Count("Warning: SOUND: No sound device"), 1);
	f.bank.Deinit();
	EXPECT_EQ(f.Count("SOUND: Deinitialization..."), 1);
	f.bank.Deinit();
	EXPECT_EQ(f.Count("SOUND: Deinitialization..."), 1);
}
