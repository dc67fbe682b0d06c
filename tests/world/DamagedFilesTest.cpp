#include <gtest/gtest.h>

#include <plib/ssg.h>

#include <functional>
#include <ostream>
#include <random>
#include <string>

#include "DamagedFiles.h"
#include "WorldTestKit.h"
#include "world/Aim.h"
#include "world/Arena.h"
#include "world/Ball.h"
#include "world/Disc.h"
#include "world/EntityParts.h"
#include "world/FireEmitter.h"
#include "world/SkyBox.h"
#include "world/Torch.h"

// Damaged copies of the game's own models and textures that crashed, hung or overran memory
// inside the scene-graph library's loaders, each loaded by the object that uses it in play (run
// these under the sanitizer build too). Each is now refused before the library reads it, with an
// error naming the file and the fault, and the object's load fails as it does for a missing file.

namespace {

const unsigned SEED = 20261208;

enum Loader {
	BALL,      // at the start of a match
	DISC,      // the same, with the character's texture set outside the model
	AIM,       // the same
	DAY_SKY,   // the menu's background and a match by day
	NIGHT_SKY, // the same by night
	XENO_DAY,  // the arena by day
	TORCH,     // the arena by night
	FIRE,      // a torch's fire
};

bool LoadWith(Loader loader, WorldScene &scene) {
	switch (loader) {
	case BALL:
	case DISC: {
		Ball ball;
		Disc disc;
		GameObject &object = loader == BALL ? static_cast<GameObject &>(ball) : disc;
		object.Create(scene.root, scene.world, scene.space);
		const bool loaded = loader == BALL ? ball.Load() : disc.Load("webby");
		object.Destroy();
		return loaded;
	}
	case AIM: {
		Disc disc;
		disc.Create(scene.root, nullptr, nullptr);
		Aim aim;
		aim.Init(scene.root, &disc);
		const bool loaded = aim.Load();
		aim.Deinit();
		disc.Destroy();
		return loaded;
	}
	case DAY_SKY:
	case NIGHT_SKY: {
		SkyBox sky;
		const bool loaded = sky.Load(scene.root, loader == NIGHT_SKY, scene.random);
		sky.Deinit();
		return loaded;
	}
	case XENO_DAY: {
		Arena arena(scene.random);
		arena.Create(scene.root, scene.world, scene.space);
		const bool loaded = arena.Load("xeno", 0);
		arena.Destroy();
		return loaded;
	}
	case TORCH: {
		Torch torch(scene.random);
		torch.Create(scene.root);
		const bool loaded = torch.Load();
		torch.Destroy();
		return loaded;
	}
	case FIRE: {
		FireEmitter fire(scene.random);
		fire.Create(scene.root);
		const bool loaded = fire.Load("fire");
		fire.Build();
		fire.Update(100);
		EXPECT_EQ(fire.GetLiveCount(), 0); // refused, it builds nothing
		fire.Destroy();
		return loaded;
	}
	}
	return true;
}

// A hierarchy where the first dummy is placed again, below the object placed below it.
void AppendHierarchyLoop(std::string &file) {
	auto chunk = [](unsigned id, const std::string &content) {
		std::string c(6, '\0');
		Put16(c, 0, id);
		Put32(c, 2, static_cast<unsigned>(6 + content.size()));
		return c + content;
	};
	auto entry = [&](int id, const std::string &name, int parent) {
		std::string place(6, '\0');
		Put16(place, 4, static_cast<unsigned>(parent) & 0xFFFF);
		std::string hierarchy(2, '\0');
		Put16(hierarchy, 0, static_cast<unsigned>(id));
		return chunk(0xB030, hierarchy) + chunk(0xB010, name + std::string(1, '\0') + place);
	};
	file += chunk(0xB000, chunk(0xB002, entry(0, "$$$DUMMY", -1) + entry(1, "m999", 0) + entry(2, "$$$DUMMY_0", 1)));
	Put32(file, 2, static_cast<unsigned>(file.size()));
}

// The object's name runs to the end of the file, every length around it fitting the cut file.
void CutInsideTheObjectName(std::string &file) {
	const size_t object = FindChunk(file, 0x4000);
	const std::vector<ModelChunk> chunks = ModelChunks(file);
	file.resize(AfterName(file, object) - 1);
	for (const ModelChunk &chunk : chunks) {
		if (chunk.at <= object && object < chunk.at + chunk.length) {
			Put32(file, chunk.at + 2, static_cast<unsigned>(file.size() - chunk.at));
		}
	}
}

struct Damaged {
	const char *name;
	const char *file;   // under data/
	const char *before; // what the library's loader did with it
	Loader loader;      // where it goes
	std::function<void(std::string &)> damage;
	const char *refusal; // the error line's start
	const char *reason;  // and the fault it names
};

const Damaged DAMAGED[] = {
	{"SunUnknownChunkOfLengthZero", "misc/sun.3ds", "hangs", DAY_SKY,
		[](std::string &f) { Put32(f, FindChunk(f, 0x3D3E) + 2, 0); },
		"Error: MODEL: data/misc/sun.3ds refused: chunk 3D3E", "length 0, shorter than its header"},
	{"StarNameRunsToTheEnd", "misc/star.3ds", "hangs", NIGHT_SKY, CutInsideTheObjectName,
		"Error: MODEL: data/misc/star.3ds refused: an object's name", "runs past its chunk"},
	{"SunHierarchyLoops", "misc/sun.3ds", "SIGSEGV", DAY_SKY, AppendHierarchyLoop,
		"Error: MODEL: data/misc/sun.3ds refused: object \"$$$DUMMY_0\"", "placed in the hierarchy twice"},
	{"BallFaceUsesAVertexPastTheList", "misc/ball.3ds", "SIGSEGV", BALL,
		[](std::string &f) { Put16(f, FindChunk(f, 0x4120) + 8, 0xFFFF); },
		"Error: MODEL: data/misc/ball.3ds refused: face 0 uses vertex 65535", ""},
	{"BallMaterialFacePastTheList", "misc/ball.3ds", "SIGSEGV", BALL,
		[](std::string &f) { Put16(f, AfterName(f, FindChunk(f, 0x4130)) + 2, 0xFFF0); },
		"Error: MODEL: data/misc/ball.3ds refused: a material's face 65520", ""},
	{"DiscMaterialWithoutAName", "misc/disc.3ds", "SIGSEGV", DISC,
		[](std::string &f) { Put16(f, FindChunk(f, 0xA000, 1), 0xA001); },
		"Error: MODEL: data/misc/disc.3ds refused: material 2 has no name", ""},
	{"XenoDayFaceUsesAVertexPastTheList", "arena/xeno_day.3ds", "SIGSEGV", XENO_DAY,
		[](std::string &f) { Put16(f, FindChunk(f, 0x4120, 1) + 8, 0xFFFF); },
		"Error: MODEL: data/arena/xeno_day.3ds refused: face 0 uses vertex 65535", ""},
	{"XenoFieldWithoutVertices", "arena/xeno_field.3ds", "SIGSEGV", XENO_DAY,
		[](std::string &f) { Put16(f, FindChunk(f, 0x4110), 0x4111); },
		"Error: MODEL: data/arena/xeno_field.3ds refused: a face list", "in a mesh without vertices"},
	{"TorchFaceCountPastItsChunk", "misc/torch.3ds", "SIGSEGV", TORCH,
		[](std::string &f) { Put16(f, FindChunk(f, 0x4120) + 6, 0xFFFF); },
		"Error: MODEL: data/misc/torch.3ds refused: 65535 faces in", ""},
	{"TorchChunkNumberedZero", "misc/torch.3ds", "hangs", TORCH,
		[](std::string &f) { Put16(f, FindChunk(f, 0x4140, 1), 0); },
		"Error: MODEL: data/misc/torch.3ds refused: chunk 0000", "the reader takes 0"},
	{"SunTextureIsAnotherKindOfFile", "misc/sun.3ds", "runs \"convert\" on it through the shell", DAY_SKY,
		[](std::string &f) { Rename(f, FindChunk(f, 0xA300), "fire.spk"); },
		"Error: MODEL: data/misc/sun.3ds refused: material 1: \"fire.spk\"", "(.bmp)"},
	{"BallTextureHeightHugeAndNegative", "misc/ball.bmp", "SIGSEGV", BALL,
		[](std::string &f) { Put32(f, 22, static_cast<unsigned>(-793236769)); },
		"Error: TEXTURE: data/misc/ball.bmp for data/misc/ball.3ds refused: 256 x -793236769 pixels", ""},
	{"SunTextureHeightAtTheIntegerLimit", "misc/sun.bmp", "SIGABRT", DAY_SKY,
		[](std::string &f) { Put32(f, 22, 0x80000000u); },
		"Error: TEXTURE: data/misc/sun.bmp for data/misc/sun.3ds refused: 128 x -2147483648 pixels", ""},
	{"LineTextureHeightAtTheIntegerLimit", "misc/line.bmp", "SIGABRT", AIM,
		[](std::string &f) { Put32(f, 22, 0x80000000u); },
		"Error: TEXTURE: data/misc/line.bmp for data/misc/line.3ds refused: 32 x -2147483648 pixels", ""},
	{"DiscCharacterTextureWidthHuge", "misc/webby256_disc.bmp", "SIGABRT", DISC,
		[](std::string &f) { Put32(f, 18, 1u << 30); },
		"Error: TEXTURE: data/misc/webby256_disc.bmp refused: 1073741824 x 256 pixels", ""},
	{"FireTextureHeightAtTheIntegerLimit", "misc/flame.bmp", "SIGABRT", FIRE,
		[](std::string &f) { Put32(f, 22, 0x80000000u); },
		"Error: TEXTURE: data/misc/flame.bmp refused: 64 x -2147483648 pixels", ""},
};

void PrintTo(const Damaged &damaged, std::ostream *out) {
	*out << damaged.file << " " << damaged.name;
}

class DamagedFile : public ::testing::TestWithParam<Damaged> {};

} // namespace

TEST_P(DamagedFile, IsRefusedBeforeTheLoaderReadsIt) {
	const Damaged &c = GetParam();
	WorldScene scene;
	std::string bytes = ReadBinary(BuildDataDir() + "/" + c.file);
	ASSERT_FALSE(bytes.empty());
	c.damage(bytes);
	scene.dir.WriteText(std::string("data/") + c.file, bytes);
	EXPECT_FALSE(LoadWith(c.loader, scene)) << c.file << " (the loader's answer was: " << c.before << ")";
	const std::string log = scene.log.Text();
	const size_t at = log.find(c.refusal);
	ASSERT_NE(at, std::string::npos) << log;
	EXPECT_NE(log.substr(at, log.find('\n', at) - at).find(c.reason), std::string::npos) << log;
	EXPECT_EQ(log.find("Error:"), at) << "the refusal comes first";
	EXPECT_EQ(scene.root->getNumKids(), 0); // nothing left behind
}

INSTANTIATE_TEST_SUITE_P(Regressions, DamagedFile, ::testing::ValuesIn(DAMAGED),
	[](const ::testing::TestParamInfo<Damaged> &info) { return std::string(info.param.name); });

// Damaged copies of every model and texture of the game through the loader: each is refused with
// one error, or the library reads it whole (the sanitizer build watches that run too).
TEST(DamagedFiles, CopiesAreReadWholeOrRefusedWithAnError) {
	WorldScene scene;
	std::mt19937 random(SEED);
	int loaded = 0, refused = 0;
	auto tally = [&](bool ok, int errorsBefore) {
		EXPECT_EQ(scene.log.Count("Error:"), errorsBefore + (ok ? 0 : 1)) << scene.log.Text();
		(ok ? loaded : refused)++;
	};
	for (const std::string &name : ShippedFiles(".3ds")) {
		const std::string good = ReadBinary(BuildDataDir() + "/" + name);
		const std::string folder = "data/" + name.substr(0, name.find('/'));
		for (int i = 0; i < 10; i++) {
			scene.dir.WriteText("data/" + name, DamageModel(good, random));
			const int errors = scene.log.Count("Error:");
			ssgEntity *model = LoadEntityModel(folder.c_str(), name.substr(name.find('/') + 1).c_str(), true);
			tally(model != nullptr, errors);
			ReleaseEntityModel(model);
		}
		scene.dir.WriteText("data/" + name, good);
	}
	for (const std::string &name : ShippedFiles(".bmp")) {
		const std::string good = ReadBinary(BuildDataDir() + "/" + name);
		for (int i = 0; i < 4; i++) {
			scene.dir.WriteText("data/" + name, DamageTexture(good, random));
			const int errors = scene.log.Count("Error:");
			ssgSimpleState *state = new ssgSimpleState();
			state->ref();
			tally(SetEntityTexture(state, ("data/" + name).c_str(), i % 2 == 0), errors);
			ssgDeRefDelete(state);
		}
		scene.dir.WriteText("data/" + name, good);
	}
	printf("damaged copies: %d read, %d refused\n", loaded, refused);
	EXPECT_GT(loaded, 0);
	EXPECT_GT(refused, 0);
}
