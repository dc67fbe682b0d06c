#include <gtest/gtest.h>

#include "gl2d/GL2D_Rect.h"

TEST(GL2DRect, TouchingRectanglesDoNotIntersect) {
	GL2D_Rect a = {0, 0, 10, 10};
	GL2D_Rect b = {10, 0, 5, 5};
	GL2D_Rect out = {-1, -1, -1, -1};
	EXPECT_FALSE(IntersectRect(&a, &b, &out));
	GL2D_Rect below = {0, 10, 5, 5};
	EXPECT_FALSE(IntersectRect(&a, &below, &out));
	EXPECT_FALSE(IntersectRect(&below, &a, &out));
}

TEST(GL2DRect, OverlapIsTheCommonPart) {
	GL2D_Rect a = {0, 0, 10, 10};
	GL2D_Rect b = {4, -3, 20, 8};
	GL2D_Rect out;
	ASSERT_TRUE(IntersectRect(&a, &b, &out));
	EXPECT_FLOAT_EQ(out.x, 4);
	EXPECT_FLOAT_EQ(out.y, 0);
	EXPECT_FLOAT_EQ(out.w, 6);
	EXPECT_FLOAT_EQ(out.h, 5);
}

TEST(GL2DRect, AbsentRectangleTakesTheOther) {
	GL2D_Rect a = {1, 2, 3, 4};
	GL2D_Rect out = {0, 0, 0, 0};
	ASSERT_TRUE(IntersectRect(nullptr, &a, &out));
	EXPECT_FLOAT_EQ(out.x, 1);
	EXPECT_FLOAT_EQ(out.h, 4);
	GL2D_Rect out2 = {0, 0, 0, 0};
	ASSERT_TRUE(IntersectRect(&a, nullptr, &out2));
	EXPECT_FLOAT_EQ(out2.y, 2);
	EXPECT_FLOAT_EQ(out2.w, 3);
	EXPECT_FALSE(IntersectRect(nullptr, nullptr, nullptr));
}

TEST(GL2DRect, OutMayBeOneOfTheInputs) {
	GL2D_Rect a = {0, 0, 10, 10};
	GL2D_Rect b = {5, 5, 10, 10};
	ASSERT_TRUE(IntersectRect(&a, &b, &a));
	EXPECT_FLOAT_EQ(a.x, 5);
	EXPECT_FLOAT_EQ(a.y, 5);
	EXPECT_FLOAT_EQ(a.w, 5);
	EXPECT_FLOAT_EQ(a.h, 5);
}

TEST(GL2DRect, IntegerIntersection) {
	int x = -1, y = -1, w = -1, h = -1;
	EXPECT_FALSE(IntersectRectInt(0, 0, 10, 10, 10, 0, 5, 5, x, y, w, h));
	EXPECT_EQ(x, -1);
	EXPECT_FALSE(IntersectRectInt(0, 0, 10, 10, 0, 10, 5, 5, x, y, w, h));
	ASSERT_TRUE(IntersectRectInt(0, 0, 10, 10, 3, 4, 20, 2, x, y, w, h));
	EXPECT_EQ(x, 3);
	EXPECT_EQ(y, 4);
	EXPECT_EQ(w, 7);
	EXPECT_EQ(h, 2);
}
