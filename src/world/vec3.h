// The geometric types of bodies and the world: a point or direction in world
// space (world units), and a frame of three row vectors (the local axes in
// world coordinates).
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace vorlund {

struct Vec3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;

  constexpr Vec3() = default;
  constexpr Vec3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

  constexpr Vec3& operator+=(const Vec3& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
  }
  constexpr Vec3& operator-=(const Vec3& o) {
    x -= o.x;
    y -= o.y;
    z -= o.z;
    return *this;
  }
  constexpr Vec3& operator*=(double k) {
    x *= k;
    y *= k;
    z *= k;
    return *this;
  }
  friend constexpr Vec3 operator+(Vec3 a, const Vec3& b) { return a += b; }
  friend constexpr Vec3 operator-(Vec3 a, const Vec3& b) { return a -= b; }
  friend constexpr Vec3 operator*(Vec3 a, double k) { return a *= k; }
  friend constexpr Vec3 operator*(double k, Vec3 a) { return a *= k; }
  friend constexpr bool operator==(const Vec3& a, const Vec3& b) = default;

  double length() const { return std::sqrt(x * x + y * y + z * z); }
  constexpr double length2() const { return x * x + y * y + z * z; }
};

constexpr Vec3 operator-(const Vec3& a) { return {-a.x, -a.y, -a.z}; }
constexpr Vec3 operator/(Vec3 a, double k) { return a *= 1.0 / k; }
constexpr double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

constexpr Vec3 kZeroVec{0, 0, 0};

// Widens the box [lo, hi] to take p, by the comparisons of plain ifs: a NaN
// coordinate of p leaves that axis of the box as it was.
constexpr void widenBox(Vec3& lo, Vec3& hi, const Vec3& p) {
  lo.x = p.x < lo.x ? p.x : lo.x;
  lo.y = p.y < lo.y ? p.y : lo.y;
  lo.z = p.z < lo.z ? p.z : lo.z;
  hi.x = p.x > hi.x ? p.x : hi.x;
  hi.y = p.y > hi.y ? p.y : hi.y;
  hi.z = p.z > hi.z ? p.z : hi.z;
}

// Rows are the local x, y and z axes expressed in world coordinates.
struct Frame {
  Vec3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
  friend constexpr bool operator==(const Frame& a, const Frame& b) = default;
};

constexpr Frame kIdentityFrame{};

// Cosine and sine of `angle`. An angle of exactly zero (an end nothing turns,
// such as an energy ball's, or a stick without twist) skips the library calls
// with the same results: cos(±0) is 1 and sin(±0) is the angle itself.
inline void cosSin(double angle, double& c, double& s) {
  if (angle == 0) {
    c = 1;
    s = angle;
  } else {
    c = std::cos(angle);
    s = std::sin(angle);
  }
}

// Turns every row of a frame by the angles whose cosines and sines are given:
// first about x (the (y, z) pair), then about y (the (x, z) pair), then about
// z (the (x, y) pair).
inline void turnFrame(Frame& f, double cx, double sx, double cy, double sy, double cz, double sz) {
  for (Vec3* r : {&f.x, &f.y, &f.z}) {
    double y = r->y * cx - r->z * sx, z = r->y * sx + r->z * cx;
    r->y = y;
    r->z = z;
    double x = r->x * cy - r->z * sy;
    z = r->x * sy + r->z * cy;
    r->x = x;
    r->z = z;
    x = r->x * cz - r->y * sz;
    y = r->x * sz + r->y * cz;
    r->x = x;
    r->y = y;
  }
}

// Turns every row of a frame about x by a.x, then y by a.y, then z by a.z.
inline void turnFrame(Frame& f, const Vec3& a) {
  double cx, sx, cy, sy, cz, sz;
  cosSin(a.x, cx, sx);
  cosSin(a.y, cy, sy);
  cosSin(a.z, cz, sz);
  turnFrame(f, cx, sx, cy, sy, cz, sz);
}

// The identity frame turned by the angles (how a stick's frame follows its angles).
inline Frame frameFromAngles(const Vec3& a) {
  Frame f;
  turnFrame(f, a);
  return f;
}

inline Vec3 localToWorld(const Frame& g, const Vec3& u) { return g.x * u.x + g.y * u.y + g.z * u.z; }
constexpr Vec3 worldToLocal(const Frame& g, const Vec3& u) { return {dot(g.x, u), dot(g.y, u), dot(g.z, u)}; }

}  // namespace vorlund
