// The game's sound samples, synthesised and written as 16-bit mono WAV at 44.1 kHz.
#include "Dsp.h"
#include "Gen.h"

#include <sndfile.h>

#include <cstdio>

namespace {

std::vector<float> Buffer(float seconds) {
	return std::vector<float>(size_t(seconds * kRate), 0.0f);
}

bool Write(const std::string &name, std::vector<float> s, float peak) {
	Fades(s, 0.001f, 0.01f);
	Normalise(s, peak);
	SF_INFO info = {};
	info.samplerate = int(kRate);
	info.channels = 1;
	info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
	std::string path = OutPath("sounds/" + name);
	SNDFILE *f = sf_open(path.c_str(), SFM_WRITE, &info);
	if (!f) {
		std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
		return false;
	}
	bool ok = sf_writef_float(f, s.data(), sf_count_t(s.size())) == sf_count_t(s.size());
	return sf_close(f) == 0 && ok;
}

// A soft tick for the focus of a menu button.
bool Focus() {
	auto s = Buffer(0.05f);
	Rng rng(11);
	Biquad bp(Biquad::BandPass, 3500, 2.0f);
	for (size_t i = 0; i < s.size(); i++) {
		float t = i / kRate;
		s[i] =
			0.7f * std::sin(kTau * 2100 * t) * std::exp(-t / 0.007f) + 0.4f * bp.Run(rng.Sym()) * std::exp(-t / 0.003f);
	}
	return Write("btn_focus.wav", s, 0.4f);
}

// A body that rings at a few frequencies after a strike: thuds and knocks.
std::vector<float> Strike(float seconds, uint32_t seed, float noiseDecay, float noiseFreq,
	std::vector<std::pair<float, float>> modes, float sweep) {
	auto s = Buffer(seconds);
	Rng rng(seed);
	Biquad bp(Biquad::BandPass, noiseFreq, 0.9f);
	std::vector<float> phase(modes.size(), 0.0f);
	for (size_t i = 0; i < s.size(); i++) {
		float t = i / kRate, v = 1.4f * bp.Run(rng.Sym()) * std::exp(-t / noiseDecay);
		for (size_t m = 0; m < modes.size(); m++) {
			float f = modes[m].first * (1 + sweep * std::exp(-t / 0.03f));
			phase[m] += kTau * f / kRate;
			v += std::sin(phase[m]) * std::exp(-t / modes[m].second) / (1 + m * 0.6f);
		}
		s[i] = v;
	}
	return s;
}

bool Hits() {
	bool ok = true;
	ok &= Write("disc_disc_slow.wav", Strike(0.25f, 21, 0.006f, 900, {{150, 0.05f}, {330, 0.03f}}, 0.6f), 0.6f);
	ok &= Write("disc_disc_fast.wav",
		Strike(0.35f, 22, 0.012f, 4200, {{420, 0.05f}, {1130, 0.03f}, {2300, 0.02f}, {95, 0.06f}}, 0.2f), 0.89f);
	ok &= Write("disc_wall_slow.wav", Strike(0.3f, 23, 0.008f, 600, {{95, 0.07f}, {240, 0.04f}}, 0.8f), 0.6f);
	ok &= Write(
		"disc_wall_fast.wav", Strike(0.45f, 24, 0.02f, 2600, {{160, 0.08f}, {610, 0.05f}, {1500, 0.03f}}, 0.3f), 0.89f);
	// The ball: a rubbery pock with a falling pitch.
	auto pock = Buffer(0.25f);
	float ph = 0;
	for (size_t i = 0; i < pock.size(); i++) {
		float t = i / kRate;
		ph += kTau * (520 + 380 * std::exp(-t / 0.02f)) / kRate;
		pock[i] = std::sin(ph) * std::exp(-t / 0.05f) + 0.3f * std::sin(2 * ph) * std::exp(-t / 0.015f);
	}
	ok &= Write("disc_ball.wav", pock, 0.75f);
	return ok;
}

// A shot: a whip of air with a thwack at the start.
bool Shot() {
	auto s = Buffer(0.35f);
	Rng rng(31);
	Biquad bp(Biquad::BandPass, 2000, 1.5f);
	float ph = 0;
	for (size_t i = 0; i < s.size(); i++) {
		float t = i / kRate;
		bp.Set(Biquad::BandPass, 2400 * std::exp(-t / 0.12f) + 300, 1.5f);
		float whoosh = bp.Run(rng.Sym()) * std::sin(float(M_PI) * std::fmin(t / 0.3f, 1.0f)) * 2.0f;
		ph += kTau * (240 + 200 * std::exp(-t / 0.01f)) / kRate;
		s[i] = whoosh + 0.9f * std::sin(ph) * std::exp(-t / 0.03f);
	}
	return Write("shot2.wav", s, 0.8f);
}

float Tone(float t, float f, float harm) {
	return std::sin(kTau * f * t) + harm * std::sin(3 * kTau * f * t) / 3 + harm * std::sin(5 * kTau * f * t) / 5;
}

bool Beeps() {
	// Countdown: a bright rising blip.
	auto start = Buffer(0.3f);
	for (size_t i = 0; i < start.size(); i++) {
		float t = i / kRate, env = std::fmin(t / 0.005f, 1.0f) * std::exp(-t / 0.12f);
		start[i] = (Tone(t, 880, 0.5f) + 0.5f * Tone(t, 1320, 0.3f)) * env;
	}
	// Hurry-up: two short urgent beeps.
	auto hurry = Buffer(0.24f);
	for (size_t i = 0; i < hurry.size(); i++) {
		float t = i / kRate;
		float f = t < 0.1f ? 1040 : 1560, local = t < 0.1f ? t : t - 0.12f;
		float env = (local >= 0 && local < 0.09f)
						? std::fmin(local / 0.004f, 1.0f) * std::fmin((0.09f - local) / 0.01f, 1.0f)
						: 0;
		hurry[i] = Tone(t, f, 0.8f) * env;
	}
	return Write("start.wav", start, 0.7f) && Write("hurry_up.wav", hurry, 0.65f);
}

// A sung vowel: a sawtooth voice through three formant filters.
struct Voice {
	Biquad f1{Biquad::BandPass, 750, 6}, f2{Biquad::BandPass, 1200, 7}, f3{Biquad::BandPass, 2600, 8};
	float phase = 0;
	float Run(float freq, float bright) {
		phase += freq / kRate;
		phase -= std::floor(phase);
		float saw = 2 * phase - 1;
		return f1.Run(saw) * 1.0f + f2.Run(saw) * 0.7f * bright + f3.Run(saw) * 0.35f * bright;
	}
};

// The call for a long power shot: a yodelling "ah-ee-ah" jumping between chest and head voice.
bool Call() {
	auto s = Buffer(1.7f);
	Voice v;
	const float notes[][2] = {
		{0.0f, 220}, {0.22f, 392}, {0.42f, 262}, {0.6f, 440}, {0.8f, 294}, {0.98f, 523}, {1.7f, 523}};
	for (size_t i = 0; i < s.size(); i++) {
		float t = i / kRate;
		int k = 0;
		while (k < 5 && t >= notes[k + 1][0])
			k++;
		float into = t - notes[k][0];
		// Glide quickly into each note, then a wide vibrato.
		float f = notes[k][1];
		if (k > 0 && into < 0.04f)
			f = notes[k - 1][1] + (f - notes[k - 1][1]) * (into / 0.04f);
		f *= 1 + 0.025f * std::sin(kTau * 5.5f * t) * std::fmin(into / 0.1f, 1.0f);
		bool head = notes[k][1] > 380;
		v.f1.Set(Biquad::BandPass, head ? 400 : 750, 6);
		v.f2.Set(Biquad::BandPass, head ? 2200 : 1150, 7);
		float env = std::fmin(t / 0.05f, 1.0f) * (t > 1.35f ? std::fmax(0.0f, 1 - (t - 1.35f) / 0.35f) : 1.0f);
		s[i] = v.Run(f, head ? 1.3f : 0.9f) * env;
	}
	return Write("tarzan.wav", s, 0.85f);
}

// A goal: an air horn over a cheering crowd.
bool Cheer() {
	auto s = Buffer(2.8f);
	Rng rng(41);
	Biquad crowdLo(Biquad::BandPass, 500, 0.7f), crowdHi(Biquad::BandPass, 1800, 0.9f);
	const int kVoices = 14;
	std::vector<Voice> voices(kVoices);
	std::vector<float> base(kVoices), start(kVoices), rate(kVoices);
	for (int k = 0; k < kVoices; k++) {
		base[k] = 200 + rng.Uni() * 320;
		start[k] = rng.Uni() * 0.5f;
		rate[k] = 4 + rng.Uni() * 3;
		voices[k].f1.Set(Biquad::BandPass, 600 + rng.Uni() * 300, 5);
		voices[k].f2.Set(Biquad::BandPass, 1000 + rng.Uni() * 1400, 6);
	}
	for (size_t i = 0; i < s.size(); i++) {
		float t = i / kRate;
		float swell = std::fmin(t / 0.25f, 1.0f) * (t > 1.6f ? std::exp(-(t - 1.6f) / 0.45f) : 1.0f);
		float n = rng.Sym();
		float crowd = (crowdLo.Run(n) * 1.2f + crowdHi.Run(n) * 0.8f) * swell;
		float yay = 0;
		for (int k = 0; k < kVoices; k++) {
			float local = t - start[k];
			if (local < 0)
				continue;
			float f =
				base[k] * (1 + 0.25f * std::fmin(local / 0.3f, 1.0f)) * (1 + 0.03f * std::sin(kTau * rate[k] * t));
			yay += voices[k].Run(f, 1.0f) * swell * 0.35f;
		}
		float horn = 0;
		if (t < 0.9f) {
			float env = std::fmin(t / 0.02f, 1.0f) * std::fmin((0.9f - t) / 0.08f, 1.0f);
			for (float f : {440.0f, 554.4f, 659.3f}) {
				float p = std::fmod(f * t, 1.0f);
				horn += (2 * p - 1) * 0.25f;
			}
			horn *= env;
		}
		s[i] = crowd * 0.9f + yay + horn * 0.9f;
	}
	return Write("goal.wav", s, 0.89f);
}

} // namespace

bool MakeSounds() {
	return Focus() && Hits() && Shot() && Beeps() && Call() && Cheer();
}
