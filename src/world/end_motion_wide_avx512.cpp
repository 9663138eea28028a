// Built for AVX-512. No header with inline functions here but the lanes' own
// (see end_motion_avx.h).
//
// Eight ends at once: the chain of roots and quotients from an end's ground
// contact to its velocity is long, and eight lanes run it once for twice the
// ends that four do.
#include "world/end_motion_lanes.h"

namespace vorlund {

static_assert(kWideLanes == kWideMotionLanes);

MotionLanes moveEightEndsAvx512(double* const (&ends)[kWideMotionLanes], int contact, const MotionRules& rules,
                                const GivenGround (*ground)[2]) {
  return {moveLanes<EightLanes>(ends, contact, rules, ground != nullptr ? *ground : nullptr)};
}

}  // namespace vorlund
