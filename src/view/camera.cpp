#include "view/camera.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "world/org.h"

namespace vorlund {

namespace {

constexpr ParamTab kCameraTab[] = {
    paramHeader("Camera", 1, 4, nullptr),
    {"ka_auto", 0, "Follow", "d 0 4 ~off~Once~Always~Fast~Slow", offsetof(CameraSettings, ka_auto), nullptr},
    {"ka_zoom", 0, "Zoom", "f 0.2 2", offsetof(CameraSettings, ka_zoom), nullptr},
    {"ka_a", 0, "Angle", "f 0 360", offsetof(CameraSettings, ka_a), "degrees around the vertical axis"},
    {"ka_h", 0, "Height", "f -90 90", offsetof(CameraSettings, ka_h), "0=side view, 90=top view"},
    paramEnd(),
};
static_assert(paramTableValid(kCameraTab));

// Near plane as a share of the eye distance, and its bounds.
constexpr double kNearShare = 0.02;
constexpr double kNearMin = 0.01;
constexpr double kNearMax = 0.5;
// The far plane reaches at least this far, and always past the world's far edge.
constexpr double kFarMin = 200.0;
constexpr double kFarWorldSides = 3.0;

void widen(WorldBox& box, const Vec3& p) {
  box.min.x = std::min(box.min.x, p.x);
  box.min.y = std::min(box.min.y, p.y);
  box.min.z = std::min(box.min.z, p.z);
  box.max.x = std::max(box.max.x, p.x);
  box.max.y = std::max(box.max.y, p.y);
  box.max.z = std::max(box.max.z, p.z);
}

}  // namespace

const ParamTab* cameraParamTable() { return kCameraTab; }

bool stickEndBox(const org& o, WorldBox& box) {
  if (o.sesCount() == 0) return false;
  box.min = box.max = o.getSes(0)->p;
  for (int i = 1; i < o.sesCount(); ++i) widen(box, o.getSes(i)->p);
  return true;
}

ClipPlanes clipPlanesFor(double distance, double worldSize) {
  if (!std::isfinite(distance) || distance < 0) distance = 0;
  const double nearPlane = std::clamp(distance * kNearShare, kNearMin, kNearMax);
  const double farPlane = std::max(kFarMin, distance + kFarWorldSides * worldSize);
  return {nearPlane, farPlane};
}

Camera::Accessor::Accessor(CameraSettings& s) : param(kCameraTab, &s) {}

Camera::Camera() : params_(settings) {}

void Camera::setFollowed(std::vector<const org*> creatures) {
  followed_ = std::move(creatures);
  refresh_ = true;
}

void Camera::follow(const org* creature) {
  followed_.push_back(creature);
  refresh_ = true;
}

bool Camera::forget(const org* creature) {
  const auto it = std::remove(followed_.begin(), followed_.end(), creature);
  if (it == followed_.end()) return false;
  followed_.erase(it, followed_.end());
  refresh_ = true;
  return true;
}

void Camera::computeGoal(const world& w, Vec3& goalTarget, double& goalScale) const {
  WorldBox all{};
  bool any = false;
  for (const org* o : followed_) {
    WorldBox box;
    if (o == nullptr || !stickEndBox(*o, box)) continue;
    if (!any) {
      all = box;
      any = true;
    } else {
      widen(all, box.min);
      widen(all, box.max);
    }
  }
  if (!any) {
    const double size = w.activeSize();
    all = {{0, 0, 0}, {size, size, 0}};
  }
  goalTarget = (all.min + all.max) * 0.5;
  const double d = std::max((all.max - all.min).length(), kGoalMinDiagonal);
  goalScale = std::clamp(kGoalScaleNumerator / d * settings.ka_zoom, kScaleMin, kScaleMax);
}

void Camera::update(const world& w, int mode) {
  Vec3 goal;
  double goalScale = scale;
  switch (mode) {
    case FOLLOW_ONCE:
      if (refresh_) {
        computeGoal(w, target, scale);
      }
      break;
    case FOLLOW_ALWAYS:
      computeGoal(w, target, scale);
      break;
    case FOLLOW_FAST:
    case FOLLOW_SLOW: {
      const double share = mode == FOLLOW_FAST ? kFollowFastShare : kFollowSlowShare;
      computeGoal(w, goal, goalScale);
      target = target * (1.0 - share) + goal * share;
      scale = scale * (1.0 - share) + goalScale * share;
      break;
    }
    default:
      break;
  }
  refresh_ = false;
  clampScale();
}

void Camera::reset(const world& w) {
  settings.ka_h = kResetHeight;
  settings.ka_a = kResetAngle;
  settings.ka_zoom = kResetZoom;
  frameWorld(w);
}

void Camera::frameWorld(const world& w) {
  // The whole square, whatever is followed.
  const std::vector<const org*> kept = std::move(followed_);
  followed_.clear();
  computeGoal(w, target, scale);
  followed_ = kept;
}

Vec3 Camera::offset() const {
  const double s = std::clamp(scale, kScaleMin, kScaleMax);
  const double h = settings.ka_h * kViewDegree;
  const double a = settings.ka_a * kViewDegree;
  const double r = std::cos(h) / s;
  return {-r * std::sin(a), -r * std::cos(a), std::sin(h) / s};
}

void Camera::zoomBy(double factor) {
  if (std::isnan(factor) || factor < 0) return;
  scale *= factor;
  clampScale();
}

void Camera::pan(double dx, double dy, int width, int height) {
  if (width <= 0 || height <= 0) return;
  target.x -= dx / (width * scale);
  target.y += dy / (height * scale);
}

void Camera::clampScale() {
  if (!std::isfinite(scale)) scale = kScaleMax;
  scale = std::clamp(scale, kScaleMin, kScaleMax);
}

void CameraMotion::advance(Camera& camera, bool zoomParameter, double ticks) {
  if (!(ticks > 0)) return;
  CameraSettings& s = camera.settings;
  s.ka_a += angleSpeed * ticks;
  s.ka_h += heightSpeed * ticks;
  const double zoom = ticks == 1.0 ? zoomFactor : std::pow(static_cast<double>(zoomFactor), ticks);
  if (zoomParameter) {
    s.ka_zoom *= zoom;
  } else {
    camera.zoomBy(zoom);
    // A scale held at its bound stops zooming, as the zoom parameter does.
    if (camera.scale <= kScaleMin || camera.scale >= kScaleMax) zoomFactor = 1;
  }
  if (s.ka_h > kHeightMax) {
    s.ka_h = kHeightMax;
    heightSpeed = 0;
  }
  if (s.ka_h < kHeightMin) {
    s.ka_h = kHeightMin;
    heightSpeed = 0;
  }
  // Several ticks of a fast spin may pass a whole turn.
  if (s.ka_a > kAngleFull || s.ka_a < 0) {
    s.ka_a = std::fmod(s.ka_a, kAngleFull);
    if (s.ka_a < 0) s.ka_a += kAngleFull;
  }
  if (s.ka_zoom > kZoomMax) {
    s.ka_zoom = kZoomMax;
    zoomFactor = 1;
  }
  if (s.ka_zoom < kZoomMin) {
    s.ka_zoom = kZoomMin;
    zoomFactor = 1;
  }
}

}  // namespace vorlund
