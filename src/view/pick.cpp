#include "view/pick.h"

#include <cmath>

#include "view/camera.h"
#include "view/render_rules.h"
#include "world/life.h"
#include "world/org.h"
#include "world/world_settings.h"

namespace vorlund {

namespace {
constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;
constexpr Vec3 kUp{0, 0, 1};

Vec3 normalised(const Vec3& v) {
  const double l = v.length();
  return l > 0 ? v / l : v;  // a zero vector stays zero, as look-at leaves it
}
}  // namespace

PerspectiveView::PerspectiveView(const Camera& camera, int width, int height, double aspectCorrection)
    : width_(std::max(width, 1)), height_(std::max(height, 1)) {
  eye_ = camera.eye();
  forward_ = normalised(camera.target - eye_);
  side_ = normalised(cross(forward_, kUp));
  up_ = cross(side_, forward_);
  fovY_ = fieldOfView(width_, height_);
  aspect_ = static_cast<double>(width_) / height_ / (aspectCorrection > 0 ? aspectCorrection : 1.0);
  const ClipPlanes clip = clipPlanesFor(camera.distance(), kWorldSizeMax);
  near_ = clip.nearPlane;
  far_ = clip.farPlane;
  focal_ = 1.0 / std::tan(fovY_ / kDegreesPerRadian / 2);
}

bool PerspectiveView::project(const Vec3& p, double& x, double& y) const {
  if (!valid()) return false;
  const Vec3 d = p - eye_;
  const double depth = dot(d, forward_);
  if (!(depth >= near_ && depth <= far_)) return false;
  const double ndcX = focal_ / aspect_ * dot(d, side_) / depth;
  const double ndcY = focal_ * dot(d, up_) / depth;
  x = (ndcX + 1) / 2 * width_;
  y = (1 - ndcY) / 2 * height_;
  return true;
}

bool PerspectiveView::groundPoint(double x, double y, double planeZ, Vec3& out) const {
  if (!valid()) return false;
  const double ndcX = 2 * x / width_ - 1, ndcY = 1 - 2 * y / height_;
  // The ray through the pixel, one unit of depth long.
  const Vec3 ray = forward_ + side_ * (ndcX * aspect_ / focal_) + up_ * (ndcY / focal_);
  if (std::fabs(ray.z) < 1e-12) return false;
  const double t = (planeZ - eye_.z) / ray.z;  // depth of the meeting point
  if (!(t >= near_ && t <= far_)) return false;
  out = eye_ + ray * t;
  return true;
}

StickEndPick nearestStickEnd(const Life& life, const PixelProjection& project, double px, double py, int range) {
  StickEndPick best;
  best.distance = range;
  for (int i = 0; i < life.creatures.size(); ++i) {
    org* o = life.creatures.get(i);
    for (int e = 0; e < o->sesCount(); ++e) {
      double x = 0, y = 0;
      if (!project(o->getSes(e)->p, x, y)) continue;
      const double d = std::hypot(x - px, y - py);
      if (!(d < best.distance)) continue;
      best.distance = static_cast<int>(d);
      best.creature = o;
      best.end = e;
    }
  }
  return best;
}

}  // namespace vorlund
