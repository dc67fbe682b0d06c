#include <gtest/gtest.h>

#include <vector>

#include "gl2d/GL2D_Rect.h"

TEST(GL2DRect, IntersectionIsTheCommonPartAndTouchingIsNone) {
	struct Case {
		GL2D_Rect a, b;
		bool overlap;
		GL2D_Rect common;
	} const cases[] = {
		{{0, 0, 10, 10}, {10, 0, 5, 5}, false, {}},
		{{0, 0, 10, 10}, {0, 10, 5, 5}, false, {}},
		{{0, 10, 5, 5}, {0, 0, 10, 10}, false, {}},
		{{0, 0, 10, 10}, {4, -3, 20, 8}, true, {4, 0, 6, 5}},
	};
	for (const Case &c : cases) {
		GL2D_Rect out = {-1, -1, -1, -1};
		ASSERT_EQ(IntersectRect(&c.a, &c.b, &out), c.overlap);
		if (c.overlap) {
			EXPECT_EQ(std::vector<float>({out.x, out.y, out.w, out.h}),
				std::vector<float>({c.common.x, c.common.y, c.common.w, c.common.h}));
		}
		int x = -1, y = -1, w = -1, h = -1;
		ASSERT_EQ(IntersectRectInt(int(c.a.x), int(c.a.y), int(c.a.w), int(c.a.h), int(c.b.x), int(c.b.y), int(c.b.w),
					  int(c.b.h), x, y, w, h),
			c.overlap);
		if (c.overlap) {
			EXPECT_EQ(std::vector<float>({float(x), float(y), float(w), float(h)}),
				std::vector<float>({c.common.x, c.common.y, c.common.w, c.common.h}));
		}
	}
	// An absent rectangle takes the other; out may be one of the inputs.
	GL2D_Rect a = {1, 2, 3, 4}, out = {0, 0, 0, 0};
	ASSERT_TRUE(IntersectRect(nullptr, &a, &out));
	EXPECT_FLOAT_EQ(out.h, 4);
	out = {0, 0, 0, 0};
	ASSERT_TRUE(IntersectRect(&a, nullptr, &out));
	EXPECT_FLOAT_EQ(out.w, 3);
	EXPECT_FALSE(IntersectRect(nullptr, nullptr, nullptr));
	GL2D_Rect b = {0, 0, 2, 3};
	ASSERT_TRUE(IntersectRect(&a, &b, &a));
	EXPECT_EQ(std::vector<float>({a.x, a.y, a.w, a.h}), std::vector<float>({1, 2, 1, 1}));
}
