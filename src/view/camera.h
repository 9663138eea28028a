// Where a world view looks: a target point and a scale (the reciprocal of the
// eye's distance), moved by the follow modes after a set of creatures or over
// the whole world, and turned by the "Camera" table's angle and height. Plain
// arithmetic with no window toolkit, shared by the OpenGL renderer, the
// software views and the scene exporter.
#pragma once

#include <vector>

#include "core/param.h"
#include "world/vec3.h"
#include "world/world_map.h"

namespace vorlund {

class org;

// Values of `ka_auto`.
constexpr int FOLLOW_OFF = 0;
constexpr int FOLLOW_ONCE = 1;
constexpr int FOLLOW_ALWAYS = 2;
constexpr int FOLLOW_FAST = 3;
constexpr int FOLLOW_SLOW = 4;

// Degrees to radians as the views convert them (camera and light angles).
constexpr double kViewDegree = 1.0 / 57.4;
// The goal's scale is this over the box diagonal (times `ka_zoom`).
constexpr double kGoalScaleNumerator = 0.8;
// A box diagonal below this (a one-end creature) counts as this long.
constexpr double kGoalMinDiagonal = 0.5;
// Gliding followers move this share of the way to the goal per update.
constexpr double kFollowFastShare = 0.1;
constexpr double kFollowSlowShare = 0.01;
// The scale never leaves these bounds (world units^-1), so that no drag or
// motion step can put the eye at zero or infinite distance.
constexpr double kScaleMin = 1e-4;
constexpr double kScaleMax = 50.0;
// Bounds of the table's zoom, angle and height (degrees).
constexpr double kZoomMin = 0.2;
constexpr double kZoomMax = 2.0;
constexpr double kHeightMin = -90.0;
constexpr double kHeightMax = 90.0;
constexpr double kAngleFull = 360.0;
// What "Reset Camera" puts back.
constexpr double kResetHeight = 20.0;
constexpr double kResetAngle = 0.0;
constexpr double kResetZoom = 1.0;

// The fields of the "Camera" table.
struct CameraSettings {
  int32_t ka_auto = FOLLOW_OFF;
  double ka_zoom = 1.0;
  double ka_a = 30.0;  // degrees around the vertical axis
  double ka_h = 30.0;  // degrees above the horizon
};

// Indices of the "Camera" table.
constexpr int KA_AUTO = 0;
constexpr int KA_ZOOM = 1;
constexpr int KA_A = 2;
constexpr int KA_H = 3;

const ParamTab* cameraParamTable();

// The box of an object's stick ends, computed without touching the object's
// own bounding box (which belongs to the physics). False for an object
// without stick ends.
bool stickEndBox(const org& o, WorldBox& box);

// Near and far clipping distances for an eye `distance` away from its target
// in a world of side `worldSize`: both planes follow the distance, so that a
// zoomed-out large world and a zoomed-in small creature are both in view.
struct ClipPlanes {
  double nearPlane;
  double farPlane;
};
ClipPlanes clipPlanesFor(double distance, double worldSize);

class Camera {
 public:
  Camera();
  Camera(const Camera&) = delete;
  Camera& operator=(const Camera&) = delete;

  CameraSettings settings;
  // The accessor bound to `settings`; chained into the interface settings.
  param& parameters() { return params_; }

  Vec3 target;
  double scale = 0.01;

  // --- followed creatures (observed, never owned) ---
  const std::vector<const org*>& followed() const { return followed_; }
  void setFollowed(std::vector<const org*> creatures);
  void follow(const org* creature);
  // Forgets a creature that leaves the world; true when it was followed.
  bool forget(const org* creature);
  bool refreshRequested() const { return refresh_; }

  // The box centre and scale to look at: the whole square of `w` when
  // nothing followed has a stick end, else the union of the followed boxes.
  void computeGoal(const world& w, Vec3& goalTarget, double& goalScale) const;
  // One follow update by `ka_auto`.
  void update(const world& w) { update(w, settings.ka_auto); }
  // One follow update as in the follow mode `mode` (the table's stays as it is).
  void update(const world& w, int mode);
  // "Reset Camera": default angle, height and zoom, the whole world in view.
  void reset(const world& w);
  // The whole world in view at the current angles (after the world changed size).
  void frameWorld(const world& w);

  // Eye minus target; up is +z.
  Vec3 offset() const;
  Vec3 eye() const { return target + offset(); }
  double distance() const { return 1.0 / scale; }

  // Multiplies the scale, keeping it within its bounds (mouse zoom).
  void zoomBy(double factor);
  // Moves the target by a screen drag of (dx, dy) pixels on a w x h view.
  void pan(double dx, double dy, int width, int height);

 private:
  class Accessor : public param {
   public:
    explicit Accessor(CameraSettings& s);
  };
  void clampScale();

  Accessor params_;
  std::vector<const org*> followed_;
  bool refresh_ = false;
};

// The motion a world view adds to its camera: keys, demo mode and mouse
// inertia set it. Its speeds are per motion tick, a fixed span of real time
// (MotionClock), so the camera turns and zooms as fast at tens of thousands
// of steps a second as when stopped. "Stopped" is (0, 0, 1).
struct CameraMotion {
  float angleSpeed = 0;   // degrees per tick
  float heightSpeed = 0;  // degrees per tick
  float zoomFactor = 1;   // per tick

  void stop() { *this = CameraMotion{}; }
  bool moving() const { return angleSpeed != 0 || heightSpeed != 0 || zoomFactor != 1; }
  // One tick. With `zoomParameter` the factor acts on `ka_zoom` (the view
  // follows and recomputes its goal), else directly on the scale.
  void step(Camera& camera, bool zoomParameter) { advance(camera, zoomParameter, 1.0); }
  // `ticks` (any non-negative share of ticks) at once: the speeds times the
  // ticks, the zoom factor to their power.
  void advance(Camera& camera, bool zoomParameter, double ticks);
};

}  // namespace vorlund
