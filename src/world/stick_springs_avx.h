// The spring arithmetic of four sticks at once, one per lane of the AVX
// registers, or eight in those of AVX-512, in files of their own built for
// them (see stick_springs_lanes.h): each lane does what stickSpring and the
// water drag on its ends do, operation for operation.
// Plain addresses only, no body types: a header with inline functions would
// bring AVX copies of them.
#pragma once

namespace vorlund {

// Sticks worked out together: one per lane.
inline constexpr int kSpringLanes = 4;

// One stick, as the addresses of what its spring reads. A position, the rest
// vector and the previous error are 3 doubles each with one more readable
// after them (the next field of the same element); an end's velocity
// follows its position, as in a stick end; frames are 9 doubles, rows x, y, z.
struct SpringLane {
  const double* firstFrame;
  const double* firstPos;
  const double* secondFrame;
  const double* secondPos;
  const double* stickFrame;
  const double* rest;
  // With `derivative`, the errors of the previous step, replaced by this
  // step's: the previous error's fourth double is the first of the frame.
  double* prevDiff;
  double* prevOrient;
  double twistCos, twistSin;  // of the twist angle r.x
  double assimilation;        // the stick's `asym`
};

// What comes out, field by field, a lane per stick: out[field][lane].
enum SpringOutput {
  kOutFirstForce = 0,     // 3: what the first end's force gains: the pull, less water drag below the level
  kOutFirstTorque = 3,    // 3: what the first end's torque gains
  kOutSecondForce = 6,    // 3: the same for the second end
  kOutSecondTorque = 9,   // 3
  kOutStrain = 12,        // 1
  kOutBendX = 13,         // 1: the joint load about x (bend y is 0)
  kOutBendZ = 14,         // 1
  kOutAssimilation = 15,  // 1: what the stick earns in the `sun` given
  kSpringOutputs = 16
};

// What every lane shares.
struct SpringRules {
  bool derivative;  // the low-damping model: errors of the last step count
  double sun;       // the assimilation rate
  double water;     // the level below which an end feels water drag
};

// Where an end's velocity lies, in doubles from its position.
inline constexpr int kEndVelocityAfterPosition = 3;

// Fewer sticks fill the spare lanes with copies of one of them. Only called
// when the processor has AVX; the second copy, built for AVX-512VL (see
// lane_math_avx.h) and giving the same bits, only when it has that.
void stickSpringsAvx(const SpringLane (&lanes)[kSpringLanes], const SpringRules& rules,
                     double (&out)[kSpringOutputs][kSpringLanes]);
void stickSpringsAvx512(const SpringLane (&lanes)[kSpringLanes], const SpringRules& rules,
                        double (&out)[kSpringOutputs][kSpringLanes]);

// Sticks worked out together by the AVX-512 path: one per lane of its registers.
inline constexpr int kWideSpringLanes = 2 * kSpringLanes;

// The same for eight sticks, in AVX-512's registers of eight (see
// lane_math_avx512.h), the same bits.
void stickSpringsEightAvx512(const SpringLane (&lanes)[kWideSpringLanes], const SpringRules& rules,
                             double (&out)[kSpringOutputs][kWideSpringLanes]);

}  // namespace vorlund
