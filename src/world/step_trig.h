// The sines and cosines of the physics step (frame turns of stick ends, joint
// frames, stick twists), from one deterministic vector library: the scalar,
// SSE2 and AVX entry points give the same bits, so a seeded run is the same
// on every x86-64 machine whichever path its processor allows.
#pragma once

#include <bit>
#include <cstdint>
#include <string_view>

#include "world/vec3.h"

namespace vorlund {

// Avx512 is the AVX path with the step's lanes built for AVX-512VL: the
// same four lanes and sines, in more registers.
enum class TrigPath { Scalar, Sse2, Avx, Avx512 };

// The environment variable that forces a path: "scalar", "sse2", "avx" or "avx512".
inline constexpr const char* kTrigPathVariable = "VORLUND_TRIG_PATH";

// The path in use: the one the environment variable names when the processor
// has it (otherwise a warning and the best one), else the best one. The AVX
// paths also work out the stick springs, the motion of the ends, the end
// pairs within reach and the block world's ground four at a time
// (stick_springs_avx.h, end_motion_avx.h, end_pairs_avx.h,
// block_ground_avx.h), with the same bits; step_lanes.h hands them out.
TrigPath trigPath();
// Switches the path (tests do); false, and nothing changes, when the
// processor lacks it. Not while another thread steps.
bool setTrigPath(TrigPath path);
bool trigPathAvailable(TrigPath path);
std::string_view trigPathName(TrigPath path);

// Cosines and sines of four angles at once. The angles go in registers: a
// vector load of four values just stored one by one would stall on the
// store buffer for longer than the sines take.
using CosSinBatch = void (*)(double a0, double a1, double a2, double a3, double* c, double* s);
CosSinBatch cosSinBatch();
inline void cosSin4(const double (&a)[4], double (&c)[4], double (&s)[4]) { cosSinBatch()(a[0], a[1], a[2], a[3], c, s); }
// Cosine and sine of one angle (the same bits as in a batch).
void cosSin1(double a, double& c, double& s);

// The widest batch of any path, in angles: counts given to cosSinMany are
// multiples of it, so that each path runs whole batches of its own width.
// (The few angles of a creature's moved joints gain nothing from batches of
// eight; the frame turns of the motion lanes take them, see end_motion_lanes.h.)
inline constexpr int kTrigLanes = 4;
// Cosines and sines of `count` angles (a multiple of kTrigLanes) read from
// memory: for angles gathered well before the call (the frame turns of a
// group of stick ends), where a vector load finds them already in the cache.
using CosSinMany = void (*)(const double* a, int count, double* c, double* s);
CosSinMany cosSinMany();

// Room for `count` angles rounded up to whole batches.
constexpr int trigBatchRoom(int count) { return (count + kTrigLanes - 1) / kTrigLanes * kTrigLanes; }
// Cosines and sines of the first `count` angles of `a`, which has room for
// trigBatchRoom(count): the rest of the last batch is filled with zeros.
inline void cosSinPadded(double* a, int count, double* c, double* s) {
  const int batch = trigBatchRoom(count);
  // Not a loop: the compiler makes a loop of at most three zeros a call of
  // the C library's memset, which on processors with 512-bit vectors uses
  // them and so lowers the core's clock for a while. The calls cost little
  // themselves; the steps after them ran about 5 % slower.
  static_assert(kTrigLanes == 4);
  switch (batch - count) {
    case 3: a[count + 2] = 0; [[fallthrough]];
    case 2: a[count + 1] = 0; [[fallthrough]];
    case 1: a[count] = 0; break;
    default: break;
  }
  if (batch > 0) cosSinMany()(a, batch, c, s);
}

// True for the angles +0, +0, +0 (an energy ball's end): cos 0 = 1 and
// sin +0 = +0 leave every row of a frame as it is, so no turn is needed.
inline bool turnsNothing(const Vec3& a) {
  return a.x == 0 && a.y == 0 && a.z == 0 && !std::signbit(a.x) && !std::signbit(a.y) && !std::signbit(a.z);
}

// Turns every row of a frame about x by a.x, then y by a.y, then z by a.z,
// with the step's sines.
inline void turnFrameStep(Frame& f, const Vec3& a) {
  if (turnsNothing(a)) return;
  const double angles[4] = {a.x, a.y, a.z, 0};
  double c[4], s[4];
  cosSin4(angles, c, s);
  turnFrame(f, c[0], s[0], c[1], s[1], c[2], s[2]);
}

// The frame turns of a group of stick ends by their spins, with the sines of
// the whole group in one batch: each frame ends as turnFrameStep leaves it.
// The frames are observed; add() them, then apply() turns them all.
class FrameTurns {
 public:
  // Ends per group: three angles each fill whole batches of every path.
  static constexpr int kGroup = 8;

  // False once the group is full; apply() it before adding more.
  bool add(Frame& f, const Vec3& spin) {
    if (turnsNothing(spin)) return true;
    const int i = 3 * count_;
    angles_[i] = spin.x;
    angles_[i + 1] = spin.y;
    angles_[i + 2] = spin.z;
    frames_[count_++] = &f;
    return count_ < kGroup;
  }
  void apply() {
    if (count_ == 0) return;
    cosSinPadded(angles_, 3 * count_, c_, s_);
    for (int e = 0; e < count_; ++e) {
      const int i = 3 * e;
      turnFrame(*frames_[e], c_[i], s_[i], c_[i + 1], s_[i + 1], c_[i + 2], s_[i + 2]);
    }
    count_ = 0;
  }

 private:
  static constexpr int kAngles = trigBatchRoom(3 * kGroup);
  double angles_[kAngles], c_[kAngles], s_[kAngles];
  Frame* frames_[kGroup];
  int count_ = 0;
};

// The cosine and sine of one angle, remembered for as long as the angle stays
// bit for bit the same: a joint angle that no muscle moved costs no library
// call. A fresh memo holds the angle +0.
struct CosSinMemo {
  double angle = 0, c = 1, s = 0;

  bool holds(double a) const { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(angle); }
  void of(double a, double& cosine, double& sine) {
    // Bits, not ==: -0 and +0 compare equal but have sines of different sign.
    if (!holds(a)) {
      angle = a;
      cosSin1(a, c, s);
    }
    cosine = c;
    sine = s;
  }
};

// The identity frame turned by the angles, with the cosines and sines taken
// from (and kept in) one memo per angle; the angles that changed are computed
// in one batch.
inline Frame frameFromAnglesStep(const Vec3& a, CosSinMemo (&memo)[3]) {
  const double angles[3] = {a.x, a.y, a.z};
  if (!memo[0].holds(a.x) || !memo[1].holds(a.y) || !memo[2].holds(a.z)) {
    const double batch[4] = {a.x, a.y, a.z, 0};
    double c[4], s[4];
    cosSin4(batch, c, s);
    for (int i = 0; i < 3; ++i) memo[i] = CosSinMemo{angles[i], c[i], s[i]};
  }
  Frame f;
  turnFrame(f, memo[0].c, memo[0].s, memo[1].c, memo[1].s, memo[2].c, memo[2].s);
  return f;
}

}  // namespace vorlund
