// What the world view's keys do to its camera motion, as plain code so that
// it is tested without a window. The window maps its toolkit's key codes to
// ViewKey and carries out the returned command.
#pragma once

#include "view/camera.h"

namespace vorlund {

enum class ViewKey { Left, Right, Up, Down, ZoomIn, ZoomOut, Slow, SlowAngle, SlowHeight, Stop, Reset, TogglePov };

// What the caller still has to do after a key changed the motion.
enum class ViewCommand { None, ResetCamera, TogglePov };

// Angle and height speed change per arrow press (degrees per step).
constexpr float kArrowSpeedStep = 0.1f;
// Zoom factor change per numeric + or - press.
constexpr float kZoomKeyFactor = 1.001f;
// S, A and H divide the speeds by this.
constexpr float kSlowDivisor = 1.1f;

ViewCommand applyViewKey(CameraMotion& motion, ViewKey key);

// The mouse zoom drag: the scale factor for a horizontal move of dx pixels.
double dragZoomFactor(double dx);

}  // namespace vorlund
