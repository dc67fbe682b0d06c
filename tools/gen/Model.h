#ifndef TAVRO_TOOLS_MODEL_H
#define TAVRO_TOOLS_MODEL_H

#include "Canvas.h"

#include <array>

#include <string>
#include <vector>

struct V3 {
	float x, y, z;
};

struct Material {
	std::string name;
	Rgba ambient, diffuse;
	std::string texture; // empty for none
	bool twoSided = false;
};

struct Mesh {
	std::string material;
	std::vector<V3> pts;
	std::vector<std::pair<float, float>> uv; // one per point, or empty
	std::vector<std::array<int, 3>> faces;
	bool smooth = true;

	int Add(V3 p, float u = 0, float v = 0);
	void Tri(int a, int b, int c) { faces.push_back({a, b, c}); }
	void Quad(int a, int b, int c, int d) {
		Tri(a, b, c);
		Tri(a, c, d);
	}
	// Appends another mesh of the same material.
	void Append(const Mesh &o);
};

// A 3DS model: meshes become the kids of the loaded branch in the order they are added here.
class Model {
public:
	void AddMaterial(const Material &m) { materials.push_back(m); }
	void AddMesh(const Mesh &m) { meshes.push_back(m); }
	bool Save(const std::string &path) const;

private:
	std::vector<Material> materials;
	std::vector<Mesh> meshes;
};

// Shape helpers; faces wind counter-clockwise seen from outside.
Mesh Cylinder(const std::string &mat, float r0, float r1, float z0, float z1, int seg, float v0 = 0, float v1 = 1,
	float uRepeat = 1);
Mesh DiscCap(const std::string &mat, float r, float z, int seg, bool up, float uvScale = 0.5f);
Mesh Sphere(const std::string &mat, float r, int seg, int rings);
// A quad facing -y (towards the viewer of a billboard), in the x-z plane.
Mesh Billboard(const std::string &mat, float hw, float hh);
// A horizontal quad at height z, facing up.
Mesh FlatQuad(const std::string &mat, float x0, float y0, float x1, float y1, float z, float u0 = 0, float v0 = 0,
	float u1 = 1, float v1 = 1);
// A vertical wall quad from (x0, y0) to (x1, y1) between heights z0 and z1, facing the right-hand side
// of the walk from the first point to the second.
Mesh WallQuad(const std::string &mat, float x0, float y0, float x1, float y1, float z0, float z1, float u0, float u1,
	float v0, float v1);

#endif
