#include <gtest/gtest.h>

#include <plib/ssg.h>

#include <filesystem>

#include "WorldTestKit.h"
#include "world/FireEmitter.h"
#include "world/Torch.h"

TEST(Torch, CarriesItsModelWithAFireTwentyUnitsAbove) {
	WorldScene scene;
	Torch torch(scene.random);
	torch.Create(scene.root);
	ASSERT_TRUE(torch.Load());
	EXPECT_EQ(scene.log.Count("TORCH: ...Done!"), 1);
	EXPECT_EQ(torch.GetNode()->getKid(0), torch.GetModel());
	const FireEmitter *fire = torch.GetFire();
	ASSERT_NE(fire, nullptr);
	EXPECT_EQ(fire->GetParent(), scene.root); // beside the torch, not under it

	torch.SetPosition(1.0f, 2.0f, 3.0f);
	for (int frame = 0; frame < 20; frame++) {
		torch.Update(16);
	}
	sgMat4 m;
	torch.GetNode()->getTransform(m);
	EXPECT_TRUE(VecIs(m[3], 1.0f, 2.0f, 3.0f));
	fire->GetNode()->getTransform(m);
	EXPECT_TRUE(VecIs(m[3], 1.0f, 2.0f, 23.0f));
	EXPECT_GT(fire->GetLiveCount(), 0);
	torch.Destroy();
	EXPECT_EQ(scene.root->getNumKids(), 0);
}

TEST(Torch, WithoutItsModelLoadFailsAndWithoutItsFireItStandsUnlit) {
	WorldScene scene;
	std::filesystem::remove("data/misc/torch.3ds");
	Torch missing(scene.random);
	missing.Create(scene.root);
	EXPECT_FALSE(missing.Load());
	EXPECT_EQ(scene.log.Count("TORCH: ...Done!"), 0);
	missing.Destroy();

	std::filesystem::create_symlink(BuildDataDir() + "/misc/torch.3ds", "data/misc/torch.3ds");
	std::filesystem::remove("data/misc/fire.spk");
	Torch unlit(scene.random);
	unlit.Create(scene.root);
	ASSERT_TRUE(unlit.Load());
	// A life of 0 ms is refused the same way.
	scene.dir.WriteText(
		"data/misc/fire.spk", "flame.bmp\n2.6\n0.007\n1.8\n1.0,0.95,0.5\n0.9,0.2,0.05\n0\n0\n60\n0.07\n1.0\n");
	Torch refused(scene.random);
	refused.Create(scene.root);
	ASSERT_TRUE(refused.Load());
	EXPECT_EQ(scene.root->getNumKids(), 2); // the two torches, no flames
	for (Torch *torch : {&unlit, &refused}) {
		EXPECT_EQ(torch->GetFire(), nullptr);
		torch->SetPosition(5.0f, 5.0f, -7.0f);
		torch->Update(16);
		torch->Destroy();
	}
	EXPECT_EQ(scene.root->getNumKids(), 0);
}
