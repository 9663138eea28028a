#include "view/view_input.h"

#include <cmath>

namespace vorlund {

namespace {
// Scale change per pixel of a zoom drag (exponent per pixel).
constexpr double kDragZoomPerPixel = 0.005;
}  // namespace

ViewCommand applyViewKey(CameraMotion& motion, ViewKey key) {
  switch (key) {
    case ViewKey::Left: motion.angleSpeed += kArrowSpeedStep; break;
    case ViewKey::Right: motion.angleSpeed -= kArrowSpeedStep; break;
    case ViewKey::Up: motion.heightSpeed += kArrowSpeedStep; break;
    case ViewKey::Down: motion.heightSpeed -= kArrowSpeedStep; break;
    case ViewKey::ZoomIn: motion.zoomFactor *= kZoomKeyFactor; break;
    case ViewKey::ZoomOut: motion.zoomFactor /= kZoomKeyFactor; break;
    case ViewKey::Slow:
      motion.angleSpeed /= kSlowDivisor;
      motion.heightSpeed /= kSlowDivisor;
      // Slowing a zoom brings its factor towards 1; dividing the factor
      // itself would turn any zoom into a fast zoom out.
      motion.zoomFactor = 1.0f + (motion.zoomFactor - 1.0f) / kSlowDivisor;
      break;
    case ViewKey::SlowAngle: motion.angleSpeed /= kSlowDivisor; break;
    case ViewKey::SlowHeight: motion.heightSpeed /= kSlowDivisor; break;
    case ViewKey::Stop: motion.stop(); break;
    case ViewKey::Reset: motion.stop(); return ViewCommand::ResetCamera;
    case ViewKey::TogglePov: return ViewCommand::TogglePov;
  }
  return ViewCommand::None;
}

double dragZoomFactor(double dx) { return std::exp(kDragZoomPerPixel * dx); }

}  // namespace vorlund
