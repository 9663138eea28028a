// Picking in the world views: the perspective the OpenGL view draws with, as
// plain arithmetic (eye, target, field of view, view size), so that a click
// in the 3D view lands where the picture shows things; and the stick end
// nearest to a pixel under any projection.
#pragma once

#include <functional>

#include "world/vec3.h"

namespace vorlund {

class Camera;
class Life;
class org;

class PerspectiveView {
 public:
  PerspectiveView() = default;
  // The view of `camera` on a `width` x `height` pixel view, as the renderer
  // sets it up (look-at from the eye with +z up, its field of view and clip
  // planes); `aspectCorrection` divides the aspect as the renderer's does.
  PerspectiveView(const Camera& camera, int width, int height, double aspectCorrection = 1.0);

  bool valid() const { return width_ > 0 && height_ > 0; }
  int width() const { return width_; }
  int height() const { return height_; }
  double fieldOfViewDegrees() const { return fovY_; }
  double aspect() const { return aspect_; }
  double nearPlane() const { return near_; }
  double farPlane() const { return far_; }

  // The pixel (x right, y down, from the top-left corner) where `p` is drawn;
  // false when p lies outside the depth range (behind the eye, too near or
  // too far to be drawn).
  bool project(const Vec3& p, double& x, double& y) const;
  // The point on the plane z = `planeZ` seen at pixel (x, y); false when the
  // ray through the pixel meets that plane behind the eye or beyond the far plane.
  bool groundPoint(double x, double y, double planeZ, Vec3& out) const;

 private:
  Vec3 eye_, side_, up_, forward_;
  double fovY_ = 60.0, aspect_ = 1.0, near_ = 0.5, far_ = 200.0;
  double focal_ = 1.0;  // 1 / tan(fovY / 2)
  int width_ = 0, height_ = 0;
};

// A pixel position of a world point, or false when the point is not shown.
using PixelProjection = std::function<bool(const Vec3& p, double& x, double& y)>;

struct StickEndPick {
  org* creature = nullptr;
  int end = -1;
  int distance = 0;  // pixels, truncated
};

// The stick end of a living creature nearest to pixel (px, py) under
// `project`, measured as the truncated pixel distance; ends `range` pixels
// away or more are never taken. `creature` is null when none qualifies.
StickEndPick nearestStickEnd(const Life& life, const PixelProjection& project, double px, double py, int range);

}  // namespace vorlund
