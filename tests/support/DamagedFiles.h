#ifndef TAVRO_TESTS_DAMAGEDFILES_H
#define TAVRO_TESTS_DAMAGEDFILES_H

#include <cstddef>
#include <random>
#include <string>
#include <vector>

// The game's own models and textures, damaged on purpose: what a broken disk, a cut download or
// a careless tool leaves for the loaders.

struct ModelChunk {
	size_t at; // byte of its header
	unsigned id;
	size_t length; // bytes, header included
	size_t end;    // of the chunk that holds it (the file's size at the top)
};

// The chunks of a good 3DS file in file order, opening the containers our generator writes.
std::vector<ModelChunk> ModelChunks(const std::string &file);
// The byte of the n-th chunk (from 0) with the id; fails the test and returns 0 when absent.
size_t FindChunk(const std::string &file, unsigned id, int n = 0);
// The byte after the name that opens the chunk's content.
size_t AfterName(const std::string &file, size_t chunk);

// Gives the chunk at that byte a new opening name, the lengths around it following.
void Rename(std::string &file, size_t chunk, const std::string &name);

// A copy of the chunk right after it, or bytes off the chunk's end; the lengths around follow.
void Duplicate(std::string &file, size_t chunk);
void Shorten(std::string &file, size_t chunk, size_t bytes);

void Put16(std::string &file, size_t at, unsigned value);
void Put32(std::string &file, size_t at, unsigned value);

// One to three random edits: chunk-aware for a 3DS file (lengths, counts, indices, names, ids,
// chunks dropped or doubled, the file cut), header-aware for a BMP, stray bytes for both.
std::string DamageModel(const std::string &good, std::mt19937 &random);
std::string DamageTexture(const std::string &good, std::mt19937 &random);

// Every ".3ds" or ".bmp" file of the build's data tree, as "misc/ball.3ds".
std::vector<std::string> ShippedFiles(const char *extension);
std::string ReadBinary(const std::string &path);

#endif
