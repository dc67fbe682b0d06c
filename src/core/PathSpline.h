#ifndef TAVRO_CORE_PATHSPLINE_H
#define TAVRO_CORE_PATHSPLINE_H

// A camera path: a natural cubic spline through up to 32 points, read from a ".cam" file.
class PathSpline {
public:
	static constexpr int MAX_POINTS = 32;

	PathSpline();

	// False for a null name or a file that cannot be opened; the path then stays as it was.
	bool Load(const char *fileName);

	// Fits the polynomials to the points held; the point count is clamped to 1..MAX_POINTS.
	void Build(float duration);

	// The position at time t (negative times count as 0); valid until the next call.
	const float *Evaluate(float t);

	void SetPoints(int count, const float (*xyz)[3]);
	float GetDuration() const { return duration; }
	int GetPointCount() const { return pointCount; }
	bool IsLoaded() const { return loaded; }

private:
	struct Cubic {
		float a, b, c, d; // value at u: ((d·u + c)·u + b)·u + a
		float At(float u) const { return ((d * u + c) * u + b) * u + a; }
	};

	void FitAxis(const float *p, Cubic *out) const;

	float duration; // in the unit of Evaluate's time argument
	int pointCount;
	float points[3][MAX_POINTS];
	Cubic cubics[3][MAX_POINTS - 1];
	float position[3];
	bool loaded;
};

#endif
