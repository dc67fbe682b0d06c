#include "DamagedFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ScratchDir.h"

namespace {

unsigned Get16(const std::string &file, size_t at) {
	return static_cast<unsigned char>(file[at]) | static_cast<unsigned char>(file[at + 1]) << 8;
}

unsigned Get32(const std::string &file, size_t at) {
	return Get16(file, at) | Get16(file, at + 2) << 16;
}

// Containers and what comes before their sub-chunks: 0 bytes, a name, or a face list's faces.
enum Opening {
	LEAF,
	NOTHING,
	NAME,
	FACES
};

Opening OpeningOf(unsigned id) {
	switch (id) {
	case 0x4D4D:
	case 0x3D3D:
	case 0xAFFF:
	case 0xA010:
	case 0xA020:
	case 0xA030:
	case 0xA200:
	case 0x4100:
	case 0xB000:
	case 0xB002: return NOTHING;
	case 0x4000: return NAME;
	case 0x4120: return FACES;
	default: return LEAF;
	}
}

void Collect(const std::string &file, size_t at, size_t end, std::vector<ModelChunk> &out) {
	while (at + 6 <= end) {
		const unsigned id = Get16(file, at);
		const size_t length = Get32(file, at + 2);
		if (length < 6 || length > end - at) {
			return;
		}
		out.push_back({at, id, length, end});
		size_t inside = at + 6;
		switch (OpeningOf(id)) {
		case NAME: inside = AfterName(file, at); break;
		case FACES: inside += 2 + 8 * Get16(file, inside); break;
		default: break;
		}
		if (OpeningOf(id) != LEAF && inside <= at + length) {
			Collect(file, inside, at + length, out);
		}
		at += length;
	}
}

template <typename T>
const T &Pick(const std::vector<T> &items, std::mt19937 &random) {
	return items[random() % items.size()];
}

} // namespace

std::vector<ModelChunk> ModelChunks(const std::string &file) {
	std::vector<ModelChunk> chunks;
	Collect(file, 0, file.size(), chunks);
	return chunks;
}

size_t FindChunk(const std::string &file, unsigned id, int n) {
	for (const ModelChunk &chunk : ModelChunks(file)) {
		if (chunk.id == id && n-- == 0) {
			return chunk.at;
		}
	}
	ADD_FAILURE() << "no chunk " << std::hex << id;
	return 0;
}

size_t AfterName(const std::string &file, size_t chunk) {
	const size_t nul = file.find('\0', chunk + 6);
	return nul == std::string::npos ? file.size() : nul + 1;
}

namespace {

// Grows (or shrinks) by delta bytes every chunk that holds the byte at.
void Resize(std::string &file, const std::vector<ModelChunk> &chunks, size_t at, long delta) {
	for (const ModelChunk &around : chunks) {
		if (around.at <= at && at < around.at + around.length) {
			Put32(file, around.at + 2, static_cast<unsigned>(around.length + delta));
		}
	}
}

} // namespace

void Rename(std::string &file, size_t chunk, const std::string &name) {
	const std::vector<ModelChunk> chunks = ModelChunks(file);
	const size_t old = AfterName(file, chunk) - 1 - (chunk + 6);
	file.replace(chunk + 6, old, name);
	Resize(file, chunks, chunk, static_cast<long>(name.size()) - static_cast<long>(old));
}

void Duplicate(std::string &file, size_t chunk) {
	const std::vector<ModelChunk> chunks = ModelChunks(file);
	const size_t length = Get32(file, chunk + 2);
	file.insert(chunk + length, file.substr(chunk, length));
	Resize(file, chunks, chunk, static_cast<long>(length));
	Put32(file, chunk + 2, static_cast<unsigned>(length)); // the chunk itself keeps its length
}

void Shorten(std::string &file, size_t chunk, size_t bytes) {
	const std::vector<ModelChunk> chunks = ModelChunks(file);
	file.erase(chunk + Get32(file, chunk + 2) - bytes, bytes);
	Resize(file, chunks, chunk, -static_cast<long>(bytes));
}

void Put16(std::string &file, size_t at, unsigned value) {
	file[at] = static_cast<char>(value & 0xFF);
	file[at + 1] = static_cast<char>(value >> 8 & 0xFF);
}

void Put32(std::string &file, size_t at, unsigned value) {
	Put16(file, at, value & 0xFFFF);
	Put16(file, at + 2, value >> 16);
}

std::string DamageModel(const std::string &good, std::mt19937 &random) {
	static const std::vector<unsigned> lengths = {
		0, 1, 5, 6, 7, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFA, 0xFFFFFFFF};
	static const std::vector<unsigned> counts = {0, 1, 2, 255, 256, 0x7FFF, 0x8000, 0xFFFE, 0xFFFF};
	static const std::vector<unsigned> ids = {0x4110, 0x4120, 0x4130, 0x4140, 0x4150, 0xAFFF, 0xA000, 0xA300, 0x4000,
		0x4100, 0xB010, 0xB030, 0x0000, 0xFFFF, 0x4D4D, 0x3D3D};
	std::string file = good;
	const int edits = 1 + random() % 3;
	for (int e = 0; e < edits; e++) {
		const std::vector<ModelChunk> chunks = ModelChunks(file);
		if (chunks.empty() || file.size() < 8) {
			break;
		}
		const ModelChunk &chunk = Pick(chunks, random);
		const size_t content = chunk.at + 6;
		switch (random() % 9) {
		case 0: { // a length off by a little or a lot
			const unsigned near = static_cast<unsigned>(chunk.length) + random() % 41 - 20;
			Put32(file, chunk.at + 2, random() % 2 ? near : Pick(lengths, random));
			break;
		}
		case 1: // a count or an index in a list
			if (chunk.length >= 8) {
				const size_t at = content + 2 * (random() % ((chunk.length - 6) / 2));
				Put16(file, at, random() % 2 ? Pick(counts, random) : random() % 0x10000);
			}
			break;
		case 2: // a name's end gone, maybe with the rest of the file
			if (OpeningOf(chunk.id) == NAME || chunk.id == 0xA000 || chunk.id == 0xA300 || chunk.id == 0x4130) {
				const size_t nul = AfterName(file, chunk.at) - 1;
				if (nul < file.size()) {
					file[nul] = 'x';
					if (random() % 2) {
						file.resize(nul + 1);
					}
				}
			}
			break;
		case 3: file.erase(chunk.at, chunk.length); break;
		case 4: file.insert(chunk.at + chunk.length, file.substr(chunk.at, chunk.length)); break;
		case 5: Put16(file, chunk.at, Pick(ids, random)); break;
		case 6: // a chunk moved to the end of its parent
		{
			const std::string moved = file.substr(chunk.at, chunk.length);
			file.insert(chunk.end, moved);
			file.erase(chunk.at, chunk.length);
			break;
		}
		case 7:
			for (int i = 1 + random() % 4; i > 0; i--) {
				file[random() % file.size()] = static_cast<char>(random());
			}
			break;
		default: file.resize(random() % file.size()); break;
		}
	}
	return file;
}

std::string DamageTexture(const std::string &good, std::mt19937 &random) {
	static const std::vector<unsigned> sides = {
		0, 1, 0xFFFFFFFF, 0x80000000, 0x7FFFFFFF, 0xD0B8E1DF, 4096, 4097, 65536, 0xFFFF0000};
	static const std::vector<unsigned> depths = {0, 1, 2, 4, 8, 16, 24, 32, 48, 64, 0xFFFF};
	std::string file = good;
	if (file.size() < 54) {
		return file;
	}
	switch (random() % 6) {
	case 0: Put32(file, random() % 2 ? 18 : 22, random() % 2 ? Pick(sides, random) : random()); break;
	case 1: Put16(file, random() % 2 ? 26 : 28, Pick(depths, random)); break;
	case 2: { // offset, info size, compression, image size or file size
		static const size_t fields[] = {10, 14, 30, 34, 2};
		Put32(file, fields[random() % 5], random() % 2 ? Pick(sides, random) : random());
		break;
	}
	case 3: file.resize(random() % file.size()); break;
	case 4: file.replace(0, 2, random() % 2 ? "MB" : "BA"); break;
	default:
		for (int i = 1 + random() % 3; i > 0; i--) {
			file[random() % 54] = static_cast<char>(random()); // in the header
		}
		break;
	}
	return file;
}

std::vector<std::string> ShippedFiles(const char *extension) {
	std::vector<std::string> files;
	for (const char *folder : {"misc", "arena"}) {
		for (const auto &entry : std::filesystem::directory_iterator(BuildDataDir() + "/" + folder)) {
			if (entry.path().extension() == extension) {
				files.push_back(std::string(folder) + "/" + entry.path().filename().string());
			}
		}
	}
	std::sort(files.begin(), files.end());
	return files;
}

std::string ReadBinary(const std::string &path) {
	std::ifstream in(path, std::ios::binary);
	return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
