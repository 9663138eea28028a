#include "view/body_view.h"

#include <algorithm>
#include <cmath>

#include "world/org.h"

namespace vorlund {

namespace {

// The view looks down on the body from this elevation (radians).
constexpr double kElevation = 0.35;
// The body's farthest end from its centre reaches this share of half the smaller window side.
constexpr double kFillShare = 0.85;
// A body smaller than this (world units from its centre) is drawn as if it had this radius.
constexpr double kMinRadius = 0.5;
constexpr int kEndRadius = 2;
constexpr int kMarkRadius = 4;

}  // namespace

BodyView::BodyView() {
  watch_.setOnLost([this] {
    // Inside the step that removed the creature: drop what belongs to it, paint later.
    body_.reset();
    genotype_.clear();
    if (onLost_) onLost_();
  });
}

BodyView::~BodyView() { watch_.stop(); }

void BodyView::build(const std::string& genotype, const Genetics& genetics) {
  body_.reset();
  genotype_ = genotype;
  rules_ = genetics.settings ? *genetics.settings : SimSettings{};
  rules_.grow = 0;
  genetics_ = genetics;
  genetics_.settings = &rules_;
  auto o = std::make_unique<org>(&genetics_, genotype);
  o->allocatePositionMap();
  if (o->Build() == ORG_BUILD_OK) {
    o->computeBoundingBox();
    body_ = std::move(o);
  }
}

void BodyView::showGenotype(const std::string& genotype, const Genetics& genetics) {
  watch_.stop();
  build(genotype, genetics);
}

void BodyView::showCreature(org* creature, const Genetics& genetics, Life* life) {
  watch_.stop();
  if (creature == nullptr) {
    clear();
    return;
  }
  build(creature->genotype, genetics);
  watch_.watch(creature, life);
}

void BodyView::clear() {
  watch_.stop();
  body_.reset();
  genotype_.clear();
}

void BodyView::animate() {
  angle_ += kBodyTurnStep;
  if (angle_ > kBodyTurnLimit) angle_ -= kBodyTurnWrap;
}

void BodyView::paint(Area2D& area) {
  area.clear();
  if (!body_ || body_->sesCount() == 0) return;
  const org& o = *body_;
  const Vec3 c = o.meanPosition();
  double radius = kMinRadius;
  for (int i = 0; i < o.sesCount(); ++i) radius = std::max(radius, (o.getSes(i)->p - c).length());
  const int W = area.width(), H = area.height();
  const double k = kFillShare * 0.5 * std::min(W, H) / radius;
  const double ca = std::cos(angle_), sa = std::sin(angle_);
  const double ce = std::cos(kElevation), se = std::sin(kElevation);
  auto project = [&](const Vec3& p, int& x, int& y) {
    const Vec3 d = p - c;
    const double rx = d.x * ca - d.y * sa, ry = d.x * sa + d.y * ca;
    x = clampToPixel(W / 2.0 + rx * k);
    y = clampToPixel(H / 2.0 - (d.z * ce + ry * se) * k);
  };
  for (int i = 0; i < o.estCount(); ++i) {
    const est& s = *o.getEst(i);
    int x1, y1, x2, y2;
    project(s.e[0]->p, x1, y1);
    project(s.e[1]->p, x2, y2);
    area.color(VC_STICK);
    area.line(x1, y1, x2, y2);
    const int mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
    if (s.muscles & EST_MUSCLE_ROTATE) {
      area.color(VC_MUSCLE_ROTATE);
      area.ellipse(mx, my, kMarkRadius + 2, kMarkRadius + 2, false);
    }
    if (s.muscles & EST_MUSCLE_BEND) {
      // Bending happens at the joint: mark the first end.
      area.color(VC_MUSCLE_BEND);
      area.ellipse(x1, y1, kMarkRadius, kMarkRadius, false);
    }
    if (s.sensors & EST_SENSOR_NEURON) {
      area.color(VC_NEURON);
      area.rect(mx - 2, my - 2, 5, 5, true);
    }
    std::string letters;
    if (s.sensors & EST_SENSOR_TOUCH) letters += 'T';
    if (s.sensors & EST_SENSOR_EQUILIBRIUM) letters += 'G';
    if (s.sensors & EST_SENSOR_SMELL) letters += 'S';
    if (!letters.empty()) {
      area.color(VC_RECEPTOR);
      area.text(x2 + 3, y2 - area.lineHeight(), letters);
    }
  }
  area.color(VC_STICK_END);
  for (int i = 0; i < o.sesCount(); ++i) {
    int x, y;
    project(o.getSes(i)->p, x, y);
    area.ellipse(x, y, kEndRadius, kEndRadius, true);
  }
}

}  // namespace vorlund
