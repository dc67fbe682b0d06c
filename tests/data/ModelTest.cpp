// Every model loads with PLIB the way the program loads it, matches the sizes the physics uses
// and has the structure the program relies on.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <plib/ssg.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <vector>

#include "DataFiles.h"
#include "GLWindow.h"
#include "ScratchDir.h"
#include "world/Ball.h"
#include "world/Disc.h"
#include "world/Torch.h"

namespace {

struct Extent {
	float min[3] = {1e9f, 1e9f, 1e9f}, max[3] = {-1e9f, -1e9f, -1e9f};
	float radiusXY = 0, radius = 0;
};

void Leaves(ssgEntity *e, const std::function<void(ssgLeaf *)> &f) {
	if (!e) {
		ADD_FAILURE() << "no model";
	} else if (e->isAKindOf(ssgTypeLeaf())) {
		f(static_cast<ssgLeaf *>(e));
	} else if (e->isAKindOf(ssgTypeBranch())) {
		ssgBranch *b = static_cast<ssgBranch *>(e);
		for (int i = 0; i < b->getNumKids(); i++) {
			Leaves(b->getKid(i), f);
		}
	}
}

Extent Measure(ssgEntity *e) {
	Extent x;
	Leaves(e, [&](ssgLeaf *l) {
		for (int i = 0; i < l->getNumVertices(); i++) {
			const float *v = l->getVertex(i);
			for (int k = 0; k < 3; k++) {
				x.min[k] = std::min(x.min[k], v[k]);
				x.max[k] = std::max(x.max[k], v[k]);
			}
			x.radiusXY = std::max(x.radiusXY, std::hypot(v[0], v[1]));
			x.radius = std::max(x.radius, std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
		}
	});
	return x;
}

const char *TextureOf(ssgLeaf *l) {
	ssgState *s = l->getState();
	return s && s->isAKindOf(ssgTypeSimpleState()) ? static_cast<ssgSimpleState *>(s)->getTextureFilename() : nullptr;
}

// Alpha values of a 32-bit BMP model texture (empty when the file has no alpha channel).
std::vector<uint8_t> TextureAlpha(const std::string &path) {
	const std::string f = ReadFile(path);
	uint32_t offset = 0, w = 0, h = 0;
	uint16_t bpp = 0;
	if (f.size() < 54 || f.compare(0, 2, "BM") != 0) {
		return {};
	}
	std::memcpy(&offset, &f[10], 4);
	std::memcpy(&w, &f[18], 4);
	std::memcpy(&h, &f[22], 4);
	std::memcpy(&bpp, &f[28], 2);
	std::vector<uint8_t> a;
	for (size_t i = 0; bpp == 32 && f.size() >= offset + size_t(w) * h * 4 && i < size_t(w) * h; i++) {
		a.push_back(uint8_t(f[offset + i * 4 + 3]));
	}
	return a;
}

class Models : public ::testing::Test {
protected:
	void SetUp() override {
		ASSERT_TRUE(window.IsOpen());
		dir.LinkData();
		ssgInit();
	}
	// Loads like the program: model and texture folders set, then the file name alone.
	ssgEntity *Load(const std::string &path) {
		const std::string folder = path.substr(0, path.rfind('/'));
		ssgModelPath(folder.c_str());
		ssgTexturePath(folder.c_str());
		ssgEntity *e = ssgLoad(path.substr(folder.size() + 1).c_str());
		// Kept for the whole run: deleting a loaded model trips PLIB's own new[]/delete mismatch
		// under AddressSanitizer.
		static std::vector<ssgEntity *> loaded;
		if (e) {
			e->ref();
			loaded.push_back(e);
		}
		return e;
	}

	ScratchDir dir;
	GLWindow window;
};

} // namespace

TEST_F(Models, EveryModelLoadsWithGeometryAndTexturesThatExist) {
	std::vector<std::string> files = DataFiles("misc", ".3ds"), arenas = DataFiles("arena", ".3ds");
	files.insert(files.end(), arenas.begin(), arenas.end());
	ASSERT_GE(files.size(), 16u);
	for (const std::string &file : files) {
		ssgEntity *e = Load(file);
		ASSERT_NE(e, nullptr) << file;
		int leaves = 0;
		Leaves(e, [&](ssgLeaf *l) {
			leaves += l->getNumTriangles() > 0;
			if (const char *texture = TextureOf(l)) {
				EXPECT_TRUE(std::ifstream(texture).good()) << file << " names missing texture " << texture;
			}
		});
		EXPECT_GT(leaves, 0) << file;
		ssgFlatten(e);
		ssgStripify(e);
	}
}

TEST_F(Models, SizesMatchThePhysics) {
	const Extent ball = Measure(Load("data/misc/ball.3ds")), disc = Measure(Load("data/misc/disc.3ds"));
	EXPECT_NEAR(ball.radius, Ball::RADIUS, 0.01f);
	EXPECT_NEAR(ball.min[2], -Ball::RADIUS, 0.01f);
	// The disc rests on the floor 2 below its centre.
	EXPECT_NEAR(disc.radiusXY, Disc::RADIUS, 0.01f);
	EXPECT_NEAR(disc.min[2], -2.0f, 0.01f);
	EXPECT_LT(disc.max[2], 0.0f);
	EXPECT_GT(Measure(Load("data/misc/shadow_disc.3ds")).max[0], Disc::RADIUS) << "the shadow shows around the disc";
	// The flame crowns the torch.
	const Extent torch = Measure(Load("data/misc/torch.3ds"));
	EXPECT_NEAR(torch.min[2], 0.0f, 0.01f);
	EXPECT_GT(torch.max[2], Torch::kFireHeight - 1.5f);
	EXPECT_LE(torch.max[2], Torch::kFireHeight);
}

TEST_F(Models, DiscKeepsBodyAsKid0AndTexturedFaceAsKid1AfterFlattenAndStrips) {
	ssgEntity *e = Load("data/misc/disc.3ds");
	ASSERT_NE(e, nullptr);
	ssgFlatten(e);
	ASSERT_TRUE(e->isAKindOf(ssgTypeBranch()));
	ssgBranch *b = static_cast<ssgBranch *>(e);
	ASSERT_GE(b->getNumKids(), 2);
	ASSERT_TRUE(b->getKid(0)->isAKindOf(ssgTypeLeaf()));
	ASSERT_TRUE(b->getKid(1)->isAKindOf(ssgTypeLeaf()));
	ssgLeaf *body = static_cast<ssgLeaf *>(b->getKid(0)), *face = static_cast<ssgLeaf *>(b->getKid(1));
	EXPECT_EQ(TextureOf(body), nullptr);
	ASSERT_NE(TextureOf(face), nullptr);
	EXPECT_GT(face->getNumTexCoords(), 0);
	EXPECT_GT(Measure(face).min[2], -1.0f) << "the face on top";
	// The program sets the character texture on kid 1 and strips the model afterwards, then
	// sets the highlight on kid 0's state: kid 0 must still be body, every strip of the body
	// sharing that state.
	ASSERT_TRUE(face->getState()->isAKindOf(ssgTypeSimpleState()));
	static_cast<ssgSimpleState *>(face->getState())->setTexture("data/misc/hippy256_disc.bmp", TRUE, TRUE, TRUE);
	ssgStripify(e);
	ASSERT_TRUE(b->getKid(0)->isAKindOf(ssgTypeLeaf()));
	ssgState *bodyState = static_cast<ssgLeaf *>(b->getKid(0))->getState();
	int bodyLeaves = 0, faceLeaves = 0;
	Leaves(e, [&](ssgLeaf *l) {
		const bool textured = TextureOf(l) != nullptr;
		(textured ? faceLeaves : bodyLeaves)++;
		EXPECT_EQ(l->getState() == bodyState, !textured);
	});
	EXPECT_GT(bodyLeaves, 0);
	EXPECT_GT(faceLeaves, 0);
}

TEST_F(Models, LineFirstLeafIsAStripThatStretchesByVertices1And3) {
	ssgEntity *e = Load("data/misc/line.3ds");
	ASSERT_NE(e, nullptr);
	ssgFlatten(e);
	ssgStripify(e);
	ssgLeaf *first = nullptr;
	Leaves(e, [&](ssgLeaf *l) { first = first ? first : l; });
	ASSERT_NE(first, nullptr);
	EXPECT_EQ(first->getPrimitiveType(), GLenum(GL_TRIANGLE_STRIP));
	ASSERT_GE(first->getNumVertices(), 4);
	EXPECT_GT(first->getVertex(1)[1], 0.5f);
	EXPECT_FLOAT_EQ(first->getVertex(3)[1], first->getVertex(1)[1]);
	EXPECT_FLOAT_EQ(first->getVertex(0)[1], 0.0f);
	EXPECT_FLOAT_EQ(first->getVertex(2)[1], 0.0f);
	first->getVertex(1)[1] = 40.0f;
	first->getVertex(3)[1] = 40.0f;
	const Extent x = Measure(e);
	EXPECT_FLOAT_EQ(x.max[1], 40.0f);
	EXPECT_FLOAT_EQ(x.min[1], 0.0f);
	EXPECT_NEAR(x.max[2] - x.min[2], 0.0f, 1e-4f);
}

TEST_F(Models, FlatModelsFaceTheirWayWithAlphaThatFadesOut) {
	// Shadows lie on the floor, sky pictures face the viewer in the x-z plane.
	struct Case {
		const char *name;
		int flatAxis;
		bool softEdge; // else clear and opaque texels
	} const cases[] = {
		{"shadow_disc", 2, true},
		{"shadow_ball", 2, true},
		{"line", 2, false},
		{"cloud", 1, false},
		{"star", 1, false},
		{"sun", 1, false},
		{"moon", 1, false},
	};
	for (const Case &c : cases) {
		SCOPED_TRACE(c.name);
		ssgEntity *e = Load(std::string("data/misc/") + c.name + ".3ds");
		ASSERT_NE(e, nullptr);
		const Extent x = Measure(e);
		EXPECT_NEAR(x.min[c.flatAxis], 0.0f, 1e-4f);
		EXPECT_NEAR(x.max[c.flatAxis], 0.0f, 1e-4f);
		Leaves(e, [&](ssgLeaf *l) {
			ASSERT_NE(TextureOf(l), nullptr);
			const std::vector<uint8_t> a = TextureAlpha(TextureOf(l));
			ASSERT_FALSE(a.empty()) << "no alpha channel";
			EXPECT_LT(*std::min_element(a.begin(), a.end()), c.softEdge ? 1 : 64);
			if (c.softEdge) {
				EXPECT_GT(std::count_if(a.begin(), a.end(), [](uint8_t v) { return v > 0 && v < 100; }), 50);
			} else {
				EXPECT_GT(*std::max_element(a.begin(), a.end()), 200);
			}
		});
	}
}
