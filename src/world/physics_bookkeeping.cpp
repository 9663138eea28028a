// The bookkeeping of the physics step: every object is measured, aged or
// grown, and with teleporting boundaries may jump across the world.
#include "world/energy.h"
#include "world/life.h"

namespace vorlund {

namespace {
constexpr Vec3 kContactMargin(CONTACT_BOX_MARGIN, CONTACT_BOX_MARGIN, CONTACT_BOX_MARGIN);

// The box and the centre of the ends, and their accumulators cleared, in one
// pass rather than three: the comparisons of org::computeBoundingBox and the
// sum of org::meanPosition, value for value and in the same order.
void measureAndClearEnds(org& o) {
  Vec3 lo, hi, sum;
  if (!o.l_ses.empty()) lo = hi = o.l_ses.get(0)->p;
  for (const auto& sp : o.l_ses) {
    ses& s = *sp;
    widenBox(lo, hi, s.p);
    sum += s.p;
    s.force = s.torque = kZeroVec;
    s.state &= static_cast<uint16_t>(~SES_ATE);
  }
  o.bboxMin = lo - kContactMargin;
  o.bboxMax = hi + kContactMargin;
  o.center = o.l_ses.empty() ? sum : sum / static_cast<double>(o.l_ses.size());
}
}  // namespace

void Life::bookkeeping(org& o) {
  measureAndClearEnds(o);
  if (o.flags & ORG_GROWING) {
    growthStep(o, rules());
    return;
  }
  metabolismAndAge(o, rules());
  if (measurePerformance(o, rules()) && world.boundaries() == BOUNDARY_TELEPORT) teleport(o);
}

void Life::teleport(org& o) {
  otherBoxes_.clear();
  for (int i = 0; i < creatures.size(); ++i) {
    const org* other = creatures.get(i);
    if (other != &o) otherBoxes_.push_back({other->bboxMin, other->bboxMax});
  }
  // The world widens the box itself; ours already carries the contact margin.
  const WorldBox box{o.bboxMin + kContactMargin, o.bboxMax - kContactMargin};
  Vec3 shift;
  if (!world.teleportShift(box, otherBoxes_, shift)) return;
  for (const auto& s : o.l_ses) s->p += shift;
  o.bboxMin += shift;
  o.bboxMax += shift;
  o.center += shift;
  o.prevCenter += shift;
}

}  // namespace vorlund
