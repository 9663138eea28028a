// The motion of the physics step: ground contact with static and sliding
// friction, gravity and buoyancy, then every stick end moves by its damped
// velocity and turns by its spin; finally the object's energy balance.
#include <algorithm>
#include <cstddef>

#include "world/end_motion_avx.h"
#include "world/energy.h"
#include "world/life.h"
#include "world/physical_ranges.h"
#include "world/physics_constants.h"
#include "world/step_lanes.h"
#include "world/step_trig.h"

namespace vorlund {

namespace {

// The ends' fields as the lanes read them (see end_motion_avx.h).
constexpr std::size_t fieldAt(int doubles) { return offsetof(ses, p) + doubles * sizeof(double); }
static_assert(offsetof(ses, v) == fieldAt(kEndVelocity) && offsetof(ses, spin) == fieldAt(kEndSpin) &&
              offsetof(ses, force) == fieldAt(kEndForce) && offsetof(ses, torque) == fieldAt(kEndTorque) &&
              offsetof(ses, anchor) == fieldAt(kEndAnchor) && offsetof(ses, m) == fieldAt(kEndMass) &&
              offsetof(ses, buoy) == fieldAt(kEndBuoyancy) && offsetof(ses, tarcie) == fieldAt(kEndFriction) &&
              offsetof(ses, o) == fieldAt(kEndFrame) && fieldAt(kEndDoubles) <= sizeof(ses));
static_assert(offsetof(ses, contact) == fieldAt(kEndContact) && sizeof(ses::contact) == 2 &&
              offsetof(ses, state) == fieldAt(kEndContact) + kEndStateShift / 8 && sizeof(ses::state) == 2 &&
              kEndSliding == SES_SLIDING && kEndInWater == SES_INWATER);

// Where the block world's cells put four ends. Out of line: the flat world's
// lanes find the ground themselves.
[[gnu::noinline]] void lookUpGround(const world& ground, ses* const* four, GivenGround& given) {
  static_assert(kGroundLanes == kMotionLanes);
  const double* at[kGroundLanes];
  for (int i = 0; i < kGroundLanes; ++i) at[i] = &four[i]->p.x;
  given.inside = ground.insideGroundOfFourAt(at, given.q);
}

}  // namespace

void Life::motion(int part, int begin, int end) {
  std::vector<TouchEvent>& touched = touchesOf(part, begin);
  const bool lowDamping = rules().model == 1;
  const double water = world.waterLevel();
  // One end, all but the turn of its frame.
  const auto moveEnd = [&](org& o, ses& S) {
    Vec3 P;
    Vec3 q;
    if (world.insideGround(S.p, q)) {
      P = GROUND_PUSH * (q - S.p);
      if (S.contact) {
        const Vec3 h = S.anchor - q;
        const double limit = FRICTION_LIMIT_FACTOR * S.tarcie * P.length();
        const double held = h.length();
        if (held > limit) {
          // Too much to hold: the end slides and drags its anchor along.
          const double c = limit / held;
          P += 0.5 * c * h;
          S.anchor = c * S.anchor + (1 - c) * q;
          S.state |= SES_SLIDING;
        } else {
          P += h;
          S.state &= static_cast<uint16_t>(~SES_SLIDING);
        }
        if (lowDamping) S.v *= GROUND_VELOCITY_KEEP;
      } else {
        // The first touch only records where the end landed.
        if (!touchHooks.empty()) touched.push_back({&o, &S});
        S.contact = 1;
        S.anchor = q;
      }
    } else {
      S.contact = 0;
    }
    const double mass = S.m > 0 ? S.m : FALLBACK_MASS;
    P.z -= GRAVITY * mass;
    if (S.p.z < water) {
      P.z += BUOYANCY * S.buoy;
      S.state |= SES_INWATER;
    } else {
      S.state &= static_cast<uint16_t>(~SES_INWATER);
    }
    S.force += P;
    S.v += S.force / mass;
    S.spin += S.torque / mass;
    S.v *= damp;
    S.spin *= damp;
    // Sticks pulling on a light end can make the explicit step overshoot more
    // at every step; no real motion comes near the checker's velocity range,
    // and holding to it keeps such a body finite.
    S.v = Vec3(std::clamp(S.v.x, -kVelocityLimit, kVelocityLimit), std::clamp(S.v.y, -kVelocityLimit, kVelocityLimit),
               std::clamp(S.v.z, -kVelocityLimit, kVelocityLimit));
    S.p += S.v;
  };
  // Motion changes neither energy_p nor energy_m: an object's balance may be
  // booked before its ends have moved.
  const int mortalFrom = rules().AutoKill ? 0 : creatures.size();
  // The smell sources of these objects, packed as they go.
  senses_.openSourceStretch(part, begin);
  std::vector<int>& spent = spent_[static_cast<std::size_t>(part)];
  const auto balance = [this, mortalFrom, part, &spent](org& o, int index) {
    bookBalance(o);
    if (o.energy <= 0 && index >= mortalFrom) spent.push_back(index);
    snapshot_.copyEnergy(index, o);
    senses_.setSource(part, static_cast<std::size_t>(index), &o, snapshot_.centers()[static_cast<std::size_t>(index)],
                      o.energy);
  };

  const StepLanes* const lanes = stepLanes();
  if (lanes == nullptr) {
    for (int index = begin; index < end; ++index) {
        org& o = *all.get(index);
      // No end's motion reads another end's frame, so the turns can wait for
      // a group's sines to come in one batch.
      FrameTurns turns;
      for (const auto& sp : o.l_ses) {
        moveEnd(o, *sp);
        if (!turns.add(sp->o, sp->spin)) turns.apply();
      }
      turns.apply();
      balance(o, index);
    }
    return;
  }

  // Four ends at a time, or eight where the registers hold eight, whichever
  // objects of the range they belong to (an energy ball has one); their
  // contact and state bits, and the records of first touches, follow in
  // object and end order. The lanes find flat ground themselves; the blocks'
  // cells are looked up for the same ends, four at a time.
  const MotionRules shared{water, world.activeSize(), damp, world.boundaries() == BOUNDARY_FENCE, lowDamping};
  const bool blocks = world.activeType() == WORLD_BLOCKS;
  const int width = lanes->moveEightEnds != nullptr ? kWideMotionLanes : kMotionLanes;
  GivenGround ground[2];
  ses* group[kWideMotionLanes];
  org* owners[kWideMotionLanes];
  // The count is the flush's argument rather than captured, so that the
  // loop below keeps it in a register.
  const auto flush = [&](int filled) {
    // Four ends or fewer take four lanes.
    const int used = filled <= kMotionLanes ? kMotionLanes : kWideMotionLanes;
    int contact = 0;
    for (int i = 0; i < filled; ++i)
      if (group[i]->contact) contact |= 1 << i;
    // A spare lane moves the first end once more, from the same fields and
    // ground to the same bits: every lane is read before any is written.
    for (int i = filled; i < used; ++i) group[i] = group[0];
    if (contact & 1) contact |= ((1 << used) - 1) & ~((1 << filled) - 1);
    double* ends[kWideMotionLanes];
    for (int i = 0; i < used; ++i) ends[i] = &group[i]->p.x;
    if (blocks)
      for (int i = 0; i < used; i += kMotionLanes) lookUpGround(world, group + i, ground[i / kMotionLanes]);
    const MotionLanes result =
        used == kMotionLanes
            ? lanes->moveEnds(*reinterpret_cast<double* const(*)[kMotionLanes]>(&ends), contact, shared,
                              blocks ? &ground[0] : nullptr)
            : lanes->moveEightEnds(ends, contact, shared, blocks ? &ground : nullptr);
    // The lanes set the contact and state bits; the first touches are
    // recorded here, in end order.
    if (!touchHooks.empty())
      for (int i = 0; i < filled; ++i)
        if (result.inside & ~contact & 1 << i) touched.push_back({owners[i], group[i]});
  };
  // The ends come from the snapshot's packed list (the contact phase left
  // it fitting every object) rather than from each object's own: fewer
  // loads in a chain of dependent ones per object, which the many one-end
  // energy balls feel.
  int filled = 0;
  for (int index = begin; index < end; ++index) {
    org& o = *all.get(index);
    ses* const* const own = snapshot_.ends(index);
    for (int k = 0, count = snapshot_.endCount(index); k < count; ++k) {
      group[filled] = own[k];
      owners[filled++] = &o;
      if (filled == width) {
        flush(filled);
        filled = 0;
      }
    }
    balance(o, index);
  }
  if (filled == 1) {
    // A single end left over costs less alone than in four lanes.
    moveEnd(*owners[0], *group[0]);
    turnFrameStep(group[0]->o, group[0]->spin);
  } else if (filled > 0) {
    flush(filled);
  }
}

}  // namespace vorlund
