#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "DamagedFiles.h"
#include "ScratchDir.h"
#include "core/DataFileName.h"
#include "core/ModelFileCheck.h"
#include "core/TextureFileCheck.h"

namespace {

const unsigned SEED = 20261207;

std::string Chunk(unsigned id, const std::string &content) {
	std::string chunk(6, '\0');
	Put16(chunk, 0, id);
	Put32(chunk, 2, static_cast<unsigned>(6 + content.size()));
	return chunk + content;
}

std::string Name(const std::string &text) {
	return text + std::string(1, '\0');
}

std::string Short(unsigned value) {
	std::string bytes(2, '\0');
	Put16(bytes, 0, value);
	return bytes;
}

// A model of one object whose faces all use vertex 0.
std::string FanModel(int faces) {
	std::string vertices = Short(3) + std::string(36, '\0');
	std::string list = Short(static_cast<unsigned>(faces));
	for (int i = 0; i < faces; i++) {
		list += std::string(8, '\0');
	}
	list += Chunk(0x4130, Name("m") + Short(0));
	const std::string mesh = Chunk(0x4100, Chunk(0x4110, vertices) + Chunk(0x4120, list));
	return Chunk(0x4D4D, Chunk(0x3D3D, Chunk(0xAFFF, Chunk(0xA000, Name("m"))) + Chunk(0x4000, Name("fan") + mesh)));
}

// The sun's model with a hierarchy of the given entries (id, name, parent id) appended.
std::string WithHierarchy(std::string model, const std::vector<std::tuple<int, std::string, int>> &entries) {
	std::string frames;
	for (const auto &[id, name, parent] : entries) {
		frames += Chunk(0xB030, Short(static_cast<unsigned>(id)));
		frames += Chunk(0xB010, Name(name) + Short(0) + Short(0) + Short(static_cast<unsigned>(parent) & 0xFFFF));
	}
	model += Chunk(0xB000, Chunk(0xB002, frames));
	Put32(model, 2, static_cast<unsigned>(model.size()));
	return model;
}

bool CheckModel(const std::string &file, std::string *problem = nullptr) {
	ModelFileCheck check;
	const bool passed = check.Check(reinterpret_cast<const unsigned char *>(file.data()), file.size());
	if (problem) {
		*problem = check.GetProblem();
	}
	return passed;
}

bool CheckTexture(const std::string &file, std::string *problem = nullptr) {
	TextureFileCheck check;
	const bool passed = check.Check(reinterpret_cast<const unsigned char *>(file.data()), file.size(), file.size());
	if (problem) {
		*problem = check.GetProblem();
	}
	return passed;
}

// A BMP picture of 8 bits per pixel with its 256 colours.
std::string EightBitPicture(int width, int height) {
	const unsigned rowBytes = (static_cast<unsigned>(width) + 3) / 4 * 4;
	std::string file(54 + 1024 + rowBytes * height, '\0');
	file[0] = 'B';
	file[1] = 'M';
	Put32(file, 2, static_cast<unsigned>(file.size()));
	Put32(file, 10, 54 + 1024);
	Put32(file, 14, 40);
	Put32(file, 18, static_cast<unsigned>(width));
	Put32(file, 22, static_cast<unsigned>(height));
	Put16(file, 26, 1);
	Put16(file, 28, 8);
	return file;
}

} // namespace

TEST(FileChecks, ModelsTheReaderWouldMishandleAreRefusedWithTheFault) {
	const std::string sun = ReadBinary(BuildDataDir() + "/misc/sun.3ds");
	ASSERT_TRUE(CheckModel(sun));
	std::string materials;
	for (int i = 0; i <= ModelFileCheck::MAX_MATERIALS; i++) {
		materials += Chunk(0xAFFF, Chunk(0xA000, Name("m" + std::to_string(i))));
	}
	const struct {
		const char *what;
		std::function<std::string()> make;
		const char *fault;
	} cases[] = {
		{"empty", [] { return std::string(); }, "does not open with the main chunk"},
		{"cut in a header",
			[&] {
				std::string f = sun + "\x10\x00\x09";
				Put32(f, 2, static_cast<unsigned>(f.size()));
				return f;
			},
			"its header is cut short"},
		{"past its parent",
			[&] {
				std::string f = sun;
				Put32(f, 2, static_cast<unsigned>(f.size() + 1));
				return f;
			},
			"length 581 runs past its parent"},
		{"longer than its reading",
			[&] {
				std::string f = sun;
				Put32(f, FindChunk(f, 0x4110) + 2, 57);
				return f;
			},
			"the reader takes"},
		{"two vertex lists",
			[&] {
				std::string f = sun;
				Duplicate(f, FindChunk(f, 0x4110));
				return f;
			},
			"a mesh with two vertex lists"},
		{"two face lists",
			[&] {
				std::string f = sun;
				Duplicate(f, FindChunk(f, 0x4120));
				return f;
			},
			"a mesh with two face lists"},
		{"fewer mapping coordinates",
			[&] {
				std::string f = sun;
				const size_t map = FindChunk(f, 0x4140);
				Put16(f, map + 6, 3);
				Shorten(f, map, 8);
				return f;
			},
			"3 mapping coordinates for 4 vertices"},
		{"an endless vertex",
			[&] {
				std::string f = sun;
				Put32(f, FindChunk(f, 0x4110) + 8, 0x7F800000);
				return f;
			},
			"a number that is not finite"},
		{"a material named twice",
			[&] {
				std::string f = sun;
				Duplicate(f, FindChunk(f, 0xA000));
				return f;
			},
			"material 1 is named twice"},
		{"two textures",
			[&] {
				std::string f = sun;
				Duplicate(f, FindChunk(f, 0xA300));
				return f;
			},
			"material 1 names two textures"},
		{"an unknown material",
			[&] {
				std::string f = sun;
				f[AfterName(f, FindChunk(f, 0x4130)) - 2] = 'x';
				return f;
			},
			"faces of material \"sux\", which is not defined before them"},
		{"a texture of a folder",
			[&] {
				std::string f = sun;
				Rename(f, FindChunk(f, 0xA300), "maps/");
				return f;
			},
			"\"\" is not 1 to 64 characters long (.bmp)"},
		{"a long name",
			[&] {
				std::string f = sun;
				Rename(f, FindChunk(f, 0x4000), std::string(256, 'n'));
				return f;
			},
			"longer than 255 characters"},
		{"a shared vertex", [] { return FanModel(1400); }, "share their vertices too widely"},
		{"faces of no material",
			[&] {
				std::string f = sun;
				f[FindChunk(f, 0x4130)] = 0x35;
				return f;
			},
			"names no material"},
		{"many materials",
			[&] {
				std::string f = Chunk(0x4D4D, Chunk(0x3D3D, materials));
				return f;
			},
			"more than 256 materials"},
		{"many chunks",
			[] {
				std::string chunks;
				for (int i = 0; i <= ModelFileCheck::MAX_CHUNKS; i++) {
					chunks += Chunk(0x1234, "");
				}
				return Chunk(0x4D4D, chunks);
			},
			"more than 100000 chunks"},
		{"a parent that is not there",
			[&] {
				return WithHierarchy(sun, {{0, "m999", 5}});
			},
			"has no parent 5"},
		{"below itself",
			[&] {
				return WithHierarchy(sun, {{0, "m999", 0}});
			},
			"\"m999\" placed below itself"},
	};
	for (const auto &c : cases) {
		SCOPED_TRACE(c.what);
		std::string problem;
		EXPECT_FALSE(CheckModel(c.make(), &problem));
		EXPECT_NE(problem.find(c.fault), std::string::npos) << problem;
	}
	// Hierarchies the reader builds as trees pass, dummies included.
	EXPECT_TRUE(CheckModel(WithHierarchy(sun, {{0, "$$$DUMMY", -1}, {1, "m999", 0}, {-1, "$$$DUMMY", 1}})));
	EXPECT_TRUE(CheckModel(FanModel(1300)));
	ScratchDir dir;
	dir.WriteText("sun.3ds", sun);
	dir.WriteText("huge.3ds", sun + std::string(ModelFileCheck::MAX_FILE_BYTES, '\0'));
	ModelFileCheck check;
	EXPECT_TRUE(check.CheckFile("sun.3ds"));
	EXPECT_EQ(check.GetTextures(), std::vector<std::string>{"sun.bmp"});
	EXPECT_FALSE(check.CheckFile("huge.3ds"));
	EXPECT_EQ(check.GetProblem(), "8389188 bytes, more than 8388608");
	EXPECT_FALSE(check.IsMissing());
	EXPECT_FALSE(check.CheckFile("moon.3ds"));
	EXPECT_TRUE(check.IsMissing());

	for (const char *name : {"ball.3ds", "BALL.3DS", "a-b_c.1.3ds"}) {
		EXPECT_TRUE(ModelFileCheck::CheckName(name, nullptr)) << name;
	}
	std::string problem;
	for (const char *name : {"../ball.3ds", "data/ball.3ds", "ball.ac", ".3ds", "", "a b.3ds", "ball.3ds;x"}) {
		EXPECT_FALSE(ModelFileCheck::CheckName(name, &problem)) << name;
	}
	EXPECT_EQ(problem, "\"ball.3ds;x\" is not made of letters, digits, '_', '-' and '.' (.3ds)");
	EXPECT_EQ(PrintableText("a\nb\x01\xff", 3), "a?b");
}

TEST(FileChecks, TexturesTheReaderWouldMishandleAreRefusedWithTheFault) {
	const std::string sun = ReadBinary(BuildDataDir() + "/misc/sun.bmp");
	ASSERT_TRUE(CheckTexture(sun));
	const struct {
		const char *what;
		size_t at;      // byte to change; 0 to cut the file to `value` bytes
		unsigned value; // a 32-bit field, or 16 bits at 26 and 28
		const char *fault;
	} cases[] = {
		{"a cut header", 0, 40, "40 bytes, shorter than a BMP header"},
		{"cut pixels", 0, 65589, "pixels run to byte 65590 of a 65589-byte file"},
		{"a core header", 14, 12, "info header of 12 bytes"},
		{"no width", 18, 0, "0 x 128 pixels, outside 1 to 4096"},
		{"too wide", 18, 4097, "4097 x 128 pixels"},
		{"no height", 22, 0, "128 x 0 pixels"},
		{"too tall top down", 22, static_cast<unsigned>(-4097), "128 x -4097 pixels"},
		{"two planes", 26, 2, "2 planes of 32 bits per pixel"},
		{"16 bits", 28, 16, "1 planes of 16 bits per pixel"},
		{"compressed", 30, 1, "compressed (method 1)"},
		{"pixels in the header", 10, 20, "pixels at byte 20, inside the header"},
		{"pixels far away", 10, 0xFFFFFFF0u, "pixels run to byte"},
	};
	for (const auto &c : cases) {
		SCOPED_TRACE(c.what);
		std::string file = sun;
		if (c.at == 0) {
			file.resize(c.value);
		} else if (c.at == 26 || c.at == 28) {
			Put16(file, c.at, c.value);
		} else {
			Put32(file, c.at, c.value);
		}
		std::string problem;
		EXPECT_FALSE(CheckTexture(file, &problem));
		EXPECT_NE(problem.find(c.fault), std::string::npos) << problem;
	}
	std::string problem;
	std::string swapped = sun;
	swapped.replace(0, 2, "MB");
	EXPECT_FALSE(CheckTexture(swapped, &problem));
	EXPECT_EQ(problem, "not a BMP picture");

	// Top-down rows and 8 bits with the whole palette read as they are.
	std::string topDown = sun;
	Put32(topDown, 22, static_cast<unsigned>(-128));
	TextureFileCheck check;
	ASSERT_TRUE(check.Check(reinterpret_cast<const unsigned char *>(topDown.data()), 54, topDown.size()));
	EXPECT_EQ(check.GetHeight(), -128);
	EXPECT_TRUE(CheckTexture(EightBitPicture(5, 3)));
	std::string shortPalette = EightBitPicture(5, 3);
	Put32(shortPalette, 10, 54 + 64);
	EXPECT_FALSE(CheckTexture(shortPalette, &problem));
	EXPECT_EQ(problem, "pixels at byte 118, inside the header");
	std::string longHeader = EightBitPicture(5, 3);
	Put32(longHeader, 14, 108);
	EXPECT_FALSE(CheckTexture(longHeader, &problem));
	EXPECT_EQ(problem, "8 bits per pixel with an info header of 108 bytes");

	// Paths stay below the working directory and name BMP files.
	ScratchDir dir;
	dir.WriteText("data/sun.bmp", sun);
	EXPECT_TRUE(check.CheckFile("data/sun.bmp"));
	EXPECT_EQ(check.GetWidth(), 128);
	EXPECT_FALSE(check.CheckFile("data/moon.bmp"));
	EXPECT_TRUE(check.IsMissing());
	for (const char *path : {"data/../data/sun.bmp", "../sun.bmp", "/tmp/sun.bmp", "data/sun.png", "data/", ""}) {
		EXPECT_FALSE(check.CheckFile(path)) << path;
		EXPECT_FALSE(check.IsMissing()) << path;
	}
}

// The game's own files pass; every cut of one and hundreds of damaged copies are checked without
// reading outside them (the sanitizer build watches), and a cut file is always refused.
TEST(FileChecks, CutAndDamagedCopiesOfTheGameFiles) {
	std::mt19937 random(SEED);
	int passed = 0, refused = 0;
	for (const std::string &name : ShippedFiles(".3ds")) {
		SCOPED_TRACE(name);
		const std::string good = ReadBinary(BuildDataDir() + "/" + name);
		ModelFileCheck check;
		ASSERT_TRUE(check.Check(reinterpret_cast<const unsigned char *>(good.data()), good.size()))
			<< check.GetProblem();
		EXPECT_FALSE(check.GetTextures().empty());
		for (const std::string &texture : check.GetTextures()) {
			const std::string folder = name.substr(0, name.find('/') + 1);
			EXPECT_TRUE(CheckTexture(ReadBinary(BuildDataDir() + "/" + folder + texture))) << texture;
		}
		for (size_t cut = 0; cut < good.size(); cut += 1 + good.size() / 97) {
			EXPECT_FALSE(CheckModel(good.substr(0, cut))) << "cut at " << cut;
		}
		for (int i = 0; i < 150; i++) {
			(CheckModel(DamageModel(good, random)) ? passed : refused)++;
		}
	}
	for (const std::string &name : ShippedFiles(".bmp")) {
		SCOPED_TRACE(name);
		const std::string good = ReadBinary(BuildDataDir() + "/" + name);
		ASSERT_TRUE(CheckTexture(good));
		for (size_t cut = 0; cut < good.size(); cut += 1 + good.size() / 97) {
			EXPECT_FALSE(CheckTexture(good.substr(0, cut))) << "cut at " << cut;
		}
		for (int i = 0; i < 150; i++) {
			(CheckTexture(DamageTexture(good, random)) ? passed : refused)++;
		}
	}
	printf("damaged copies: %d passed, %d refused\n", passed, refused);
	EXPECT_GT(passed, 0);
	EXPECT_GT(refused, 0);
}
