// Every model loads with PLIB the way the program loads it and has the structure the program uses.
#include "DataFiles.h"
#include "GLWindow.h"
#include "ScratchDir.h"

#include <GL/gl.h>
#include <plib/ssg.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

struct Extent {
	float min[3] = {1e9f, 1e9f, 1e9f}, max[3] = {-1e9f, -1e9f, -1e9f};
	float maxRadiusXY = 0, maxRadius = 0;
};

void Leaves(ssgEntity *e, const std::function<void(ssgLeaf *)> &f)
{
	if (e->isAKindOf(ssgTypeLeaf())) {
		f(static_cast<ssgLeaf *>(e));
	} else if (e->isAKindOf(ssgTypeBranch())) {
		ssgBranch *b = static_cast<ssgBranch *>(e);
		for (int i = 0; i < b->getNumKids(); i++)
			Leaves(b->getKid(i), f);
	}
}

Extent Measure(ssgEntity *e)
{
	Extent x;
	Leaves(e, [&](ssgLeaf *l) {
		for (int i = 0; i < l->getNumVertices(); i++) {
			float *v = l->getVertex(i);
			for (int k = 0; k < 3; k++) {
				x.min[k] = std::min(x.min[k], v[k]);
				x.max[k] = std::max(x.max[k], v[k]);
			}
			x.maxRadiusXY = std::max(x.maxRadiusXY, std::hypot(v[0], v[1]));
			x.maxRadius = std::max(x.maxRadius, std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
		}
	});
	return x;
}

const char *TextureOf(ssgLeaf *l)
{
	ssgState *s = l->getState();
	if (!s || !s->isAKindOf(ssgTypeSimpleState()))
		return nullptr;
	return static_cast<ssgSimpleState *>(s)->getTextureFilename();
}

// Alpha values of a 32-bit BMP model texture (empty when the file has no alpha channel).
std::vector<uint8_t> TextureAlpha(const std::string &path)
{
	std::string f = ReadFile(path);
	if (f.size() < 54 || f[0] != 'B' || f[1] != 'M')
		return {};
	uint32_t offset, w, h;
	uint16_t bpp;
	std::memcpy(&offset, &f[10], 4);
	std::memcpy(&w, &f[18], 4);
	std::memcpy(&h, &f[22], 4);
	std::memcpy(&bpp, &f[28], 2);
	if (bpp != 32 || f.size() < offset + size_t(w) * h * 4)
		return {};
	std::vector<uint8_t> a;
	for (size_t i = 0; i < size_t(w) * h; i++)
		a.push_back(uint8_t(f[offset + i * 4 + 3]));
	return a;
}

class ModelTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		// Xvfb resets itself when its last client leaves and refuses connections meanwhile, so a
		// test that starts right after another may have to knock twice.
		for (int attempt = 0; attempt < 40; attempt++) {
			window = std::make_unique<GLWindow>();
			if (window->IsOpen())
				break;
			window.reset();
			usleep(50000);
		}
		ASSERT_TRUE(window && window->IsOpen());
		static bool initialised = false;
		if (!initialised) {
			ssgInit();
			initialised = true;
		}
	}

	// Loads like the program: model and texture folders set, then the file name alone.
	ssgEntity *Load(const std::string &folder, const std::string &file)
	{
		std::string dir = DataPath("data/" + folder);
		ssgModelPath(dir.c_str());
		ssgTexturePath(dir.c_str());
		ssgEntity *e = ssgLoad(file.c_str());
		// Kept for the whole run: deleting a loaded model trips PLIB's own new[]/delete mismatch
		// under AddressSanitizer.
		static std::vector<ssgEntity *> loaded;
		if (e) {
			e->ref();
			loaded.push_back(e);
		}
		return e;
	}

	void ExpectTexturesExist(ssgEntity *e, const std::string &what)
	{
		Leaves(e, [&](ssgLeaf *l) {
			const char *t = TextureOf(l);
			if (t) {
				EXPECT_TRUE(FileExists(t)) << what << " names missing texture " << t;
			}
		});
	}

	ScratchDir scratch;
	std::unique_ptr<GLWindow> window;
};

TEST_F(ModelTest, EveryMiscModelLoadsWithItsTextures)
{
	for (const char *name : {"ball", "disc", "line", "shadow_disc", "shadow_ball", "cloud", "star", "sun", "moon", "torch"}) {
		ssgEntity *e = Load("misc", std::string(name) + ".3ds");
		ASSERT_NE(e, nullptr) << name;
		int leaves = 0;
		Leaves(e, [&](ssgLeaf *l) { leaves += l->getNumTriangles() > 0; });
		EXPECT_GT(leaves, 0) << name;
		ExpectTexturesExist(e, name);
	}
}

TEST_F(ModelTest, BallIsASphereOfRadius1_67)
{
	ssgEntity *e = Load("misc", "ball.3ds");
	ASSERT_NE(e, nullptr);
	Extent x = Measure(e);
	EXPECT_NEAR(x.maxRadius, 1.67f, 0.01f);
	EXPECT_NEAR(x.min[2], -1.67f, 0.01f);
	EXPECT_NEAR(x.max[2], 1.67f, 0.01f);
}

TEST_F(ModelTest, DiscKeepsBodyAsKid0AndTexturedFaceAsKid1AfterFlatten)
{
	ssgEntity *e = Load("misc", "disc.3ds");
	ASSERT_NE(e, nullptr);
	ssgFlatten(e);
	ASSERT_TRUE(e->isAKindOf(ssgTypeBranch()));
	ssgBranch *b = static_cast<ssgBranch *>(e);
	ASSERT_GE(b->getNumKids(), 2);
	ssgEntity *body = b->getKid(0), *face = b->getKid(1);
	ASSERT_TRUE(body->isAKindOf(ssgTypeLeaf()));
	ASSERT_TRUE(face->isAKindOf(ssgTypeLeaf()));
	ASSERT_TRUE(static_cast<ssgLeaf *>(body)->getState()->isAKindOf(ssgTypeSimpleState()));
	ASSERT_TRUE(static_cast<ssgLeaf *>(face)->getState()->isAKindOf(ssgTypeSimpleState()));
	EXPECT_EQ(TextureOf(static_cast<ssgLeaf *>(body)), nullptr);
	const char *tex = TextureOf(static_cast<ssgLeaf *>(face));
	ASSERT_NE(tex, nullptr);
	EXPECT_TRUE(FileExists(tex));
	EXPECT_GT(static_cast<ssgLeaf *>(face)->getNumTexCoords(), 0);

	// Radius 2.775 around the centre, resting on the floor 2 below it, the face on top.
	Extent all = Measure(e), top = Measure(face);
	EXPECT_NEAR(all.maxRadiusXY, 2.775f, 0.01f);
	EXPECT_NEAR(all.min[2], -2.0f, 0.01f);
	EXPECT_LT(all.max[2], 0.0f);
	EXPECT_GT(top.min[2], -1.0f);
	EXPECT_GT(top.maxRadiusXY, 2.0f);

	// The program sets the character texture on kid 1 and strips the model afterwards.
	std::string hippy = DataPath("data/misc/hippy256_disc.bmp");
	static_cast<ssgSimpleState *>(static_cast<ssgLeaf *>(face)->getState())->setTexture(hippy.c_str(), TRUE, TRUE, TRUE);
	ssgStripify(e);
	// The highlight is set on kid 0's state during the match, after stripping: kid 0 must still be
	// body, and every strip of the body must share that state.
	ssgBranch *stripped = static_cast<ssgBranch *>(e);
	ASSERT_GE(stripped->getNumKids(), 2);
	ASSERT_TRUE(stripped->getKid(0)->isAKindOf(ssgTypeLeaf()));
	ssgState *bodyState = static_cast<ssgLeaf *>(stripped->getKid(0))->getState();
	int bodyLeaves = 0, faceLeaves = 0;
	Leaves(e, [&](ssgLeaf *l) {
		if (TextureOf(l)) {
			faceLeaves++;
			EXPECT_NE(l->getState(), bodyState);
		} else {
			bodyLeaves++;
			EXPECT_EQ(l->getState(), bodyState);
		}
	});
	EXPECT_GT(bodyLeaves, 0);
	EXPECT_GT(faceLeaves, 0);
}

TEST_F(ModelTest, LineFirstLeafIsAStripWithVertices1And3AtTheFarEnd)
{
	ssgEntity *e = Load("misc", "line.3ds");
	ASSERT_NE(e, nullptr);
	ssgFlatten(e);
	ssgStripify(e);
	ssgLeaf *first = nullptr;
	Leaves(e, [&](ssgLeaf *l) {
		if (!first)
			first = l;
	});
	ASSERT_NE(first, nullptr);
	EXPECT_EQ(first->getPrimitiveType(), GLenum(GL_TRIANGLE_STRIP));
	ASSERT_GE(first->getNumVertices(), 4);
	float far = first->getVertex(1)[1];
	EXPECT_GT(far, 0.5f);
	EXPECT_FLOAT_EQ(first->getVertex(3)[1], far);
	EXPECT_FLOAT_EQ(first->getVertex(0)[1], 0.0f);
	EXPECT_FLOAT_EQ(first->getVertex(2)[1], 0.0f);
	// Stretching vertices 1 and 3 lengthens the whole line along +y.
	first->getVertex(1)[1] = 40.0f;
	first->getVertex(3)[1] = 40.0f;
	Extent x = Measure(e);
	EXPECT_FLOAT_EQ(x.max[1], 40.0f);
	EXPECT_FLOAT_EQ(x.min[1], 0.0f);
	EXPECT_NEAR(x.min[2], 0.0f, 1e-4f);
	EXPECT_NEAR(x.max[2], 0.0f, 1e-4f);

	const char *tex = TextureOf(first);
	ASSERT_NE(tex, nullptr);
	std::vector<uint8_t> alpha = TextureAlpha(tex);
	ASSERT_FALSE(alpha.empty()) << "the line texture has no alpha channel";
	EXPECT_LT(*std::min_element(alpha.begin(), alpha.end()), 64);
	EXPECT_GT(*std::max_element(alpha.begin(), alpha.end()), 200);
}

TEST_F(ModelTest, ShadowsAreFlatBlobsWithSoftAlphaEdges)
{
	for (const char *name : {"shadow_disc.3ds", "shadow_ball.3ds"}) {
		ssgEntity *e = Load("misc", name);
		ASSERT_NE(e, nullptr) << name;
		Extent x = Measure(e);
		EXPECT_FLOAT_EQ(x.min[2], 0.0f) << name;
		EXPECT_FLOAT_EQ(x.max[2], 0.0f) << name;
		Leaves(e, [&](ssgLeaf *l) {
			const char *tex = TextureOf(l);
			ASSERT_NE(tex, nullptr);
			std::vector<uint8_t> a = TextureAlpha(tex);
			ASSERT_FALSE(a.empty());
			int soft = 0;
			for (uint8_t v : a)
				soft += v > 0 && v < 100;
			EXPECT_EQ(a.front(), 0) << "corners are clear";
			EXPECT_GT(soft, 50) << "the edge fades out";
		});
	}
	// The disc's shadow is wider than the disc so that it shows around it.
	EXPECT_GT(Measure(Load("misc", "shadow_disc.3ds")).max[0], 2.775f);
}

TEST_F(ModelTest, SkyModelsAreBillboardQuadsWithAlpha)
{
	for (const char *name : {"cloud.3ds", "star.3ds", "sun.3ds", "moon.3ds"}) {
		ssgEntity *e = Load("misc", name);
		ASSERT_NE(e, nullptr) << name;
		Extent x = Measure(e);
		EXPECT_FLOAT_EQ(x.min[1], 0.0f) << name << " faces the viewer in the x-z plane";
		EXPECT_FLOAT_EQ(x.max[1], 0.0f) << name;
		EXPECT_GT(x.max[0] - x.min[0], 0.5f) << name;
		EXPECT_GT(x.max[2] - x.min[2], 0.5f) << name;
		Leaves(e, [&](ssgLeaf *l) {
			const char *tex = TextureOf(l);
			ASSERT_NE(tex, nullptr) << name;
			std::vector<uint8_t> a = TextureAlpha(tex);
			ASSERT_FALSE(a.empty()) << name;
			EXPECT_EQ(*std::min_element(a.begin(), a.end()), 0) << name;
			EXPECT_EQ(*std::max_element(a.begin(), a.end()), 255) << name;
		});
	}
}

TEST_F(ModelTest, TorchIsAbout20TallSoTheFlameCrownsIt)
{
	ssgEntity *e = Load("misc", "torch.3ds");
	ASSERT_NE(e, nullptr);
	Extent x = Measure(e);
	EXPECT_NEAR(x.min[2], 0.0f, 0.01f);
	EXPECT_GT(x.max[2], 18.5f);
	EXPECT_LE(x.max[2], 20.0f);
	EXPECT_LT(x.maxRadiusXY, 4.0f);
}

TEST_F(ModelTest, EveryArenaModelLoadsWithItsTextures)
{
	for (const std::string &arn : FilesWithExtension("arena", ".arn")) {
		std::vector<std::string> w = Words(ReadFile(arn));
		ASSERT_GE(w.size(), 3u) << arn;
		for (int i = 0; i < 3; i++) {
			if (w[i][0] == '-')
				continue;
			ssgEntity *e = Load("arena", w[i]);
			ASSERT_NE(e, nullptr) << arn << ": " << w[i];
			ExpectTexturesExist(e, w[i]);
			ssgFlatten(e);
			ssgStripify(e);
		}
	}
}

TEST_F(ModelTest, ArenaSurroundingsCarryTheTorchesAndLeaveTheDriftClear)
{
	for (const char *name : {"xeno_day.3ds", "xeno_night.3ds", "tris_day.3ds", "tris_night.3ds"}) {
		ssgEntity *e = Load("arena", name);
		ASSERT_NE(e, nullptr) << name;
		// The torches stand at (+-80, +-60), 5 below the field: the terrace must be there.
		bool terrace = false;
		Extent x = Measure(e);
		Leaves(e, [&](ssgLeaf *l) {
			for (int i = 0; i < l->getNumTriangles(); i++) {
				short a, b, c;
				l->getTriangle(i, &a, &b, &c);
				float *p = l->getVertex(a), *q = l->getVertex(b), *r = l->getVertex(c);
				if (std::fabs(p[2] + 5) < 0.01f && std::fabs(q[2] + 5) < 0.01f && std::fabs(r[2] + 5) < 0.01f)
					terrace = true;
			}
		});
		EXPECT_TRUE(terrace) << name;
		EXPECT_LT(x.min[0], -85.0f) << name;
		EXPECT_GT(x.max[0], 85.0f) << name;
		EXPECT_LT(x.min[1], -65.0f) << name;
		EXPECT_GT(x.max[1], 65.0f) << name;
		// The drift particles start at (91, -95) and sink: nothing of the island may be in their way.
		EXPECT_GT(x.min[1], -95.0f + 2.0f) << name;
	}
}

} // namespace
