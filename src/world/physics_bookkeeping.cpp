// The bookkeeping of the physics step: every object is measured, aged or
// grown, and with teleporting boundaries may jump across the world.
#include "world/energy.h"
#include "world/life.h"

namespace vorlund {

namespace {
constexpr Vec3 kContactMargin(CONTACT_BOX_MARGIN, CONTACT_BOX_MARGIN, CONTACT_BOX_MARGIN);
}  // namespace

void Life::bookkeeping(org& o) {
  o.computeBoundingBox();
  o.bboxMin -= kContactMargin;
  o.bboxMax += kContactMargin;
  o.center = o.meanPosition();
  for (const auto& s : o.l_ses) {
    s->force = s->torque = kZeroVec;
    s->state &= static_cast<uint16_t>(~SES_ATE);
  }
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
