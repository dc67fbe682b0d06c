#include "core/ModelFileCheck.h"

#include <cassert>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/DataFileName.h"
#include "core/LittleEndian.h"
#include "core/TextureFileCheck.h"

namespace {

constexpr size_t HEADER = 6; // bytes: a chunk's id and length

bool FiniteFloat(const unsigned char *at) {
	const uint32_t bits = ReadLittle32(at);
	float value;
	memcpy(&value, &bits, sizeof(value));
	return std::isfinite(value);
}

// What the reader does with a known chunk's content before it reads the sub-chunks (if any).
enum Part {
	FIXED,         // takes `fixed` bytes
	MATERIAL,      // starts a material
	MAT_NAME,      // the material's name
	MAP_NAME,      // the material's texture file
	DOUBLE_SIDE,   // the material's faces are drawn from both sides
	OBJECT,        // starts an object: its name
	MESH,          // prescans the mesh for its vertices and mapping coordinates
	VERTICES,      // a mesh's vertex list
	MAPPING,       // a mesh's mapping coordinates, one per vertex
	FACES,         // a mesh's faces, then a prescan for smoothing and materials
	SMOOTHING,     // smoothing groups, one per face
	FACES_MAPPED,  // (prescan) the face list names materials: skipped
	FACE_MATERIAL, // a material's name and the faces that use it
	FRAME_NAME,    // a hierarchy entry: an object's name and its parent's id
	FRAME_DUMMY,   // renames the object the last hierarchy entry created
	FRAME_ID,      // the id of the next hierarchy entry
};

struct Entry {
	unsigned id;
	Part part;
	size_t fixed; // bytes, for FIXED
	int kids;     // the table of its sub-chunks, or -1
};

// The reader's tables: which chunks it knows under which parent (the rest it skips).
enum Table {
	TOP_TABLE,
	MAIN_TABLE,
	OBJECTS_TABLE,
	MATERIAL_TABLE,
	COLOUR_TABLE,
	TEXTURE_TABLE,
	OBJECT_TABLE,
	MESH_PRESCAN_TABLE,
	MESH_TABLE,
	FACES_PRESCAN_TABLE,
	FACES_TABLE,
	KEYFRAMER_TABLE,
	FRAME_TABLE,
	TABLE_COUNT
};

const Entry TOP_ENTRIES[] = {{0x4D4D, FIXED, 0, MAIN_TABLE}, {0, FIXED, 0, -1}};
const Entry MAIN_ENTRIES[] = {
	{0x3D3D, FIXED, 0, OBJECTS_TABLE}, {0xB000, FIXED, 0, KEYFRAMER_TABLE}, {0x0002, FIXED, 4, -1}, {0, FIXED, 0, -1}};
const Entry OBJECTS_ENTRIES[] = {{0xAFFF, MATERIAL, 0, MATERIAL_TABLE}, {0x4000, OBJECT, 0, OBJECT_TABLE},
	{0x0100, FIXED, 4, -1}, {0, FIXED, 0, -1}};
const Entry MATERIAL_ENTRIES[] = {{0xA000, MAT_NAME, 0, -1}, {0xA010, FIXED, 0, COLOUR_TABLE},
	{0xA020, FIXED, 0, COLOUR_TABLE}, {0xA030, FIXED, 0, COLOUR_TABLE}, {0xA041, FIXED, 8, -1}, {0xA050, FIXED, 8, -1},
	{0xA200, FIXED, 0, TEXTURE_TABLE}, {0xA081, DOUBLE_SIDE, 0, -1}, {0, FIXED, 0, -1}};
const Entry COLOUR_ENTRIES[] = {
	{0x0010, FIXED, 12, -1}, {0x0011, FIXED, 3, -1}, {0x0012, FIXED, 3, -1}, {0, FIXED, 0, -1}};
const Entry TEXTURE_ENTRIES[] = {{0xA300, MAP_NAME, 0, -1}, {0xA356, FIXED, 4, -1}, {0xA354, FIXED, 4, -1},
	{0xA358, FIXED, 4, -1}, {0xA35A, FIXED, 4, -1}, {0xA351, FIXED, 2, -1}, {0, FIXED, 0, -1}};
const Entry OBJECT_ENTRIES[] = {{0x4100, MESH, 0, MESH_TABLE}, {0, FIXED, 0, -1}};
const Entry MESH_PRESCAN_ENTRIES[] = {{0x4110, VERTICES, 0, -1}, {0x4140, MAPPING, 0, -1}, {0, FIXED, 0, -1}};
const Entry MESH_ENTRIES[] = {{0x4120, FACES, 0, FACES_TABLE}, {0x4160, FIXED, 48, -1}, {0, FIXED, 0, -1}};
const Entry FACES_PRESCAN_ENTRIES[] = {{0x4150, SMOOTHING, 0, -1}, {0x4130, FACES_MAPPED, 0, -1}, {0, FIXED, 0, -1}};
const Entry FACES_ENTRIES[] = {{0x4130, FACE_MATERIAL, 0, -1}, {0, FIXED, 0, -1}};
const Entry KEYFRAMER_ENTRIES[] = {{0xB008, FIXED, 8, -1}, {0xB002, FIXED, 0, FRAME_TABLE}, {0, FIXED, 0, -1}};
const Entry FRAME_ENTRIES[] = {
	{0xB010, FRAME_NAME, 0, -1}, {0xB030, FRAME_ID, 0, -1}, {0xB011, FRAME_DUMMY, 0, -1}, {0, FIXED, 0, -1}};

const Entry *const TABLES[TABLE_COUNT] = {TOP_ENTRIES, MAIN_ENTRIES, OBJECTS_ENTRIES, MATERIAL_ENTRIES, COLOUR_ENTRIES,
	TEXTURE_ENTRIES, OBJECT_ENTRIES, MESH_PRESCAN_ENTRIES, MESH_ENTRIES, FACES_PRESCAN_ENTRIES, FACES_ENTRIES,
	KEYFRAMER_ENTRIES, FRAME_ENTRIES};

// The reader's search ends on its table's closing entry, numbered 0, and takes that entry for
// a chunk numbered 0: a chunk it reads nothing of and does not skip.
const Entry *FindEntry(int table, unsigned id) {
	const Entry *entry = TABLES[table];
	while (entry->id != 0 && entry->id != id) {
		entry++;
	}
	return entry->id == id ? entry : nullptr;
}

// The reader's ids are shorts: a hierarchy id and its running count wrap as they do there.
int AsShort(unsigned value) {
	return static_cast<int16_t>(static_cast<uint16_t>(value));
}

} // namespace

ModelFileCheck::ModelFileCheck()
	: data(nullptr), size(0), missing(false), chunks(0), faces(0), smoothing(0), vertexCount(-1), mappingCount(-1),
	  faceCount(-1), smoothListed(false), facesMapped(false) {}

bool ModelFileCheck::Refuse(const char *format, ...) {
	char text[160];
	va_list arguments;
	va_start(arguments, format);
	vsnprintf(text, sizeof(text), format, arguments);
	va_end(arguments);
	problem = text;
	return false;
}

bool ModelFileCheck::Check(const unsigned char *data_, size_t size_) {
	data = data_;
	size = size_;
	problem.clear();
	missing = false;
	textures.clear();
	materials.clear();
	hierarchy.Clear();
	chunks = 0;
	faces = 0;
	smoothing = 0;
	vertexCount = mappingCount = faceCount = -1;
	smoothListed = facesMapped = false;
	if (size > MAX_FILE_BYTES) {
		return Refuse("%zu bytes, more than %zu", size, MAX_FILE_BYTES);
	}
	// The reader would skip anything else, and the model would come out empty.
	if (size < HEADER || ReadLittle16(data) != 0x4D4D) {
		return Refuse("not a 3DS model: it does not open with the main chunk");
	}
	if (!Walk(TOP_TABLE, 0, size, 0)) {
		return false;
	}
	// The reader frees every material's name, set or not.
	for (size_t i = 0; i < materials.size(); i++) {
		if (!materials[i].named) {
			return Refuse("material %zu has no name", i + 1);
		}
	}
	return true;
}

bool ModelFileCheck::CheckFile(const char *path) {
	problem.clear();
	missing = false;
	FILE *file = path ? fopen(path, "rb") : nullptr;
	if (!file) {
		missing = true;
		return Refuse("cannot be opened");
	}
	const long length = fseek(file, 0, SEEK_END) == 0 ? ftell(file) : -1;
	std::vector<unsigned char> bytes;
	bool read = length >= 0 && fseek(file, 0, SEEK_SET) == 0;
	if (read && static_cast<unsigned long>(length) <= MAX_FILE_BYTES) {
		bytes.resize(static_cast<size_t>(length));
		read = fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
	}
	fclose(file);
	if (!read) {
		return Refuse("cannot be read");
	}
	if (static_cast<unsigned long>(length) > MAX_FILE_BYTES) {
		return Refuse("%ld bytes, more than %zu", length, MAX_FILE_BYTES);
	}
	return Check(bytes.data(), bytes.size());
}

bool ModelFileCheck::CheckName(const char *name, std::string *problem) {
	return CheckDataFileName(name, ".3ds", problem);
}

bool ModelFileCheck::Walk(int table, size_t begin, size_t end, int depth) {
	if (depth > MAX_DEPTH) {
		return Refuse("chunks nest deeper than %d", MAX_DEPTH);
	}
	for (size_t at = begin; at < end;) {
		if (++chunks > MAX_CHUNKS) {
			return Refuse("more than %d chunks", MAX_CHUNKS);
		}
		if (end - at < HEADER) {
			return Refuse("chunk at byte %zu: its header is cut short", at);
		}
		const unsigned id = ReadLittle16(data + at);
		const size_t length = ReadLittle32(data + at + 2);
		// The reader's loop never moves on from a chunk shorter than its header.
		if (length < HEADER) {
			return Refuse("chunk %04X at byte %zu: length %zu, shorter than its header", id, at, length);
		}
		if (length > end - at) {
			return Refuse("chunk %04X at byte %zu: length %zu runs past its parent", id, at, length);
		}
		const Entry *entry = FindEntry(table, id);
		if (entry) {
			const size_t content = at + HEADER;
			const size_t stop = at + length;
			size_t taken = entry->fixed;
			if (entry->part == FIXED) {
				if (taken > stop - content) {
					return Refuse(
						"chunk %04X at byte %zu: %zu bytes, the reader takes %zu", id, at, stop - content, taken);
				}
			} else if (!ReadPart(entry->part, content, stop, depth, taken)) {
				return false;
			}
			// Where the reader stops taking is where it looks for the next chunk: a known chunk that
			// holds more than the reader takes would be read out of step.
			if (entry->kids >= 0) {
				if (!Walk(entry->kids, content + taken, stop, depth + 1)) {
					return false;
				}
			} else if (content + taken != stop) {
				return Refuse("chunk %04X at byte %zu: %zu bytes, the reader takes %zu", id, at, stop - content, taken);
			}
		}
		at += length;
	}
	return true;
}

bool ModelFileCheck::ReadString(size_t begin, size_t end, std::string &text, const char *what, size_t &taken) {
	const void *nul = memchr(data + begin, 0, end - begin);
	if (!nul) {
		// The reader would read on to the end of the file, and then for ever.
		return Refuse("%s at byte %zu runs past its chunk", what, begin);
	}
	const size_t length = static_cast<const unsigned char *>(nul) - (data + begin);
	if (length > MAX_NAME) {
		return Refuse("%s at byte %zu is longer than %zu characters", what, begin, MAX_NAME);
	}
	text.assign(reinterpret_cast<const char *>(data + begin), length);
	taken = length + 1;
	return true;
}

bool ModelFileCheck::ReadPart(int part, size_t begin, size_t end, int depth, size_t &taken) {
	std::string text;
	taken = 0;
	// The reader's tables put these parts only below a material.
	assert(!materials.empty() || (part != MAT_NAME && part != MAP_NAME && part != DOUBLE_SIDE));
	switch (part) {
	case MATERIAL:
		if (materials.size() >= MAX_MATERIALS) {
			return Refuse("more than %d materials", MAX_MATERIALS);
		}
		materials.push_back(Material{"", "", false, false, false});
		return true;
	case MAT_NAME:
		if (!ReadString(begin, end, text, "a material's name", taken)) {
			return false;
		}
		if (materials.back().named) {
			return Refuse("material %zu is named twice", materials.size());
		}
		materials.back().name = text;
		materials.back().named = true;
		return true;
	case MAP_NAME: return ReadTextureName(begin, end, taken);
	case DOUBLE_SIDE: materials.back().doubleSided = true; return true;
	case OBJECT:
		if (!ReadString(begin, end, text, "an object's name", taken)) {
			return false;
		}
		hierarchy.AddObject(text);
		return true;
	case MESH:
		vertexCount = mappingCount = faceCount = -1;
		// The reader takes the vertices and mapping coordinates first, wherever they lie.
		return Walk(MESH_PRESCAN_TABLE, begin, end, depth + 1);
	case VERTICES:
		if (vertexCount >= 0) {
			return Refuse("a mesh with two vertex lists");
		}
		return ReadVertices(begin, end, 12, taken);
	case MAPPING:
		if (mappingCount >= 0) {
			return Refuse("a mesh with two lists of mapping coordinates");
		}
		return ReadVertices(begin, end, 8, taken);
	case FACES: return ReadFaces(begin, end, depth, taken);
	case SMOOTHING:
		if (smoothListed) {
			return Refuse("a face list with two lists of smoothing groups");
		}
		smoothListed = true;
		taken = static_cast<size_t>(faceCount) * 4;
		return taken <= end - begin || Refuse("smoothing groups for %d faces in %zu bytes", faceCount, end - begin);
	case FACES_MAPPED:
		facesMapped = true;
		taken = end - begin;
		return true;
	case FACE_MATERIAL: return ReadFaceMaterial(begin, end, taken);
	case FRAME_NAME: return ReadObjectName(begin, end, taken);
	case FRAME_DUMMY:
		if (!ReadString(begin, end, text, "a dummy's name", taken)) {
			return false;
		}
		hierarchy.RenameLastCreated(text);
		return true;
	case FRAME_ID:
		if (end - begin < 2) {
			return Refuse("a hierarchy id cut short at byte %zu", begin);
		}
		hierarchy.SetNextId(AsShort(ReadLittle16(data + begin)));
		taken = 2;
		return true;
	default: return Refuse("unknown part %d", part);
	}
}

bool ModelFileCheck::ReadTextureName(size_t begin, size_t end, size_t &taken) {
	std::string text;
	if (!ReadString(begin, end, text, "a texture name", taken)) {
		return false;
	}
	// The reader drops the folder part and picks its image reader by the extension.
	const size_t slash = text.find_last_of("/\\");
	const std::string file = slash == std::string::npos ? text : text.substr(slash + 1);
	std::string why;
	if (!TextureFileCheck::CheckName(file.c_str(), &why)) {
		return Refuse("material %zu: %s", materials.size(), why.c_str());
	}
	if (materials.back().textured) {
		return Refuse("material %zu names two textures", materials.size());
	}
	materials.back().texture = file;
	materials.back().textured = true;
	return true;
}

bool ModelFileCheck::ReadVertices(size_t begin, size_t end, size_t corner, size_t &taken) {
	const char *what = corner == 12 ? "vertices" : "mapping coordinates";
	if (end - begin < 2) {
		return Refuse("a list of %s cut short at byte %zu", what, begin);
	}
	const size_t count = ReadLittle16(data + begin);
	taken = 2 + count * corner;
	if (taken > end - begin) {
		return Refuse("%zu %s in %zu bytes at byte %zu", count, what, end - begin, begin);
	}
	for (size_t at = begin + 2; at < begin + taken; at += 4) {
		if (!FiniteFloat(data + at)) {
			return Refuse("%s at byte %zu: a number that is not finite", what, at);
		}
	}
	(corner == 12 ? vertexCount : mappingCount) = static_cast<int>(count);
	return true;
}

bool ModelFileCheck::ReadFaces(size_t begin, size_t end, int depth, size_t &taken) {
	if (faceCount >= 0) {
		return Refuse("a mesh with two face lists");
	}
	if (vertexCount < 0) {
		return Refuse("a face list at byte %zu in a mesh without vertices", begin);
	}
	if (mappingCount >= 0 && mappingCount != vertexCount) {
		return Refuse("%d mapping coordinates for %d vertices", mappingCount, vertexCount);
	}
	if (end - begin < 2) {
		return Refuse("a face list cut short at byte %zu", begin);
	}
	const size_t count = ReadLittle16(data + begin);
	taken = 2 + count * 8;
	if (taken > end - begin) {
		return Refuse("%zu faces in %zu bytes at byte %zu", count, end - begin, begin);
	}
	// The reader smooths each corner's normal over every face at its vertex: a vertex shared by
	// n corners costs n * n steps.
	std::vector<long long> corners(vertexCount, 0);
	for (size_t face = 0; face < count; face++) {
		for (size_t k = 0; k < 3; k++) {
			const int vertex = ReadLittle16(data + begin + 2 + face * 8 + k * 2);
			if (vertex >= vertexCount) {
				return Refuse("face %zu uses vertex %d of %d", face, vertex, vertexCount);
			}
			smoothing += 2 * corners[vertex] + 1;
			corners[vertex]++;
		}
	}
	if (smoothing > MAX_SMOOTHING) {
		return Refuse("faces share their vertices too widely to smooth");
	}
	faceCount = static_cast<int>(count);
	smoothListed = facesMapped = false;
	if (!Walk(FACES_PRESCAN_TABLE, begin + taken, end, depth + 1)) {
		return false;
	}
	// Without a material list the reader builds the faces from an index list it never frees.
	return facesMapped || Refuse("a face list at byte %zu names no material", begin);
}

bool ModelFileCheck::ReadFaceMaterial(size_t begin, size_t end, size_t &taken) {
	std::string name;
	if (!ReadString(begin, end, name, "a face material's name", taken)) {
		return false;
	}
	const size_t at = begin + taken;
	if (end - at < 2) {
		return Refuse("a face material list cut short at byte %zu", at);
	}
	const size_t count = ReadLittle16(data + at);
	taken += 2 + count * 2;
	if (begin + taken > end) {
		return Refuse("%zu material faces in %zu bytes at byte %zu", count, end - at, at);
	}
	for (size_t i = 0; i < count; i++) {
		const int face = ReadLittle16(data + at + 2 + i * 2);
		if (face >= faceCount) {
			return Refuse("a material's face %d of %d", face, faceCount);
		}
	}
	for (size_t i = 0; i < materials.size(); i++) {
		if (!materials[i].named) {
			return Refuse("material %zu has no name", i + 1);
		}
		if (materials[i].name == name) {
			return UseMaterial(materials[i], static_cast<long>(count));
		}
	}
	return Refuse("faces of material \"%s\", which is not defined before them",
		PrintableText(name.c_str(), MAX_DATA_FILE_NAME).c_str());
}

bool ModelFileCheck::UseMaterial(const Material &material, long count) {
	faces += material.doubleSided ? 2 * count : count;
	if (faces > MAX_FACES) {
		return Refuse("more than %ld faces", MAX_FACES);
	}
	if (material.textured) {
		bool known = false;
		for (const std::string &texture : textures) {
			known = known || texture == material.texture;
		}
		if (!known) {
			textures.push_back(material.texture);
		}
	}
	return true;
}

bool ModelFileCheck::ReadObjectName(size_t begin, size_t end, size_t &taken) {
	std::string name;
	if (!ReadString(begin, end, name, "a hierarchy entry's name", taken)) {
		return false;
	}
	if (end - begin - taken < 6) {
		return Refuse("a hierarchy entry cut short at byte %zu", begin);
	}
	const int parentId = AsShort(ReadLittle16(data + begin + taken + 4));
	taken += 6;
	std::string why;
	return hierarchy.Place(name, parentId, why) || Refuse("%s", why.c_str());
}
