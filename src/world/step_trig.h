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

enum class TrigPath { Scalar, Sse2, Avx };

// The environment variable that forces a path: "scalar", "sse2" or "avx".
inline constexpr const char* kTrigPathVariable = "VORLUND_TRIG_PATH";

// The path in use: the one the environment variable names when the processor
// has it (otherwise a warning and the best one), else the best one.
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

// Turns every row of a frame about x by a.x, then y by a.y, then z by a.z,
// with the step's sines.
inline void turnFrameStep(Frame& f, const Vec3& a) {
  if (a.x == 0 && a.y == 0 && a.z == 0 && !std::signbit(a.x) && !std::signbit(a.y) && !std::signbit(a.z))
    return;  // an end nothing turns (an energy ball's): cos 0 = 1, sin +0 = +0 leave every row as it is
  const double angles[4] = {a.x, a.y, a.z, 0};
  double c[4], s[4];
  cosSin4(angles, c, s);
  turnFrame(f, c[0], s[0], c[1], s[1], c[2], s[2]);
}

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
