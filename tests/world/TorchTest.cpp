#include <gtest/gtest.h>

#include <plib/ssg.h>

#include <string>

#include "SceneFixture.h"
#include "world/FireEmitter.h"
#include "world/Torch.h"

namespace {

void LinkTorchData(const SceneFixture &f, bool withFire) {
	f.LinkData("misc/torch.3ds");
	f.LinkData("misc/torch_wood.bmp");
	if (withFire) {
		f.LinkData("misc/fire.spk");
		f.LinkData("misc/flame.bmp");
	}
}

void ExpectAt(ssgTransform *node, float x, float y, float z) {
	sgMat4 m;
	node->getTransform(m);
	EXPECT_TRUE(VecIs(m[3], x, y, z));
}

} // namespace

TEST(Torch, CarriesItsModelWithAFireTwentyUnitsAbove) {
	SceneFixture f;
	LinkTorchData(f, true);
	Torch torch(f.random);
	torch.Create(f.root);
	EXPECT_EQ(torch.GetType(), 6);
	EXPECT_EQ(torch.GetBody(), nullptr);
	ASSERT_TRUE(torch.Load());
	EXPECT_EQ(f.CountInLog("TORCH: Initializing..."), 1);
	EXPECT_EQ(f.CountInLog("TORCH: ...Done!"), 1);
	ASSERT_NE(torch.GetModel(), nullptr);
	EXPECT_EQ(torch.GetNode()->getKid(0), torch.GetModel());

	const FireEmitter *fire = torch.GetFire();
	ASSERT_NE(fire, nullptr);
	EXPECT_EQ(fire->GetType(), 5);
	EXPECT_EQ(fire->GetParent(), f.root); // beside the torch, not under it
	EXPECT_EQ(f.root->getNumKids(), 2);
	ASSERT_NE(fire->GetSystem(), nullptr);

	sgVec3 place = {60.0f, -40.0f, -7.0f};
	torch.SetPosition(place);
	float x, y, z;
	fire->GetPosition(x, y, z);
	EXPECT_FLOAT_EQ(x, 60.0f);
	EXPECT_FLOAT_EQ(y, -40.0f);
	EXPECT_FLOAT_EQ(z, 13.0f);
	torch.SetPosition(1.0f, 2.0f, 3.0f);
	fire->GetPosition(x, y, z);
	EXPECT_FLOAT_EQ(z, 23.0f);

	for (int frame = 0; frame < 20; frame++) {
		torch.Update(16);
	}
	EXPECT_EQ(torch.GetLastDt(), 16);
	EXPECT_EQ(fire->GetLastDt(), 16);
	ExpectAt(torch.GetNode(), 1.0f, 2.0f, 3.0f);
	ExpectAt(fire->GetNode(), 1.0f, 2.0f, 23.0f);
	EXPECT_GT(fire->GetLiveCount(), 0);

	torch.Destroy();
	EXPECT_EQ(torch.GetFire(), nullptr);
	EXPECT_EQ(f.root->getNumKids(), 0);
}

TEST(Torch, WithoutItsModelLoadFails) {
	SceneFixture f;
	f.LinkData("misc/fire.spk");
	Torch torch(f.random);
	torch.Create(f.root);
	EXPECT_FALSE(torch.Load());
	EXPECT_EQ(f.CountInLog("TORCH: Initializing..."), 1);
	EXPECT_EQ(f.CountInLog("TORCH: ...Done!"), 0);
	EXPECT_EQ(torch.GetFire(), nullptr);
	torch.Destroy();
	EXPECT_EQ(f.root->getNumKids(), 0);
}

TEST(Torch, AMissingOrRefusedFireFileOnlyMeansNoFire) {
	SceneFixture f;
	LinkTorchData(f, false);
	Torch unlit(f.random);
	unlit.Create(f.root);
	ASSERT_TRUE(unlit.Load()); // no fire.spk at all
	EXPECT_EQ(unlit.GetFire(), nullptr);

	f.WriteData("misc/fire.spk", "flame.bmp\n2.6\n0.007\n1.8\n1.0,0.95,0.5\n0.9,0.2,0.05\n0\n0\n60\n0.07\n1.0\n");
	Torch refused(f.random);
	refused.Create(f.root);
	ASSERT_TRUE(refused.Load()); // a life of 0 ms
	EXPECT_EQ(refused.GetFire(), nullptr);
	EXPECT_EQ(f.CountInLog("TORCH: ...Done!"), 2);
	EXPECT_EQ(f.root->getNumKids(), 2); // the two torches, no flames

	for (Torch *torch : {&unlit, &refused}) {
		torch->SetPosition(5.0f, 5.0f, -7.0f);
		torch->Update(16);
		ExpectAt(torch->GetNode(), 5.0f, 5.0f, -7.0f);
		torch->Destroy();
	}
	EXPECT_EQ(f.root->getNumKids(), 0);
}
