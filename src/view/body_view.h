// The body view's logic: the morphology of a genotype or of a living
// creature, built at full size for display and drawn slowly turning about the
// vertical axis, with muscles, neurons and receptors marked on the sticks.
#pragma once

#include <memory>
#include <string>

#include "view/area2d.h"
#include "view/creature_watch.h"
#include "world/genetics_context.h"
#include "world/sim_settings.h"

namespace vorlund {

class org;
class Life;

// Turn per animation tick, and the angle range it wraps around in (radians).
constexpr double kBodyTurnStep = 0.02;
constexpr double kBodyTurnLimit = 3.14;
constexpr double kBodyTurnWrap = 6.28;

class BodyView {
 public:
  BodyView();
  ~BodyView();
  BodyView(const BodyView&) = delete;
  BodyView& operator=(const BodyView&) = delete;

  // Shows the body of a genotype; nothing when it does not build. The genetics
  // (manager and rules) are copied, except that the body never grows, so it
  // shows at full size.
  void showGenotype(const std::string& genotype, const Genetics& genetics);
  // Shows a living creature's morphology (built from its genotype) until the
  // creature dies; `life` is the world whose deaths end the showing.
  void showCreature(org* creature, const Genetics& genetics, Life* life);
  void clear();
  // The creature shown (null for a genotype or nothing).
  org* creature() const { return watch_.get(); }
  // The display body (its network is what the brain view shows in genotype mode).
  org* displayBody() const { return body_.get(); }
  const std::string& genotype() const { return genotype_; }
  void setOnLost(std::function<void()> fn) { onLost_ = std::move(fn); }

  // One tick of the turning animation.
  void animate();
  double angle() const { return angle_; }
  void setAngle(double a) { angle_ = a; }

  void paint(Area2D& area);

 private:
  void build(const std::string& genotype, const Genetics& genetics);

  SimSettings rules_;
  Genetics genetics_;
  std::unique_ptr<org> body_;
  std::string genotype_;
  CreatureWatch watch_;
  std::function<void()> onLost_;
  double angle_ = 0;
};

}  // namespace vorlund
