// Built with -mavx, and again for AVX-512VL (see lane_math_avx.h). No header
// with inline functions here but the lanes' own (see stick_springs_avx.h).
#include "world/stick_springs_lanes.h"

namespace vorlund {

void VORLUND_LANES(stickSprings)(const SpringLane (&lanes)[kSpringLanes], const SpringRules& rules,
                                 double (&out)[kSpringOutputs][kSpringLanes]) {
  springLanes<FourLanes>(lanes, rules, out);
}

}  // namespace vorlund
