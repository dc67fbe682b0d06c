// The two arenas: a lit field model, and day and night models of the surroundings (drawn unlit, so
// their light is painted into the textures). Both fields sit on a raised plateau of a floating island;
// the torches stand on the island's terrace 5 below the field, the drift particles fall past its front
// edge near (91, -95).
#include "Gen.h"
#include "Model.h"

#include <cmath>

namespace {

const Rgba kInk = Rgba::Hex(0x1A1020);
const float kBarrierH = 3.2f, kBarrierT = 2.5f, kTerrace = -5.0f, kGoalDepth = 7.0f;
const float kIslandX = 96.0f, kIslandY = 88.0f;

struct Theme {
	std::string name;
	std::vector<Pt> outline; // clockwise seen from above: the field is to the right of each wall
	int goal1, goal2;
	float goalHalf;
	// Colours of the surroundings by day; the night versions are derived.
	Rgba barrierA, barrierB, top, side, ground, groundB, cliff, decoLight, decoDark;
	Rgba floorA, floorB, lines;
	bool hexFloor;
};

struct Box {
	float x0, y0, x1, y1;
};

Box Bounds(const std::vector<Pt> &o) {
	Box b{1e9f, 1e9f, -1e9f, -1e9f};
	for (const Pt &p : o) {
		b.x0 = std::min(b.x0, p.x);
		b.y0 = std::min(b.y0, p.y);
		b.x1 = std::max(b.x1, p.x);
		b.y1 = std::max(b.y1, p.y);
	}
	return b;
}

Rgba Night(Rgba c, bool night) {
	if (!night)
		return c;
	// Moonlit: darker, bluer, a little desaturated.
	float l = 0.3f * c.r + 0.55f * c.g + 0.15f * c.b;
	Rgba d(c.r * 0.35f + l * 0.1f, c.g * 0.38f + l * 0.1f, c.b * 0.55f + l * 0.15f + 0.06f, c.a);
	return d;
}

// Rows of the surroundings atlas (256 x 256): each band spans the full width so u may repeat.
struct Band {
	float v0, v1;
};
// Half a texel inside each band of the atlas, so filtering does not bleed into the next band.
constexpr float Row(float r) {
	return 1 - r / 256.0f;
}
const Band kInner{Row(0.5f), Row(63.5f)}, kTop{Row(64.5f), Row(95.5f)};
const Band kOuter{Row(96.5f), Row(159.5f)}, kDecoLight{Row(160.5f), Row(207.5f)};
const Band kDecoDark{Row(208.5f), Row(255.5f)};
const Band kNetBand{kBarrierH / 8, 0};

// Surfaces that repeat a texture are cut at every whole repeat along u, each piece mapping into 0..1:
// the pieces stay small, and the atlas bands repeat only across.
Mesh Quad4(const std::string &mat, V3 a, V3 b, V3 c, V3 d, float u0, float u1, Band band) {
	Mesh m;
	m.material = mat;
	m.smooth = false;
	auto lerp = [](V3 p, V3 q, float t) {
		return V3{p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t, p.z + (q.z - p.z) * t};
	};
	float span = u1 - u0;
	for (float k = std::floor(u0); k < u1; k += 1) {
		float s0 = std::max(u0, k), s1 = std::min(u1, k + 1);
		if (s1 - s0 < 1e-4f)
			continue;
		float t0 = (s0 - u0) / span, t1 = (s1 - u0) / span;
		float e0 = s0 - k, e1 = s1 - k;
		int i0 = m.Add(lerp(a, b, t0), e0, band.v1), i1 = m.Add(lerp(a, b, t1), e1, band.v1);
		int i2 = m.Add(lerp(d, c, t1), e1, band.v0), i3 = m.Add(lerp(d, c, t0), e0, band.v0);
		m.Quad(i0, i1, i2, i3);
	}
	return m;
}

// A vertical face from p to q (faces the right-hand side of the walk), z0..z1, with atlas band.
Mesh Face(const std::string &mat, Pt p, Pt q, float z0, float z1, Band band, float uPerUnit) {
	float len = std::hypot(q.x - p.x, q.y - p.y);
	return Quad4(mat, {p.x, p.y, z0}, {q.x, q.y, z0}, {q.x, q.y, z1}, {p.x, p.y, z1}, 0, len * uPerUnit, band);
}

// --- Field (lit) -------------------------------------------------------------------------------

bool FloorTexture(const Theme &t, const std::string &file) {
	const int S = 512;
	Box b = Bounds(t.outline);
	float sx = S / (b.x1 - b.x0), sy = S / (b.y1 - b.y0);
	auto X = [&](float x) { return (x - b.x0) * sx; };
	auto Y = [&](float y) { return (b.y1 - y) * sy; }; // image rows go down, y goes up
	Canvas c(S, S, t.floorA);
	for (int py = 0; py < S; py++)
		for (int px = 0; px < S; px++) {
			float x = b.x0 + (px + 0.5f) / sx, y = b.y1 - (py + 0.5f) / sy;
			float k;
			if (t.hexFloor) {
				// Hexagonal tiles of about 6 units.
				float q = x / 6.0f, r = y / 6.0f * 1.1547f;
				float cx = std::round(q - std::fmod(std::round(r), 2.0f) * 0.5f), cy = std::round(r);
				float dx = q - cx - std::fmod(cy, 2.0f) * 0.5f, dy = (r - cy) * 0.866f;
				k = std::max(std::fabs(dx), std::fabs(dx) * 0.5f + std::fabs(dy) * 0.866f);
				k = Smooth(0.42f, 0.5f, k);
			} else {
				// Triangles: three families of lines.
				float a = std::fabs(std::fmod(y / 7.0f + 100, 1.0f) - 0.5f);
				float bb = std::fabs(std::fmod((y * 0.5f + x * 0.866f) / 7.0f + 100, 1.0f) - 0.5f);
				float cc = std::fabs(std::fmod((y * 0.5f - x * 0.866f) / 7.0f + 100, 1.0f) - 0.5f);
				k = Smooth(0.44f, 0.5f, std::max(a, std::max(bb, cc)));
			}
			// Quiet tile lines keep the discs and the ball the brightest things on the field.
			float shade = 0.5f + 0.5f * std::sin(x * 0.05f) * std::cos(y * 0.07f);
			Rgba col = t.floorA.Mix(t.floorB, 0.25f * shade).Mix(t.floorB, k * 0.5f);
			c.Set(px, py, col);
		}
	Rgba line = t.lines;
	float lw = 0.7f * sx;
	c.Line(X(0), Y(b.y0), X(0), Y(b.y1), lw, line);
	c.Ring(X(0), Y(0), 12 * sx, lw, line);
	c.Circle(X(0), Y(0), 1.3f * sx, line);
	for (int g = 0; g < 2; g++) {
		int w = g == 0 ? t.goal1 : t.goal2;
		const Pt &p = t.outline[w];
		float gx = p.x, dir = g == 0 ? 1.0f : -1.0f;
		// Goal area: a half disc in front of the mouth, tinted with the defending side's colour.
		Rgba tint = g == 0 ? Rgba::Hex(0xFF5A1C, 0.35f) : Rgba::Hex(0x2E6CFF, 0.35f);
		c.Fill(
			X(gx - 25), Y(25), X(gx + 25), Y(-25),
			[&](float px, float py) {
				return std::max(Canvas::SdCircle(px, py, X(gx), Y(0), 18 * sx), dir * (X(gx) - px));
			},
			tint);
		c.Arc(X(gx), Y(0), 18 * sx, dir > 0 ? -float(M_PI) / 2 : float(M_PI) / 2,
			dir > 0 ? float(M_PI) / 2 : 3 * float(M_PI) / 2, lw, line);
		c.Circle(X(gx + dir * 30), Y(0), 1.0f * sx, line);
	}
	return c.SaveBmp24(OutPath("arena/" + file), false);
}

bool NetTexture(const std::string &file) {
	Canvas c(64, 64, Rgba(1, 1, 1, 0));
	for (int i = 0; i <= 64; i += 8) {
		c.Line(i, 0, i, 64, 1.6f, Rgba(1, 1, 1, 0.9f));
		c.Line(0, i, 64, i, 1.6f, Rgba(1, 1, 1, 0.9f));
	}
	return c.SaveBmp32(OutPath("arena/" + file));
}

bool Field(const Theme &t) {
	const std::string floorTex = t.name + "_floor.bmp";
	if (!FloorTexture(t, floorTex) || !NetTexture("net.bmp"))
		return false;
	Box b = Bounds(t.outline);
	auto UV = [&](float x, float y) { return std::make_pair((x - b.x0) / (b.x1 - b.x0), (y - b.y0) / (b.y1 - b.y0)); };
	// The floor: the convex outline cut into rings and spokes, fine enough for the lights to shade it.
	Mesh floor;
	floor.material = "floor";
	floor.smooth = true;
	const int rings = 8, sub = 6;
	int n = int(t.outline.size());
	std::vector<Pt> edge;
	for (int i = 0; i < n; i++)
		for (int s = 0; s < sub; s++) {
			const Pt &a = t.outline[i], &c = t.outline[(i + 1) % n];
			float k = float(s) / sub;
			edge.push_back({a.x + (c.x - a.x) * k, a.y + (c.y - a.y) * k});
		}
	int m = int(edge.size());
	auto uvc = UV(0, 0);
	int centre = floor.Add({0, 0, 0}, uvc.first, uvc.second);
	for (int r = 1; r <= rings; r++)
		for (int i = 0; i < m; i++) {
			float k = float(r) / rings;
			float x = edge[i].x * k, y = edge[i].y * k;
			auto uv = UV(x, y);
			floor.Add({x, y, 0}, uv.first, uv.second);
		}
	auto idx = [&](int r, int i) { return r == 0 ? centre : 1 + (r - 1) * m + (i % m); };
	// The outline runs clockwise, so the ring order is reversed for upward faces.
	for (int i = 0; i < m; i++)
		floor.Tri(idx(0, 0), idx(1, i + 1), idx(1, i));
	for (int r = 1; r < rings; r++)
		for (int i = 0; i < m; i++)
			floor.Quad(idx(r, i), idx(r, i + 1), idx(r + 1, i + 1), idx(r + 1, i));
	Model model;
	Material mf;
	mf.name = "floor";
	mf.diffuse = Rgba(1, 1, 1);
	mf.ambient = Rgba(0.9f, 0.9f, 0.9f);
	mf.texture = floorTex;
	model.AddMaterial(mf);
	model.AddMesh(floor);
	// Goal boxes behind the two mouths: floor, posts and a net at the back.
	Material post{"post", Rgba(0.9f, 0.9f, 0.9f), Rgba(1, 1, 1), "", false};
	Material net{"net", Rgba(1, 1, 1), Rgba(1, 1, 1), "net.bmp", false};
	Material goalFloor{"goalfloor", Rgba::Hex(0x2A2A3A), Rgba::Hex(0x3A3A4A), "", false};
	model.AddMaterial(post);
	model.AddMaterial(net);
	model.AddMaterial(goalFloor);
	Mesh posts, nets, floors;
	posts.material = "post";
	nets.material = "net";
	floors.material = "goalfloor";
	for (int g = 0; g < 2; g++) {
		const Pt &p = t.outline[g == 0 ? t.goal1 : t.goal2];
		float gx = p.x, out = g == 0 ? -1.0f : 1.0f, back = gx + out * kGoalDepth, h = t.goalHalf;
		floors.Append(FlatQuad("goalfloor", std::min(gx, back), -h, std::max(gx, back), h, 0.0f));
		for (float y : {-h, h}) {
			Mesh c = Cylinder("post", 0.5f, 0.5f, 0, kBarrierH + 0.6f, 8);
			for (V3 &v : c.pts)
				v.x += gx, v.y += y;
			posts.Append(c);
			// Side nets, both faces.
			nets.Append(Face("net", {gx, y}, {back, y}, 0, kBarrierH, kNetBand, 1 / 8.0f));
			nets.Append(Face("net", {back, y}, {gx, y}, 0, kBarrierH, kNetBand, 1 / 8.0f));
		}
		Mesh bar = Cylinder("post", 0.35f, 0.35f, -h, h, 8);
		for (V3 &v : bar.pts) // lay the bar along y at the top of the posts
			v = {v.x + gx, v.z, -v.y + kBarrierH + 0.6f};
		posts.Append(bar);
		nets.Append(Face("net", {back, -h}, {back, h}, 0, kBarrierH, kNetBand, 1 / 8.0f));
		nets.Append(Face("net", {back, h}, {back, -h}, 0, kBarrierH, kNetBand, 1 / 8.0f));
		nets.Append(Quad4("net", {std::min(gx, back), -h, kBarrierH}, {std::min(gx, back), h, kBarrierH},
			{std::max(gx, back), h, kBarrierH}, {std::max(gx, back), -h, kBarrierH}, 0, 2 * h / 8,
			Band{kGoalDepth / 8, 0}));
	}
	model.AddMesh(floors);
	model.AddMesh(posts);
	model.AddMesh(nets);
	return model.Save(OutPath("arena/" + t.name + "_field.3ds"));
}

// --- Surroundings (unlit, one model by day and one by night) -------------------------------------

bool AtlasTexture(const Theme &t, bool night, const std::string &file) {
	Canvas c(256, 256);
	auto N = [&](Rgba x) { return Night(x, night); };
	for (int y = 0; y < 256; y++)
		for (int x = 0; x < 256; x++) {
			Rgba col;
			if (y < 64) { // barrier inner face: bold diagonal stripes with a dark top and bottom trim
				bool stripe = int((x + y) / 16) % 2 == 0;
				col = N(stripe ? t.barrierA : t.barrierB);
				if (y < 5 || y > 58)
					col = N(kInk.Mix(Rgba(1, 1, 1), 0.15f));
				if (night && (y == 6 || y == 7 || y == 56 || y == 57))
					col = t.barrierA.Mix(Rgba(1, 1, 1), 0.3f); // glowing trim
			} else if (y < 96) {
				col = N(t.top.Mix(Rgba(1, 1, 1), (y < 70) ? 0.3f : 0.0f));
			} else if (y < 160) { // plateau side: blocks
				bool mortar = (y - 96) % 16 < 2 || ((x + ((y - 96) / 16 % 2) * 16) % 32) < 2;
				col = N(mortar ? t.side.Scale(0.6f) : t.side.Mix(Rgba(1, 1, 1), 0.08f * ((x / 32 + y / 16) % 3)));
			} else if (y < 208) {
				col = N(t.decoLight.Mix(Rgba(1, 1, 1), 0.4f * (1 - (y - 160) / 48.0f)));
				if (night)
					col = t.decoLight.Mix(Rgba(1, 1, 1), 0.2f).Scale(0.9f); // crystals glow at night
			} else {
				col = N(t.decoDark.Mix(kInk, 0.3f * (y - 208) / 48.0f));
				if (night)
					col = t.decoDark.Scale(0.7f);
			}
			c.Set(x, y, col);
		}
	return c.SaveBmp24(OutPath("arena/" + file), false);
}

bool GroundTexture(const Theme &t, bool night, const std::string &file, bool cliff) {
	Canvas c(128, 128);
	Rng rng(cliff ? 31 : 17);
	Rgba a = Night(cliff ? t.cliff : t.ground, night), b = Night(cliff ? t.cliff.Scale(0.75f) : t.groundB, night);
	for (int y = 0; y < 128; y++)
		for (int x = 0; x < 128; x++) {
			// Whole periods across the tile, so the repeats meet without seams.
			const float k = 2 * float(M_PI) / 128;
			float n = 0.5f + 0.25f * std::sin(x * k * 2) * std::cos(y * k * 3) + 0.25f * std::sin((x + y) * k * 4);
			if (cliff)
				n = 0.5f + 0.5f * std::sin(y * k * 6 + std::sin(x * k * 2) * 1.5f);
			c.Set(x, y, a.Mix(b, n * 0.6f));
		}
	for (int i = 0; i < 60; i++) { // tufts or pebbles
		float x = rng.Uni() * 128, y = rng.Uni() * 128;
		if (x < 4 || y < 4 || x > 124 || y > 124)
			continue;
		c.Circle(x, y, 1.5f + rng.Uni() * 2, b.Scale(0.85f));
	}
	return c.SaveBmp24(OutPath("arena/" + file), false);
}

Mesh Spire(const std::string &mat, float x, float y, float r, float h, int sides, float rot, bool sunSide) {
	// A pointed prism; faces towards -y and +x use the light band, the others the dark band.
	Mesh m;
	m.material = mat;
	m.smooth = false;
	for (int i = 0; i < sides; i++) {
		float a0 = rot + 2 * float(M_PI) * i / sides, a1 = rot + 2 * float(M_PI) * (i + 1) / sides;
		float am = (a0 + a1) / 2;
		bool light = sunSide ? (std::cos(am) * 0.6f - std::sin(am) * 0.8f) > -0.2f : (i % 2 == 0);
		Band band = light ? kDecoLight : kDecoDark;
		V3 p0{x + r * std::cos(a0), y + r * std::sin(a0), kTerrace},
			p1{x + r * std::cos(a1), y + r * std::sin(a1), kTerrace};
		V3 tip{x, y, kTerrace + h};
		int i0 = m.Add(p0, 0.1f, band.v1), i1 = m.Add(p1, 0.9f, band.v1), i2 = m.Add(tip, 0.5f, band.v0);
		m.Tri(i0, i1, i2);
	}
	return m;
}

bool Surroundings(const Theme &t, bool night) {
	const std::string tag = t.name + (night ? "_night" : "_day");
	const std::string atlas = tag + ".bmp", ground = tag + "_ground.bmp", cliff = tag + "_cliff.bmp";
	if (!AtlasTexture(t, night, atlas) || !GroundTexture(t, night, ground, false) ||
		!GroundTexture(t, night, cliff, true))
		return false;
	const std::vector<Pt> &P = t.outline;
	int n = int(P.size());
	// Inward normals and the outer outline of the barriers (mitred offset).
	std::vector<Pt> nrm(n), Q(n);
	for (int i = 0; i < n; i++) {
		const Pt &a = P[i], &b = P[(i + 1) % n];
		float l = std::hypot(b.x - a.x, b.y - a.y);
		nrm[i] = {(b.y - a.y) / l, -(b.x - a.x) / l};
	}
	for (int i = 0; i < n; i++) {
		const Pt &n0 = nrm[(i + n - 1) % n], &n1 = nrm[i];
		float k = kBarrierT / (1 + n0.x * n1.x + n0.y * n1.y);
		Q[i] = {P[i].x - (n0.x + n1.x) * k, P[i].y - (n0.y + n1.y) * k};
	}
	Mesh walls;
	walls.material = "atlas";
	const float u = 1.0f / 16.0f;
	for (int i = 0; i < n; i++) {
		int j = (i + 1) % n;
		bool goal = i == t.goal1 || i == t.goal2;
		// Pieces of the wall: all of it, or the two parts beside the goal mouth.
		std::vector<std::pair<float, float>> parts; // fractions along the wall
		if (goal) {
			float y0 = P[i].y, dy = P[j].y - P[i].y;
			float fa = (-t.goalHalf - y0) / dy, fb = (t.goalHalf - y0) / dy;
			if (fa > fb)
				std::swap(fa, fb);
			parts = {{0.0f, fa}, {fb, 1.0f}};
		} else {
			parts = {{0.0f, 1.0f}};
		}
		for (auto [f0, f1] : parts) {
			Pt a{P[i].x + (P[j].x - P[i].x) * f0, P[i].y + (P[j].y - P[i].y) * f0};
			Pt b{P[i].x + (P[j].x - P[i].x) * f1, P[i].y + (P[j].y - P[i].y) * f1};
			Pt qa{Q[i].x + (Q[j].x - Q[i].x) * f0, Q[i].y + (Q[j].y - Q[i].y) * f0};
			Pt qb{Q[i].x + (Q[j].x - Q[i].x) * f1, Q[i].y + (Q[j].y - Q[i].y) * f1};
			if (goal) { // the outer line of a wall along y keeps the same y as the inner one
				qa.y = a.y;
				qb.y = b.y;
			}
			walls.Append(Face("atlas", a, b, 0, kBarrierH, kInner, u));
			walls.Append(Quad4("atlas", {a.x, a.y, kBarrierH}, {b.x, b.y, kBarrierH}, {qb.x, qb.y, kBarrierH},
				{qa.x, qa.y, kBarrierH}, 0, 1, kTop));
			walls.Append(Face("atlas", qb, qa, kTerrace, kBarrierH, kOuter, u));
			if (goal) { // end caps at the mouth
				if (f0 > 0)
					walls.Append(Face("atlas", qa, a, kTerrace, kBarrierH, kOuter, u));
				if (f1 < 1)
					walls.Append(Face("atlas", b, qb, kTerrace, kBarrierH, kOuter, u));
			}
		}
		if (goal) { // plateau side around the goal box
			float gx = P[i].x, out = gx < 0 ? -1.0f : 1.0f, back = gx + out * kGoalDepth, h = t.goalHalf;
			Pt c0{gx + out * kBarrierT, -h}, c1{back, -h}, c2{back, h}, c3{gx + out * kBarrierT, h};
			if (out < 0) {
				walls.Append(Face("atlas", c3, c2, kTerrace, 0, kOuter, u));
				walls.Append(Face("atlas", c2, c1, kTerrace, 0, kOuter, u));
				walls.Append(Face("atlas", c1, c0, kTerrace, 0, kOuter, u));
			} else {
				walls.Append(Face("atlas", c0, c1, kTerrace, 0, kOuter, u));
				walls.Append(Face("atlas", c1, c2, kTerrace, 0, kOuter, u));
				walls.Append(Face("atlas", c2, c3, kTerrace, 0, kOuter, u));
			}
		}
	}
	// Decorations on the terrace, away from the torches at (+-80, +-60) and the falling particles.
	const float spots[][2] = {
		{-88, -20}, {-88, 25}, {88, 20}, {-40, 72}, {0, 78}, {45, 74}, {-60, -75}, {20, -76}, {-88, -70}, {88, -20}};
	Rng rng(t.name == "xeno" ? 5 : 9);
	for (auto &s : spots) {
		float r = 3 + rng.Uni() * 2.5f, h = (t.hexFloor ? 12 : 8) + rng.Uni() * 8;
		walls.Append(Spire("atlas", s[0], s[1], r, h, t.hexFloor ? 5 : 4, rng.Uni() * 3, true));
		if (t.hexFloor && rng.Uni() > 0.4f) // crystals grow in clusters
			walls.Append(Spire("atlas", s[0] + r * 1.1f, s[1] + r * 0.5f, r * 0.6f, h * 0.6f, 5, rng.Uni() * 3, true));
	}
	Mesh terrace;
	terrace.material = "ground";
	const int tilesX = 12, tilesY = 11;
	for (int j = 0; j < tilesY; j++)
		for (int i = 0; i < tilesX; i++) {
			float x0 = -kIslandX + 2 * kIslandX * i / tilesX, x1 = -kIslandX + 2 * kIslandX * (i + 1) / tilesX;
			float y0 = -kIslandY + 2 * kIslandY * j / tilesY, y1 = -kIslandY + 2 * kIslandY * (j + 1) / tilesY;
			terrace.Append(FlatQuad("ground", x0, y0, x1, y1, kTerrace));
		}
	Mesh cliffs;
	cliffs.material = "cliff";
	const Pt corners[4] = {{-kIslandX, -kIslandY}, {-kIslandX, kIslandY}, {kIslandX, kIslandY}, {kIslandX, -kIslandY}};
	for (int i = 0; i < 4; i++) { // walk clockwise: the right-hand side of each edge is inside, so walk back
		const Pt &a = corners[i], &b = corners[(i + 1) % 4];
		cliffs.Append(Face("cliff", b, a, kTerrace - 16, kTerrace, Band{1, 0}, 1 / 24.0f));
		// Underside: a rocky cone down to a point far below.
		Mesh under;
		under.material = "cliff";
		under.smooth = false;
		int i0 = under.Add({b.x, b.y, kTerrace - 16}, 0, 1), i1 = under.Add({a.x, a.y, kTerrace - 16}, 1, 1);
		int i2 = under.Add({0, 0, kTerrace - 75}, 0.5f, 0);
		under.Tri(i1, i0, i2);
		cliffs.Append(under);
	}
	Model m;
	m.AddMaterial(Material{"atlas", Rgba(1, 1, 1), Rgba(1, 1, 1), atlas, false});
	m.AddMaterial(Material{"ground", Rgba(1, 1, 1), Rgba(1, 1, 1), ground, false});
	m.AddMaterial(Material{"cliff", Rgba(1, 1, 1), Rgba(1, 1, 1), cliff, false});
	m.AddMesh(walls);
	m.AddMesh(terrace);
	m.AddMesh(cliffs);
	return m.Save(OutPath("arena/" + tag + ".3ds"));
}

} // namespace

bool MakeArenas() {
	Theme xeno;
	xeno.name = "xeno";
	xeno.outline = {{-70, -30}, {-70, 30}, {-60, 42}, {60, 42}, {70, 30}, {70, -30}, {60, -42}, {-60, -42}};
	xeno.goal1 = 0;
	xeno.goal2 = 4;
	xeno.goalHalf = 10;
	xeno.barrierA = Rgba::Hex(0x39E07A);
	xeno.barrierB = Rgba::Hex(0x1E6E8A);
	xeno.top = Rgba::Hex(0xD8F0FF);
	xeno.side = Rgba::Hex(0x5A6AA8);
	xeno.ground = Rgba::Hex(0x6ACB4A);
	xeno.groundB = Rgba::Hex(0x3E9E3A);
	xeno.cliff = Rgba::Hex(0x8A6A5A);
	xeno.decoLight = Rgba::Hex(0x9AF0FF);
	xeno.decoDark = Rgba::Hex(0x7A3FC8);
	xeno.floorA = Rgba::Hex(0x2FA7B8);
	xeno.floorB = Rgba::Hex(0x1E6E8A);
	xeno.lines = Rgba::Hex(0xF4FFF0);
	xeno.hexFloor = true;

	Theme tris;
	tris.name = "tris";
	tris.outline = {{-66, -24}, {-66, 24}, {0, 50}, {66, 24}, {66, -24}, {0, -50}};
	tris.goal1 = 0;
	tris.goal2 = 3;
	tris.goalHalf = 12;
	tris.barrierA = Rgba::Hex(0xFF3F8A);
	tris.barrierB = Rgba::Hex(0xFFD23A);
	tris.top = Rgba::Hex(0xFFF6E0);
	tris.side = Rgba::Hex(0xC86A3A);
	tris.ground = Rgba::Hex(0xE8C070);
	tris.groundB = Rgba::Hex(0xD09A50);
	tris.cliff = Rgba::Hex(0xB0603A);
	tris.decoLight = Rgba::Hex(0xFFB03A);
	tris.decoDark = Rgba::Hex(0xC8386A);
	tris.floorA = Rgba::Hex(0xF0A040);
	tris.floorB = Rgba::Hex(0xE0603A);
	tris.lines = Rgba::Hex(0xFFFFFF);
	tris.hexFloor = false;

	for (const Theme *t : {&xeno, &tris})
		if (!Field(*t) || !Surroundings(*t, false) || !Surroundings(*t, true))
			return false;
	return true;
}
