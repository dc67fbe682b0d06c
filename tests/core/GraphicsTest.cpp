#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <plib/ssg.h>

#include <vector>

#include "GLWindow.h"
#include "ScratchDir.h"
#include "core/Overlay2D.h"
#include "core/SceneWalk.h"
#include "core/Screenshot.h"

namespace {

// Fills the window with four coloured quadrants in overlay coordinates.
void DrawQuadrants(int width, int height) {
	Begin2D(width, height);
	glDisable(GL_TEXTURE_2D);
	struct {
		float x, y, r, g, b;
	} quads[] = {
		{0, 0, 1, 0, 0},
		{0.5f, 0, 0, 1, 0},
		{0, 0.5f, 0, 0, 1},
		{0.5f, 0.5f, 1, 1, 1},
	};
	glBegin(GL_QUADS);
	for (const auto &q : quads) {
		glColor3f(q.r, q.g, q.b);
		float x0 = q.x * width, y0 = q.y * height, x1 = x0 + width / 2.0f, y1 = y0 + height / 2.0f;
		glVertex2f(x0, y0);
		glVertex2f(x1, y0);
		glVertex2f(x1, y1);
		glVertex2f(x0, y1);
	}
	glEnd();
	End2D();
}

uint32_t BmpPixel(SDL_Surface *image, int x, int y) {
	uint8_t r, g, b;
	SDL_LockSurface(image);
	const uint8_t *p =
		static_cast<const uint8_t *>(image->pixels) + y * image->pitch + x * image->format->BytesPerPixel;
	Uint32 value = 0;
	memcpy(&value, p, image->format->BytesPerPixel);
	SDL_UnlockSurface(image);
	SDL_GetRGB(value, image->format, &r, &g, &b);
	return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}

} // namespace

TEST(Overlay2D, DrawsInPixelsFromTheTopLeftAndRestoresState) {
	GLWindow window(640, 480);
	ASSERT_TRUE(window.IsOpen());
	window.Clear(0, 0, 0);
	glDisable(GL_DEPTH_TEST);
	glEnable(GL_LIGHTING);
	glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
	Begin2D(640, 480);
	glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA); // as the 2D pictures do
	End2D();
	GLint source = 0;
	glGetIntegerv(GL_BLEND_SRC, &source);
	EXPECT_EQ(source, GL_SRC_ALPHA);
	DrawQuadrants(640, 480);
	EXPECT_EQ(window.Pixel(10, 10), 0xFF0000u);
	EXPECT_EQ(window.Pixel(630, 10), 0x00FF00u);
	EXPECT_EQ(window.Pixel(10, 470), 0x0000FFu);
	EXPECT_EQ(window.Pixel(630, 470), 0xFFFFFFu);
	EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)); // on after End2D even when off before
	EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
	GLint mode = 0;
	glGetIntegerv(GL_MATRIX_MODE, &mode);
	EXPECT_EQ(mode, GL_MODELVIEW);
	GLint depth = 0;
	glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
	EXPECT_EQ(depth, 1);
}

TEST(Screenshot, WritesTheScreenTopRowFirstForEveryWidth) {
	ScratchDir dir;
	for (int width : {640, 301, 302, 303}) {
		GLWindow window(width, 120);
		ASSERT_TRUE(window.IsOpen());
		window.Clear(0, 0, 0);
		DrawQuadrants(width, 120);
		ASSERT_TRUE(SaveScreenshot("screen.bmp", width, 120));
		SDL_Surface *image = SDL_LoadBMP("screen.bmp");
		ASSERT_NE(image, nullptr) << width;
		EXPECT_EQ(image->w, width);
		EXPECT_EQ(image->h, 120);
		EXPECT_EQ(image->format->BitsPerPixel, 24);
		for (int y : {0, 59, 60, 119}) {
			for (int x : {0, width / 2 - 1, width - 1}) {
				EXPECT_EQ(BmpPixel(image, x, y), window.Pixel(x, y)) << "width " << width << " at " << x << "," << y;
			}
		}
		EXPECT_EQ(BmpPixel(image, 0, 0), 0xFF0000u);
		EXPECT_EQ(BmpPixel(image, width - 1, 119), 0xFFFFFFu);
		SDL_FreeSurface(image);
	}
	EXPECT_FALSE(SaveScreenshot(nullptr, 10, 10));
	EXPECT_FALSE(SaveScreenshot("zero.bmp", 0, 10));
}

namespace {

void CollectLeaf(void *userValue, ssgLeaf *leaf) {
	static_cast<std::vector<ssgLeaf *> *>(userValue)->push_back(leaf);
}

ssgLeaf *MakeLeaf() {
	ssgVertexArray *vertices = new ssgVertexArray(1);
	sgVec3 v = {0, 0, 0};
	vertices->add(v);
	return new ssgVtxTable(GL_POINTS, vertices, nullptr, nullptr, nullptr);
}

} // namespace

TEST(SceneWalk, VisitsEveryLeafDepthFirstInStoredOrder) {
	GLWindow window(64, 64); // the scene graph wants a GL context
	ASSERT_TRUE(window.IsOpen());
	ssgInit();
	ssgRoot *root = new ssgRoot();
	root->ref();
	ssgLeaf *a = MakeLeaf();
	ssgLeaf *b = MakeLeaf();
	ssgLeaf *c = MakeLeaf();
	ssgTransform *inner = new ssgTransform();
	ssgSelector *selector = new ssgSelector();
	root->addKid(a);
	root->addKid(inner);
	inner->addKid(selector);
	selector->addKid(b);
	root->addKid(c);

	std::vector<ssgLeaf *> seen;
	ForEachLeaf(root, &seen, CollectLeaf);
	EXPECT_EQ(seen, (std::vector<ssgLeaf *>{a, b, c}));

	seen.clear();
	ForEachLeaf(c, &seen, CollectLeaf);
	EXPECT_EQ(seen, (std::vector<ssgLeaf *>{c}));

	seen.clear();
	ForEachLeaf(nullptr, &seen, CollectLeaf);
	EXPECT_TRUE(seen.empty());
	ssgDeRefDelete(root);
}
