// The motion of four stick ends at once, one per lane of the AVX registers,
// or eight in those of AVX-512, in files of their own built for them (see
// end_motion_lanes.h): each lane does what the motion phase does for one
// end, operation for operation, down to the turn of the end's frame by its
// spin with the step's sines, and its contact and state bits; the records of
// first touches stay with the caller. Plain addresses only, as in
// stick_springs_avx.h.
#pragma once

namespace vorlund {

// Ends moved together: one per lane.
inline constexpr int kMotionLanes = 4;

// Where an end's fields lie, in doubles from its position: position,
// velocity, spin, force, torque and anchor in a row, then the masses and the
// frame (rows x, y, z). The end type asserts it.
enum EndField {
  kEndVelocity = 3,
  kEndSpin = 6,
  kEndForce = 9,
  kEndTorque = 12,
  kEndAnchor = 15,
  kEndContact = 18,  // the 16-bit contact, then the 16-bit state bits
  kEndMass = 19,
  kEndBuoyancy = 20,
  kEndFriction = 21,
  kEndFrame = 23,
  kEndDoubles = 32  // readable from the position on
};

// The state bits the lanes set, in the 64 bits of kEndContact (the end type
// asserts them): the contact counter in bits 0 to 15, the state above.
inline constexpr int kEndStateShift = 16;
inline constexpr unsigned kEndSliding = 1;  // slid at this ground contact
inline constexpr unsigned kEndInWater = 2;  // below the water level

// What every lane shares.
struct MotionRules {
  double water;     // level below which an end floats
  double size;      // side of the square
  double damp;      // share of velocity and spin kept per step
  bool fence;       // the square's edges hold the ends
  bool lowDamping;  // an end held on the ground keeps half its velocity
};

// Lane i is bit i.
struct MotionLanes {
  int inside;  // below the ground or beyond a fence (with the contact bits, the first touches)
};

// Where the ground puts each lane's end, worked out by the caller (the block
// world's cells): q[axis][lane], and the lanes whose end is inside.
struct GivenGround {
  alignas(32) double q[3][kMotionLanes];
  int inside;
};

// Moves the ends (pointers to their positions), on flat ground within the
// rules' fence unless `ground` gives where the ground puts them. `contact` has the bits of
// the lanes whose end touched the ground at the last step. Every lane is
// read before any is written, so a spare lane may repeat another's end (with
// its contact bit): both write the same bits.
MotionLanes moveEndsAvx(double* const (&ends)[kMotionLanes], int contact, const MotionRules& rules,
                        const GivenGround* ground);
// The same, built for AVX-512VL (see lane_math_avx.h), the same bits.
MotionLanes moveEndsAvx512(double* const (&ends)[kMotionLanes], int contact, const MotionRules& rules,
                           const GivenGround* ground);

// Ends moved together by the AVX-512 path: one per lane of its registers.
inline constexpr int kWideMotionLanes = 2 * kMotionLanes;

// The same for eight ends, in AVX-512's registers of eight (see
// lane_math_avx512.h), the same bits; `ground`, when given, for the ends 0 to
// 3 and 4 to 7, and `contact` has eight bits.
MotionLanes moveEightEndsAvx512(double* const (&ends)[kWideMotionLanes], int contact, const MotionRules& rules,
                                const GivenGround (*ground)[2]);

}  // namespace vorlund
