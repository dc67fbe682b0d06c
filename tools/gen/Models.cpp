// Models of data/misc with their textures: ball, disc, aim line, shadows, sky billboards and the torch,
// plus the particle textures.
#include "Gen.h"
#include "Model.h"

#include <cmath>

namespace {

const Rgba kWhite(1, 1, 1);

Material Mat(const std::string &name, Rgba colour, const std::string &texture = "", bool twoSided = false) {
	Material m;
	m.name = name;
	m.diffuse = colour;
	m.ambient = colour.Scale(0.8f);
	m.texture = texture;
	m.twoSided = twoSided;
	return m;
}

bool BallTexture() {
	// A beach ball: six coloured segments between white caps.
	const Rgba seg[6] = {
		Rgba::Hex(0xE8262A), kWhite, Rgba::Hex(0x2E6CFF), Rgba::Hex(0xFFD23A), kWhite, Rgba::Hex(0x2EBE4A)};
	Canvas c(256, 128);
	for (int y = 0; y < 128; y++)
		for (int x = 0; x < 256; x++) {
			float lat = (y + 0.5f) / 128.0f; // 0 top, 1 bottom
			float lon = (x + 0.5f) / 256.0f * 6.0f;
			int s = int(lon) % 6;
			float edge = std::fabs(lon - std::floor(lon) - 0.5f) * 2; // 1 at segment borders
			Rgba col = seg[s];
			if (edge > 0.94f)
				col = col.Mix(Rgba::Hex(0x1A1020), 0.35f);
			float cap = std::min(lat, 1 - lat);
			if (cap < 0.1f)
				col = cap < 0.085f ? kWhite : Rgba::Hex(0x1A1020).Mix(kWhite, 0.5f);
			c.Set(x, y, col);
		}
	return c.SaveBmp24(OutPath("misc/ball.bmp"), false);
}

bool Ball() {
	Model m;
	m.AddMaterial(Mat("ball", kWhite, "ball.bmp"));
	m.AddMesh(Sphere("ball", 1.67f, 20, 14));
	return BallTexture() && m.Save(OutPath("misc/ball.3ds"));
}

bool Disc() {
	// A puck resting on the floor (2 below its centre) with the character's face set into its top.
	const float R = 2.775f, rim = 2.45f, bottom = -2.0f, side = -0.85f, top = -0.5f, face = -0.62f;
	const int seg = 40;
	Mesh body = Cylinder("body", R, R, bottom, side, seg);
	body.Append(Cylinder("body", R, 2.62f, side, -0.6f, seg));
	body.Append(Cylinder("body", 2.62f, rim, -0.6f, top, seg));
	body.Append(Cylinder("body", rim, rim, top, face, seg));
	body.Append(DiscCap("body", R, bottom, seg, false));
	Mesh faceMesh = DiscCap("face", rim, face, seg, true, 0.5f);
	Model m;
	m.AddMaterial(Mat("body", Rgba::Hex(0xF0E8C0)));
	m.AddMaterial(Mat("face", kWhite, "hippy256_disc.bmp"));
	m.AddMesh(body);     // kid 0: takes the side's highlight material
	m.AddMesh(faceMesh); // kid 1: takes the character's texture
	return m.Save(OutPath("misc/disc.3ds"));
}

bool Line() {
	Canvas c(32, 128);
	for (int y = 0; y < 128; y++)
		for (int x = 0; x < 32; x++) {
			float across = std::fabs((x + 0.5f) / 32.0f - 0.5f) * 2; // 0 centre, 1 edge
			float along = 1.0f - (y + 0.5f) / 128.0f;                // 0 at the aim point, 1 at the disc
			Rgba col = Rgba::Hex(0xFFF27A).Mix(Rgba::Hex(0xFF5A1C), along);
			col = col.Mix(kWhite, Clamp01(1 - across * 2.5f) * 0.7f);
			float a = Clamp01((1 - across) * 2.2f) * (0.55f + 0.45f * (1 - along));
			col.a = a;
			c.Set(x, y, col);
		}
	if (!c.SaveBmp32(OutPath("misc/line.bmp")))
		return false;
	// One quad along +y from the aim point; the strip made of it has vertices 1 and 3 at y = 1.
	Mesh q;
	q.material = "line";
	int a = q.Add({-0.55f, 0, 0}, 0, 0), b = q.Add({0.55f, 0, 0}, 1, 0);
	int cc = q.Add({-0.55f, 1, 0}, 0, 1), d = q.Add({0.55f, 1, 0}, 1, 1);
	q.Tri(a, b, d);
	q.Tri(a, d, cc);
	Model m;
	m.AddMaterial(Mat("line", kWhite, "line.bmp"));
	m.AddMesh(q);
	return m.Save(OutPath("misc/line.3ds"));
}

bool Shadows() {
	Canvas c(64, 64, Rgba(0, 0, 0, 0));
	for (int y = 0; y < 64; y++)
		for (int x = 0; x < 64; x++) {
			float d = std::hypot(x + 0.5f - 32, y + 0.5f - 32) / 32.0f;
			c.Set(x, y, Rgba(0, 0, 0, 0.6f * (1 - Smooth(0.45f, 0.97f, d))));
		}
	if (!c.SaveBmp32(OutPath("misc/shadow.bmp")))
		return false;
	for (auto [file, r] :
		{std::pair<const char *, float>{"misc/shadow_disc.3ds", 3.9f}, {"misc/shadow_ball.3ds", 2.5f}}) {
		Model m;
		m.AddMaterial(Mat("shadow", kWhite, "shadow.bmp"));
		m.AddMesh(FlatQuad("shadow", -r, -r, r, r, 0));
		if (!m.Save(OutPath(file)))
			return false;
	}
	return true;
}

bool SkyPictures() {
	Canvas cloud(128, 64, Rgba(1, 1, 1, 0));
	const float puffs[][3] = {
		{30, 40, 17}, {52, 28, 21}, {78, 30, 19}, {98, 40, 15}, {64, 44, 18}, {42, 46, 14}, {86, 46, 14}};
	for (auto &p : puffs)
		cloud.Circle(p[0], p[1], p[2], Rgba::Hex(0xB8D4F0));
	for (auto &p : puffs)
		cloud.Circle(p[0] - 2, p[1] - 3, p[2] - 3, kWhite);
	if (!cloud.SaveBmp32(OutPath("misc/cloud.bmp")))
		return false;

	Canvas star(32, 32, Rgba(1, 1, 0.8f, 0));
	star.Circle(16, 16, 9, Rgba(1, 1, 0.8f, 0.25f), 6);
	star.Star(16, 16, 15, 3.5f, 4, 0, Rgba::Hex(0xFFF6C0));
	star.Circle(16, 16, 3, kWhite);
	if (!star.SaveBmp32(OutPath("misc/star.bmp")))
		return false;

	Canvas sun(128, 128, Rgba::Hex(0xFFD23A, 0));
	// Halos fade out inside the picture, or the billboard's square edge cuts them off.
	sun.Circle(64, 64, 56, Rgba::Hex(0xFFF27A, 0.35f), 12);
	sun.Star(64, 64, 60, 40, 14, 0.1f, Rgba::Hex(0xFFB000));
	sun.Circle(64, 64, 40, Rgba::Hex(0xC07A00));
	sun.Circle(64, 64, 37, Rgba::Hex(0xFFD23A));
	sun.Circle(56, 56, 24, Rgba::Hex(0xFFF27A, 0.6f), 8);
	sun.Circle(52, 58, 4, Rgba::Hex(0x1A1020));
	sun.Circle(76, 58, 4, Rgba::Hex(0x1A1020));
	sun.Arc(64, 68, 13, 0.4f, 2.75f, 3.5f, Rgba::Hex(0x1A1020));
	sun.Ellipse(45, 72, 6, 3.5f, Rgba::Hex(0xFF7A50, 0.6f));
	sun.Ellipse(83, 72, 6, 3.5f, Rgba::Hex(0xFF7A50, 0.6f));
	if (!sun.SaveBmp32(OutPath("misc/sun.bmp")))
		return false;

	Canvas moon(128, 128, Rgba::Hex(0xFFF6C0, 0));
	moon.Circle(64, 64, 54, Rgba::Hex(0xFFF6C0, 0.2f), 14);
	Canvas disk(128, 128, Rgba::Hex(0xFFF6C0, 0));
	disk.Circle(64, 64, 44, Rgba::Hex(0xFFF2B0));
	disk.Circle(50, 70, 7, Rgba::Hex(0xE8D890));
	disk.Circle(40, 48, 5, Rgba::Hex(0xE8D890));
	disk.Circle(58, 96, 4, Rgba::Hex(0xE8D890));
	Canvas bite(128, 128, Rgba(1, 1, 1, 1));
	bite.Fill(
		0, 0, 128, 128, [](float x, float y) { return -Canvas::SdCircle(x, y, 88, 50, 40); }, Rgba(1, 1, 1, 1));
	for (int y = 0; y < 128; y++)
		for (int x = 0; x < 128; x++) {
			Rgba p = disk.Get(x, y);
			p.a *= Clamp01(Canvas::SdCircle(x + 0.5f, y + 0.5f, 88, 50, 40) + 0.5f);
			disk.Set(x, y, p);
		}
	moon.Draw(disk, 0, 0);
	return moon.SaveBmp32(OutPath("misc/moon.bmp"));
}

bool SkyModels() {
	struct B {
		const char *file, *tex;
		float hw, hh;
	};
	const B boards[] = {{"cloud", "cloud.bmp", 5.0f, 2.5f}, {"star", "star.bmp", 0.6f, 0.6f},
		{"sun", "sun.bmp", 3.5f, 3.5f}, {"moon", "moon.bmp", 3.0f, 3.0f}};
	for (const B &b : boards) {
		Model m;
		m.AddMaterial(Mat(b.file, kWhite, b.tex));
		m.AddMesh(Billboard(b.file, b.hw, b.hh));
		if (!m.Save(OutPath(std::string("misc/") + b.file + ".3ds")))
			return false;
	}
	return true;
}

bool Torch() {
	Canvas wood(64, 64);
	for (int y = 0; y < 64; y++)
		for (int x = 0; x < 64; x++) {
			float g = 0.5f + 0.5f * std::sin(x * 0.6f + std::sin(y * 0.2f) * 2.0f);
			wood.Set(x, y, Rgba::Hex(0x8A4B1F).Mix(Rgba::Hex(0xB8742F), g * 0.7f));
		}
	for (int band : {10, 40})
		for (int y = band; y < band + 6; y++)
			for (int x = 0; x < 64; x++)
				wood.Set(x, y, Rgba::Hex(0x3A3A4A).Mix(Rgba::Hex(0x8A8AA0), y == band + 1 ? 0.8f : 0.2f));
	if (!wood.SaveBmp24(OutPath("misc/torch_wood.bmp"), false))
		return false;
	// Base 0..2.5, post up to 16, bowl up to 19.5, glowing coals at 19.6: the flame 20 above the base crowns it.
	Mesh stone = Cylinder("stone", 2.6f, 2.2f, 0, 2.5f, 8);
	stone.Append(DiscCap("stone", 2.2f, 2.5f, 8, true));
	Mesh post = Cylinder("wood", 0.75f, 0.65f, 2.5f, 16.0f, 10, 0, 4, 1);
	Mesh bowl = Cylinder("iron", 0.7f, 2.4f, 16.0f, 19.2f, 12);
	bowl.Append(Cylinder("iron", 2.4f, 2.6f, 19.2f, 19.6f, 12));
	Mesh coals = DiscCap("coals", 2.45f, 19.6f, 12, true);
	Model m;
	m.AddMaterial(Mat("stone", Rgba::Hex(0x9A9AB0)));
	m.AddMaterial(Mat("wood", kWhite, "torch_wood.bmp"));
	m.AddMaterial(Mat("iron", Rgba::Hex(0x4A4A60)));
	m.AddMaterial(Mat("coals", Rgba::Hex(0xFF7A1C)));
	m.AddMesh(stone);
	m.AddMesh(post);
	m.AddMesh(bowl);
	m.AddMesh(coals);
	return m.Save(OutPath("misc/torch.3ds"));
}

bool ParticleTextures() {
	Canvas flame(64, 64, Rgba(1, 1, 1, 0));
	for (int y = 0; y < 64; y++)
		for (int x = 0; x < 64; x++) {
			float d = std::hypot(x + 0.5f - 32, (y + 0.5f - 32) * 0.85f) / 32.0f;
			// Faint per particle: dozens of them overlap in a flame.
			flame.Set(x, y, Rgba(1, 1, 1, 0.4f * std::pow(Clamp01(1 - d), 1.5f)));
		}
	Canvas spark(32, 32, Rgba(1, 1, 1, 0));
	spark.Circle(16, 16, 10, Rgba(1, 1, 1, 0.35f), 8);
	spark.Star(16, 16, 15, 2.5f, 4, 0.4f, kWhite);
	spark.Circle(16, 16, 3.5f, kWhite);
	Canvas petal(32, 32, Rgba(1, 1, 1, 0));
	petal.Ellipse(16, 16, 7, 13, kWhite);
	petal.Line(16, 6, 16, 26, 1.2f, Rgba(0.85f, 0.85f, 0.85f, 1));
	Canvas glow(32, 32, Rgba(1, 1, 1, 0));
	for (int y = 0; y < 32; y++)
		for (int x = 0; x < 32; x++) {
			float d = std::hypot(x + 0.5f - 16, y + 0.5f - 16) / 16.0f;
			glow.Set(x, y, Rgba(1, 1, 1, Clamp01(1 - d) * Clamp01(1 - d) + (d < 0.25f ? 0.5f : 0)));
		}
	return flame.SaveBmp32(OutPath("misc/flame.bmp")) && spark.SaveBmp32(OutPath("misc/spark.bmp")) &&
		   petal.SaveBmp32(OutPath("misc/petal.bmp")) && glow.SaveBmp32(OutPath("misc/glow.bmp"));
}

} // namespace

bool MakeModels() {
	return Ball() && Disc() && Line() && Shadows() && SkyPictures() && SkyModels() && Torch() && ParticleTextures();
}
