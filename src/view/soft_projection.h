// The software world view's fixed oblique projection: it uses only the
// camera's target and scale, x runs right, z up, and y recedes up and to the
// left at half scale. Its inverse maps a click to the ground plane z = 0.
#pragma once

#include "world/vec3.h"

namespace vorlund {

// Ratio of vertical to horizontal pixels per world unit.
constexpr double kSoftAspect = 1.0;

class SoftProjection {
 public:
  // Sets the projection for a W x H window looking at `target` with `scale`.
  void set(int W, int H, const Vec3& target, double scale, double aspect = kSoftAspect);
  // The pixel of a world point, clamped to a safe integer range.
  void project(const Vec3& p, int& x, int& y) const;
  // The ground point (z = 0) under a pixel; the target when the scale is zero.
  Vec3 toGround(int mx, int my) const;
  // Projected size of one world unit: horizontal plus vertical pixels.
  double unitPixels() const { return sx_ + sy_; }
  double sx() const { return sx_; }
  double sy() const { return sy_; }
  double ox() const { return ox_; }
  double oy() const { return oy_; }

 private:
  double sx_ = 0, sy_ = 0, ox_ = 0, oy_ = 0;
  Vec3 target_;
};

// The software grid: the world size halved until it is at most 7, truncated.
int softGridCells(double worldSize);
// Distance between grid lines; the small excess keeps the last line inside.
double softGridStep(double worldSize);

}  // namespace vorlund
