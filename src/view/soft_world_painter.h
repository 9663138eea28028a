// The software world view: the world square, its grid and boundaries, every
// creature and energy ball, the pointer, labels and the two charts of the
// selected creature, drawn on an Area2D through the oblique projection. How
// much is drawn follows the "World Display" quality level.
#pragma once

#include <functional>

#include "view/area2d.h"
#include "view/creature_watch.h"
#include "view/display_settings.h"
#include "view/soft_projection.h"
#include "view/value_chart.h"
#include "view/view_random.h"
#include "world/vec3.h"

namespace vorlund {

class Life;
class org;

// Labels are written when one world unit is projected larger than this (pixels, x plus y).
constexpr double kLabelMinUnitPixels = 20.0;
// Neurons are drawn on sticks when one world unit is larger than this.
constexpr double kNeuronMinUnitPixels = 35.0;
// A label shows at most this many characters of its value's first line.
constexpr std::size_t kLabelMaxChars = 24;

class SoftWorldPainter {
 public:
  explicit SoftWorldPainter(const WorldDisplayFields& settings);
  SoftWorldPainter(const SoftWorldPainter&) = delete;
  SoftWorldPainter& operator=(const SoftWorldPainter&) = delete;

  // The creature marked by the pointer and charted; let go when it dies.
  void select(org* creature, Life* life);
  org* selected() const { return watch_.get(); }
  void setOnLost(std::function<void()> fn) { onLost_ = std::move(fn); }

  // Draws the world as seen from the camera's target and scale. With a
  // selected creature and a chart chosen, the chart takes one sample.
  void paint(Area2D& area, const Life& life, const Vec3& target, double scale);

  const SoftProjection& projection() const { return proj_; }
  const ValueChart& chart(int k) const { return charts_[k == 2 ? 1 : 0]; }

 private:
  void drawWorld(Area2D& area, const Life& life);
  void drawObject(Area2D& area, const Life& life, const org& o, bool alive);
  void drawLabels(Area2D& area, org& o);
  void drawPointer(Area2D& area, const org& o);
  void drawCharts(Area2D& area);
  void line3(Area2D& area, const Vec3& a, const Vec3& b);

  const WorldDisplayFields& settings_;
  SoftProjection proj_;
  CreatureWatch watch_;
  std::function<void()> onLost_;
  ValueChart charts_[2];
  int chartParam_[2] = {0, 0};  // what each chart holds, to restart it on a change
  ViewRandom rng_;
};

}  // namespace vorlund
