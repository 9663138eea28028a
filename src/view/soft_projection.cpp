#include "view/soft_projection.h"

#include <algorithm>
#include <cmath>

#include "view/area2d.h"

namespace vorlund {

namespace {
constexpr double kGridMaxCells = 7.0;
constexpr double kGridStepExcess = 0.0001;
}  // namespace

void SoftProjection::set(int W, int H, const Vec3& target, double scale, double aspect) {
  target_ = target;
  double sx = W * scale, sy = H * scale * aspect;
  if (!std::isfinite(sx) || !std::isfinite(sy)) sx = sy = 0;
  sx_ = sy_ = std::min(sx, sy);
  ox_ = static_cast<int>(W / 2) - (target.x - 0.5 * target.y) * sx_;
  oy_ = static_cast<int>(H / 2) - (-0.5 * target.y - target.z) * sy_;
}

void SoftProjection::project(const Vec3& p, int& x, int& y) const {
  x = clampToPixel((p.x - 0.5 * p.y) * sx_ + ox_);
  y = clampToPixel((-0.5 * p.y - p.z) * sy_ + oy_);
}

Vec3 SoftProjection::toGround(int mx, int my) const {
  if (sx_ <= 0 || sy_ <= 0) return {target_.x, target_.y, 0};
  const double y = (oy_ - my) / (0.5 * sy_);
  return {0.5 * y + (mx - ox_) / sx_, y, 0};
}

int softGridCells(double worldSize) {
  double n = worldSize;
  while (n > kGridMaxCells) n /= 2;
  return std::max(1, static_cast<int>(n));
}

double softGridStep(double worldSize) { return worldSize / softGridCells(worldSize) + kGridStepExcess; }

}  // namespace vorlund
