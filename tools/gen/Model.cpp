#include "Model.h"

#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include <cmath>
#include <cstdio>
#include <cstring>

int Mesh::Add(V3 p, float u, float v) {
	pts.push_back(p);
	uv.push_back({u, v});
	return int(pts.size()) - 1;
}

void Mesh::Append(const Mesh &o) {
	int base = int(pts.size());
	pts.insert(pts.end(), o.pts.begin(), o.pts.end());
	uv.insert(uv.end(), o.uv.begin(), o.uv.end());
	for (auto f : o.faces)
		faces.push_back({f[0] + base, f[1] + base, f[2] + base});
}

static void CopyName(char *dst, size_t n, const std::string &s) {
	std::memset(dst, 0, n);
	std::strncpy(dst, s.c_str(), n - 1);
}

bool Model::Save(const std::string &path) const {
	Lib3dsFile *f = lib3ds_file_new();
	for (const Material &m : materials) {
		Lib3dsMaterial *lm = lib3ds_material_new();
		CopyName(lm->name, sizeof(lm->name), m.name);
		const float amb[4] = {m.ambient.r, m.ambient.g, m.ambient.b, 1};
		const float dif[4] = {m.diffuse.r, m.diffuse.g, m.diffuse.b, 1};
		for (int i = 0; i < 4; i++) {
			lm->ambient[i] = amb[i];
			lm->diffuse[i] = dif[i];
			lm->specular[i] = i < 3 ? 0.1f : 1.0f;
		}
		lm->shininess = 0.1f;
		lm->two_sided = m.twoSided;
		if (!m.texture.empty()) {
			CopyName(lm->texture1_map.name, sizeof(lm->texture1_map.name), m.texture);
			lm->texture1_map.percent = 1.0f;
			// The library's default is "no tiling", which the loader turns into clamped textures.
			lm->texture1_map.flags = 0;
			lm->texture1_map.scale[0] = lm->texture1_map.scale[1] = 1.0f;
		}
		lib3ds_file_insert_material(f, lm);
	}
	// The library keeps meshes sorted by name and the loader reverses the file order, so names
	// counting down keep the order in which the meshes were added.
	for (size_t i = 0; i < meshes.size(); i++) {
		const Mesh &m = meshes[i];
		char name[16];
		std::snprintf(name, sizeof(name), "m%03d", int(999 - i));
		Lib3dsMesh *lm = lib3ds_mesh_new(name);
		lib3ds_mesh_new_point_list(lm, Lib3dsDword(m.pts.size()));
		for (size_t k = 0; k < m.pts.size(); k++) {
			lm->pointL[k].pos[0] = m.pts[k].x;
			lm->pointL[k].pos[1] = m.pts[k].y;
			lm->pointL[k].pos[2] = m.pts[k].z;
		}
		if (!m.uv.empty()) {
			lib3ds_mesh_new_texel_list(lm, Lib3dsDword(m.uv.size()));
			for (size_t k = 0; k < m.uv.size(); k++) {
				lm->texelL[k][0] = m.uv[k].first;
				lm->texelL[k][1] = m.uv[k].second;
			}
		}
		lib3ds_mesh_new_face_list(lm, Lib3dsDword(m.faces.size()));
		for (size_t k = 0; k < m.faces.size(); k++) {
			Lib3dsFace &lf = lm->faceL[k];
			for (int j = 0; j < 3; j++)
				lf.points[j] = Lib3dsWord(m.faces[k][j]);
			CopyName(lf.material, sizeof(lf.material), m.material);
			lf.flags = 7;
			lf.smoothing = m.smooth ? 1 : 0;
		}
		for (int r = 0; r < 4; r++)
			for (int c = 0; c < 4; c++)
				lm->matrix[r][c] = r == c ? 1.0f : 0.0f;
		lib3ds_file_insert_mesh(f, lm);
	}
	bool ok = lib3ds_file_save(f, path.c_str());
	lib3ds_file_free(f);
	if (!ok)
		std::fprintf(stderr, "cannot write %s\n", path.c_str());
	return ok;
}

Mesh Cylinder(
	const std::string &mat, float r0, float r1, float z0, float z1, int seg, float v0, float v1, float uRepeat) {
	Mesh m;
	m.material = mat;
	for (int i = 0; i <= seg; i++) {
		float a = 2 * float(M_PI) * i / seg;
		float u = uRepeat * float(i) / seg;
		m.Add({r0 * std::cos(a), r0 * std::sin(a), z0}, u, v0);
		m.Add({r1 * std::cos(a), r1 * std::sin(a), z1}, u, v1);
	}
	for (int i = 0; i < seg; i++) {
		int a = i * 2, b = a + 2;
		m.Quad(a, b, b + 1, a + 1);
	}
	return m;
}

Mesh DiscCap(const std::string &mat, float r, float z, int seg, bool up, float uvScale) {
	Mesh m;
	m.material = mat;
	int c = m.Add({0, 0, z}, 0.5f, 0.5f);
	for (int i = 0; i <= seg; i++) {
		float a = 2 * float(M_PI) * i / seg;
		m.Add({r * std::cos(a), r * std::sin(a), z}, 0.5f + uvScale * std::cos(a), 0.5f + uvScale * std::sin(a));
	}
	for (int i = 0; i < seg; i++) {
		if (up)
			m.Tri(c, c + 1 + i, c + 2 + i);
		else
			m.Tri(c, c + 2 + i, c + 1 + i);
	}
	return m;
}

Mesh Sphere(const std::string &mat, float r, int seg, int rings) {
	Mesh m;
	m.material = mat;
	for (int j = 0; j <= rings; j++) {
		float t = float(M_PI) * j / rings; // 0 at the top
		for (int i = 0; i <= seg; i++) {
			float a = 2 * float(M_PI) * i / seg;
			m.Add({r * std::sin(t) * std::cos(a), r * std::sin(t) * std::sin(a), r * std::cos(t)}, float(i) / seg,
				1.0f - float(j) / rings);
		}
	}
	for (int j = 0; j < rings; j++)
		for (int i = 0; i < seg; i++) {
			int a = j * (seg + 1) + i, b = a + seg + 1;
			if (j > 0)
				m.Tri(a, b, a + 1);
			if (j < rings - 1)
				m.Tri(a + 1, b, b + 1);
		}
	return m;
}

Mesh Billboard(const std::string &mat, float hw, float hh) {
	// Flat pieces keep one smoothing group, so their triangles share vertices and strip together.
	Mesh m;
	m.material = mat;
	int a = m.Add({-hw, 0, -hh}, 0, 0), b = m.Add({hw, 0, -hh}, 1, 0);
	int c = m.Add({hw, 0, hh}, 1, 1), d = m.Add({-hw, 0, hh}, 0, 1);
	m.Quad(a, b, c, d);
	return m;
}

Mesh FlatQuad(
	const std::string &mat, float x0, float y0, float x1, float y1, float z, float u0, float v0, float u1, float v1) {
	Mesh m;
	m.material = mat;
	int a = m.Add({x0, y0, z}, u0, v0), b = m.Add({x1, y0, z}, u1, v0);
	int c = m.Add({x1, y1, z}, u1, v1), d = m.Add({x0, y1, z}, u0, v1);
	m.Quad(a, b, c, d);
	return m;
}

Mesh WallQuad(const std::string &mat, float x0, float y0, float x1, float y1, float z0, float z1, float u0, float u1,
	float v0, float v1) {
	Mesh m;
	m.material = mat;
	m.smooth = false;
	int a = m.Add({x0, y0, z0}, u0, v0), b = m.Add({x1, y1, z0}, u1, v0);
	int c = m.Add({x1, y1, z1}, u1, v1), d = m.Add({x0, y0, z1}, u0, v1);
	// Walking from the first point to the second, the right-hand side sees the front face.
	m.Tri(a, b, c);
	m.Tri(a, c, d);
	return m;
}
