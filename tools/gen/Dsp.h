#ifndef TAVRO_TOOLS_DSP_H
#define TAVRO_TOOLS_DSP_H

#include <cmath>
#include <vector>

constexpr float kRate = 44100.0f;
constexpr float kTau = 6.2831853f;

// Second-order filter (the usual audio cookbook forms).
class Biquad {
public:
	enum Kind {
		LowPass,
		HighPass,
		BandPass
	};
	Biquad(Kind k, float freq, float q) { Set(k, freq, q); }
	void Set(Kind k, float freq, float q) {
		float w = kTau * std::fmin(freq, kRate * 0.45f) / kRate, cw = std::cos(w), alpha = std::sin(w) / (2 * q);
		float a0 = 1 + alpha;
		switch (k) {
		case LowPass: b0 = (1 - cw) / 2 / a0, b1 = (1 - cw) / a0, b2 = b0; break;
		case HighPass: b0 = (1 + cw) / 2 / a0, b1 = -(1 + cw) / a0, b2 = b0; break;
		case BandPass: b0 = alpha / a0, b1 = 0, b2 = -alpha / a0; break;
		}
		a1 = -2 * cw / a0, a2 = (1 - alpha) / a0;
	}
	float Run(float x) {
		float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
		x2 = x1, x1 = x, y2 = y1, y1 = y;
		return y;
	}

private:
	float b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// Scales a buffer so its largest magnitude is `peak`.
inline void Normalise(std::vector<float> &s, float peak) {
	float m = 0;
	for (float v : s)
		m = std::fmax(m, std::fabs(v));
	if (m > 0)
		for (float &v : s)
			v *= peak / m;
}

// Short fades at both ends so nothing starts or stops with a click.
inline void Fades(std::vector<float> &s, float inSec, float outSec) {
	size_t in = size_t(inSec * kRate), out = size_t(outSec * kRate);
	for (size_t i = 0; i < in && i < s.size(); i++)
		s[i] *= float(i) / in;
	for (size_t i = 0; i < out && i < s.size(); i++)
		s[s.size() - 1 - i] *= float(i) / out;
}

#endif
