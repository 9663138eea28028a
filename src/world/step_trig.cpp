#include "world/step_trig.h"

#include <sleef.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "core/message.h"
#include "world/step_lanes.h"
#include "world/step_trig_avx.h"

namespace vorlund {

namespace {

// The sines of u35 (within 3.5 units in the last place) rather than u10: the
// step is an explicit, damped scheme whose own error is far larger, and u35
// takes about a third less time.
void scalar4(double a0, double a1, double a2, double a3, double* c, double* s) {
  const double a[4] = {a0, a1, a2, a3};
  for (int i = 0; i < 4; ++i) {
    const Sleef_double_2 r = Sleef_cinz_sincosd1_u35purec(a[i]);
    s[i] = r.x;
    c[i] = r.y;
  }
}

void sse2x4(double a0, double a1, double a2, double a3, double* c, double* s) {
  const Sleef___m128d_2 low = Sleef_cinz_sincosd2_u35sse2(_mm_set_pd(a1, a0));
  const Sleef___m128d_2 high = Sleef_cinz_sincosd2_u35sse2(_mm_set_pd(a3, a2));
  _mm_storeu_pd(s, low.x);
  _mm_storeu_pd(c, low.y);
  _mm_storeu_pd(s + 2, high.x);
  _mm_storeu_pd(c + 2, high.y);
}

void scalarMany(const double* a, int count, double* c, double* s) {
  for (int i = 0; i < count; ++i) {
    const Sleef_double_2 r = Sleef_cinz_sincosd1_u35purec(a[i]);
    s[i] = r.x;
    c[i] = r.y;
  }
}

void sse2Many(const double* a, int count, double* c, double* s) {
  for (int i = 0; i < count; i += 2) {
    const Sleef___m128d_2 r = Sleef_cinz_sincosd2_u35sse2(_mm_loadu_pd(a + i));
    _mm_storeu_pd(s + i, r.x);
    _mm_storeu_pd(c + i, r.y);
  }
}

constexpr TrigPath kAllPaths[] = {TrigPath::Scalar, TrigPath::Sse2, TrigPath::Avx, TrigPath::Avx512};

CosSinBatch batchOf(TrigPath path) {
  switch (path) {
    case TrigPath::Scalar: return scalar4;
    case TrigPath::Sse2: return sse2x4;
    case TrigPath::Avx:
    case TrigPath::Avx512: return stepTrigAvx4;
  }
  return scalar4;
}

CosSinMany manyOf(TrigPath path) {
  switch (path) {
    case TrigPath::Scalar: return scalarMany;
    case TrigPath::Sse2: return sse2Many;
    case TrigPath::Avx:
    case TrigPath::Avx512: return stepTrigAvxMany;
  }
  return scalarMany;
}

constexpr StepLanes kAvxLanes{.stickSprings = stickSpringsAvx,
                              .stickSpringsEight = nullptr,
                              .moveEnds = moveEndsAvx,
                              .moveEightEnds = nullptr,
                              .nearEndPairs = nearEndPairsAvx,
                              .blockGround = blockGroundAvx,
                              .blockGroundAt = blockGroundAtAvx,
                              .otherCells = otherCellsAvx,
                              .laterOverlaps = laterOverlapsAvx};
// The end pairs' lanes keep few values and are built for AVX alone.
constexpr StepLanes kAvx512Lanes{.stickSprings = stickSpringsAvx512,
                                 .stickSpringsEight = stickSpringsEightAvx512,
                                 .moveEnds = moveEndsAvx512,
                                 .moveEightEnds = moveEightEndsAvx512,
                                 .nearEndPairs = nearEndPairsAvx,
                                 .blockGround = blockGroundAvx512,
                                 .blockGroundAt = blockGroundAtAvx512,
                                 .otherCells = otherCellsAvx512,
                                 .laterOverlaps = laterOverlapsAvx512};

const StepLanes* lanesOf(TrigPath path) {
  switch (path) {
    case TrigPath::Avx: return &kAvxLanes;
    case TrigPath::Avx512: return &kAvx512Lanes;
    default: return nullptr;
  }
}

TrigPath bestPath() {
  if (trigPathAvailable(TrigPath::Avx512)) return TrigPath::Avx512;
  return trigPathAvailable(TrigPath::Avx) ? TrigPath::Avx : TrigPath::Sse2;
}

TrigPath startingPath() {
  const char* wanted = std::getenv(kTrigPathVariable);
  if (wanted == nullptr || *wanted == '\0') return bestPath();
  for (TrigPath p : kAllPaths) {
    if (trigPathName(p) != wanted) continue;
    if (trigPathAvailable(p)) return p;
    logMessage("Physics", "Sines", std::string(kTrigPathVariable) + "=" + wanted +
                                       ": this processor lacks that path; the best one it has is used", 1);
    return bestPath();
  }
  logMessage("Physics", "Sines", std::string(kTrigPathVariable) + "=" + wanted +
                                     " is none of scalar, sse2, avx, avx512; the best path is used", 1);
  return bestPath();
}

struct State {
  std::atomic<TrigPath> path;
  std::atomic<CosSinBatch> batch;
  std::atomic<CosSinMany> many;
  std::atomic<const StepLanes*> lanes;
  State()
      : path(startingPath()), batch(batchOf(path.load())), many(manyOf(path.load())), lanes(lanesOf(path.load())) {}
};

State& state() {
  static State s;
  return s;
}

}  // namespace

std::string_view trigPathName(TrigPath path) {
  switch (path) {
    case TrigPath::Scalar: return "scalar";
    case TrigPath::Sse2: return "sse2";
    case TrigPath::Avx: return "avx";
    case TrigPath::Avx512: return "avx512";
  }
  return "scalar";
}

bool trigPathAvailable(TrigPath path) {
  __builtin_cpu_init();
  switch (path) {
    case TrigPath::Avx: return __builtin_cpu_supports("avx");
    case TrigPath::Avx512: return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
    default: return true;  // every x86-64 processor has SSE2
  }
}

TrigPath trigPath() { return state().path.load(std::memory_order_relaxed); }

bool setTrigPath(TrigPath path) {
  if (!trigPathAvailable(path)) return false;
  State& s = state();
  s.path.store(path, std::memory_order_relaxed);
  s.batch.store(batchOf(path), std::memory_order_relaxed);
  s.many.store(manyOf(path), std::memory_order_relaxed);
  s.lanes.store(lanesOf(path), std::memory_order_relaxed);
  return true;
}

CosSinBatch cosSinBatch() { return state().batch.load(std::memory_order_relaxed); }
CosSinMany cosSinMany() { return state().many.load(std::memory_order_relaxed); }
const StepLanes* stepLanes() { return state().lanes.load(std::memory_order_relaxed); }

void cosSin1(double a, double& c, double& s) {
  const Sleef_double_2 r = Sleef_cinz_sincosd1_u35purec(a);
  s = r.x;
  c = r.y;
}

}  // namespace vorlund
