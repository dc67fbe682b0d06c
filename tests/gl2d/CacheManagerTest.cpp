#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Gl2dTestKit.h"
#include "gl2d/GL2D_BmpRect.h"
#include "gl2d/GL2D_BmpText.h"
#include "gl2d/GL2D_CacheManager.h"
#include "gl2d/GL2D_SimpleBmpRect.h"
#include "gl2d/GL2D_TrueTypeText.h"

namespace {

class GL2DCacheManager : public Gl2dTest {
protected:
	void SetUp() override {
		Gl2dTest::SetUp();
		SaveBmp(MakeImage(24, 24, Pattern), "pic.bmp");
		dir.WriteText("frame.nbr", "pic.bmp\n-\n0,0,8,8\n8,0,8,8\n16,0,8,8\n0,8,8,8\n8,8,8,8\n16,8,8,8\n"
								   "0,16,8,8\n8,16,8,8\n16,16,8,8\n");
		dir.WriteText("logo.nsbr", "pic.bmp\n-\n");
		dir.WriteText("font.nbf", "pic.bmp - AB 8 8 3 0 0 0 1\n");
		dir.WriteText("menu.ntf", "DejaVuSans.ttf 14 0,0,0\n");
	}
};

} // namespace

TEST_F(GL2DCacheManager, SameNameSharesOneRect) {
	GL2D_CacheManager cache;
	GL2D_BmpRect *first = cache.GetRect("frame.nbr");
	ASSERT_NE(first, nullptr);
	EXPECT_EQ(first->GetRegionCount(), 9);
	EXPECT_EQ(cache.GetRect("frame.nbr"), first);
	// Another spelling of the same file is another entry.
	GL2D_BmpRect *dotted = cache.GetRect("./frame.nbr");
	ASSERT_NE(dotted, nullptr);
	EXPECT_NE(dotted, first);
	EXPECT_EQ(cache.GetRectCount(), 2);

	GL2D_SimpleBmpRect *logo = cache.GetSimpleRect("logo.nsbr");
	ASSERT_NE(logo, nullptr);
	EXPECT_EQ(cache.GetSimpleRect("logo.nsbr"), logo);
	EXPECT_EQ(cache.GetSimpleRectCount(), 1);
}

TEST_F(GL2DCacheManager, OtherColourIsOtherFont) {
	GL2D_CacheManager cache;
	GL2D_Font *white = cache.GetFont("menu.ntf", 1, 1, 1, 1);
	ASSERT_NE(white, nullptr);
	GL2D_Font *red = cache.GetFont("menu.ntf", 1, 0, 0, 1);
	ASSERT_NE(red, nullptr);
	EXPECT_NE(red, white);
	EXPECT_EQ(cache.GetFont("menu.ntf", 1, 1, 1, 1), white);
	EXPECT_NE(cache.GetFont("menu.ntf", 1, 1, 1, 0.5f), white);
	EXPECT_EQ(red->GetColor().g, 0.0f);
	EXPECT_NE(dynamic_cast<GL2D_TrueTypeText *>(red), nullptr);

	// A bitmap font keeps its own colour, but the colour asked for still tells entries apart.
	GL2D_Font *bitmap = cache.GetFont("font.nbf", 0, 0, 1, 1);
	ASSERT_NE(bitmap, nullptr);
	EXPECT_NE(dynamic_cast<GL2D_BmpText *>(bitmap), nullptr);
	EXPECT_EQ(bitmap->GetColor().r, 1.0f);
	EXPECT_EQ(cache.GetFont("font.nbf", 0, 0, 1, 1), bitmap);
	EXPECT_NE(cache.GetFont("font.nbf", 0, 1, 1, 1), bitmap);
	EXPECT_EQ(cache.GetFontCount(), 5);

	// Another scale is another TrueType font, rendered at its size; a bitmap font has one size.
	GL2D_Font *twice = cache.GetFont("menu.ntf", 1, 1, 1, 1, 2.0f);
	ASSERT_NE(twice, nullptr);
	EXPECT_NE(twice, white);
	EXPECT_EQ(cache.GetFont("menu.ntf", 1, 1, 1, 1, 2.0f), twice);
	EXPECT_NEAR(twice->GetFontHeight(), 2 * white->GetFontHeight(), 2);
	EXPECT_EQ(cache.GetFont("font.nbf", 0, 0, 1, 1, 2.0f), bitmap);
	EXPECT_EQ(cache.GetFontCount(), 6);

	// Both draw.
	red->Write(10, 10, "Red");
	Grab();
	EXPECT_FALSE(Empty(10, 10, 40, 20));
}

TEST_F(GL2DCacheManager, WrongExtensionGivesNoneAndAFailedLoadIsTriedAgain) {
	GL2D_CacheManager cache;
	EXPECT_EQ(cache.GetRect("logo.nsbr"), nullptr);
	EXPECT_EQ(cache.GetSimpleRect("frame.nbr"), nullptr);
	EXPECT_EQ(cache.GetFont("frame.nbr", 1, 1, 1, 1), nullptr);
	EXPECT_EQ(cache.GetRect("frame.NBR"), nullptr);
	EXPECT_EQ(cache.GetRect("frame"), nullptr);
	EXPECT_EQ(cache.GetRect(nullptr), nullptr);
	EXPECT_EQ(cache.GetSimpleRect(std::string(300, 'a').append(".nsbr").c_str()), nullptr);
	// A failed load keeps nothing and is tried again.
	EXPECT_EQ(cache.GetRect("later.nbr"), nullptr);
	EXPECT_EQ(cache.GetFont("lost.ntf", 1, 1, 1, 1), nullptr);
	EXPECT_EQ(cache.GetRectCount() + cache.GetSimpleRectCount() + cache.GetFontCount(), 0);
	dir.WriteText("later.nbr", dir.ReadText("frame.nbr"));
	EXPECT_NE(cache.GetRect("later.nbr"), nullptr);
	EXPECT_EQ(cache.GetRectCount(), 1);
}

TEST_F(GL2DCacheManager, DestroyingTheCacheDestroysWhatItMade) {
	ASSERT_EQ(GL2D_TrueTypeText::GetLibraryUsers(), 0);
	std::unique_ptr<GL2D_CacheManager> cache(new GL2D_CacheManager);
	ASSERT_NE(cache->GetFont("menu.ntf", 1, 1, 1, 1), nullptr);
	ASSERT_NE(cache->GetFont("menu.ntf", 0, 1, 0, 1), nullptr);
	ASSERT_NE(cache->GetRect("frame.nbr"), nullptr);
	EXPECT_EQ(GL2D_TrueTypeText::GetLibraryUsers(), 2);
	cache.reset();
	EXPECT_EQ(GL2D_TrueTypeText::GetLibraryUsers(), 0);
}
