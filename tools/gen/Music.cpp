// The three music modules: an XM writer of our own, synthesised instruments and a small composer
// that writes melody, chords, bass and drums into patterns from a style description.
#include "Dsp.h"
#include "Gen.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// ---- XM file ------------------------------------------------------------------------------------

struct Cell {
	uint8_t note = 0, instrument = 0, volume = 0, effect = 0, param = 0;
};

const uint8_t kKeyOff = 97;
const int kRows = 64, kChannels = 8;

struct Pattern {
	std::vector<Cell> cells = std::vector<Cell>(kRows * kChannels);
	Cell &At(int row, int ch) { return cells[row * kChannels + ch]; }
};

struct Instrument {
	std::string name;
	std::vector<int16_t> data;
	int loopStart = 0, loopLength = 0; // in samples; length 0 = no loop
	int volume = 64;
	// Volume envelope points (tick, level 0..64) with a sustain point, and the fade after key-off.
	std::vector<std::pair<int, int>> env;
	int sustain = -1;
	int fadeout = 0;
};

class Bytes {
public:
	void U8(int v) { b.push_back(uint8_t(v)); }
	void U16(int v) {
		U8(v & 255);
		U8((v >> 8) & 255);
	}
	void U32(uint32_t v) {
		U16(int(v & 0xFFFF));
		U16(int(v >> 16));
	}
	void Text(const std::string &s, size_t n) {
		for (size_t i = 0; i < n; i++)
			U8(i < s.size() ? s[i] : 0);
	}
	void Zeros(size_t n) { b.insert(b.end(), n, 0); }
	size_t Size() const { return b.size(); }
	const std::vector<uint8_t> &Data() const { return b; }
	void Append(const Bytes &o) { b.insert(b.end(), o.b.begin(), o.b.end()); }

private:
	std::vector<uint8_t> b;
};

bool WriteXm(const std::string &path, const std::string &title, int bpm, int speed,
	const std::vector<Pattern> &patterns, const std::vector<int> &order, const std::vector<Instrument> &instruments) {
	Bytes f;
	f.Text("Extended Module: ", 17);
	f.Text(title, 20);
	f.U8(0x1A);
	f.Text("tavro_gen", 20);
	f.U16(0x0104);
	f.U32(276);
	f.U16(int(order.size()));
	f.U16(0); // restart position: the whole song loops
	f.U16(kChannels);
	f.U16(int(patterns.size()));
	f.U16(int(instruments.size()));
	f.U16(1); // linear frequency table
	f.U16(speed);
	f.U16(bpm);
	for (int i = 0; i < 256; i++)
		f.U8(i < int(order.size()) ? order[i] : 0);
	for (const Pattern &p : patterns) {
		Bytes d;
		for (const Cell &c : p.cells) {
			int flags = (c.note ? 1 : 0) | (c.instrument ? 2 : 0) | (c.volume ? 4 : 0) | (c.effect ? 8 : 0) |
						(c.param ? 16 : 0);
			d.U8(0x80 | flags);
			if (c.note)
				d.U8(c.note);
			if (c.instrument)
				d.U8(c.instrument);
			if (c.volume)
				d.U8(c.volume);
			if (c.effect)
				d.U8(c.effect);
			if (c.param)
				d.U8(c.param);
		}
		f.U32(9);
		f.U8(0);
		f.U16(kRows);
		f.U16(int(d.Size()));
		f.Append(d);
	}
	for (const Instrument &in : instruments) {
		size_t start = f.Size();
		f.U32(263);
		f.Text(in.name, 22);
		f.U8(0);
		f.U16(1);
		f.U32(40);
		f.Zeros(96); // every note plays sample 0
		for (int i = 0; i < 12; i++) {
			f.U16(i < int(in.env.size()) ? in.env[i].first : 0);
			f.U16(i < int(in.env.size()) ? in.env[i].second : 0);
		}
		f.Zeros(48); // no panning envelope
		f.U8(int(in.env.size()));
		f.U8(0);
		f.U8(in.sustain < 0 ? 0 : in.sustain);
		f.U8(0);
		f.U8(0);
		f.U8(0);
		f.U8(0);
		f.U8(0);
		f.U8(in.env.empty() ? 0 : (1 | (in.sustain >= 0 ? 2 : 0)));
		f.U8(0);
		f.Zeros(4); // no auto-vibrato
		f.U16(in.fadeout);
		f.Zeros(263 - (f.Size() - start));
		// Sample header: lengths in bytes (16-bit data); played so that C-4 runs the data at 44.1 kHz.
		f.U32(uint32_t(in.data.size() * 2));
		f.U32(uint32_t(in.loopStart * 2));
		f.U32(uint32_t(in.loopLength * 2));
		f.U8(in.volume);
		f.U8(uint8_t(int8_t(-27)));
		f.U8((in.loopLength > 0 ? 1 : 0) | 0x10);
		f.U8(128);
		f.U8(29);
		f.U8(0);
		f.Text(in.name, 22);
		int16_t old = 0;
		for (int16_t s : in.data) {
			f.U16(uint16_t(int16_t(s - old)));
			old = s;
		}
	}
	FILE *out = std::fopen(path.c_str(), "wb");
	if (!out) {
		std::fprintf(stderr, "cannot write %s\n", path.c_str());
		return false;
	}
	bool ok = std::fwrite(f.Data().data(), 1, f.Size(), out) == f.Size();
	return std::fclose(out) == 0 && ok;
}

// ---- Instruments --------------------------------------------------------------------------------

const float kC4 = 261.6256f;

std::vector<int16_t> ToPcm(const std::vector<float> &s, float peak) {
	std::vector<float> v = s;
	Normalise(v, peak);
	std::vector<int16_t> out(v.size());
	for (size_t i = 0; i < v.size(); i++)
		out[i] = int16_t(std::lround(v[i] * 32767.0f));
	return out;
}

// A looped tone at C4 from harmonic amplitudes; two voices with whole cycles in the loop, the
// second slightly sharp, so the loop joins without a click and the sound is a little chorused.
Instrument Looped(const std::string &name, const std::vector<float> &harmonics, float detune, float peak) {
	const int cycles = 120;
	int len = int(std::lround(kRate * cycles / kC4));
	std::vector<float> s(len, 0.0f);
	for (int i = 0; i < len; i++) {
		float ph = float(i) / len;
		float v = 0;
		for (size_t h = 0; h < harmonics.size(); h++) {
			v += harmonics[h] * std::sin(kTau * (h + 1) * cycles * ph);
			if (detune > 0)
				v += detune * harmonics[h] * std::sin(kTau * (h + 1) * (cycles + 1) * ph + 1.3f * h);
		}
		s[i] = v;
	}
	Instrument in;
	in.name = name;
	in.data = ToPcm(s, peak);
	in.loopStart = 0;
	in.loopLength = len;
	return in;
}

Instrument OneShot(const std::string &name, std::vector<float> s, float peak) {
	Fades(s, 0.0005f, 0.01f);
	Instrument in;
	in.name = name;
	in.data = ToPcm(s, peak);
	return in;
}

std::vector<Instrument> Instruments() {
	std::vector<Instrument> ins;
	// 1 lead: a hollow pulse.
	std::vector<float> pulse;
	for (int h = 1; h <= 18; h++)
		pulse.push_back(std::sin(float(M_PI) * h * 0.3f) / h * std::exp(-h / 14.0f));
	Instrument lead = Looped("lead", pulse, 0.5f, 0.6f);
	lead.env = {{0, 0}, {3, 64}, {12, 50}, {60, 40}};
	lead.sustain = 2;
	lead.fadeout = 0x300;
	ins.push_back(lead);
	// 2 pluck for arpeggios and counter-lines: decaying harmonics.
	{
		std::vector<float> s(size_t(kRate * 0.7f));
		for (size_t i = 0; i < s.size(); i++) {
			float t = i / kRate, v = 0;
			for (int h = 1; h <= 8; h++)
				v += std::sin(kTau * kC4 * h * t) * std::exp(-t * (4 + h * 3.0f)) / h;
			s[i] = v;
		}
		ins.push_back(OneShot("pluck", s, 0.6f));
	}
	// 3 bass: a rounded saw.
	std::vector<float> saw;
	for (int h = 1; h <= 16; h++)
		saw.push_back(1.0f / h * std::exp(-h / 6.0f));
	Instrument bass = Looped("bass", saw, 0.0f, 0.7f);
	bass.env = {{0, 0}, {1, 64}, {10, 52}, {40, 44}};
	bass.sustain = 2;
	bass.fadeout = 0x800;
	ins.push_back(bass);
	// 4 pad: a soft chorused saw that swells.
	std::vector<float> soft;
	for (int h = 1; h <= 10; h++)
		soft.push_back(1.0f / h * std::exp(-h / 3.0f));
	Instrument pad = Looped("pad", soft, 0.9f, 0.5f);
	pad.env = {{0, 0}, {16, 48}, {40, 40}};
	pad.sustain = 2;
	pad.fadeout = 0x200;
	ins.push_back(pad);
	Rng rng(77);
	// 5 kick.
	{
		std::vector<float> s(size_t(kRate * 0.35f));
		float ph = 0;
		for (size_t i = 0; i < s.size(); i++) {
			float t = i / kRate;
			ph += kTau * (45 + 110 * std::exp(-t / 0.04f)) / kRate;
			s[i] = std::sin(ph) * std::exp(-t / 0.12f) + 0.3f * rng.Sym() * std::exp(-t / 0.003f);
		}
		ins.push_back(OneShot("kick", s, 0.9f));
	}
	// 6 snare.
	{
		std::vector<float> s(size_t(kRate * 0.25f));
		Biquad hp(Biquad::HighPass, 1500, 0.7f);
		for (size_t i = 0; i < s.size(); i++) {
			float t = i / kRate;
			s[i] = 0.9f * hp.Run(rng.Sym()) * std::exp(-t / 0.06f) +
				   0.6f * std::sin(kTau * 190 * t) * std::exp(-t / 0.04f);
		}
		ins.push_back(OneShot("snare", s, 0.8f));
	}
	// 7 hi-hat.
	{
		std::vector<float> s(size_t(kRate * 0.08f));
		Biquad hp(Biquad::HighPass, 7000, 0.8f);
		for (size_t i = 0; i < s.size(); i++) {
			float t = i / kRate;
			s[i] = hp.Run(rng.Sym()) * std::exp(-t / 0.018f);
		}
		ins.push_back(OneShot("hihat", s, 0.6f));
	}
	return ins;
}

enum {
	kLead = 1,
	kPluck = 2,
	kBass = 3,
	kPad = 4,
	kKick = 5,
	kSnare = 6,
	kHat = 7
};
enum {
	chLead = 0,
	chArp = 1,
	chBass = 2,
	chPad = 3,
	chDrum = 6,
	chHat = 7
};

// ---- Composer -----------------------------------------------------------------------------------

struct Style {
	std::string file, title;
	int bpm, speed;
	int root; // pitch class of the key
	bool minor;
	std::vector<int> progA, progB, progC; // scale degrees, one chord per bar
	int bassKind, drumKind;
	uint32_t seed;
	std::string form; // one letter per pattern: I intro, A verse, B chorus, C bridge, E ending
};

int ScaleSemis(bool minor, int degree) {
	static const int major[7] = {0, 2, 4, 5, 7, 9, 11}, minorS[7] = {0, 2, 3, 5, 7, 8, 10};
	int oct = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
	int d = degree - oct * 7;
	return oct * 12 + (minor ? minorS[d] : major[d]);
}

uint8_t Note(const Style &s, int octave, int degree) {
	return uint8_t(1 + octave * 12 + s.root + ScaleSemis(s.minor, degree));
}

void Put(Pattern &p, int row, int ch, uint8_t note, int ins, int vol) {
	Cell &c = p.At(row, ch);
	c.note = note;
	c.instrument = uint8_t(ins);
	c.volume = uint8_t(0x10 + vol);
}

void Off(Pattern &p, int row, int ch) {
	if (row < kRows && p.At(row, ch).note == 0)
		p.At(row, ch).note = kKeyOff;
}

// Rhythms of one bar of melody: (row, length) pairs.
const std::vector<std::vector<std::pair<int, int>>> kRhythms = {
	{{0, 4}, {4, 2}, {6, 2}, {8, 4}, {12, 4}},
	{{0, 2}, {2, 2}, {4, 4}, {8, 2}, {10, 2}, {12, 4}},
	{{0, 6}, {6, 2}, {8, 6}, {14, 2}},
	{{0, 3}, {3, 3}, {6, 2}, {8, 4}, {12, 2}, {14, 2}},
	{{0, 2}, {4, 2}, {6, 2}, {8, 3}, {11, 3}, {14, 2}},
};

struct Phrase {
	std::vector<std::vector<std::pair<int, int>>> rhythm; // per bar
	std::vector<std::vector<int>> contour;                // per bar, steps relative to the chord
};

Phrase MakePhrase(Rng &rng) {
	Phrase ph;
	std::vector<std::pair<int, int>> r0 = kRhythms[rng.Int(int(kRhythms.size()))],
									 r1 = kRhythms[rng.Int(int(kRhythms.size()))];
	std::vector<int> c0, c1;
	// Steps of one or two scale degrees, up or down in equal measure.
	const int steps[4] = {-2, -1, 1, 2};
	for (size_t i = 0; i < r0.size(); i++)
		c0.push_back(steps[rng.Int(4)]);
	for (size_t i = 0; i < r1.size(); i++)
		c1.push_back(steps[rng.Int(4)]);
	// Bars 1 and 3 share rhythm and shape; bar 4 lands on a long note.
	ph.rhythm = {r0, r1, r0, {{0, 4}, {4, 4}, {8, 8}}};
	ph.contour = {c0, c1, c0, {1, -1, 0}};
	return ph;
}

// Writes a four-bar phrase over the chords. The line moves by the phrase's steps, turns back at the
// edges of its range, and lands on chord tones on the strong beats.
void Melody(
	const Style &s, Pattern &p, const std::vector<int> &prog, const Phrase &ph, int octave, int vol, int start) {
	const int lo = -2, hi = 7;
	int prev = start;
	for (int bar = 0; bar < 4; bar++) {
		int chord = prog[bar];
		const auto &rh = ph.rhythm[bar];
		for (size_t i = 0; i < rh.size(); i++) {
			int row = bar * 16 + rh[i].first;
			int step = i < ph.contour[bar].size() ? ph.contour[bar][i] : 1;
			int target = prev + step;
			if (target > hi || target < lo)
				target = prev - step;
			int degree = target;
			if (rh[i].first % 8 == 0) {
				int bestDist = 100;
				for (int o = -7; o <= 7; o += 7)
					for (int t : {0, 2, 4}) {
						int d = chord + t + o;
						int dist = std::abs(d - target);
						if (d >= lo && d <= hi && dist < bestDist)
							degree = d, bestDist = dist;
					}
			}
			if (bar == 3 && i == rh.size() - 1)
				degree = prev > 3 ? 7 : 0; // the phrase comes home
			Put(p, row, chLead, Note(s, octave, degree), kLead, vol);
			Off(p, row + rh[i].second, chLead);
			prev = degree;
		}
	}
}

void Chords(const Style &s, Pattern &p, const std::vector<int> &prog, int vol, bool arp) {
	for (int bar = 0; bar < 4; bar++) {
		int chord = prog[bar];
		for (int t = 0; t < 3; t++)
			Put(p, bar * 16, chPad + t, Note(s, 4, chord + t * 2 - (chord > 3 ? 7 : 0)), kPad, vol);
		if (arp)
			for (int r = 0; r < 16; r += 2) {
				static const int shape[8] = {0, 2, 4, 7, 4, 2, 4, 7};
				Put(p, bar * 16 + r, chArp, Note(s, 5, chord + shape[r / 2] - (chord > 3 ? 7 : 0)), kPluck,
					r % 4 == 0 ? 30 : 22);
			}
	}
}

void Bass(const Style &s, Pattern &p, const std::vector<int> &prog) {
	for (int bar = 0; bar < 4; bar++) {
		int c = prog[bar] - (prog[bar] > 3 ? 7 : 0);
		int base = bar * 16;
		if (s.bassKind == 0) { // bouncing: root, root, fifth, octave
			Put(p, base, chBass, Note(s, 2, c), kBass, 56);
			Off(p, base + 4, chBass);
			Put(p, base + 6, chBass, Note(s, 2, c), kBass, 44);
			Put(p, base + 8, chBass, Note(s, 2, c + 4), kBass, 52);
			Off(p, base + 11, chBass);
			Put(p, base + 12, chBass, Note(s, 3, c), kBass, 48);
			Put(p, base + 14, chBass, Note(s, 2, c + 4), kBass, 40);
		} else if (s.bassKind == 1) { // driving eighths
			for (int r = 0; r < 16; r += 2)
				Put(p, base + r, chBass, Note(s, r == 6 || r == 14 ? 3 : 2, c), kBass, r % 4 == 0 ? 56 : 44);
		} else { // long notes
			Put(p, base, chBass, Note(s, 2, c), kBass, 54);
			Put(p, base + 10, chBass, Note(s, 2, c + 4), kBass, 44);
		}
	}
}

void Drums(const Style &s, Pattern &p, bool full, bool fill) {
	for (int bar = 0; bar < 4; bar++) {
		int base = bar * 16;
		bool lastBar = bar == 3 && fill;
		for (int r = 0; r < 16; r++) {
			int row = base + r;
			bool kick = false, snare = false;
			if (s.drumKind == 0) {
				kick = r == 0 || r == 8 || r == 10;
				snare = r == 4 || r == 12;
			} else if (s.drumKind == 1) {
				kick = r == 0 || r == 6 || r == 8 || r == 11;
				snare = r == 4 || r == 12;
			} else {
				kick = r == 0 || r == 10;
				snare = r == 8;
			}
			if (!full)
				snare = false, kick = kick && r == 0;
			if (lastBar && r >= 12)
				snare = true, kick = false;
			if (kick)
				Put(p, row, chDrum, 49, kKick, 60);
			else if (snare)
				Put(p, row, chDrum, 49, kSnare, lastBar && r >= 12 ? 30 + (r - 12) * 8 : 50);
			int hatEvery = s.drumKind == 1 ? 1 : (s.drumKind == 0 ? 2 : 4);
			if (r % hatEvery == 0)
				Put(p, row, chHat, 61, kHat, r % 4 == 0 ? 30 : 18);
		}
	}
}

bool Compose(const Style &s, const std::vector<Instrument> &ins) {
	Rng rng(s.seed);
	Phrase verse = MakePhrase(rng), chorus = MakePhrase(rng), bridge = MakePhrase(rng);
	std::vector<Pattern> patterns;
	std::vector<int> order;
	int count[5] = {};
	for (size_t i = 0; i < s.form.size(); i++) {
		char k = s.form[i];
		Pattern p;
		bool last = i + 1 == s.form.size() || s.form[i + 1] != k;
		switch (k) {
		case 'I':
			Chords(s, p, s.progA, 22, false);
			Bass(s, p, s.progA);
			Drums(s, p, false, true);
			break;
		case 'A': {
			Phrase ph = verse;
			if (count[1]++ % 2 == 1) // the second verse answers the first with a new bar 2
				ph.rhythm[1] = kRhythms[(s.seed + count[1]) % kRhythms.size()];
			Melody(s, p, s.progA, ph, 4, 46, 2);
			Chords(s, p, s.progA, 20, false);
			Bass(s, p, s.progA);
			Drums(s, p, true, last);
			break;
		}
		case 'B':
			Melody(s, p, s.progB, chorus, 4, 44, 4);
			Chords(s, p, s.progB, 22, true);
			Bass(s, p, s.progB);
			Drums(s, p, true, last);
			break;
		case 'C':
			Melody(s, p, s.progC, bridge, 4, 40, 0);
			Chords(s, p, s.progC, 26, false);
			Bass(s, p, s.progC);
			Drums(s, p, false, true);
			break;
		default: // ending: the verse chords with the arpeggio, leading back to the start
			Chords(s, p, s.progA, 22, true);
			Bass(s, p, s.progA);
			Drums(s, p, true, true);
			break;
		}
		order.push_back(int(patterns.size()));
		patterns.push_back(p);
	}
	return WriteXm(OutPath("sounds/" + s.file), s.title, s.bpm, s.speed, patterns, order, ins);
}

} // namespace

bool MakeMusic() {
	std::vector<Instrument> ins = Instruments();
	// Menu: bright and bouncy, C major. 10 patterns of 7.68 s.
	Style menu{"tavro_menu.xm", "Tavro Menu", 125, 6, 0, false, {0, 4, 5, 3}, {3, 4, 0, 5}, {5, 3, 1, 4}, 0, 0, 1234,
		"IAABBCABBE"};
	// Match: driving, A minor, faster. 10 patterns of 6.86 s.
	Style match{"tavro_ingame.xm", "Tavro Match", 140, 6, 9, true, {0, 5, 2, 6}, {5, 6, 0, 0}, {3, 4, 5, 6}, 1, 1, 4321,
		"IAABBACBBE"};
	// Credits: relaxed, F major. 8 patterns of 9.6 s.
	Style credits{"tavro_credits.xm", "Tavro Credits", 100, 6, 5, false, {0, 5, 3, 4}, {3, 0, 4, 5}, {1, 4, 0, 3}, 2, 2,
		777, "IAABCABE"};
	return Compose(menu, ins) && Compose(match, ins) && Compose(credits, ins);
}
