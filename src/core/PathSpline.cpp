#include "core/PathSpline.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/LogFile.h"

PathSpline::PathSpline() : duration(0.0f), pointCount(0), loaded(false) {
	memset(points, 0, sizeof(points));
	memset(cubics, 0, sizeof(cubics));
	memset(position, 0, sizeof(position));
}

bool PathSpline::Load(const char *fileName) {
	if (!fileName) {
		return false;
	}
	FILE *file = fopen(fileName, "rt");
	if (!file) {
		return false;
	}
	int count = pointCount;
	float length = duration;
	if (fscanf(file, "%d", &count) != 1) {
		count = pointCount;
	}
	if (fscanf(file, "%f", &length) != 1) {
		length = duration;
	}
	count = count < 1 ? 1 : (count > MAX_POINTS ? MAX_POINTS : count);
	// Read into a copy: a path that is refused stays exactly as it was.
	float read[3][MAX_POINTS];
	memcpy(read, points, sizeof(read));
	bool finite = true;
	for (int i = 0; i < count; i++) {
		float xyz[3] = {read[0][i], read[1][i], read[2][i]};
		if (fscanf(file, "%f,%f,%f", &xyz[0], &xyz[1], &xyz[2]) < 1) {
			break; // the rest keep their old values, as a short file leaves them
		}
		for (int axis = 0; axis < 3; axis++) {
			finite = finite && std::isfinite(xyz[axis]);
			read[axis][i] = xyz[axis];
		}
	}
	fclose(file);
	// "nan" and "inf" read as numbers; no camera can follow them.
	if (!std::isfinite(length) || length <= 0.0f || !finite) {
		Log(LOG_WARNING, "CAMERA: %s: the duration must be a positive number and the points finite", fileName);
		return false;
	}
	memcpy(points, read, sizeof(points));
	pointCount = count;
	Build(length);
	return true;
}

void PathSpline::SetPoints(int count, const float (*xyz)[3]) {
	count = count < 1 ? 1 : (count > MAX_POINTS ? MAX_POINTS : count);
	for (int i = 0; i < count; i++) {
		for (int axis = 0; axis < 3; axis++) {
			points[axis][i] = xyz[i][axis];
		}
	}
	pointCount = count;
}

void PathSpline::FitAxis(const float *p, Cubic *out) const {
	const int m = pointCount - 1;
	float gamma[MAX_POINTS];
	float delta[MAX_POINTS];
	float D[MAX_POINTS];

	gamma[0] = 0.5f;
	for (int i = 1; i < m; i++) {
		gamma[i] = 1.0f / (4.0f - gamma[i - 1]);
	}
	gamma[m] = 1.0f / (2.0f - gamma[m - 1]);

	delta[0] = 3.0f * (p[1] - p[0]) * gamma[0];
	for (int i = 1; i < m; i++) {
		delta[i] = (3.0f * (p[i + 1] - p[i - 1]) - delta[i - 1]) * gamma[i];
	}
	delta[m] = (3.0f * (p[m] - p[m - 1]) - delta[m - 1]) * gamma[m];

	D[m] = delta[m];
	for (int i = m - 1; i >= 0; i--) {
		D[i] = delta[i] - gamma[i] * D[i + 1];
	}

	for (int i = 0; i < m; i++) {
		out[i].a = p[i];
		out[i].b = D[i];
		out[i].c = 3.0f * (p[i + 1] - p[i]) - 2.0f * D[i] - D[i + 1];
		out[i].d = 2.0f * (p[i] - p[i + 1]) + D[i] + D[i + 1];
	}
}

void PathSpline::Build(float length) {
	if (pointCount < 1) {
		pointCount = 1;
	}
	if (pointCount > 1) {
		for (int axis = 0; axis < 3; axis++) {
			FitAxis(points[axis], cubics[axis]);
		}
	}
	duration = length;
	loaded = true;
}

const float *PathSpline::Evaluate(float t) {
	if (t < 0.0f) {
		t = 0.0f;
	}
	const int last = pointCount - 1;
	if (last < 1 || t >= duration) {
		int index = last < 0 ? 0 : last;
		for (int axis = 0; axis < 3; axis++) {
			position[axis] = points[axis][index];
		}
		return position;
	}
	float u = t / duration * last;
	// Clamped on both sides: a duration built from bad numbers must not index outside the table.
	int segment = u > 0.0f ? static_cast<int>(std::min(u, static_cast<float>(last - 1))) : 0;
	float f = u - segment;
	for (int axis = 0; axis < 3; axis++) {
		position[axis] = cubics[axis][segment].At(f);
	}
	return position;
}
