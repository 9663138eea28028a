// Built with -mavx, and again for AVX-512VL (see lane_math_avx.h). No header
// with inline functions here but the lanes' own (see end_motion_avx.h).
#include "world/end_motion_lanes.h"

namespace vorlund {

MotionLanes VORLUND_LANES(moveEnds)(double* const (&ends)[kMotionLanes], int contact, const MotionRules& rules,
                                    const GivenGround* ground) {
  return {moveLanes<FourLanes>(ends, contact, rules, ground)};
}

}  // namespace vorlund
