#ifndef TAVRO_CORE_MODELFILECHECK_H
#define TAVRO_CORE_MODELFILECHECK_H

#include <cstddef>
#include <string>
#include <vector>

#include "core/ModelHierarchy.h"

// Checks a 3DS model before the scene-graph library reads it. The library's reader trusts every
// length, count, index and name in the file: a short chunk makes it loop for ever, a count past
// its chunk or an index past its list reads and writes outside its arrays, a material without a
// name frees a pointer it never set, a face list that names no material loses memory, and a
// hierarchy that loops makes every later walk recurse without end. This walk follows the reader's own chunk tables in the reader's order (meshes
// prescanned for their vertices, face lists for their smoothing and materials) and refuses any
// file where the reader would leave its chunk, its lists or its bounds, so a file that passes is
// read exactly as walked here.
class ModelFileCheck {
public:
	static constexpr size_t MAX_FILE_BYTES = 8u << 20;    // bytes read and walked
	static constexpr int MAX_CHUNKS = 100000;             // chunks visited, prescans included
	static constexpr int MAX_DEPTH = 8;                   // the reader's tables nest 6 deep
	static constexpr int MAX_MATERIALS = 256;             // the reader has room for 512
	static constexpr size_t MAX_NAME = 255;               // characters the reader keeps of a name
	static constexpr long MAX_FACES = 1L << 18;           // triangles the reader builds, whole file
	static constexpr long long MAX_SMOOTHING = 1LL << 24; // steps of the reader's normal smoothing

	ModelFileCheck();

	// Walks the bytes of a 3DS file; false with GetProblem() set when refused.
	bool Check(const unsigned char *data, size_t size);
	// Reads the file (at most MAX_FILE_BYTES) and walks it.
	bool CheckFile(const char *path);
	// A model's file name (no folder): letters, digits, '_', '-' and '.', ending in ".3ds".
	static bool CheckName(const char *name, std::string *problem);

	const std::string &GetProblem() const { return problem; }
	bool IsMissing() const { return missing; }
	// The file names of the textures the reader will load (the materials its faces use), folder
	// part dropped as the reader drops it, each once, in the order the reader meets them.
	const std::vector<std::string> &GetTextures() const { return textures; }

private:
	struct Material {
		std::string name;
		std::string texture;
		bool named;
		bool textured;
		bool doubleSided;
	};
	// Reads a span of sibling chunks with one of the reader's tables (numbered in the .cpp).
	bool Walk(int table, size_t begin, size_t end, int depth);
	// What the reader takes from the start of a known chunk's content, in taken.
	bool ReadPart(int part, size_t begin, size_t end, int depth, size_t &taken);
	bool ReadString(size_t begin, size_t end, std::string &text, const char *what, size_t &taken);
	bool ReadTextureName(size_t begin, size_t end, size_t &taken);
	bool ReadVertices(size_t begin, size_t end, size_t corner, size_t &taken);
	bool ReadFaces(size_t begin, size_t end, int depth, size_t &taken);
	bool ReadFaceMaterial(size_t begin, size_t end, size_t &taken);
	bool ReadObjectName(size_t begin, size_t end, size_t &taken);
	bool UseMaterial(const Material &material, long count);
	bool Refuse(const char *format, ...) __attribute__((format(printf, 2, 3)));

	const unsigned char *data;
	size_t size;
	std::string problem;
	bool missing;
	std::vector<std::string> textures;
	std::vector<Material> materials;
	ModelHierarchy hierarchy;
	int chunks;
	long faces;
	long long smoothing;
	// The reader's state between chunks.
	int vertexCount;   // of the mesh being read; -1 before its vertex list
	int mappingCount;  // of the mesh being read; -1 without mapping coordinates
	int faceCount;     // of the face list being read; -1 before one
	bool smoothListed; // the face list being read has its smoothing groups
	bool facesMapped;  // the face list being read names materials for its faces
};

#endif
