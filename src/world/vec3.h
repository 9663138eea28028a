// A point or direction in world space (world units), the one vector type of the
// creature structures and the world geometry.
#pragma once

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
};

}  // namespace vorlund
