#pragma once
// A small 3-D vector in double precision for view directions: world
// coordinates as Radiance's views give them, unit length wherever a
// direction is meant.

#include <cmath>

struct Vector3 {
    double x = 0, y = 0, z = 0;
};

inline Vector3 operator+(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3 operator-(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3 operator*(double s, const Vector3& a) { return {s * a.x, s * a.y, s * a.z}; }

inline double dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline double length(const Vector3& a) { return std::sqrt(dot(a, a)); }

// The vector scaled to unit length; the zero vector stays zero.
inline Vector3 normalised(const Vector3& a) {
    const double n = length(a);
    return n > 0 ? (1.0 / n) * a : a;
}

// The angle between two unit vectors, accurate also for nearly parallel ones
// (acos loses half the digits there).
inline double angle_between(const Vector3& a, const Vector3& b) {
    return 2.0 * std::atan2(length(a - b), length(a + b));
}
